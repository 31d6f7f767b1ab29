#include "menutreepage.h"

#include "document/packagedocument.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace menutree {

MenuTreePage::MenuTreePage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document)
{
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("menuTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setIconSize(QSize(ItemTypeImages::ImageSize, ItemTypeImages::ImageSize));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);

    fillTree();
    connect(&m_document, &document::PackageDocument::loaded, this, &MenuTreePage::fillTree);
}

MenuTreePage::~MenuTreePage()
{
    // The items point into the model, which goes before the tree widget does.
    m_tree->clear();
}

void MenuTreePage::fillTree()
{
    m_tree->clear();
    m_treeItems.clear();

    auto *root = new QTreeWidgetItem(m_tree, QStringList{QStringLiteral("Help Center")});
    root->setData(0, RootRole, true);
    root->setData(0, ObjectRole, QVariant::fromValue<CItem *>(nullptr));
    setItemImages(root, RootImage, RootImage);

    for (CItem *mainMenu : m_document.menus().mainMenus()) {
        QTreeWidgetItem *menuItem =
            addTreeItem(root, mainMenu->contentTitle(), mainMenu, mainMenu->category(), mainMenu->category());
        m_treeItems.append(menuItem);
        for (CItem *entry : mainMenu->entries()) {
            const int image = typeImage(entry->typeIcon());
            const int selectedImage = image == SubMenuImage ? SubMenuSelectedImage : image;
            QTreeWidgetItem *entryItem = addTreeItem(menuItem, entry->title(), entry, image, selectedImage);
            m_treeItems.append(entryItem);
            if (!entry->hasEntries())
                continue;
            for (CItem *subEntry : entry->entries()) {
                const int subImage = typeImage(subEntry->typeIcon());
                addTreeItem(entryItem, subEntry->title(), subEntry, subImage, subImage);
            }
        }
    }

    m_tree->setCurrentItem(root);
    root->setExpanded(true);
}

CItem *MenuTreePage::objectOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, ObjectRole).value<CItem *>() : nullptr;
}

bool MenuTreePage::isRootItem(const QTreeWidgetItem *item)
{
    return item && item->data(0, RootRole).toBool();
}

void MenuTreePage::setItemImages(QTreeWidgetItem *item, int image, int selectedImage) const
{
    item->setIcon(0, m_images.icon(image, selectedImage));
    item->setData(0, ImageRole, image);
    item->setData(0, SelectedImageRole, selectedImage);
}

QTreeWidgetItem *MenuTreePage::addTreeItem(QTreeWidgetItem *parent, const QString &label, CItem *object, int image,
                                           int selectedImage) const
{
    auto *item = new QTreeWidgetItem(parent, QStringList{label});
    item->setData(0, ObjectRole, QVariant::fromValue(object));
    setItemImages(item, image, selectedImage);
    return item;
}

QTreeWidgetItem *MenuTreePage::rootItem() const
{
    return m_tree->topLevelItem(0);
}

} // namespace menutree
