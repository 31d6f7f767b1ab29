#include "menutreepage.h"

#include "menutreeview.h"

#include "texts/texts.h"
#include "artwork/itemtypeimages.h"
#include "document/packagedocument.h"
#include "ui/modal.h"

#include <QMenu>
#include <QVBoxLayout>

namespace menutree {

using document::MenuItemModel;

MenuTreePage::MenuTreePage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_editor(document, this), m_tree(new MenuTreeView(this))
{
    m_tree->setObjectName(QStringLiteral("menuTree"));
    m_tree->setAccessibleName(texts::withoutMnemonic(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("MENUS"))));
    m_tree->setIconSize(QSize(artwork::ItemTypeImages::ImageSize, artwork::ItemTypeImages::ImageSize));
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
    connect(m_tree, &MenuTreeView::dropRequested, this, &MenuTreePage::drop);
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
        menu.addAction(texts::lookupText(QStringLiteral("TEXT"), QLatin1String(command.labelKey)))
            ->setData(int(command.command));
    }
    if (QAction *chosen = ui::modals().popupMenu(menu, globalPosition))
        m_editor.run(TreeCommand(chosen->data().toInt()), node);
}

void MenuTreePage::drop(const QModelIndex &dragged, const QModelIndex &target, Qt::MouseButton button,
                        const QPoint &globalPosition)
{
    document::CItem *draggedItem = MenuItemModel::itemAt(dragged);
    document::CItem *targetItem = MenuItemModel::itemAt(target);
    if (button == Qt::LeftButton) {
        m_editor.drop(draggedItem, targetItem, document::leftDropPlacement(draggedItem, targetItem), false);
        return;
    }
    if (!document::dropPossible(draggedItem, targetItem, true))
        return;
    // The right button asks where: into the target or below it, the choice that does not apply greyed.
    const document::DropChoices choices = document::rightDropChoices(draggedItem, targetItem);
    QMenu menu(this);
    QAction *within = menu.addAction(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("WITHIN")));
    QAction *below = menu.addAction(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("BELOW")));
    within->setEnabled(choices.within);
    below->setEnabled(choices.below);
    QAction *chosen = ui::modals().popupMenu(menu, globalPosition);
    if ((chosen == within || chosen == below) && chosen->isEnabled()) {
        m_editor.drop(draggedItem, targetItem,
                      chosen == within ? document::Placement::Within : document::Placement::Below, true);
    }
}

void MenuTreePage::cutCurrent()
{
    m_editor.cut(m_document.currentItem());
}

void MenuTreePage::copyCurrent()
{
    m_editor.copy(m_document.currentItem());
}

void MenuTreePage::pasteOnCurrent()
{
    m_editor.paste(m_document.currentItem());
}

void MenuTreePage::moveCurrent(int step)
{
    m_editor.moveAmongSiblings(m_document.currentItem(), step);
}

} // namespace menutree
