#include "tabpages.h"

#include "menutree/menutreepage.h"
#include "packages/packagestore.h"
#include "pages/companypage.h"
#include "pages/generalpage.h"

namespace app {

TabPages::TabPages(packages::PackageState &state, QWidget *parent)
    : m_company(new pages::CompanyPage(state, parent)),
      m_menus(new menutree::MenuTreePage(state, packages::defaultPackageDir() + QStringLiteral("/access-config.ini"),
                                         parent)),
      m_general(new pages::GeneralPage(state, parent))
{
}

QString TabPages::companyName() const { return m_company->companyName(); }
bool TabPages::writeMenus() { return m_menus->writeMenus(); }
bool TabPages::saveCompanyName() { return m_company->saveCompanyName(); }
bool TabPages::saveSettings() { return m_general->saveSettings(); }
void TabPages::clearCompanyName() { m_company->clearCompanyName(); }
void TabPages::loadOemDefaults() { m_general->loadOemDefaults(); }
void TabPages::reloadCompanyName() { m_company->reloadCompanyName(); }
void TabPages::reloadMenuPage() { m_menus->reloadMenuPage(); }
void TabPages::reloadSettings() { m_general->reloadSettings(); }

} // namespace app
