#include "menutreeview.h"

#include "document/menuitemmodel.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace menutree {

MenuTreeView::MenuTreeView(QWidget *parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);   // a double click edits
}

QModelIndex MenuTreeView::itemAt(const QPoint &point) const
{
    const QModelIndex index = indexAt(point);
    if (!index.isValid())
        return QModelIndex();
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.index = index;
    option.text = index.data().toString();
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.decorationSize = iconSize();
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
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex index = itemAt(event->pos());
        if (index.isValid())
            emit contextMenuRequested(index, event->globalPos());
    } else if (currentIndex().isValid()) {
        emit contextMenuRequested(currentIndex(), menuPosition(currentIndex()));
    }
}

void MenuTreeView::keyPressEvent(QKeyEvent *event)
{
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

void MenuTreeView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid())
        emit editRequested(index);
}

} // namespace menutree
