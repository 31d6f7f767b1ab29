#pragma once
// The row above the menu tree: the field the user types a filter in, and beside it how many
// entries hold the text. Escape in the field is the field's own (it empties it) and never
// reaches the window, which Escape would close.
#include <QWidget>

class QLabel;
class QLineEdit;

namespace menutree {

class FilterBar : public QWidget {
    Q_OBJECT
public:
    explicit FilterBar(QWidget *parent = nullptr);

    QLineEdit *field() const { return m_field; }
    QLabel *countLabel() const { return m_count; }
    // "3 of 1,000 entries", with the locale's digit grouping; nothing while there is no filter.
    void showCount(int matches, int entries);
    void hideCount();

signals:
    void textChanged(const QString &text);
    void returnPressed();
    // Escape in a field already empty.
    void leaveRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_field;
    QLabel *m_count;
};

} // namespace menutree
