#include "itemtypeimages.h"


#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <utility>

namespace artwork {

namespace {

// The renderer's drawing filling an image of that many pixels, transparent around it.
QImage render(QSvgRenderer &renderer, QSize pixels, qreal devicePixelRatio)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

// Loads an SVG file, quietly when there is none.
bool load(QSvgRenderer &renderer, const QString &file)
{
    return QFile::exists(file) && renderer.load(file) && renderer.isValid();
}

qreal ratioOrScreen(qreal devicePixelRatio)
{
    return devicePixelRatio > 0 ? devicePixelRatio : screenPixelRatio();
}

} // namespace

qreal screenPixelRatio()
{
    const auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return application ? application->devicePixelRatio() : 1.0;
}

QPixmap svgPixmap(const QString &file, qreal devicePixelRatio)
{
    return QPixmap::fromImage(svgImage(file, ratioOrScreen(devicePixelRatio)));
}

QImage svgImage(const QString &file, qreal devicePixelRatio)
{
    QSvgRenderer renderer;
    if (!load(renderer, file))
        return QImage();
    return render(renderer, (renderer.viewBoxF().size() * devicePixelRatio).toSize(), devicePixelRatio);
}

QImage applicationIconImage(int size)
{
    // The sources by pixel grid, the largest first.
    static const std::pair<int, const char *> sources[] = {
        {32, ":/images/kavo-custom.svg"}, {24, ":/images/kavo-custom-24.svg"}, {16, ":/images/kavo-custom-16.svg"}};
    QString file = QLatin1String(sources[0].second);
    for (const auto &[grid, source] : sources) {
        if (size % grid == 0) {
            file = QLatin1String(source);
            break;
        }
    }
    QSvgRenderer renderer;
    load(renderer, file);
    return render(renderer, QSize(size, size), 1.0);
}

QList<QImage> applicationIconImages(int largest)
{
    QList<QImage> images;
    for (int size : ApplicationIconSizes) {
        if (size <= largest)
            images.append(applicationIconImage(size));
    }
    return images;
}

QIcon applicationIcon(const QList<QImage> &images)
{
    QIcon icon;
    for (const QImage &image : images)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

QString ItemTypeImages::resourceStrip()
{
    return QStringLiteral(":/images/item-types.svg");
}

ItemTypeImages::ItemTypeImages(const QString &stripFile) : m_strip(stripFile) {}

const QList<QPixmap> &ItemTypeImages::imagesAt(qreal devicePixelRatio) const
{
    const qreal ratio = ratioOrScreen(devicePixelRatio);
    auto found = m_images.constFind(ratio);
    if (found != m_images.constEnd())
        return *found;

    // The whole strip at once, cut into its squares.
    const int side = qRound(ImageSize * ratio);
    QImage strip(side * TreeImageCount, side, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    QSvgRenderer renderer;
    if (load(renderer, m_strip))
        strip = render(renderer, strip.size(), ratio);
    QList<QPixmap> images;
    for (int image = 0; image < TreeImageCount; ++image) {
        QPixmap cut = QPixmap::fromImage(strip.copy(image * side, 0, side, side));
        cut.setDevicePixelRatio(ratio);
        images.append(cut);
    }
    return *m_images.insert(ratio, images);
}

QPixmap ItemTypeImages::pixmap(int image, qreal devicePixelRatio) const
{
    return imagesAt(devicePixelRatio).value(image);
}

QIcon ItemTypeImages::icon(int image, int selectedImage) const
{
    QIcon icon;
    QList<qreal> ratios{1.0, 2.0};
    if (!ratios.contains(screenPixelRatio()))
        ratios.append(screenPixelRatio());
    for (qreal ratio : ratios) {
        icon.addPixmap(pixmap(image, ratio), QIcon::Normal);
        icon.addPixmap(pixmap(selectedImage, ratio), QIcon::Selected);
    }
    return icon;
}

} // namespace artwork
