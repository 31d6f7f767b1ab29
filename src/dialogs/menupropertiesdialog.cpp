#include "menupropertiesdialog.h"

#include "records/linelength.h"
#include "texts/texts.h"
#include "dialogparts.h"
#include "document/menuitems.h"
#include "ui/modal.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dialogs {
namespace {

constexpr int AltKeyLength = 1;

QString text(const char *key)
{
    return texts::lookupText(QStringLiteral("TEXT"), QLatin1String(key));
}

} // namespace

MenuPropertiesDialog::MenuPropertiesDialog(QWidget *parent, const MenuProperties &properties)
    : QDialog(parent),
      m_title(new QLineEdit(properties.title, this)),
      m_altKey(new QLineEdit(this))
{
    setWindowTitle(text("MENUPROP"));
    m_title->setObjectName(QStringLiteral("title"));
    m_altKey->setObjectName(QStringLiteral("altKey"));
    m_title->setValidator(new OneLineText(m_title));
    // Unlike a maximum length of the edit, the validator does not cut a longer key that is put
    // in, so a stored key of two characters shows as stored and is refused on OK.
    m_altKey->setValidator(new OneLineText(m_altKey, AltKeyLength));
    setAltKey(properties.altKey);
    // Every change the user makes is checked at once.
    connect(m_altKey, &QLineEdit::textEdited, this, &MenuPropertiesDialog::checkAltKey);

    QDialogButtonBox *buttons = okCancelButtons(this);

    auto *layout = new QGridLayout(this);
    auto *titleLabel = new QLabel(text("MENUTITLE"), this);
    auto *altKeyLabel = new QLabel(text("ALTKEY"), this);
    titleLabel->setBuddy(m_title);
    altKeyLabel->setBuddy(m_altKey);
    layout->addWidget(titleLabel, 0, 0);
    layout->addWidget(m_title, 0, 1, 1, 2);
    layout->addWidget(altKeyLabel, 1, 0);
    layout->addWidget(m_altKey, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    resize(270, 114);   // 180 by 70 dialog units
}

void MenuPropertiesDialog::setAltKey(const QString &altKey)
{
    m_altKey->setText(altKey.toUpper());
}

MenuProperties MenuPropertiesDialog::properties() const
{
    return {m_title->text(), m_altKey->text()};
}

void MenuPropertiesDialog::accept()
{
    // The title is stored twice, plain and with the Alt key's letter marked; every main menu's
    // number has one digit, so the first one's keys are as long as any.
    document::CItem menu(document::ItemKind::MainMenu);
    menu.setTexts(m_title->text(), m_altKey->text());
    const qsizetype titleRoom = records::mainMenuTitleRoom(1, menu.contentTitle(), menu.displayTitle());
    // A key of one character always fits its line.
    if (checkAltKey() && textsCanBeKept(this, {{m_title, titleRoom}, {m_altKey}}))
        QDialog::accept();
}

// A key of more than one character is refused with a message, and the user corrects it in
// the edit; an empty key is fine.
bool MenuPropertiesDialog::checkAltKey()
{
    if (m_altKey->text().size() <= AltKeyLength)
        return true;
    showLengthLimit(this, AltKeyLength);
    m_altKey->setFocus();
    m_altKey->selectAll();
    return false;
}

std::optional<MenuProperties> editMenuProperties(QWidget *parent, const MenuProperties &initial)
{
    MenuPropertiesDialog dialog(parent, initial);
    if (ui::modals().runDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.properties();
}

} // namespace dialogs
