#pragma once
// The item-type image strip: twelve 16 by 16 images side by side, white meaning transparent.
// 0 to 4 are the main-menu categories, 5 to 8 the entry types, 9 a sub-menu, 10 a selected
// sub-menu and 11 the root (see TreeImage).
#include <QIcon>
#include <QImage>
#include <QList>
#include <QPixmap>

namespace document {

class ItemTypeImages {
public:
    static constexpr int ImageSize = 16;

    // The strip from the program's resources; a null image when they do not hold it.
    static QImage resourceStrip();

    // Cuts the strip into its images; a missing strip gives empty (transparent) images.
    explicit ItemTypeImages(const QImage &strip = resourceStrip());

    QPixmap pixmap(int image) const;
    // An icon that shows selectedImage while its item is selected.
    QIcon icon(int image, int selectedImage) const;
    QIcon icon(int image) const { return icon(image, image); }

private:
    QList<QPixmap> m_pixmaps;
};

} // namespace document
