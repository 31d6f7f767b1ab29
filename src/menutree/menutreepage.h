#pragma once
// The MENUS tab: the package document's menus as a tree under the root "Help Center".
#include "document/itemtypeimages.h"
#include "document/menumodel.h"

#include <QList>
#include <QWidget>
#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace document {
class PackageDocument;
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

    // Shows the document's menus, and again whenever it reads another package.
    explicit MenuTreePage(document::PackageDocument &document, QWidget *parent = nullptr);
    ~MenuTreePage() override;

    // Builds the tree from the model and selects and expands the root.
    void fillTree();

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

    const ItemTypeImages &images() const { return m_images; }

private:
    document::PackageDocument &m_document;
    const ItemTypeImages m_images;
    QTreeWidget *m_tree = nullptr;
    QList<QTreeWidgetItem *> m_treeItems;
};

} // namespace menutree

Q_DECLARE_METATYPE(document::CItem *)
