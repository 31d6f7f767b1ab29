#include "testmain.h"
#include "config/configrecord.h"
#include "menutree/menutreepage.h"
#include "document/packagedocument.h"
#include "platform/profile.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace menutree;

namespace {

// Label, image and selected image of every child of item, as "label image/selected".
QStringList childrenOf(const QTreeWidgetItem *item)
{
    QStringList children;
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem *child = item->child(i);
        children << QStringLiteral("%1 %2/%3")
                        .arg(child->text(0))
                        .arg(child->data(0, MenuTreePage::ImageRole).toInt())
                        .arg(child->data(0, MenuTreePage::SelectedImageRole).toInt());
    }
    return children;
}

QTreeWidgetItem *childLabelled(QTreeWidgetItem *parent, const QString &label)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == label)
            return parent->child(i);
    }
    return nullptr;
}

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

const QByteArray smallConfigFile = "[Global Options]\n"
                                   "OPTION1=__MENU1ICON__,\"U-Learn-icon.png\"\n"
                                   "OPTION2=__MENU3ICON__,\"U-Help-icon.png\"\n";

} // namespace

class MenuTreePageTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<document::PackageDocument> m_document;
    packages::PackageState m_package;

    // The document read from m_package.
    document::PackageDocument &loaded()
    {
        m_document = std::make_unique<document::PackageDocument>();
        m_document->state() = m_package;
        m_document->load();
        return *m_document;
    }

    void writeSmallPackage(const QByteArray &menuFile = smallMenuFile)
    {
        testing::writeFile(m_package.machineFilePath, menuFile);
        testing::writeFile(m_package.textFilePath, smallTextFile);
        testing::writeFile(m_package.configFilePath, smallConfigFile);
        platform::clearProfileCache();
    }

private slots:
    void init()
    {
        m_package.packageDir = m_dir.path() + QStringLiteral("/Small");
        m_package.machineFilePath = m_package.packageDir + QStringLiteral("/machine-specifics.csv");
        m_package.textFilePath = m_package.packageDir + QStringLiteral("/0409/access-text.ini");
        m_package.configFilePath = m_package.packageDir + QStringLiteral("/access-config.ini");
        writeSmallPackage();
    }

    void stripIsCutWithWhiteTransparent()
    {
        const QImage strip = ItemTypeImages::resourceStrip();
        QCOMPARE(strip.size(), QSize(192, 16));
        const ItemTypeImages images(strip);
        for (int image = 0; image < TreeImageCount; ++image) {
            const QImage cut = images.pixmap(image).toImage();
            QCOMPARE(cut.size(), QSize(16, 16));
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 16; ++x) {
                    const QRgb original = strip.pixel(image * 16 + x, y);
                    QCOMPARE(cut.pixel(x, y), original == qRgb(255, 255, 255) ? 0u : original | 0xff000000);
                }
            }
        }
    }

    void treeShowsTheMenusUnderTheRoot()
    {
        MenuTreePage page(loaded());
        QTreeWidget *tree = page.findChild<QTreeWidget *>(QStringLiteral("menuTree"));
        QVERIFY(tree);
        QCOMPARE(tree->topLevelItemCount(), 1);

        QTreeWidgetItem *root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), QStringLiteral("Help Center"));
        QVERIFY(MenuTreePage::isRootItem(root));
        QVERIFY(!MenuTreePage::objectOf(root));
        QCOMPARE(root->data(0, MenuTreePage::ImageRole).toInt(), int(RootImage));
        QCOMPARE(tree->currentItem(), root);
        QVERIFY(root->isSelected());
        QVERIFY(root->isExpanded());

        QCOMPARE(childrenOf(root), (QStringList{"Learn 0/0", "Help 3/3"}));
        QTreeWidgetItem *learn = root->child(0);
        QCOMPARE(childrenOf(learn), (QStringList{"Calculator 7/7", "Tools 9/10"}));
        QCOMPARE(childrenOf(learn->child(1)), (QStringList{"More tools 9/9", "Tool help 5/5"}));
        QCOMPARE(childrenOf(root->child(1)), (QStringList{"About this computer 8/8"}));

        // Items point at their model objects; the table lists main menus and menu entries.
        const ItemList &menus = m_document->menus().mainMenus();
        QCOMPARE(MenuTreePage::objectOf(learn), menus.at(0));
        QCOMPARE(MenuTreePage::objectOf(learn->child(1)->child(0)), menus.at(0)->entries().at(1)->entries().at(0));
        QCOMPARE(page.treeItems(),
                 (QList<QTreeWidgetItem *>{learn, learn->child(0), learn->child(1), root->child(1),
                                           root->child(1)->child(0)}));
    }

    void clickedSubMenuShowsItsSelectedImage()
    {
        MenuTreePage page(loaded());
        page.resize(300, 300);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTreeWidget *tree = page.tree();
        QTreeWidgetItem *tools = childLabelled(tree->topLevelItem(0)->child(0), QStringLiteral("Tools"));
        tree->topLevelItem(0)->child(0)->setExpanded(true);

        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tools).center());
        QCOMPARE(tree->currentItem(), tools);
        QVERIFY(page.images().pixmap(SubMenuImage).toImage() != page.images().pixmap(SubMenuSelectedImage).toImage());
        const QIcon icon = tools->icon(0);
        QCOMPARE(icon.pixmap(16, QIcon::Selected).toImage(), page.images().pixmap(SubMenuSelectedImage).toImage());
        QCOMPARE(icon.pixmap(16, QIcon::Normal).toImage(), page.images().pixmap(SubMenuImage).toImage());
    }

    void reloadReadsThePackageAgain()
    {
        MenuTreePage page(loaded());
        writeSmallPackage("[Menu3]\nMenu3Info=,,TRUE\n");
        testing::writeFile(m_package.configFilePath, "[Global Options]\nOPTION1=__MENU3ICON__,\"U-Protect-icon.png\"\n");
        platform::clearProfileCache();

        m_document->load();
        QCOMPARE(page.tree()->topLevelItemCount(), 1);
        QCOMPARE(childrenOf(page.rootItem()), (QStringList{"Help 2/2"}));
        QCOMPARE(m_document->menus().mainMenus().size(), 1);
        QCOMPARE(page.treeItems().size(), 1);
        QCOMPARE(page.tree()->currentItem(), page.rootItem());
    }

    void sampleInstallation()
    {
        const QString copy = m_dir.path() + QStringLiteral("/sample");
        QVERIFY(testing::copyTree(QStringLiteral(KAVO_SOURCE_DIR "/data/sample-installation"), copy));
        platform::clearProfileCache();
        m_package.packageDir = copy;
        m_package.machineFilePath = copy + QStringLiteral("/machine-specifics.csv");
        m_package.textFilePath = copy + QStringLiteral("/0409/access-text.ini");
        m_package.configFilePath = copy + QStringLiteral("/access-config.ini");

        MenuTreePage page(loaded());
        QTreeWidgetItem *root = page.rootItem();
        QCOMPARE(childrenOf(root), (QStringList{"Learn 0/0", "Configure 1/1", "Help 3/3"}));
        QCOMPARE(childrenOf(root->child(1)),
                 (QStringList{"Back up your files 5/5", "Display settings 7/7", "Accessories 9/10",
                              "Printer setup 5/5", "Network connections 7/7"}));
        QCOMPARE(childrenOf(root->child(1)->child(2)), (QStringList{"Calculator 7/7", "Text editor 7/7", "Drawing 7/7"}));
        QCOMPARE(root->child(2)->child(0)->text(0), QStringLiteral("System information"));
        QVERIFY(m_document->menus().mainMenus().at(2)->entries().at(0)->isSystemInfo());
        QCOMPARE(m_document->menus().mainMenus().at(2)->position(), 3);
    }
};
KAVO_TEST(MenuTreePageTest)
#include "test_menutreepage.moc"
