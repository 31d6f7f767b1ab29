#include "menuitemmodel.h"

#include <QAbstractProxyModel>

#include "artwork/itemtypeimages.h"

namespace document {
namespace {

const QString rootLabel = QStringLiteral("Help Center");

// The image of an object, and the one it shows while selected: a main menu shows its category,
// a menu entry its type (a sub-menu opens when selected), a sub-entry its type.
std::pair<int, int> imagesOf(const CItem *item)
{
    if (!item)
        return {artwork::RootImage, artwork::RootImage};
    if (isMainMenu(item))
        return {item->category(), item->category()};
    const int image = typeImage(item->typeIcon());
    const bool opens = isMenuEntry(item) && image == artwork::SubMenuImage;
    return {image, opens ? int(artwork::SubMenuSelectedImage) : image};
}

} // namespace

MenuItemModel::MenuItemModel(Menus &menus, QObject *parent) : QAbstractItemModel(parent), m_menus(menus) {}

MenuItemModel::~MenuItemModel() = default;

QModelIndex MenuItemModel::rootIndex() const
{
    return createIndex(0, 0, nullptr);
}

CItem *MenuItemModel::itemAt(const QModelIndex &index)
{
    QModelIndex source = index;
    while (const auto *proxy = qobject_cast<const QAbstractProxyModel *>(source.model()))
        source = proxy->mapToSource(source);
    return objectAt(source);
}

ItemList &MenuItemModel::entriesOf(CItem *parent)
{
    return parent ? parent->entries() : m_menus.mainMenus();
}

QModelIndex MenuItemModel::indexOf(const CItem *item) const
{
    if (!item)
        return rootIndex();
    const int row = const_cast<MenuItemModel *>(this)->entriesOf(item->parent()).indexOf(item);
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<CItem *>(item));
}

QModelIndex MenuItemModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    if (!parent.isValid())
        return rootIndex();
    return createIndex(row, column, const_cast<MenuItemModel *>(this)->entriesOf(objectAt(parent)).at(row));
}

QModelIndex MenuItemModel::parent(const QModelIndex &child) const
{
    const CItem *item = objectAt(child);
    return item ? indexOf(item->parent()) : QModelIndex();
}

int MenuItemModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return 1;   // the root
    if (parent.column() != 0)
        return 0;
    return const_cast<MenuItemModel *>(this)->entriesOf(objectAt(parent)).size();
}

int MenuItemModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant MenuItemModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const CItem *item = objectAt(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (!item)
            return rootLabel;
        return isMainMenu(item) ? item->contentTitle() : item->title();
    case Qt::DecorationRole: {
        const auto [image, selectedImage] = imagesOf(item);
        return icon(image, selectedImage);
    }
    case ImageRole:
        return imagesOf(item).first;
    case SelectedImageRole:
        return imagesOf(item).second;
    default:
        return QVariant();
    }
}

QIcon MenuItemModel::icon(int image, int selectedImage) const
{
    const int key = image * artwork::TreeImageCount + selectedImage;
    auto found = m_icons.constFind(key);
    if (found != m_icons.constEnd())
        return *found;
    if (!m_images)
        m_images = std::make_unique<artwork::ItemTypeImages>();
    return *m_icons.insert(key, m_images->icon(image, selectedImage));
}

void MenuItemModel::resetMenus(MainMenus menus, const records::ConfigRecord &textRecord,
                               const records::ConfigRecord &configRecord, Menus::EntryTexts entryTexts)
{
    beginResetModel();
    m_menus.adopt(std::move(menus), textRecord, configRecord, entryTexts);
    endResetModel();
}

CItem *MenuItemModel::insertItem(CItem *parent, int row, std::unique_ptr<CItem> item)
{
    beginInsertRows(indexOf(parent), row, row);
    ItemList &entries = entriesOf(parent);
    CItem *inserted = entries.insert(row, std::move(item));
    entries.renumber();
    endInsertRows();
    return inserted;
}

std::unique_ptr<CItem> MenuItemModel::takeItem(CItem *item)
{
    const QModelIndex index = indexOf(item);
    beginRemoveRows(index.parent(), index.row(), index.row());
    ItemList &entries = entriesOf(item->parent());
    std::unique_ptr<CItem> taken = entries.take(index.row());
    entries.renumber();
    endRemoveRows();
    return taken;
}

void MenuItemModel::itemChanged(const CItem *item)
{
    const QModelIndex index = indexOf(item);
    emit dataChanged(index, index);
}

} // namespace document
