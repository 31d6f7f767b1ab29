#pragma once
// The MENUS tab: a view of the package document's menus, a tree under the root "Help Center",
// with the context menus, keys and double click through which the user edits them.
#include "menueditor.h"

#include <QWidget>

namespace document {
class PackageDocument;
}

namespace menutree {

class MenuTreeView;

class MenuTreePage : public QWidget {
    Q_OBJECT
public:
    explicit MenuTreePage(document::PackageDocument &document, QWidget *parent = nullptr);

    MenuTreeView *tree() const { return m_tree; }

    // The Edit menu's commands on the current node.
    void cutCurrent();
    void copyCurrent();
    void pasteOnCurrent();
    void moveCurrentUp() { moveCurrent(-1); }
    void moveCurrentDown() { moveCurrent(+1); }
    void moveCurrent(int step);

private:
    void showReadMenus();
    void showContextMenu(const QModelIndex &index, const QPoint &globalPosition);
    void drop(const QModelIndex &dragged, const QModelIndex &target, Qt::MouseButton button,
              const QPoint &globalPosition);

    document::PackageDocument &m_document;
    MenuEditor m_editor;
    MenuTreeView *m_tree;
};

} // namespace menutree
