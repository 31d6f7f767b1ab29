#pragma once
// Paints the tree's items as usual, then marks in each label the part that holds the filter's text.
#include <QStyledItemDelegate>

namespace menutree {

class MenuFilterModel;

class MatchDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    MatchDelegate(const MenuFilterModel &filter, QObject *parent = nullptr);

    // The mark: translucent, so the label stays readable, selected or not.
    static QColor markColor() { return QColor(255, 200, 0, 120); }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const MenuFilterModel &m_filter;
};

} // namespace menutree
