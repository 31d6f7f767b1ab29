#pragma once
// The tree of the MENUS page. Besides what a tree view does, it tells which item the mouse is on
// (only its icon and label count, not the empty space beside them), tracks a drag of an item
// with either mouse button, turns the keys and the mouse of the tree's editing commands into
// requests for the page, and shows an entry that an undo brings back as open as it was when it
// left. What a request does is the page's and the editor's business.
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QTimer>
#include <QTreeView>
#include <optional>

namespace menutree {

class MenuTreeView : public QTreeView {
    Q_OBJECT
public:
    // Holding the mouse still over an item this long during a drag opens it.
    static constexpr int hoverExpandMs = 1000;
    // A drag this close to the top or bottom edge scrolls the tree a line per mouse move.
    static constexpr int scrollMargin = 10;

    explicit MenuTreeView(QWidget *parent = nullptr);

    // The item whose icon or label lies at a point of the viewport; none beside it.
    QModelIndex itemAt(const QPoint &point) const;
    // Where a context menu for an item opens from the keyboard: below its label, on screen.
    QPoint menuPosition(const QModelIndex &index) const;
    // The item a drag under way carries; none when no drag is under way.
    QModelIndex draggedItem() const;
    QModelIndex dropTarget() const;

signals:
    // A context menu for an item, at a point on screen (right click, the Menu key, Shift+F10).
    void contextMenuRequested(const QModelIndex &index, const QPoint &globalPosition);
    // Double click; Return on an entry.
    void editRequested(const QModelIndex &index);
    // The Delete key.
    void deleteRequested(const QModelIndex &index);
    // A drag ended with the release of its button over a target.
    void dropRequested(const QModelIndex &dragged, const QModelIndex &target, Qt::MouseButton button,
                       const QPoint &globalPosition);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    // From the press on an item until either button is released.
    struct Drag {
        QPersistentModelIndex item;
        Qt::MouseButton button = Qt::NoButton;
        QPoint start;
        bool started = false;
        QPersistentModelIndex target;
        QPoint last;
        QPixmap image;
    };

    void trackDrag(const QPoint &point);
    bool dropAllowedOn(const QModelIndex &target) const;
    void endDrag();
    void expandHoveredItem();

    std::optional<Drag> m_drag;
    QTimer m_hoverTimer;
};

} // namespace menutree
