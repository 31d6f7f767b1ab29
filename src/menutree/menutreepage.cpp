#include "menutreepage.h"

#include "document/itemtypeimages.h"
#include "document/packagedocument.h"

#include <QTreeView>
#include <QVBoxLayout>

namespace menutree {

MenuTreePage::MenuTreePage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_tree(new QTreeView(this))
{
    m_tree->setObjectName(QStringLiteral("menuTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setIconSize(QSize(document::ItemTypeImages::ImageSize, document::ItemTypeImages::ImageSize));
    m_tree->setModel(&document.itemModel());
    m_tree->setSelectionModel(&document.selection());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);

    document::MenuItemModel &model = document.itemModel();
    connect(&model, &QAbstractItemModel::modelReset, this, &MenuTreePage::showReadMenus);
    // What an edit adds is shown: its parent opens.
    connect(&model, &QAbstractItemModel::rowsInserted, m_tree, [this](const QModelIndex &parent) {
        m_tree->expand(parent);
    });
    // The current node is always in sight, whatever step made it current.
    connect(&document.selection(), &QItemSelectionModel::currentChanged, m_tree, [this](const QModelIndex &current) {
        m_tree->scrollTo(current);
    });
    showReadMenus();
}

// Menus just read show the main menus under the open root.
void MenuTreePage::showReadMenus()
{
    m_tree->expand(m_document.itemModel().rootIndex());
}

} // namespace menutree
