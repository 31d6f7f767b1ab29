#pragma once
// The MENUS tab: a view of the package document's menus, a tree under the root "Help Center",
// with the context menus, keys and double click through which the user edits them; a filter
// field above it that narrows the tree to the entries holding a text, and below it the problems
// the package check finds, checked again after every change. Beside them, the preview of what
// the front-end will show.
#include "menueditor.h"

#include "document/packagecheck.h"

#include <QSet>
#include <QTimer>
#include <QWidget>

class QSplitter;

namespace document {
class PackageDocument;
}

namespace menutree {

class FilterBar;
class MenuFilterModel;
class MenuTreeView;
class PreviewView;
class ProblemList;

class MenuTreePage : public QWidget {
    Q_OBJECT
public:
    explicit MenuTreePage(document::PackageDocument &document, QWidget *parent = nullptr);

    MenuTreeView *tree() const { return m_tree; }
    ProblemList *problems() const { return m_problems; }
    // The tree with its filter and problems on the left, the preview on the right; the user
    // drags the line between them or closes the preview against the edge.
    QSplitter *splitter() const { return m_splitter; }
    PreviewView *preview() const { return m_preview; }
    // The filter between the document's menus and the tree, and the row that sets it.
    MenuFilterModel *filter() const { return m_filter; }
    FilterBar *filterBar() const { return m_filterBar; }
    // The tree's index of a node of the menus (none: the root); none when the filter hides it.
    QModelIndex treeIndexOf(const document::CItem *node) const;

    // Puts the cursor in the filter field, its text selected (Ctrl+F).
    void focusFilter();
    // Makes the next node that holds the filter's text current (F3), or the one before (Shift+F3).
    void goToMatch(int step);

    // The Edit menu's commands on the current node.
    void cutCurrent();
    void copyCurrent();
    void pasteOnCurrent();
    // Whether Paste would take what the clipboard holds on the current node; pasteAvailabilityChanged
    // says when the answer may have changed (the clipboard or the current node changed).
    bool canPasteOnCurrent() const;
    void moveCurrentUp() { moveCurrent(-1); }
    void moveCurrentDown() { moveCurrent(+1); }
    void moveCurrent(int step);

signals:
    // A finding about the package rather than a node was chosen in the problems list: the window
    // can show the page that holds the value it is about.
    void packageFindingChosen(document::Finding::Subject subject);
    void pasteAvailabilityChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createFilter();
    void showDocumentCurrent(const QModelIndex &current);
    void takeTreeCurrent(const QModelIndex &current);
    void applyFilterText(const QString &text);
    // The nodes the tree shows open, and opening them again: the tree is as the user left it
    // when a filter ends.
    QSet<const document::CItem *> openNodes() const;
    void reopen(const QSet<const document::CItem *> &open);
    void showFilterCount();
    void goToFirstMatch();
    void showReadMenus();
    void showContextMenu(const QModelIndex &index, const QPoint &globalPosition);
    void drop(const QModelIndex &dragged, const QModelIndex &target, Qt::MouseButton button,
              const QPoint &globalPosition);
    void followChanges();
    void checkPackage();
    void showFinding(const document::Finding &finding);

    document::PackageDocument &m_document;
    MenuEditor m_editor;
    MenuTreeView *m_tree;
    ProblemList *m_problems;
    PreviewView *m_preview;
    QSplitter *m_splitter;
    // Several changes in one turn of the event loop (an edit and the current node it sets, a
    // reading) are checked once, when the turn ends.
    QTimer m_checkTimer;
    bool m_checkWaiting = false;
    MenuFilterModel *m_filter = nullptr;
    FilterBar *m_filterBar = nullptr;
    QSet<const document::CItem *> m_openBeforeFilter;
};

} // namespace menutree
