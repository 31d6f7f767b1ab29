#pragma once
// The item properties dialog: type, title, location and description of one entry below a main
// menu. The type is not stored as a code but as the file name of the entry's icon; the dialog
// maps those names to the entries of its type list and back.
#include "document/menuitems.h"

#include <QDialog>
#include <QString>
#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace dialogs {

using document::EntryProperties;

class ItemPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // offerSubMenu: the type list holds the sub-menu type (entries of a main menu may be sub-menus).
    ItemPropertiesDialog(QWidget *parent, const EntryProperties &properties, bool offerSubMenu);

    // The values as the user left them; what the caller takes after OK.
    EntryProperties properties() const;

    // OK: the dialog closes when the front-end can keep every text as it was typed.
    void accept() override;

private:
    void selectType(int index);
    void browse();

    QComboBox *m_typeList;
    QLineEdit *m_title;
    QLineEdit *m_location;
    QPushButton *m_browse;
    QPlainTextEdit *m_description;
};

// Runs the dialog through the modal seam: the edited values after OK, nothing after Cancel.
std::optional<EntryProperties> editEntryProperties(QWidget *parent, const EntryProperties &initial,
                                                   bool offerSubMenu);

} // namespace dialogs
