#include "preview.h"

#include "document/packagedocument.h"

#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

#include <algorithm>

namespace preview {
namespace {

const QColor titleBarColor(0x1f, 0x2d, 0x3d);
const QColor tabRowColor(0xee, 0xee, 0xee);
const QColor noteColor(0x70, 0x70, 0x70);
const QColor panelColor(255, 255, 255, 170);
const QColor pointedColor(255, 255, 255, 110);

// The strip's images are drawn at a whole multiple of their size, so that the few sizes a
// window takes are rendered once each.
QPixmap stripImage(const artwork::ItemTypeImages &images, int image, const QRect &rect, qreal devicePixelRatio)
{
    const qreal ratio = std::max(1.0, std::ceil(devicePixelRatio * rect.width() / artwork::ItemTypeImages::ImageSize));
    return images.pixmap(image, ratio);
}

void drawElided(QPainter &painter, const QRect &rect, int flags, const QString &text)
{
    painter.drawText(rect, flags, painter.fontMetrics().elidedText(text, Qt::ElideRight, rect.width()));
}

void paintTab(QPainter &painter, const SceneTab &tab, const artwork::ItemTypeImages &images, qreal ratio)
{
    painter.fillRect(tab.rect, tab.current ? tab.color : tab.color.darker(125));
    painter.fillRect(tab.barRect, tab.barColor);
    painter.drawPixmap(tab.iconRect, stripImage(images, tab.category, tab.iconRect, ratio));

    const QFontMetrics metrics = painter.fontMetrics();
    const QString shown = metrics.elidedText(tab.title, Qt::ElideRight, tab.titleRect.width());
    painter.setPen(Qt::white);
    painter.drawText(tab.titleRect, Qt::AlignLeft | Qt::AlignVCenter, shown);
    // The Alt key's letter, while elision left it in place.
    if (tab.underlined >= 0 && tab.underlined < shown.size() && shown.left(tab.underlined + 1) == tab.title.left(tab.underlined + 1)) {
        const int left = tab.titleRect.left() + metrics.horizontalAdvance(shown.left(tab.underlined));
        const int width = metrics.horizontalAdvance(shown.at(tab.underlined));
        const int baseline = tab.titleRect.top() + (tab.titleRect.height() - metrics.height()) / 2 + metrics.ascent()
                             + metrics.underlinePos();
        painter.drawLine(left, baseline, left + width - 1, baseline);
    }
}

} // namespace

Preview::Preview(const document::PackageDocument &document) : m_document(document) {}

Preview::~Preview() = default;

void Preview::setMenu(int index)
{
    m_menu = index >= 0 && index < m_document.menus().mainMenus().size() ? index : 0;
    // A node of another main menu would keep showing its own menu.
    if (m_pointed && shownMenuIndex(m_document, m_menu, m_pointed) != m_menu)
        m_pointed = nullptr;
}

void Preview::setPointed(const document::CItem *node)
{
    m_pointed = node;
    if (node)
        m_menu = std::max(0, shownMenuIndex(m_document, m_menu, node));
}

QSize Preview::sizeForWidth(int width) const
{
    const QSize screen = screenSize(m_document.settings().resolutionIndex);
    return QSize(width, qRound(qreal(width) * screen.height() / screen.width()));
}

Scene Preview::scene(const QRect &target) const
{
    return layoutScene(m_document, m_menu, m_pointed, target);
}

void Preview::paint(QPainter &painter, const QRect &target) const
{
    paintScene(painter, scene(target), m_images);
}

QImage Preview::render(const QSize &size) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, image.rect());
    return image;
}

const document::CItem *Preview::nodeAt(const QPoint &point, const QRect &target) const
{
    const Scene laidOut = scene(target);
    for (const SceneEntry &entry : laidOut.entries)
        if (entry.rect.contains(point))
            return entry.item;
    for (const SceneTab &tab : laidOut.tabs)
        if (tab.rect.contains(point))
            return tab.menu;
    return nullptr;
}

void paintScene(QPainter &painter, const Scene &scene, const artwork::ItemTypeImages &images)
{
    painter.save();
    painter.setClipRect(scene.bounds);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const int margin = std::max(2, scene.fontPixelSize);

    QFont font = painter.font();
    font.setPixelSize(scene.fontPixelSize * 3 / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.fillRect(scene.bounds, tabRowColor);
    painter.fillRect(scene.titleBarRect, titleBarColor);
    painter.setPen(Qt::white);
    drawElided(painter, scene.titleBarRect.adjusted(margin, 0, -margin, 0), Qt::AlignLeft | Qt::AlignVCenter, scene.title);

    font.setPixelSize(scene.fontPixelSize);
    painter.setFont(font);
    for (const SceneTab &tab : scene.tabs)
        paintTab(painter, tab, images, ratio);

    font.setBold(false);
    painter.setFont(font);
    painter.fillRect(scene.menuRect, scene.backgroundColor);
    for (const SceneEntry &entry : scene.entries) {
        if (entry.pointed)
            painter.fillRect(entry.rect, pointedColor);
        painter.drawPixmap(entry.imageRect, stripImage(images, entry.image, entry.imageRect, ratio));
        painter.setPen(scene.textColor);
        drawElided(painter, entry.titleRect, Qt::AlignLeft | Qt::AlignVCenter, entry.title);
    }

    if (!scene.description.isEmpty()) {
        painter.fillRect(scene.descriptionRect, panelColor);
        painter.setPen(scene.textColor);
        const int inner = margin / 2;
        painter.drawText(scene.descriptionRect.adjusted(inner, inner, -inner, -inner),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, scene.description);
    }

    font.setPixelSize(std::max(6, scene.fontPixelSize * 4 / 5));
    painter.setFont(font);
    painter.fillRect(scene.noteRect, tabRowColor);
    painter.setPen(noteColor);
    drawElided(painter, scene.noteRect.adjusted(margin, 0, -margin, 0), Qt::AlignCenter, scene.note);
    painter.restore();
}

} // namespace preview
