#include "menutreepage.h"

#include "menutreeview.h"

#include "config/texts.h"
#include "document/itemtypeimages.h"
#include "document/packagedocument.h"
#include "platform/modal.h"

#include <QMenu>
#include <QVBoxLayout>

namespace menutree {

using document::MenuItemModel;

MenuTreePage::MenuTreePage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_editor(document, this), m_tree(new MenuTreeView(this))
{
    m_tree->setObjectName(QStringLiteral("menuTree"));
    m_tree->setIconSize(QSize(document::ItemTypeImages::ImageSize, document::ItemTypeImages::ImageSize));
    m_tree->setModel(&document.itemModel());
    m_tree->setSelectionModel(&document.selection());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);

    MenuItemModel &model = document.itemModel();
    connect(&model, &QAbstractItemModel::modelReset, this, &MenuTreePage::showReadMenus);
    // What an edit adds, or an undo brings back, is shown: its parent opens.
    connect(&model, &QAbstractItemModel::rowsInserted, m_tree, [this](const QModelIndex &parent) {
        m_tree->expand(parent);
    });
    // The current node is always in sight, whatever step made it current.
    connect(&document.selection(), &QItemSelectionModel::currentChanged, m_tree, [this](const QModelIndex &current) {
        m_tree->scrollTo(current);
    });
    connect(m_tree, &MenuTreeView::contextMenuRequested, this, &MenuTreePage::showContextMenu);
    connect(m_tree, &MenuTreeView::editRequested, this,
            [this](const QModelIndex &index) { m_editor.edit(MenuItemModel::itemAt(index)); });
    connect(m_tree, &MenuTreeView::deleteRequested, this,
            [this](const QModelIndex &index) { m_editor.remove(MenuItemModel::itemAt(index)); });
    showReadMenus();
}

// Menus just read show the main menus under the open root.
void MenuTreePage::showReadMenus()
{
    m_tree->expand(m_document.itemModel().rootIndex());
}

void MenuTreePage::showContextMenu(const QModelIndex &index, const QPoint &globalPosition)
{
    document::CItem *node = MenuItemModel::itemAt(index);
    m_document.setCurrentItem(node);
    QMenu menu(this);
    for (const TreeCommandLabel &command : MenuEditor::commandsFor(node)) {
        menu.addAction(config::lookupText(QStringLiteral("TEXT"), QLatin1String(command.labelKey)))
            ->setData(int(command.command));
    }
    if (QAction *chosen = platform::modals().popupMenu(menu, globalPosition))
        m_editor.run(TreeCommand(chosen->data().toInt()), node);
}

} // namespace menutree
