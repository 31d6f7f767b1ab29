#pragma once
// The MENUS tab: the open package's menus as a tree under the root "Help Center". The page owns
// the menu model and the three configuration records it was read with: the package's text
// record, its configuration record, and the default package's configuration record (the looks
// a new main menu starts with).
#include "document/itemtypeimages.h"
#include "document/menumodel.h"

#include <QList>
#include <QWidget>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace config {
class ConfigRecord;
}
namespace packages {
class PackageState;
}

namespace menutree {

using namespace document;

class MenuTreePage : public QWidget {
    Q_OBJECT
public:
    // Data roles of the tree items (column 0).
    enum ItemDataRole {
        ObjectRole = Qt::UserRole,  // CItem *: the item's model object; null for the root
        ImageRole,                  // int: the image shown normally
        SelectedImageRole,          // int: the image shown while selected
        RootRole,                   // bool: true on the root item only
    };

    // Reads the open package at once. defaultConfigPath is the default package's
    // "access-config.ini" (install directory/Packages/HarbelDefault/access-config.ini).
    MenuTreePage(packages::PackageState &package, const QString &defaultConfigPath, QWidget *parent = nullptr);
    ~MenuTreePage() override;

    // Loads the three configuration records from the open package and the default package.
    void loadRecords();
    // Replaces the model by the menus of the open package's menu file.
    void readMenus();
    // Builds the tree from the model and selects and expands the root.
    void fillTree();
    // Forgets the tree, the model and the records, and reads the open package again.
    void reloadMenuPage();
    // Writes the model into the open package's menu, text and configuration files; false when
    // a file could not be written.
    bool writeMenus();

    // The model object of a tree item; null for the root and for no item.
    static CItem *objectOf(const QTreeWidgetItem *item);
    static bool isRootItem(const QTreeWidgetItem *item);
    // Shows image, and selectedImage while selected, and records both in the item's data.
    void setItemImages(QTreeWidgetItem *item, int image, int selectedImage) const;
    // A new tree item under parent (after its last child) showing object.
    QTreeWidgetItem *addTreeItem(QTreeWidgetItem *parent, const QString &label, CItem *object, int image,
                                 int selectedImage) const;

    QTreeWidget *tree() const { return m_tree; }
    QTreeWidgetItem *rootItem() const;
    // The tree items of the main menus and menu entries, in the order they were inserted.
    const QList<QTreeWidgetItem *> &treeItems() const { return m_treeItems; }

    packages::PackageState &package() const { return m_package; }
    MenuModel &model() { return m_model; }
    config::ConfigRecord &textRecord() const { return *m_textRecord; }
    config::ConfigRecord &configRecord() const { return *m_configRecord; }
    config::ConfigRecord &defaultConfigRecord() const { return *m_defaultConfigRecord; }
    const ItemTypeImages &images() const { return m_images; }

private:
    packages::PackageState &m_package;
    const QString m_defaultConfigPath;
    const ItemTypeImages m_images;
    std::unique_ptr<config::ConfigRecord> m_textRecord;
    std::unique_ptr<config::ConfigRecord> m_configRecord;
    std::unique_ptr<config::ConfigRecord> m_defaultConfigRecord;
    MenuModel m_model;
    QTreeWidget *m_tree = nullptr;
    QList<QTreeWidgetItem *> m_treeItems;
};

} // namespace menutree

Q_DECLARE_METATYPE(document::CItem *)
