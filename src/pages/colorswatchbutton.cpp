#include "colorswatchbutton.h"

#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace pages {

ColorSwatchButton::ColorSwatchButton(QWidget *parent)
    : QPushButton(parent)
{
}

void ColorSwatchButton::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void ColorSwatchButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton button;
    initStyleOption(&button);   // sunken while the button is held down
    button.text.clear();
    button.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, button);

    const int edge = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &button, this);
    QRect area = rect().adjusted(edge, edge, -edge, -edge);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area;
        focus.backgroundColor = palette().color(QPalette::Button);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }

    area.adjust(1, 1, -1, -1);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));   // a one-pixel frame just inside area

    area.adjust(1, 1, -1, -1);
    painter.fillRect(area, m_color);
}

} // namespace pages
