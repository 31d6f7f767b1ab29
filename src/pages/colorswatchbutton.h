#pragma once
// A push button that shows a colour: the button's frame, a focus rectangle when it has the
// focus, a one-pixel frame in the button-text colour, and the colour inside.
#include <QColor>
#include <QPushButton>

namespace pages {

class ColorSwatchButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorSwatchButton(QWidget *parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = Qt::black;
};

} // namespace pages
