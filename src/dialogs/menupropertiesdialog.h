#pragma once
// The menu properties dialog: the title of a main menu and its Alt key, the one letter with
// which the front-end's user opens the menu from the keyboard.
#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;

namespace dialogs {

// The two values of a main menu that the menu properties dialog edits.
struct MenuProperties {
    QString title;
    QString altKey;

    friend bool operator==(const MenuProperties &a, const MenuProperties &b)
    {
        return a.title == b.title && a.altKey == b.altKey;
    }
    friend bool operator!=(const MenuProperties &a, const MenuProperties &b) { return !(a == b); }
};

class MenuPropertiesDialog : public QDialog {
    Q_OBJECT
public:
    // The Alt key goes in through setAltKey.
    MenuPropertiesDialog(QWidget *parent, const MenuProperties &properties);

    // Shows the key upper-cased; a stored key longer than one character is shown as it is.
    void setAltKey(const QString &altKey);
    // The values as the user left them (the Alt key as typed, not upper-cased).
    MenuProperties properties() const;

    // Closes with OK only when the Alt key holds at most one character and the front-end can
    // keep the title as it was typed, its quotes and its length included.
    void accept() override;

private:
    bool checkAltKey();

    QLineEdit *m_title;
    QLineEdit *m_altKey;
};

// Runs the dialog through the modal seam: the edited values after OK, nothing after Cancel.
std::optional<MenuProperties> editMenuProperties(QWidget *parent, const MenuProperties &initial);

} // namespace dialogs
