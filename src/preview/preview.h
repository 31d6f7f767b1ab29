#pragma once
// The preview of the open package: what the front-end will show for it, drawn from the
// package's files as an approximation that says so. The preview knows which main menu is shown,
// which sub-menu is open and which entry is pointed at (its description is shown); it lays the
// scene out for a size, paints it, and tells what lies under a point. No widget: the window's
// view paints it, and the command line renders it into an image.
#include "scene.h"

#include "artwork/itemtypeimages.h"

#include <QImage>
#include <QSize>

class QPainter;
class QPoint;
class QRect;

namespace document {
class CItem;
class PackageDocument;
}

namespace preview {

class Preview {
public:
    explicit Preview(const document::PackageDocument &document);
    ~Preview();

    // The main menu shown, by its place in the list of main menus (0 the first); a place out
    // of range shows the first. A node pointed at in another main menu is no longer pointed at.
    void setMenu(int index);
    int menu() const { return m_menu; }
    // The node the user points at or made current: its main menu is shown, its sub-menu opened,
    // and its description shown. None: the shown menu as it is.
    void setPointed(const document::CItem *node);
    const document::CItem *pointed() const { return m_pointed; }

    // The preview's size for a width, in the aspect of the package's screen resolution setting.
    QSize sizeForWidth(int width) const;
    // The scene the preview paints into target.
    Scene scene(const QRect &target) const;
    // Paints the preview into target, every text and colour as the package's files give them.
    void paint(QPainter &painter, const QRect &target) const;
    // The preview painted into an image of this size.
    QImage render(const QSize &size) const;

    // What lies at a point of a preview painted into target: an entry or a main menu's tab (its
    // main menu); none for anything else.
    const document::CItem *nodeAt(const QPoint &point, const QRect &target) const;

private:
    const document::PackageDocument &m_document;
    int m_menu = 0;
    const document::CItem *m_pointed = nullptr;
    artwork::ItemTypeImages m_images;
};

// Paints a scene; its type images come from images.
void paintScene(QPainter &painter, const Scene &scene, const artwork::ItemTypeImages &images);

} // namespace preview
