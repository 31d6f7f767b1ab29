#include "menutreepage.h"

#include "filterbar.h"
#include "matchdelegate.h"
#include "menufiltermodel.h"
#include "menutreeview.h"
#include "previewview.h"
#include "problemlist.h"

#include "texts/texts.h"
#include "artwork/itemtypeimages.h"
#include "document/packagedocument.h"
#include "ui/modal.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QVBoxLayout>

#include <functional>

namespace menutree {

using document::MenuItemModel;

MenuTreePage::MenuTreePage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_editor(document, this), m_tree(new MenuTreeView(this)),
      m_problems(new ProblemList(this)), m_preview(new PreviewView(document, this)),
      m_splitter(new QSplitter(Qt::Horizontal, this))
{
    m_tree->setObjectName(QStringLiteral("menuTree"));
    m_tree->setAccessibleName(texts::withoutMnemonic(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("MENUS"))));
    m_tree->setIconSize(QSize(artwork::ItemTypeImages::ImageSize, artwork::ItemTypeImages::ImageSize));
    createFilter();
    auto *treeSide = new QWidget(m_splitter);
    auto *treeLayout = new QVBoxLayout(treeSide);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->addWidget(m_filterBar);
    treeLayout->addWidget(m_tree, 1);
    treeLayout->addWidget(m_problems);
    m_splitter->setObjectName(QStringLiteral("previewSplitter"));
    m_splitter->addWidget(treeSide);
    m_splitter->addWidget(m_preview);
    m_splitter->setCollapsible(0, false);
    m_splitter->setStretchFactor(0, 3);
    m_splitter->setStretchFactor(1, 2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_splitter);

    MenuItemModel &model = document.itemModel();
    connect(&model, &QAbstractItemModel::modelReset, this, &MenuTreePage::showReadMenus);
    // What an edit adds, or an undo brings back, is shown: its parent opens.
    connect(&model, &QAbstractItemModel::rowsInserted, m_tree, [this](const QModelIndex &parent) {
        m_tree->expand(m_filter->mapFromSource(parent));
    });
    connect(m_tree, &MenuTreeView::contextMenuRequested, this, &MenuTreePage::showContextMenu);
    connect(m_tree, &MenuTreeView::editRequested, this,
            [this](const QModelIndex &index) { m_editor.edit(MenuItemModel::itemAt(index)); });
    connect(m_tree, &MenuTreeView::deleteRequested, this,
            [this](const QModelIndex &index) { m_editor.remove(MenuItemModel::itemAt(index)); });
    connect(m_tree, &MenuTreeView::dropRequested, this, &MenuTreePage::drop);
    connect(m_tree, &MenuTreeView::cutRequested, this, &MenuTreePage::cutCurrent);
    connect(m_tree, &MenuTreeView::copyRequested, this, &MenuTreePage::copyCurrent);
    connect(m_tree, &MenuTreeView::pasteRequested, this, &MenuTreePage::pasteOnCurrent);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &MenuTreePage::pasteAvailabilityChanged);
    connect(&m_document.selection(), &QItemSelectionModel::currentChanged, this, &MenuTreePage::pasteAvailabilityChanged);
    showReadMenus();
    followChanges();
}

// Every change to the package goes through the undo stack or comes with a reading, a new
// company name or new settings.
void MenuTreePage::followChanges()
{
    setTabOrder(m_tree, m_problems->lines());
    setTabOrder(m_problems->lines(), m_preview);
    connect(m_problems, &ProblemList::findingChosen, this, &MenuTreePage::showFinding);
    m_checkTimer.setSingleShot(true);
    m_checkTimer.setInterval(0);
    connect(&m_checkTimer, &QTimer::timeout, this, &MenuTreePage::checkPackage);
    const auto checkLater = [this] { m_checkTimer.start(); };
    connect(&m_document.undoStack(), &QUndoStack::indexChanged, this, checkLater);
    connect(&m_document, &document::PackageDocument::loaded, this, checkLater);
    connect(&m_document, &document::PackageDocument::companyNameChanged, this, checkLater);
    connect(&m_document, &document::PackageDocument::settingsChanged, this, checkLater);
    checkLater();   // a window made before its package is read is checked once it is
}

void MenuTreePage::checkPackage()
{
    // Behind another tab of a window on screen, nothing shows the findings: the check waits
    // until the page is shown (at start, the window is on screen before the package is checked).
    m_checkWaiting = window()->isVisible() && !isVisible();
    if (m_checkWaiting)
        return;
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

// Menus just read show the main menus under the open root, or all that the filter shows.
void MenuTreePage::showReadMenus()
{
    m_tree->expand(treeIndexOf(nullptr));
    if (m_filter->isFiltering())
        m_tree->expandAll();
}

// The tree shows the menus through the filter, with a selection of its own: the document's current
// node and the tree's are kept in step here, and nowhere else does a tree index meet a document one.
void MenuTreePage::createFilter()
{
    MenuItemModel &model = m_document.itemModel();
    m_filter = new MenuFilterModel(model, this);
    m_filterBar = new FilterBar(this);
    m_tree->setModel(m_filter);
    m_tree->setItemDelegate(new MatchDelegate(*m_filter, m_tree));
    // The current node is always shown and in sight, whatever step made it current.
    connect(&m_document.selection(), &QItemSelectionModel::currentChanged, this, &MenuTreePage::showDocumentCurrent);
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this, &MenuTreePage::takeTreeCurrent);
    showDocumentCurrent(m_document.selection().currentIndex());

    connect(m_filterBar, &FilterBar::textChanged, this, &MenuTreePage::applyFilterText);
    connect(m_filterBar, &FilterBar::returnPressed, this, &MenuTreePage::goToFirstMatch);
    connect(m_filterBar, &FilterBar::leaveRequested, m_tree, [this] { m_tree->setFocus(Qt::OtherFocusReason); });
    m_tree->installEventFilter(this);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &MenuTreePage::showFilterCount);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &MenuTreePage::showFilterCount);
    connect(&model, &QAbstractItemModel::dataChanged, this, &MenuTreePage::showFilterCount);
    connect(&model, &QAbstractItemModel::modelReset, this, &MenuTreePage::showFilterCount);

    // F3 and Shift+F3 step through the matches from the field and from the tree.
    for (const auto &[key, step] : {std::pair{QKeySequence(Qt::Key_F3), +1}, std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F3), -1}}) {
        auto *action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, step = step] { goToMatch(step); });
        addAction(action);
    }
}

void MenuTreePage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_checkWaiting)
        checkPackage();
}

// Escape in the tree ends a filter before it would end the window: the keys went to the tree
// with Return in the field, and the user steps back out of the filter as out of the field.
bool MenuTreePage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree && event->type() == QEvent::KeyPress && m_filter->isFiltering()
        && !m_tree->draggedItem().isValid()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            m_filterBar->field()->clear();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QModelIndex MenuTreePage::treeIndexOf(const document::CItem *node) const
{
    return m_filter->mapFromSource(m_document.itemModel().indexOf(node));
}

void MenuTreePage::showDocumentCurrent(const QModelIndex &current)
{
    m_filter->reveal(MenuItemModel::itemAt(current));
    const QModelIndex shown = m_filter->mapFromSource(current);
    if (m_tree->selectionModel()->currentIndex() != shown)
        m_tree->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect);
    m_tree->scrollTo(shown);
}

void MenuTreePage::takeTreeCurrent(const QModelIndex &current)
{
    const QModelIndex source = m_filter->mapToSource(current);
    if (m_document.selection().currentIndex() != source)
        m_document.selection().setCurrentIndex(source, QItemSelectionModel::ClearAndSelect);
}

void MenuTreePage::applyFilterText(const QString &text)
{
    const bool wasFiltering = m_filter->isFiltering();
    if (!wasFiltering && !text.isEmpty())
        m_openBeforeFilter = openNodes();
    // From one filter to another every node shown is open, and opens again below. Closed, the
    // tree holds no index of its own that the filter has to move: a keystroke takes half the time.
    if (wasFiltering && !text.isEmpty())
        m_tree->collapseAll();
    m_filter->setFilterText(text, m_document.currentItem());
    // The menus above every match open; without a filter the tree is as the user left it, with
    // the current node in sight.
    if (m_filter->isFiltering()) {
        m_tree->expandAll();
    } else if (wasFiltering) {
        m_tree->collapseAll();
        reopen(m_openBeforeFilter);
        m_openBeforeFilter.clear();
    }
    m_tree->scrollTo(m_tree->currentIndex());
    showFilterCount();
}

QSet<const document::CItem *> MenuTreePage::openNodes() const
{
    QSet<const document::CItem *> open;
    const std::function<void(const QModelIndex &)> collect = [&](const QModelIndex &parent) {
        for (int row = 0; row < m_filter->rowCount(parent); ++row) {
            const QModelIndex index = m_filter->index(row, 0, parent);
            if (m_tree->isExpanded(index)) {
                open.insert(MenuItemModel::itemAt(index));
                collect(index);
            }
        }
    };
    collect(QModelIndex());
    return open;
}

void MenuTreePage::reopen(const QSet<const document::CItem *> &open)
{
    // The set is only compared with: a node deleted meanwhile is no longer in the tree to be met.
    const std::function<void(const QModelIndex &)> expand = [&](const QModelIndex &parent) {
        for (int row = 0; row < m_filter->rowCount(parent); ++row) {
            const QModelIndex index = m_filter->index(row, 0, parent);
            if (open.contains(MenuItemModel::itemAt(index))) {
                m_tree->expand(index);
                expand(index);
            }
        }
    };
    expand(QModelIndex());
}

void MenuTreePage::showFilterCount()
{
    if (m_filter->isFiltering())
        m_filterBar->showCount(m_filter->matchCount(), m_filter->entryCount());
    else
        m_filterBar->hideCount();
}

void MenuTreePage::focusFilter()
{
    m_filterBar->field()->setFocus(Qt::ShortcutFocusReason);
    m_filterBar->field()->selectAll();
}

void MenuTreePage::goToMatch(int step)
{
    if (const document::CItem *match = m_filter->nextMatch(m_document.currentItem(), step))
        m_document.setCurrentItem(match);
}

// Return in the field: the first match becomes current, and the keys go to the tree.
void MenuTreePage::goToFirstMatch()
{
    if (const document::CItem *match = m_filter->nextMatch(nullptr, +1)) {
        m_document.setCurrentItem(match);
        m_tree->setFocus(Qt::OtherFocusReason);
    }
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

bool MenuTreePage::canPasteOnCurrent() const
{
    return m_editor.canPaste(m_document.currentItem());
}

void MenuTreePage::moveCurrent(int step)
{
    m_editor.moveAmongSiblings(m_document.currentItem(), step);
}

} // namespace menutree
