#pragma once
// The tree of the MENUS page. Besides what a tree view does, it tells which item the mouse is on
// (only its icon and label count, not the empty space beside them) and turns the keys and the
// mouse of the tree's editing commands into requests for the page.
#include <QTreeView>

namespace menutree {

class MenuTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit MenuTreeView(QWidget *parent = nullptr);

    // The item whose icon or label lies at a point of the viewport; none beside it.
    QModelIndex itemAt(const QPoint &point) const;
    // Where a context menu for an item opens from the keyboard: below its label, on screen.
    QPoint menuPosition(const QModelIndex &index) const;

signals:
    // A context menu for an item, at a point on screen (right click, the Menu key, Shift+F10).
    void contextMenuRequested(const QModelIndex &index, const QPoint &globalPosition);
    // Double click; Return on an entry.
    void editRequested(const QModelIndex &index);
    // The Delete key.
    void deleteRequested(const QModelIndex &index);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

} // namespace menutree
