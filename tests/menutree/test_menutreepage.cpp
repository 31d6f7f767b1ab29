#include "testmain.h"
#include "document/itemtypeimages.h"
#include "document/packagedocument.h"
#include "menutree/menutreepage.h"
#include "menutree/menutreeview.h"
#include "platform/profile.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace document;
using menutree::MenuTreePage;

namespace {

const QByteArray smallMenuFile =
    "[Menu1]\nMenu1Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"C:\\calc.exe\",,,,,,,\n"
    "SubMenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,\n"
    "SubMenu2.item1=,,FALSE,,__1-SUBMENU2-1__,UpArrow.gif,,,\"\",,,,,,,\n"
    "SubMenu2.item2=,,FALSE,,__1-SUBMENU2-2__,topic-link.gif,,,\"t.htm\",,,,,,,\n"
    "[Menu3]\nMenu3Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__3-SUBMENU1__,,System-Info-link.gif,,,\"#SystemInfo\",,,,,,,\n";

const QByteArray smallTextFile = "[Access Text]\n"
                                 "TEXT1=__MENU1_CONTENT_TITLE__,\"Learn\"\n"
                                 "TEXT2=__MENU3_CONTENT_TITLE__,\"Help\"\n"
                                 "TEXT3=__1-SUBMENU1__,\"Calculator\"\n"
                                 "TEXT4=__1-SUBMENU2__,\"Tools\"\n"
                                 "TEXT5=__1-SUBMENU2-1__,\"More tools\"\n"
                                 "TEXT6=__1-SUBMENU2-2__,\"Tool help\"\n"
                                 "TEXT7=__3-SUBMENU1__,\"About this computer\"\n";

} // namespace

// The MENUS page as a view of the document's menus.
class MenuTreePageTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PackageDocument m_document;

    void writeSmallPackage(const QByteArray &menuFile)
    {
        const packages::PackageState &state = m_document.state();
        testing::writeFile(state.machineFilePath, menuFile);
        testing::writeFile(state.textFilePath, smallTextFile);
        testing::writeFile(state.configFilePath, "[Global Options]\nOPTION1=__MENU3ICON__,\"U-Help-icon.png\"\n");
        platform::clearProfileCache();
        m_document.load();
    }

private slots:
    void init()
    {
        m_document.state().setLocation(m_dir.path() + QStringLiteral("/Small"));
        writeSmallPackage(smallMenuFile);
    }

    void clickedSubMenuShowsItsSelectedImage()
    {
        MenuTreePage page(m_document);
        page.resize(300, 300);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTreeView *tree = page.tree();
        const MenuItemModel &model = m_document.itemModel();
        const QModelIndex learn = model.index(0, 0, model.rootIndex());
        const QModelIndex tools = model.index(1, 0, learn);
        QCOMPARE(tools.data().toString(), QStringLiteral("Tools"));
        tree->expand(learn);

        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(tools).center());
        QCOMPARE(m_document.currentItem(), m_document.menus().mainMenus().at(0)->entries().at(1));
        const ItemTypeImages images;
        QVERIFY(images.pixmap(SubMenuImage).toImage() != images.pixmap(SubMenuSelectedImage).toImage());
        const QIcon icon = tools.data(Qt::DecorationRole).value<QIcon>();
        QCOMPARE(icon.pixmap(16, QIcon::Selected).toImage(), images.pixmap(SubMenuSelectedImage).toImage());
        QCOMPARE(icon.pixmap(16, QIcon::Normal).toImage(), images.pixmap(SubMenuImage).toImage());
    }

    // Another package read into the document shows at once, the root current and open.
    void readingAgainShowsTheRootOpen()
    {
        MenuTreePage page(m_document);
        QVERIFY(page.tree()->isExpanded(m_document.itemModel().rootIndex()));
        page.tree()->collapse(m_document.itemModel().rootIndex());
        writeSmallPackage("[Menu3]\nMenu3Info=,,TRUE\n");
        const QModelIndex root = m_document.itemModel().rootIndex();
        QVERIFY(page.tree()->isExpanded(root));
        QCOMPARE(page.tree()->currentIndex(), root);
        QCOMPARE(m_document.itemModel().rowCount(root), 1);
        QCOMPARE(m_document.itemModel().index(0, 0, root).data().toString(), QStringLiteral("Help"));
    }
};
KAVO_TEST(MenuTreePageTest)
#include "test_menutreepage.moc"
