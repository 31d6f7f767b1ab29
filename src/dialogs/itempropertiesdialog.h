#pragma once
// The item properties dialog: type, title, location and description of one entry below a main
// menu. The type is not stored as a code but as the file name of the entry's icon; the dialog
// maps those names to the entries of its type list and back.
#include "records/linelength.h"
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
    // place: where the entry stands, which decides how long its texts may be; a menu entry (no
    // sub-entry number) is offered the sub-menu type, a sub-entry is not.
    ItemPropertiesDialog(QWidget *parent, const EntryProperties &properties, const records::EntryPlace &place);

    // The values as the user left them; what the caller takes after OK.
    EntryProperties properties() const;

    // OK: the dialog closes when the front-end can keep every text as it was typed, its quotes
    // and its length included.
    void accept() override;

private:
    void selectType(int index);
    void browse();

    QComboBox *m_typeList;
    QLineEdit *m_title;
    QLineEdit *m_location;
    QPushButton *m_browse;
    QPlainTextEdit *m_description;
    records::EntryPlace m_place;
};

// Runs the dialog through the modal seam: the edited values after OK, nothing after Cancel.
std::optional<EntryProperties> editEntryProperties(QWidget *parent, const EntryProperties &initial,
                                                   const records::EntryPlace &place);

// Where the next build writes the entry at row of container's list (a main menu's or a
// sub-menu's), as the menus stand now; should a move change it, the build checks again.
records::EntryPlace entryPlace(const document::CItem &container, int row);

} // namespace dialogs
