#pragma once
// The three tab pages of a package: company, menus and general options. The main window shows
// them; the command-line build makes them without showing them. Either way the package
// commands and the build reach them through packages::PackagePages.
#include "packages/packagepages.h"

class QWidget;

namespace menutree { class MenuTreePage; }
namespace packages { class PackageState; }
namespace pages {
class CompanyPage;
class GeneralPage;
}

namespace app {

class TabPages : public packages::PackagePages {
public:
    // Makes the pages as children of parent; each reads the open package as it is made.
    TabPages(packages::PackageState &state, QWidget *parent);

    pages::CompanyPage *companyPage() const { return m_company; }
    menutree::MenuTreePage *menuTreePage() const { return m_menus; }
    pages::GeneralPage *generalPage() const { return m_general; }

    QString companyName() const override;
    bool writeMenus() override;
    bool saveCompanyName() override;
    bool saveSettings() override;
    void clearCompanyName() override;
    void loadOemDefaults() override;
    void reloadCompanyName() override;
    void reloadMenuPage() override;
    void reloadSettings() override;

private:
    pages::CompanyPage *m_company;
    menutree::MenuTreePage *m_menus;
    pages::GeneralPage *m_general;
};

} // namespace app
