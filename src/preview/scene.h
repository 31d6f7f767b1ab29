#pragma once
// The preview's scene: what goes where on the front-end's screen, which text and which colour,
// laid out for one rectangle. It is computed from the document without any font, so that it can
// be looked at on its own; the painting only draws it (and elides texts that do not fit).
#include <QColor>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

namespace document {
class CItem;
class PackageDocument;
}

namespace preview {

// A main menu's tab: its content title, the letter of its Alt key underlined, the category's
// image and the colour bar along its top.
struct SceneTab {
    const document::CItem *menu = nullptr;
    QRect rect;
    QRect barRect;
    QRect iconRect;
    QRect titleRect;
    QString title;
    int underlined = -1;   // the index of the underlined letter in title; -1 none
    int category = 0;      // the image of the item-type strip (0 to 4)
    QColor color;          // the tab's own fill
    QColor barColor;
    bool current = false;
};

// An entry of the shown main menu, or a sub-entry of the sub-menu opened.
struct SceneEntry {
    const document::CItem *item = nullptr;
    QRect rect;
    QRect imageRect;
    QRect titleRect;
    QString title;
    int image = 0;   // the image of the item-type strip (document::typeImage)
    bool pointed = false;
};

struct Scene {
    QRect bounds;
    int fontPixelSize = 12;
    QColor textColor;

    QRect titleBarRect;
    QString title;   // the front-end's title with the company name

    QList<SceneTab> tabs;
    QRect menuRect;            // where the shown main menu's entries stand, on its background
    QColor backgroundColor;
    QList<SceneEntry> entries;

    QRect descriptionRect;
    QString description;

    QRect noteRect;
    QString note;   // the one quiet line saying that this is an approximation
};

// The front-end's screen size for a resolution setting: 0 800x600, 1 1024x768, 2 1280x1024; any
// other value is taken as 0.
QSize screenSize(int resolutionIndex);

// A colour the package names ("#336699", with or without its quotes); fallback for anything else.
QColor colorOf(const QString &value, const QColor &fallback);

// The plain fill that stands for a main menu's background: the white or the black background
// image, a colour named as such, otherwise the default backgrounds' colour.
QColor backgroundFill(const QString &value, const QString &whiteBackground, const QString &blackBackground);

// The main menu shown: that of pointed when the menus still hold it, else the one at menuIndex
// (the first when out of range); -1 when there is no main menu.
int shownMenuIndex(const document::PackageDocument &document, int menuIndex, const document::CItem *pointed);

// The scene for the document, the main menu chosen and the node pointed at, laid out in target.
// A pointed node the menus no longer hold is taken as none.
Scene layoutScene(const document::PackageDocument &document, int menuIndex, const document::CItem *pointed,
                  const QRect &target);

} // namespace preview
