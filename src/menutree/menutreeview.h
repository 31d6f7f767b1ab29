#pragma once
// The tree of the MENUS page. Besides what a tree view does, it tells which item the mouse is on
// (only its icon and label count, not the empty space beside them), tracks a drag of an item
// with either mouse button, turns the keys and the mouse of the tree's editing commands into
// requests for the page, and shows an entry that an undo brings back as open as it was when it
// left. What a request does is the page's and the editor's business. A node the package check
// found a problem in carries a mark on its icon, and its tooltip lists the problems.
#include "document/packagecheck.h"

#include <QHash>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QTimer>
#include <QTreeView>
#include <optional>

namespace menutree {

// What the tree shows of a node's findings: the worst severity on the icon, every text in the tooltip.
struct ProblemMark {
    document::Finding::Severity severity = document::Finding::Severity::Warning;
    QStringList texts;

    friend bool operator==(const ProblemMark &a, const ProblemMark &b)
    {
        return a.severity == b.severity && a.texts == b.texts;
    }
};
using ProblemMarks = QHash<const document::CItem *, ProblemMark>;
// The marks of the nodes among findings; package-wide findings mark nothing.
ProblemMarks problemMarks(const QList<document::Finding> &findings);

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

    void setProblemMarks(const ProblemMarks &marks);
    // The mark of the node an index shows; none when the check found nothing in it.
    const ProblemMark *problemMarkAt(const QModelIndex &index) const;

signals:
    // A context menu for an item, at a point on screen (right click, the Menu key, Shift+F10).
    void contextMenuRequested(const QModelIndex &index, const QPoint &globalPosition);
    // Double click; Return on an entry.
    void editRequested(const QModelIndex &index);
    // The Delete key.
    void deleteRequested(const QModelIndex &index);
    // The keys of Cut, Copy and Paste (Ctrl+X, Ctrl+C, Ctrl+V and the platform's others).
    void cutRequested();
    void copyRequested();
    void pasteRequested();
    // A drag ended over a target with the release of a button, which decides the drop.
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
    bool viewportEvent(QEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    // From the press of the left or right button until neither is held. The press becomes a drag
    // when the mouse moves far enough from the item it pressed. The first of the two buttons to
    // come up ends the drag, as Escape or the loss of the focus do; whatever the mouse does then
    // changes nothing until the last button is up.
    struct Drag {
        QPersistentModelIndex item;
        QPoint start;
        bool started = false;
        bool ended = false;
        QPersistentModelIndex target;
        QPoint last;
        QPixmap image;
    };

    QStyleOptionViewItem itemOption(const QModelIndex &index) const;
    QRect iconRect(const QModelIndex &index) const;
    void drawProblemMark(QPainter *painter, const QModelIndex &index) const;

    bool dragging() const { return m_drag && m_drag->started && !m_drag->ended; }
    bool pressDuringDrag(QMouseEvent *event);
    void trackDrag(const QPoint &point, Qt::MouseButtons held);
    void showDropCursor(Qt::MouseButtons held);
    void endDrag();
    void expandHoveredItem();

    std::optional<Drag> m_drag;
    QTimer m_hoverTimer;
    ProblemMarks m_problemMarks;
};

} // namespace menutree
