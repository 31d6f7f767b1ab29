#pragma once
// The menus as an item model for views: one root, "Help Center", holds the main menus; below
// them stand their menu entries, and below a sub-menu its sub-entries. Every change to the
// menus' structure goes through this model, so a view always shows the menus as they are.
#include "menus.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <memory>

namespace records {
class ConfigRecord;
}

namespace artwork {
class ItemTypeImages;
}

namespace document {

class MenuItemModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Role {
        ImageRole = Qt::UserRole,   // int: the image of the item-type strip shown normally
        SelectedImageRole,          // int: the image shown while the item is selected
    };

    explicit MenuItemModel(Menus &menus, QObject *parent = nullptr);
    ~MenuItemModel() override;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    QModelIndex rootIndex() const;
    // The index of an object of the menus; the root's for none.
    QModelIndex indexOf(const CItem *item) const;
    // The object an index shows, whether of this model or of a proxy above it (a view's filter);
    // none for the root (and for no index).
    static CItem *itemAt(const QModelIndex &index);
    static bool isRoot(const QModelIndex &index) { return index.isValid() && !itemAt(index); }

    // Replaces the menus by main menus already read (Menus::adopt), as one reset of the model.
    void resetMenus(MainMenus menus, const records::ConfigRecord &textRecord, const records::ConfigRecord &configRecord,
                    Menus::EntryTexts entryTexts = Menus::EntryTexts::ToTake);
    // The entries of parent, or the main menus for none.
    ItemList &entriesOf(CItem *parent);
    // Puts item at row of parent's entries (the main menus for none). The list is numbered
    // afresh, here and in takeItem(), so every position is the place in its list.
    CItem *insertItem(CItem *parent, int row, std::unique_ptr<CItem> item);
    // Takes item out of its list; the caller owns it afterwards.
    std::unique_ptr<CItem> takeItem(CItem *item);
    // The item's texts, type or looks changed.
    void itemChanged(const CItem *item);

private:
    // itemAt for this model's own indexes: the views and proxies ask for thousands of them.
    static CItem *objectAt(const QModelIndex &index)
    {
        return index.isValid() ? static_cast<CItem *>(index.internalPointer()) : nullptr;
    }
    QIcon icon(int image, int selectedImage) const;

    Menus &m_menus;
    // Made on first use: a build without a window never shows an image.
    mutable std::unique_ptr<artwork::ItemTypeImages> m_images;
    mutable QHash<int, QIcon> m_icons;
};

} // namespace document
