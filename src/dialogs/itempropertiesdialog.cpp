#include "itempropertiesdialog.h"

#include "texts/texts.h"
#include "dialogparts.h"
#include "artwork/itemtypeimages.h"
#include "document/menuitems.h"
#include "ui/modal.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <iterator>

namespace dialogs {
namespace {

struct EntryType {
    const char *labelKey;   // in section TEXT
    int image;
    QLatin1String icon;     // written back exactly so: a help topic always as "Topic-link.gif"
    bool locationEnabled;
    bool browseEnabled;
};

// The types in the order of the list.
const EntryType entryTypes[] = {
    {"APPLNK", artwork::ApplicationImage, QLatin1String("Application-link.gif"), true, true},
    {"HELP", artwork::HelpTopicImage, QLatin1String("Topic-link.gif"), true, false},
    {"INTERNET", artwork::InternetLinkImage, QLatin1String("Internet-link.gif"), true, false},
    {"SUBMENU", artwork::SubMenuImage, QLatin1String("UpArrow.gif"), false, false},
    {"SYSINFO", artwork::SystemInfoImage, QLatin1String("System-Info-link.gif"), false, false},
};

const QString SystemInfoLocation = QStringLiteral("#SystemInfo");

QString text(const char *key)
{
    return texts::lookupText(QStringLiteral("TEXT"), QLatin1String(key));
}

// The entry type of a list entry; the list keeps the row of the type table as item data.
const EntryType &typeAt(const QComboBox *list, int index)
{
    return entryTypes[list->itemData(index).toInt()];
}

} // namespace

ItemPropertiesDialog::ItemPropertiesDialog(QWidget *parent, const EntryProperties &properties,
                                           const records::EntryPlace &place)
    : QDialog(parent),
      m_typeList(new QComboBox(this)),
      m_title(new QLineEdit(properties.title, this)),
      m_location(new QLineEdit(properties.location, this)),
      m_browse(new QPushButton(text("BROWSE"), this)),
      m_description(new QPlainTextEdit(properties.description, this)),
      m_place(place)
{
    setWindowTitle(text("PROP"));
    m_typeList->setObjectName(QStringLiteral("typeList"));
    m_title->setObjectName(QStringLiteral("title"));
    m_location->setObjectName(QStringLiteral("location"));
    m_browse->setObjectName(QStringLiteral("browse"));
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setTabChangesFocus(true);
    m_title->setValidator(new OneLineText(m_title));
    m_location->setValidator(new OneLineText(m_location));
    keepOnOneLine(m_description);

    // Only an entry of a main menu may be a sub-menu.
    const bool offerSubMenu = place.subEntry == 0;
    const artwork::ItemTypeImages images;
    for (int row = 0; row < int(std::size(entryTypes)); ++row) {
        if (entryTypes[row].image == artwork::SubMenuImage && !offerSubMenu)
            continue;
        // The help topic shares its caption with the Help menu, accelerator and all.
        m_typeList->addItem(images.icon(entryTypes[row].image), texts::withoutMnemonic(text(entryTypes[row].labelKey)), row);
    }

    // Case-insensitive, first match wins; anything else (a sub-menu where none is offered
    // included) opens as an application.
    int current = 0;
    for (int index = 0; index < m_typeList->count(); ++index) {
        if (typeAt(m_typeList, index).icon.compare(properties.typeIcon, Qt::CaseInsensitive) == 0) {
            current = index;
            break;
        }
    }
    m_typeList->setCurrentIndex(current);
    selectType(current);
    connect(m_typeList, &QComboBox::currentIndexChanged, this, &ItemPropertiesDialog::selectType);
    connect(m_browse, &QPushButton::clicked, this, &ItemPropertiesDialog::browse);

    QDialogButtonBox *buttons = okCancelButtons(this);

    auto *layout = new QGridLayout(this);
    const auto addRow = [&](int row, const char *labelKey, QWidget *field, int span) {
        auto *label = new QLabel(text(labelKey), this);
        label->setBuddy(field);
        layout->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
        layout->addWidget(field, row, 1, 1, span);
    };
    addRow(0, "TYPE", m_typeList, 2);
    m_typeList->setAccessibleName(text("TYPE"));   // named by its label, not by the type it shows
    addRow(1, "MENUTITLE", m_title, 2);
    addRow(2, "LAUNCH", m_location, 1);
    layout->addWidget(m_browse, 2, 2);
    addRow(3, "DESC", m_description, 2);
    layout->addWidget(buttons, 4, 0, 1, 3);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(1, 1);
    resize(375, 244);   // 250 by 150 dialog units
}

EntryProperties ItemPropertiesDialog::properties() const
{
    return {typeAt(m_typeList, m_typeList->currentIndex()).icon, m_title->text(), m_description->toPlainText(),
            m_location->text()};
}

void ItemPropertiesDialog::accept()
{
    const EntryProperties values = properties();
    // The location shares its line with the type icon and the description's key.
    const records::EntryLineRoom room =
        records::entryLineRoom(m_place, values.typeIcon, values.title, values.description, values.location);
    if (textsCanBeKept(this, {{m_title, room.title}, {m_location, room.entryLine}, {m_description, room.description}}))
        QDialog::accept();
}

// System information always launches #SystemInfo; leaving that type keeps the location and
// only enables the edit again.
void ItemPropertiesDialog::selectType(int index)
{
    const EntryType &type = typeAt(m_typeList, index);
    if (type.image == artwork::SystemInfoImage)
        m_location->setText(SystemInfoLocation);
    m_location->setEnabled(type.locationEnabled);
    m_browse->setEnabled(type.browseEnabled);
}

// The chooser is named after the button that opens it: "Browse" after "Browse...".
void ItemPropertiesDialog::browse()
{
    QString caption = texts::withoutMnemonic(text("BROWSE")).trimmed();
    while (caption.endsWith(QLatin1Char('.')) || caption.endsWith(QChar(0x2026)))
        caption.chop(1);
    if (const std::optional<QString> path = ui::modals().chooseFolderOrFile(this, {caption, m_location->text()}))
        m_location->setText(*path);
}

std::optional<EntryProperties> editEntryProperties(QWidget *parent, const EntryProperties &initial,
                                                   const records::EntryPlace &place)
{
    ItemPropertiesDialog dialog(parent, initial, place);
    if (ui::modals().runDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.properties();
}

records::EntryPlace entryPlace(const document::CItem &container, int row)
{
    if (document::isMainMenu(&container))
        return {container.position(), row + 1};
    const document::CItem &menu = *container.parent();
    return {menu.position(), menu.entries().indexOf(&container) + 1, row + 1};
}

} // namespace dialogs
