#include "menuitems.h"

#include "records/fields.h"
#include "artwork/itemtypeimages.h"

#include <QStringBuilder>

namespace document {
namespace {

const QLatin1Char Quote('"');

bool isTrue(QStringView text)
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
        return artwork::HelpTopicImage;
    if (sameIcon(typeIcon, InternetLinkIcon))
        return artwork::InternetLinkImage;
    if (sameIcon(typeIcon, ApplicationIcon))
        return artwork::ApplicationImage;
    if (sameIcon(typeIcon, SystemInfoIcon))
        return artwork::SystemInfoImage;
    if (sameIcon(typeIcon, SubMenuIcon))
        return artwork::SubMenuImage;
    return artwork::NoTypeImage;
}

// ---- ItemList

ItemList::~ItemList() = default;

CItem *ItemList::insert(int index, std::unique_ptr<CItem> object)
{
    object->m_parent = m_owner;
    return m_items.insert(m_items.begin() + index, std::move(object))->get();
}

std::unique_ptr<CItem> ItemList::take(int index)
{
    std::unique_ptr<CItem> object = std::move(m_items.at(size_t(index)));
    m_items.erase(m_items.begin() + index);
    object->m_parent = nullptr;
    return object;
}

int ItemList::indexOf(const CItem *object) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == object)
            return int(i);
    }
    return -1;
}

void ItemList::clear()
{
    m_items.clear();
}

void ItemList::renumber()
{
    int position = 1;
    for (const auto &object : m_items)
        object->m_position = position++;
}

// ---- CItem

void CItem::convertTo(ItemKind kind)
{
    m_kind = kind;
    m_hasEntries = false;
    m_name.clear();
    m_descriptionKey.clear();
}

std::unique_ptr<CItem> CItem::clone() const
{
    auto copy = std::make_unique<CItem>(m_kind);
    copy->m_position = m_position;
    copy->m_description = m_description;
    copy->m_title = m_title;
    copy->m_descriptionKey = m_descriptionKey;
    copy->m_name = m_name;
    copy->m_location = m_location;
    copy->m_typeIcon = m_typeIcon;
    copy->m_hasEntries = m_hasEntries;
    copy->m_tabIcon = m_tabIcon;
    copy->m_colorBar = m_colorBar;
    copy->m_color = m_color;
    copy->m_hoverIcon = m_hoverIcon;
    copy->m_mainIcon = m_mainIcon;
    copy->m_contentTitle = m_contentTitle;
    copy->m_altKey = m_altKey;
    copy->m_tabDescription = m_tabDescription;
    for (const CItem *entry : m_entries)
        copy->m_entries.append(entry->clone());
    return copy;
}

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

QString CItem::toLine() const
{
    // A sub-entry is never a container and keeps its name in field 4.
    const bool subEntry = m_kind == ItemKind::Item;
    const QLatin1String flag(!subEntry && m_hasEntries ? "TRUE" : "FALSE");
    const QLatin1String nameFirst(subEntry ? "," : ""), nameAfter(subEntry ? "" : ",");
    const std::optional<QString> field = records::fieldFor(m_location);
    const QString location = field ? *field : QString(Quote % m_location % Quote);
    return QLatin1String(",,") % flag % QLatin1Char(',') % nameFirst % m_name % nameAfter % QLatin1Char(',')
        % m_typeIcon % QLatin1String(",,,") % location % QLatin1String(",,,,") % m_descriptionKey
        % QLatin1String(",,,");
}

void CItem::fromLine(const records::FieldViews &fields, const QString &title, const QString &description, int position)
{
    const int n = int(fields.size());
    if (n > 2)
        m_hasEntries = isTrue(fields[2]);
    if (n > 3)
        m_name = (!fields[3].isEmpty() || n == 4 ? fields[3] : fields[4]).toString();
    if (n > 5)
        m_typeIcon = fields[5].toString();
    if (n > 8)
        m_location = fields[8].toString();
    if (n > 12)
        m_descriptionKey = fields[12].toString();
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

// ---- Main menus

void CItem::fromMainLine(const QStringList &fields, const QString &contentTitle, const QString &altKey,
                         const QString &tabDescription)
{
    if (fields.size() >= 3)
        m_hasEntries = isTrue(fields.at(2));
    m_contentTitle = contentTitle;
    m_altKey = altKey;
    m_tabDescription = tabDescription;
}

void CItem::setTexts(const QString &contentTitle, const QString &altKey)
{
    m_contentTitle = contentTitle;
    m_altKey = altKey;
}

void CItem::setLooks(const QString &mainIcon, const QString &hoverIcon, const QString &color,
                     const QString &colorBar, const QString &tabIcon)
{
    m_mainIcon = mainIcon;
    m_hoverIcon = hoverIcon;
    m_color = color;
    m_colorBar = colorBar;
    m_tabIcon = tabIcon;
}

int CItem::category() const
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

int CItem::altKeyPosition() const
{
    // A menu without an Alt key has no letter to mark.
    if (m_altKey.isEmpty())
        return -1;
    // Compared code unit by code unit without regard to case, so the index is the title's own.
    return int(m_contentTitle.indexOf(m_altKey, 0, Qt::CaseInsensitive));
}

QString CItem::displayTitle() const
{
    const int i = altKeyPosition();
    if (i < 0)
        return m_contentTitle;
    return m_contentTitle.left(i) + QLatin1String("<u>") + m_contentTitle.at(i) + QLatin1String("</u>")
        + m_contentTitle.mid(i + 1);
}

} // namespace document
