#include "previewview.h"

#include "document/packagedocument.h"
#include "texts/texts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <functional>

namespace menutree {

using document::CItem;

namespace {

const CItem *mainMenuOf(const CItem *node)
{
    while (node && node->parent())
        node = node->parent();
    return node;
}

// A main menu and everything below it, in the order the tree shows them.
QList<const CItem *> inOrder(const CItem *mainMenu)
{
    QList<const CItem *> nodes;
    const std::function<void(const CItem *)> add = [&](const CItem *node) {
        nodes << node;
        for (const CItem *entry : node->entries())
            add(entry);
    };
    add(mainMenu);
    return nodes;
}

} // namespace

PreviewView::PreviewView(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document), m_preview(document)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    translate();

    // Every change to the package goes through the undo stack or comes with a reading, a new
    // company name or new settings; update() paints once for several in one turn.
    connect(&document.undoStack(), &QUndoStack::indexChanged, this, &PreviewView::showCurrent);
    connect(&document, &document::PackageDocument::loaded, this, &PreviewView::showCurrent);
    connect(&document, &document::PackageDocument::companyNameChanged, this, qOverload<>(&QWidget::update));
    connect(&document, &document::PackageDocument::settingsChanged, this, qOverload<>(&QWidget::update));
    connect(&document.selection(), &QItemSelectionModel::currentChanged, this, &PreviewView::showCurrent);
    showCurrent();
}

void PreviewView::translate()
{
    setAccessibleName(texts::lookupText(QStringLiteral("VIEW"), QStringLiteral("TITLE")));
    setAccessibleDescription(texts::lookupText(QStringLiteral("VIEW"), QStringLiteral("DESCRIPTION")));
}

void PreviewView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        translate();
    QWidget::changeEvent(event);
}

QRect PreviewView::previewRect() const
{
    QSize size = m_preview.sizeForWidth(width());
    // Too tall for the widget: as wide as the height allows.
    if (size.height() > height() && size.height() > 0)
        size = m_preview.sizeForWidth(width() * height() / size.height());
    return QStyle::alignedRect(layoutDirection(), Qt::AlignCenter, size, rect());
}

// Beside the tree the preview asks for less room than the tree side; in a window of its own it
// is made larger.
QSize PreviewView::sizeHint() const
{
    return m_preview.sizeForWidth(240);
}

QSize PreviewView::minimumSizeHint() const
{
    return m_preview.sizeForWidth(120);
}

const CItem *PreviewView::nodeAt(const QPoint &position) const
{
    return m_preview.nodeAt(position, previewRect());
}

void PreviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect target = previewRect();
    // The space the aspect leaves is neutral, so that the preview's own edges show.
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    m_preview.paint(painter, target);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = target.adjusted(-2, -2, 1, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void PreviewView::showCurrent()
{
    m_preview.setPointed(m_document.currentItem());
    update();
}

void PreviewView::point(const CItem *node)
{
    if (m_preview.pointed() == node)
        return;
    m_preview.setPointed(node);
    update();
}

void PreviewView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (const CItem *node = nodeAt(event->position().toPoint()))
        m_document.setCurrentItem(node);
}

void PreviewView::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    // Only what the shown main menu holds is pointed at: the mouse passing over another tab, on
    // its way to an entry, does not change the menu under it (a click does).
    const CItem *node = nodeAt(event->position().toPoint());
    const document::ItemList &mainMenus = m_document.menus().mainMenus();
    const bool shown = node && m_preview.menu() < mainMenus.size() && mainMenuOf(node) == mainMenus.at(m_preview.menu());
    point(shown ? node : m_document.currentItem());
}

void PreviewView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    showCurrent();
}

void PreviewView::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left: stepMainMenu(-1); break;
    case Qt::Key_Right: stepMainMenu(+1); break;
    case Qt::Key_Up: stepEntry(-1); break;
    case Qt::Key_Down: stepEntry(+1); break;
    default: return QWidget::keyPressEvent(event);
    }
}

void PreviewView::stepMainMenu(int step)
{
    const document::ItemList &mainMenus = m_document.menus().mainMenus();
    if (mainMenus.isEmpty())
        return;
    const CItem *mainMenu = mainMenuOf(m_document.currentItem());
    // From the root, the main menu shown becomes current.
    const int index = mainMenu ? mainMenus.indexOf(mainMenu) + step : m_preview.menu();
    m_document.setCurrentItem(mainMenus.at(qBound(0, index, mainMenus.size() - 1)));
}

void PreviewView::stepEntry(int step)
{
    const CItem *current = m_document.currentItem();
    if (!current)
        return stepMainMenu(0);
    const QList<const CItem *> nodes = inOrder(mainMenuOf(current));
    const int index = qBound(0, int(nodes.indexOf(current)) + step, int(nodes.size()) - 1);
    m_document.setCurrentItem(nodes.at(index));
}

} // namespace menutree
