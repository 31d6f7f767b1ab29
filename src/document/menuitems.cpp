#include "menuitems.h"

namespace document {
namespace {

const QLatin1Char Quote('"');

bool isTrue(const QString &text)
{
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

bool sameIcon(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

int typeImage(const QString &typeIcon)
{
    if (sameIcon(typeIcon, HelpTopicIcon))
        return HelpTopicImage;
    if (sameIcon(typeIcon, InternetLinkIcon))
        return InternetLinkImage;
    if (sameIcon(typeIcon, ApplicationIcon))
        return ApplicationImage;
    if (sameIcon(typeIcon, SystemInfoIcon))
        return SystemInfoImage;
    if (sameIcon(typeIcon, SubMenuIcon))
        return SubMenuImage;
    return NoTypeImage;
}

// ---- CItem

void CItem::setProperties(const QString &title, const QString &typeIcon, const QString &description,
                          const QString &location)
{
    m_title = title;
    m_typeIcon = typeIcon;
    m_description = description;
    m_location = location;
    // Exact comparison: the front-end recognises its containers by this spelling only.
    m_hasEntries = typeIcon == SubMenuIcon;
}

QString CItem::entryLine(bool nameInField3) const
{
    const QString flag = nameInField3 && m_hasEntries ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    const QString nameFields = nameInField3 ? m_name + QLatin1Char(',') : QLatin1Char(',') + m_name;
    return QLatin1String(",,") + flag + QLatin1Char(',') + nameFields + QLatin1Char(',') + m_typeIcon
        + QLatin1String(",,,") + Quote + m_location + Quote + QLatin1String(",,,,") + m_descriptionKey
        + QLatin1String(",,,");
}

QString CItem::toLine() const
{
    return entryLine(false);
}

void CItem::fromLine(const QStringList &fields, const QString &title, const QString &description, int position)
{
    const int n = int(fields.size());
    if (n > 2)
        m_hasEntries = isTrue(fields.at(2));
    if (n > 3)
        m_name = !fields.at(3).isEmpty() ? fields.at(3) : fields.value(4);
    if (n > 5)
        m_typeIcon = fields.at(5);
    if (n > 8)
        m_location = fields.at(8);
    if (n > 12)
        m_descriptionKey = fields.at(12);
    m_title = title;
    m_description = description;
    m_position = position;
}

void CItem::copyFrom(const CItem &other)
{
    m_title = other.m_title;
    m_typeIcon = other.m_typeIcon;
    m_description = other.m_description;
    m_location = other.m_location;
    m_hasEntries = false;
}

QString CItem::makeDescriptionKey()
{
    QString body = m_name;
    body.remove(QLatin1String("__"));
    m_descriptionKey = QLatin1String("__") + body + QLatin1String("-A__");
    return m_descriptionKey;
}

bool CItem::isSystemInfo() const
{
    return sameIcon(m_typeIcon, SystemInfoIcon);
}

// ---- CSubMenu

QString CSubMenu::toLine() const
{
    return entryLine(true);
}

OwnedList<CItem> &CSubMenu::ensureEntries()
{
    if (!m_entries)
        m_entries.emplace();
    return *m_entries;
}

// ---- CMainMenu

void CMainMenu::fromMainLine(const QStringList &fields, const QString &contentTitle, const QString &altKey,
                             const QString &tabDescription)
{
    if (fields.size() >= 3)
        setHasEntries(isTrue(fields.at(2)));
    m_contentTitle = contentTitle;
    m_altKey = altKey;
    setDescriptionKey(tabDescription);
}

void CMainMenu::setTexts(const QString &contentTitle, const QString &altKey)
{
    m_contentTitle = contentTitle;
    m_altKey = altKey;
}

void CMainMenu::setLooks(const QString &mainIcon, const QString &hoverIcon, const QString &color,
                         const QString &colorBar, const QString &tabIcon)
{
    m_mainIcon = mainIcon;
    m_hoverIcon = hoverIcon;
    m_color = color;
    m_colorBar = colorBar;
    m_tabIcon = tabIcon;
}

int CMainMenu::category() const
{
    static const QString categoryIcons[] = {
        QStringLiteral("U-Learn-icon.png"), QStringLiteral("U-Configure-icon.png"),
        QStringLiteral("U-Protect-icon.png"), QStringLiteral("U-Help-icon.png"),
        QStringLiteral("U-Stay-Current-icon.png"),
    };
    // Unlike the entry types, the category icons are compared exactly.
    for (int category = 0; category < 5; ++category) {
        if (m_mainIcon == categoryIcons[category])
            return category;
    }
    return 0;
}

QString CMainMenu::displayTitle() const
{
    // A menu without an Alt key has no letter to mark.
    if (m_altKey.isEmpty())
        return m_contentTitle;
    // Compared code unit by code unit without regard to case, so i indexes the title itself.
    const int i = int(m_contentTitle.indexOf(m_altKey, 0, Qt::CaseInsensitive));
    if (i < 0)
        return m_contentTitle;
    return m_contentTitle.left(i) + QLatin1String("<u>") + m_contentTitle.at(i) + QLatin1String("</u>")
        + m_contentTitle.mid(i + 1);
}

OwnedList<CSubMenu> &CMainMenu::ensureMenuEntries()
{
    if (!m_menuEntries)
        m_menuEntries.emplace();
    return *m_menuEntries;
}

} // namespace document
