#include "preview.h"

#include "document/packagedocument.h"

#include <QPainter>

namespace preview {

Preview::Preview(const document::PackageDocument &document) : m_document(document) {}

Preview::~Preview() = default;

void Preview::setMenu(int index)
{
    m_menu = index >= 0 && index < m_document.menus().mainMenus().size() ? index : 0;
}

void Preview::setPointed(const document::CItem *node)
{
    m_pointed = node;
}

QSize Preview::sizeForWidth(int width) const
{
    return QSize(width, width * 3 / 4);
}

void Preview::paint(QPainter &painter, const QRect &target) const
{
    painter.fillRect(target, Qt::white);
}

QImage Preview::render(const QSize &size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    paint(painter, image.rect());
    return image;
}

const document::CItem *Preview::nodeAt(const QPoint &, const QRect &) const
{
    return nullptr;
}

} // namespace preview
