#include "menutreeview.h"

#include "document/droprules.h"
#include "artwork/itemtypeimages.h"
#include "document/menuitemmodel.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

namespace menutree {

using document::MenuItemModel;

namespace {

// The buttons that drag; the middle one only clicks.
constexpr Qt::MouseButtons dragButtons = Qt::LeftButton | Qt::RightButton;

const QCursor &dropCursor(bool allowed)
{
    // Made on first use, when there is a screen to show them on; they live as long as the program.
    static const auto *allowedCursor = new QCursor(artwork::svgPixmap(QStringLiteral(":/images/drop-allowed.svg")), 0, 0);
    static const auto *refusedCursor = new QCursor(artwork::svgPixmap(QStringLiteral(":/images/drop-refused.svg")), 0, 0);
    return allowed ? *allowedCursor : *refusedCursor;
}

// Visits an index and every index below it.
template <typename Visit>
void forSubtree(const QAbstractItemModel *model, const QModelIndex &index, const Visit &visit)
{
    visit(index);
    for (int row = 0; row < model->rowCount(index); ++row)
        forSubtree(model, model->index(row, 0, index), visit);
}

} // namespace

MenuTreeView::MenuTreeView(QWidget *parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);   // a double click edits
    // The right button drags as the left one does: its click shows the context menu on release,
    // when it has not become a drag.
    viewport()->setContextMenuPolicy(Qt::PreventContextMenu);
    // Moves without a button reach the tree too, so a drag whose release went elsewhere ends.
    viewport()->setMouseTracking(true);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(hoverExpandMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, &MenuTreeView::expandHoveredItem);
}

QModelIndex MenuTreeView::draggedItem() const
{
    return dragging() ? QModelIndex(m_drag->item) : QModelIndex();
}

QModelIndex MenuTreeView::dropTarget() const
{
    return dragging() ? QModelIndex(m_drag->target) : QModelIndex();
}

// How the style lays out an item's icon and label.
QStyleOptionViewItem MenuTreeView::itemOption(const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.index = index;
    option.text = index.data().toString();
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = iconSize();
    return option;
}

QRect MenuTreeView::iconRect(const QModelIndex &index) const
{
    const QStyleOptionViewItem option = itemOption(index);
    return style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
}

QModelIndex MenuTreeView::itemAt(const QPoint &point) const
{
    const QModelIndex index = indexAt(point);
    if (!index.isValid())
        return QModelIndex();
    const QStyleOptionViewItem option = itemOption(index);
    const QRect icon = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
    QRect label = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // The text's own width, with the margin the style leaves on each side of it.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, this) + 1;
    label.setWidth(qMin(label.width(), option.fontMetrics.horizontalAdvance(option.text) + 2 * margin));
    return icon.contains(point) || label.contains(point) ? index : QModelIndex();
}

QPoint MenuTreeView::menuPosition(const QModelIndex &index) const
{
    const QRect rect = visualRect(index);
    return viewport()->mapToGlobal(QPoint(rect.left() + iconSize().width(), rect.bottom()));
}

void MenuTreeView::contextMenuEvent(QContextMenuEvent *event)
{
    // The mouse's menus come with the right button's release; this is the keyboard's.
    event->accept();
    if (event->reason() != QContextMenuEvent::Mouse && currentIndex().isValid())
        emit contextMenuRequested(currentIndex(), menuPosition(currentIndex()));
}

void MenuTreeView::keyPressEvent(QKeyEvent *event)
{
    // Escape drops nothing: the drag ends where it is.
    if (dragging() && event->key() == Qt::Key_Escape) {
        endDrag();
        event->accept();
        return;
    }
    // The view's own Copy would put a label on the clipboard: these keys are the editor's, on nodes.
    // In the window the Edit menu's shortcuts take them first.
    for (const auto &[key, request] : {std::pair{QKeySequence::Cut, &MenuTreeView::cutRequested},
                                       std::pair{QKeySequence::Copy, &MenuTreeView::copyRequested},
                                       std::pair{QKeySequence::Paste, &MenuTreeView::pasteRequested}}) {
        if (event->matches(key)) {
            if (!dragging())
                emit (this->*request)();
            event->accept();
            return;
        }
    }
    const QModelIndex current = currentIndex();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!current.isValid() || (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier))
        return QTreeView::keyPressEvent(event);

    const document::CItem *item = document::MenuItemModel::itemAt(current);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (modifiers != Qt::NoModifier || !item)
            break;
        // A node that holds entries opens or closes; an entry, or an empty main menu, is edited.
        if (item->hasEntries())
            setExpanded(current, !isExpanded(current));
        else
            emit editRequested(current);
        event->accept();
        return;
    case Qt::Key_Delete:
        if (modifiers != Qt::NoModifier)
            break;
        if (item)
            emit deleteRequested(current);
        event->accept();
        return;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (modifiers != (event->key() == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier))
            break;
        // Accepted here, so the desktop does not send a context menu event as well.
        emit contextMenuRequested(current, menuPosition(current));
        event->accept();
        return;
    default:
        break;
    }
    QTreeView::keyPressEvent(event);
}

void MenuTreeView::mousePressEvent(QMouseEvent *event)
{
    if (pressDuringDrag(event))
        return;
    const QPoint point = event->position().toPoint();
    if (event->button() & dragButtons) {
        m_drag = Drag();
        m_drag->item = itemAt(point);
        m_drag->start = point;
    }
    if (event->button() == Qt::RightButton) {
        setFocus(Qt::MouseFocusReason);
        event->accept();   // the right button selects nothing until its menu shows
    } else {
        QTreeView::mousePressEvent(event);
    }
}

// A button pressed while another one holds a press or a drag joins it: it selects nothing, and
// the drop cursor follows the buttons now held.
bool MenuTreeView::pressDuringDrag(QMouseEvent *event)
{
    if (!m_drag)
        return false;
    // With no other button held, the last one came up where the tree did not see it (a window
    // that took the mouse meanwhile): this press starts afresh.
    if (!(event->buttons() & ~event->button() & dragButtons)) {
        m_drag.reset();
        return false;
    }
    event->accept();
    if (dragging())
        showDropCursor(event->buttons());
    return true;
}

void MenuTreeView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_drag)
        return QTreeView::mouseMoveEvent(event);   // the mouse only passes over the tree
    // With a button down, the view follows a drag and selects nothing on the way.
    event->accept();
    const Qt::MouseButtons held = event->buttons() & dragButtons;
    if (!held) {
        // The last release went to a window that took the mouse meanwhile.
        if (!m_drag->ended)
            endDrag();
        m_drag.reset();
        return;
    }
    if (m_drag->ended)
        return;
    const QPoint point = event->position().toPoint();
    if (!m_drag->started) {
        const bool draggable = m_drag->item.isValid() && MenuItemModel::itemAt(m_drag->item);   // never the root
        if (!draggable || (point - m_drag->start).manhattanLength() < QApplication::startDragDistance())
            return;
        m_drag->started = true;
        const QRect rect = visualRect(m_drag->item);
        m_drag->image = viewport()->grab(QRect(rect.topLeft(), QSize(qMin(rect.width(), 200), rect.height())));
    }
    trackDrag(point, held);
}

void MenuTreeView::trackDrag(const QPoint &point, Qt::MouseButtons held)
{
    m_drag->last = point;
    const QModelIndex target = indexAt(point);
    m_drag->target = target;
    // A move over an item starts the hover timer again; over empty space it runs on.
    if (target.isValid() || !m_hoverTimer.isActive())
        m_hoverTimer.start();
    // Near an edge the tree scrolls a line each time the mouse moves.
    if (point.y() < scrollMargin)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (point.y() > viewport()->height() - scrollMargin)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    showDropCursor(held);
    viewport()->update();
}

// The right button's rule applies while the right button is held, with the left one or without.
void MenuTreeView::showDropCursor(Qt::MouseButtons held)
{
    const QModelIndex target = m_drag->target;
    const bool allowed = target.isValid()
        && document::dropPossible(MenuItemModel::itemAt(m_drag->item), MenuItemModel::itemAt(target),
                                  held.testFlag(Qt::RightButton));
    viewport()->setCursor(dropCursor(allowed));
}

void MenuTreeView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_drag)
        return QTreeView::mouseReleaseEvent(event);
    event->accept();
    // Only the two buttons that drag take part; the middle one changes nothing meanwhile.
    if (!(event->button() & dragButtons))
        return;
    const Drag drag = *m_drag;
    if (!drag.ended)
        endDrag();
    const bool lastButton = !(event->buttons() & dragButtons);
    if (lastButton)
        m_drag.reset();
    if (drag.ended)
        return;
    // The first button to come up decides: the left one drops, the right one asks where.
    const QPoint global = event->globalPosition().toPoint();
    if (drag.started) {
        if (drag.target.isValid() && drag.item.isValid())
            emit dropRequested(drag.item, drag.target, event->button(), global);
        return;
    }
    // A press that became no drag is a click, unless another button joined it.
    if (!lastButton)
        return;
    if (event->button() == Qt::RightButton) {
        const QModelIndex item = itemAt(event->position().toPoint());
        if (item.isValid())
            emit contextMenuRequested(item, global);
    } else {
        QTreeView::mouseReleaseEvent(event);
    }
}

void MenuTreeView::focusOutEvent(QFocusEvent *event)
{
    // A window that comes up (a question, the desktop's) takes the mouse with the focus.
    if (m_drag && !m_drag->ended)
        endDrag();
    QTreeView::focusOutEvent(event);
}

void MenuTreeView::endDrag()
{
    m_drag->ended = true;
    m_hoverTimer.stop();
    viewport()->unsetCursor();
    viewport()->update();
}

void MenuTreeView::expandHoveredItem()
{
    if (!dragging())
        return;
    const QModelIndex item = indexAt(m_drag->last);
    if (item.isValid()) {
        expand(item);
        viewport()->repaint();
    }
}

void MenuTreeView::paintEvent(QPaintEvent *event)
{
    QTreeView::paintEvent(event);
    if (!dragging() || m_drag->image.isNull())
        return;
    // The dragged item follows the mouse, held by its middle.
    QPainter painter(viewport());
    painter.setOpacity(0.6);
    const QSize size = m_drag->image.deviceIndependentSize().toSize();
    painter.drawPixmap(m_drag->last - QPoint(size.width() / 2, size.height() / 2), m_drag->image);
}

void MenuTreeView::drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The drop target is highlighted as a selected item is.
    QStyleOptionViewItem row = option;
    if (dragging() && index == m_drag->target)
        row.state |= QStyle::State_Selected;
    QTreeView::drawRow(painter, row, index);
    drawProblemMark(painter, index);
}

ProblemMarks problemMarks(const QList<document::Finding> &findings)
{
    ProblemMarks marks;
    for (const document::Finding &finding : findings) {
        if (!finding.item)
            continue;
        ProblemMark &mark = marks[finding.item];
        if (mark.texts.isEmpty() || finding.severity > mark.severity)
            mark.severity = finding.severity;
        mark.texts << finding.text();
    }
    return marks;
}

void MenuTreeView::setProblemMarks(const ProblemMarks &marks)
{
    // Most edits change no finding: the tree is not painted again for them.
    if (marks == m_problemMarks)
        return;
    m_problemMarks = marks;
    viewport()->update();
}

const ProblemMark *MenuTreeView::problemMarkAt(const QModelIndex &index) const
{
    const auto mark = m_problemMarks.constFind(MenuItemModel::itemAt(index));
    return mark != m_problemMarks.constEnd() ? &*mark : nullptr;
}

// The style's warning or error icon, small, on the lower right corner of the node's icon.
void MenuTreeView::drawProblemMark(QPainter *painter, const QModelIndex &index) const
{
    const ProblemMark *mark = problemMarkAt(index);
    if (!mark)
        return;
    const QRect icon = iconRect(index);
    const int side = qMax(8, icon.height() * 5 / 8);
    QRect badge(0, 0, side, side);
    badge.moveBottomRight(icon.bottomRight());
    const QStyle::StandardPixmap image = mark->severity == document::Finding::Severity::Error
        ? QStyle::SP_MessageBoxCritical : QStyle::SP_MessageBoxWarning;
    style()->standardIcon(image, nullptr, this).paint(painter, badge);
}

bool MenuTreeView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QModelIndex index = indexAt(help->pos());
        if (const ProblemMark *mark = problemMarkAt(index)) {
            QToolTip::showText(help->globalPos(), mark->texts.join(QLatin1Char('\n')), viewport(), visualRect(index));
            return true;
        }
    }
    return QTreeView::viewportEvent(event);
}

// An entry leaves the tree to wait in an undo step (a delete, a cut) or to come back elsewhere (a
// move); the tree forgets its rows, so each object keeps whether it was open.
void MenuTreeView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    for (int row = start; row <= end; ++row) {
        forSubtree(model(), model()->index(row, 0, parent), [this](const QModelIndex &index) {
            MenuItemModel::itemAt(index)->setOpenInTree(isExpanded(index));
        });
    }
    QTreeView::rowsAboutToBeRemoved(parent, start, end);
}

void MenuTreeView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTreeView::rowsInserted(parent, start, end);
    for (int row = start; row <= end; ++row) {
        forSubtree(model(), model()->index(row, 0, parent), [this](const QModelIndex &index) {
            if (MenuItemModel::itemAt(index)->openInTree())
                expand(index);
        });
    }
}

void MenuTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (pressDuringDrag(event))
        return;
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        emit editRequested(index);
}

} // namespace menutree
