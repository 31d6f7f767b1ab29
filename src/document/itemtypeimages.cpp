#include "itemtypeimages.h"

#include "menuitems.h"

namespace document {

QImage ItemTypeImages::resourceStrip()
{
    return QImage(QStringLiteral(":/images/item-types.png"));
}

ItemTypeImages::ItemTypeImages(const QImage &strip)
{
    QImage transparent = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb white = qRgb(255, 255, 255);
    for (int y = 0; y < transparent.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(transparent.scanLine(y));
        for (int x = 0; x < transparent.width(); ++x) {
            if (line[x] == white)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    for (int image = 0; image < TreeImageCount; ++image) {
        QImage cut = transparent.copy(image * ImageSize, 0, ImageSize, ImageSize);
        if (cut.isNull()) {
            cut = QImage(ImageSize, ImageSize, QImage::Format_ARGB32);
            cut.fill(Qt::transparent);
        }
        m_pixmaps.append(QPixmap::fromImage(cut));
    }
}

QPixmap ItemTypeImages::pixmap(int image) const
{
    return m_pixmaps.value(image);
}

QIcon ItemTypeImages::icon(int image, int selectedImage) const
{
    QIcon icon;
    icon.addPixmap(pixmap(image), QIcon::Normal);
    icon.addPixmap(pixmap(selectedImage), QIcon::Selected);
    return icon;
}

} // namespace document
