#pragma once
// The program's images, drawn as SVG in its resources (resources/images/) and rendered for the
// device pixel ratio of the screen, so they are as sharp on a high-density screen as on another.
//
// The item-type strip (item-types.svg) holds twelve 16 by 16 images side by side: 0 to 4 are the
// main-menu categories, 5 to 8 the entry types, 9 a sub-menu, 10 a selected sub-menu and 11 the
// root (see TreeImage).
#include <QIcon>
#include <QList>
#include <QMap>
#include <QPixmap>

namespace artwork {

// Images of the item-type strip: 0 to 4 are the main-menu categories.
enum TreeImage : int {
    NoTypeImage = 0,
    HelpTopicImage = 5,
    InternetLinkImage = 6,
    ApplicationImage = 7,
    SystemInfoImage = 8,
    SubMenuImage = 9,
    SubMenuSelectedImage = 10,
    RootImage = 11,
    TreeImageCount = 12,
};

// The application's device pixel ratio (that of its densest screen); 1 without a screen.
qreal screenPixelRatio();

// The SVG image at its own size (its view box, in device-independent pixels), rendered for a
// screen of the given device pixel ratio, 0 standing for screenPixelRatio(). A null pixmap when
// the file holds no SVG.
QPixmap svgPixmap(const QString &file, qreal devicePixelRatio = 0);
// The same as an image, for a ratio given (> 0): drawing it needs no screen and may run on any
// thread.
QImage svgImage(const QString &file, qreal devicePixelRatio);

// The sizes, in pixels, of the program's icon in the desktop's icon theme.
inline constexpr int ApplicationIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The program's icon as a size by size pixels image, drawn from the source on the largest pixel
// grid that divides the size, so that its edges fall on pixels: kavo-custom.svg (32 units, also
// for any size that none divides), kavo-custom-24.svg or kavo-custom-16.svg.
QImage applicationIconImage(int size);

// The program's icon at every size of ApplicationIconSizes up to largest, as images (any
// thread) or as an icon.
QList<QImage> applicationIconImages(int largest = 256);
QIcon applicationIcon(const QList<QImage> &images = applicationIconImages());

class ItemTypeImages {
public:
    static constexpr int ImageSize = 16;

    // The strip in the program's resources.
    static QString resourceStrip();

    // Reads the strip from an SVG file; a missing strip gives empty (transparent) images.
    explicit ItemTypeImages(const QString &stripFile = resourceStrip());

    // The image for a screen of this device pixel ratio (0: screenPixelRatio()), ImageSize
    // device-independent pixels square; a null pixmap for an image the strip does not have.
    QPixmap pixmap(int image, qreal devicePixelRatio = 0) const;
    // An icon that shows selectedImage while its item is selected, drawn at 1x, at 2x and at
    // the screen's ratio.
    QIcon icon(int image, int selectedImage) const;
    QIcon icon(int image) const { return icon(image, image); }

private:
    const QList<QPixmap> &imagesAt(qreal devicePixelRatio) const;

    QString m_strip;
    mutable QMap<qreal, QList<QPixmap>> m_images;   // by device pixel ratio, rendered when first asked for
};

} // namespace artwork
