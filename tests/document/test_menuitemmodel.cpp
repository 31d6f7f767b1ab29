#include "testmain.h"
#include "artwork/itemtypeimages.h"
#include "document/packagedocument.h"
#include "ini/profile.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QTest>

using namespace document;

namespace {

// Label, image and selected image of every child of index, as "label image/selected".
QStringList childrenOf(const QModelIndex &index)
{
    QStringList children;
    const QAbstractItemModel *model = index.model();
    for (int row = 0; row < model->rowCount(index); ++row) {
        const QModelIndex child = model->index(row, 0, index);
        children << QStringLiteral("%1 %2/%3")
                        .arg(child.data().toString())
                        .arg(child.data(MenuItemModel::ImageRole).toInt())
                        .arg(child.data(MenuItemModel::SelectedImageRole).toInt());
    }
    return children;
}

} // namespace

// The menus as a tree for views: shape, labels and images, checked by Qt's model tester.
class MenuItemModelTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    // The sample installation: main menus by category, entries and sub-entries by type, a
    // sub-menu opening when selected, and the objects behind the indexes.
    void sampleInstallation()
    {
        const QString copy = m_dir.path() + QStringLiteral("/sample");
        QVERIFY(testing::copyTree(QStringLiteral(KAVO_SOURCE_DIR "/data/sample-installation"), copy));
        ini::clearProfileCache();
        PackageDocument document;
        QAbstractItemModelTester tester(&document.itemModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        document.state().setLocation(copy);
        document.load();

        const MenuItemModel &model = document.itemModel();
        QCOMPARE(model.rowCount(), 1);
        const QModelIndex root = model.rootIndex();
        QCOMPARE(root.data().toString(), QStringLiteral("Help Center"));
        QCOMPARE(root.data(MenuItemModel::ImageRole).toInt(), int(artwork::RootImage));
        QVERIFY(MenuItemModel::isRoot(root));
        QCOMPARE(document.selection().currentIndex(), root);
        QVERIFY(!document.currentItem());

        QCOMPARE(childrenOf(root), (QStringList{"Learn 0/0", "Configure 1/1", "Help 3/3"}));
        const QModelIndex configure = model.index(1, 0, root);
        QCOMPARE(childrenOf(configure),
                 (QStringList{"Back up your files 5/5", "Display settings 7/7", "Accessories 9/10",
                              "Printer setup 5/5", "Network connections 7/7"}));
        const QModelIndex accessories = model.index(2, 0, configure);
        QCOMPARE(childrenOf(accessories), (QStringList{"Calculator 7/7", "Text editor 7/7", "Drawing 7/7"}));
        QCOMPARE(childrenOf(model.index(2, 0, root)).first(), QStringLiteral("System information 8/8"));

        const CItem *calculator = document.menus().mainMenus().at(1)->entries().at(2)->entries().at(0);
        QCOMPARE(MenuItemModel::itemAt(model.index(0, 0, accessories)), calculator);
        QCOMPARE(model.indexOf(calculator), model.index(0, 0, accessories));
        QCOMPARE(model.indexOf(nullptr), root);
    }
};
KAVO_TEST(MenuItemModelTest)
#include "test_menuitemmodel.moc"
