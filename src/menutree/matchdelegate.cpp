#include "matchdelegate.h"

#include "menufiltermodel.h"

#include <QApplication>
#include <QPainter>

namespace menutree {

MatchDelegate::MatchDelegate(const MenuFilterModel &filter, QObject *parent) : QStyledItemDelegate(parent), m_filter(filter) {}

void MatchDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QList<int> starts = m_filter.matchesInLabel(index);
    if (starts.isEmpty())
        return;
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget *widget = item.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    QRect label = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    // The style leaves this margin on each side of the text.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    label.adjust(margin, 0, -margin, 0);
    const QFontMetrics metrics(item.font);
    const int top = label.top() + (label.height() - metrics.height()) / 2;
    const qsizetype length = m_filter.filterText().size();
    painter->save();
    painter->setClipRect(label);   // a label cut short shows the marks that fit
    for (const int start : starts) {
        const int left = label.left() + metrics.horizontalAdvance(item.text.left(start));
        const int width = metrics.horizontalAdvance(item.text.mid(start, length));
        painter->fillRect(QRect(left, top, width, metrics.height()), markColor());
    }
    painter->restore();
}

} // namespace menutree
