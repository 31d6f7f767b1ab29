#pragma once
// The company page: the user types the company name that the front-end shows in its title. The
// title is stored whole as "TITLE" in section "Access Text" of the package's text file; the page
// shows only the name and joins prefix and name again when the package is built.
#include <QWidget>

class QLineEdit;

namespace packages { class PackageState; }

namespace pages {

class CompanyPage : public QWidget {
    Q_OBJECT
public:
    static constexpr int typingLimit = 30;

    explicit CompanyPage(packages::PackageState &state, QWidget *parent = nullptr);

    // Reads the stored title of the open package into prefix and name.
    void loadCompanyName();
    // Puts the name into the edit.
    void showCompanyName();
    // New: an empty name.
    void clearCompanyName();
    // Open: the name of the package now open.
    void reloadCompanyName();
    // Writes the title into the package's text file; false when the file could not be written.
    bool saveCompanyName();

    // The name as the user sees it; the stored title is formed from it at every save, so two
    // saves in a row store the same title.
    QString companyName() const { return m_companyName; }

private:
    void takeEditedName(const QString &text);

    packages::PackageState &m_state;
    QLineEdit *m_nameEdit = nullptr;
    QString m_companyName;
    QString m_customizedWord;
    QString m_titlePrefix;
    // Set while the page itself fills the edit, so that only the user's changes count as edits.
    bool m_loading = true;
};

} // namespace pages
