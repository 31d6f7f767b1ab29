#pragma once
// The MENUS tab: a view of the package document's menus, a tree under the root "Help Center",
// with the context menus, keys and double click through which the user edits them. Below the tree,
// the problems the package check finds, checked again after every change.
#include "menueditor.h"

#include "document/packagecheck.h"

#include <QTimer>
#include <QWidget>

namespace document {
class PackageDocument;
}

namespace menutree {

class MenuTreeView;
class ProblemList;

class MenuTreePage : public QWidget {
    Q_OBJECT
public:
    explicit MenuTreePage(document::PackageDocument &document, QWidget *parent = nullptr);

    MenuTreeView *tree() const { return m_tree; }
    ProblemList *problems() const { return m_problems; }

    // The Edit menu's commands on the current node.
    void cutCurrent();
    void copyCurrent();
    void pasteOnCurrent();
    void moveCurrentUp() { moveCurrent(-1); }
    void moveCurrentDown() { moveCurrent(+1); }
    void moveCurrent(int step);

signals:
    // A finding about the package rather than a node was chosen in the problems list: the window
    // can show the page that holds the value it is about.
    void packageFindingChosen(document::Finding::Subject subject);

private:
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
    // Several changes in one turn of the event loop (an edit and the current node it sets, a
    // reading) are checked once, when the turn ends.
    QTimer m_checkTimer;
};

} // namespace menutree
