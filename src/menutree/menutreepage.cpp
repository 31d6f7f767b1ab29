#include "menutreepage.h"

#include "menutreeview.h"
#include "problemlist.h"

#include "texts/texts.h"
#include "artwork/itemtypeimages.h"
#include "document/packagedocument.h"
#include "ui/modal.h"

#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

namespace menutree {

using document::MenuItemModel;

MenuTreePage::MenuTreePage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_editor(document, this), m_tree(new MenuTreeView(this)),
      m_problems(new ProblemList(this))
{
    m_tree->setObjectName(QStringLiteral("menuTree"));
    m_tree->setAccessibleName(texts::withoutMnemonic(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("MENUS"))));
    m_tree->setIconSize(QSize(artwork::ItemTypeImages::ImageSize, artwork::ItemTypeImages::ImageSize));
    m_tree->setModel(&document.itemModel());
    m_tree->setSelectionModel(&document.selection());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tree, 1);
    layout->addWidget(m_problems);

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
    followChanges();
}

// Every change to the package goes through the undo stack or comes with a reading, a new
// company name or new settings.
void MenuTreePage::followChanges()
{
    setTabOrder(m_tree, m_problems->lines());
    connect(m_problems, &ProblemList::findingChosen, this, &MenuTreePage::showFinding);
    m_checkTimer.setSingleShot(true);
    m_checkTimer.setInterval(0);
    connect(&m_checkTimer, &QTimer::timeout, this, &MenuTreePage::checkPackage);
    const auto checkLater = [this] { m_checkTimer.start(); };
    connect(&m_document.undoStack(), &QUndoStack::indexChanged, this, checkLater);
    connect(&m_document, &document::PackageDocument::loaded, this, checkLater);
    connect(&m_document, &document::PackageDocument::companyNameChanged, this, checkLater);
    connect(&m_document, &document::PackageDocument::settingsChanged, this, checkLater);
    checkPackage();
}

void MenuTreePage::checkPackage()
{
    const QList<document::Finding> findings = document::checkPackage(m_document);
    const bool listHadFocus = m_problems->lines()->hasFocus();
    m_problems->setFindings(findings);
    m_tree->setProblemMarks(problemMarks(findings));
    // The last problem mended from the keyboard: the focus goes back to the tree, not to the next page.
    if (listHadFocus && m_problems->isHidden())
        m_tree->setFocus(Qt::OtherFocusReason);
}

namespace {

bool holds(const document::ItemList &items, const document::CItem *wanted)
{
    for (const document::CItem *item : items) {
        if (item == wanted || holds(item->entries(), wanted))
            return true;
    }
    return false;
}

} // namespace

void MenuTreePage::showFinding(const document::Finding &finding)
{
    if (!finding.item) {
        emit packageFindingChosen(finding.subject);
        return;
    }
    // Until the check runs again after an edit of this turn, a line may name a node the edit
    // took out of the menus: only pointers are compared until it is found there.
    if (!holds(m_document.menus().mainMenus(), finding.item))
        return;
    m_document.setCurrentItem(finding.item);
    m_tree->setFocus(Qt::OtherFocusReason);
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
