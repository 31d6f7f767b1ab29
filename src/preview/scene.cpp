#include "scene.h"

#include "document/packagedocument.h"
#include "texts/texts.h"

#include <QtMath>

#include <algorithm>

namespace preview {
namespace {

using document::CItem;

// What stands in for a value that is no colour.
const QColor defaultTabColor(0x5a, 0x5a, 0x5a);
const QColor defaultBarColor(0xa0, 0xa0, 0xa0);
// The default backgrounds are pictures; a light blue-grey stands for them.
const QColor defaultBackground(0xdc, 0xe4, 0xee);

// Lengths are laid out for the front-end's smallest screen, 800 by 600, and scaled.
struct Scale {
    qreal factor;
    int operator()(qreal length) const { return qRound(length * factor); }
};

// The index of the main menu whose tree holds node, compared by address only (node may be gone).
int mainMenuHolding(const document::ItemList &mainMenus, const CItem *node)
{
    for (int i = 0; i < mainMenus.size(); ++i) {
        const CItem *mainMenu = mainMenus.at(i);
        if (mainMenu == node)
            return i;
        for (const CItem *entry : mainMenu->entries()) {
            if (entry == node)
                return i;
            for (const CItem *subEntry : entry->entries())
                if (subEntry == node)
                    return i;
        }
    }
    return -1;
}

// The sub-menu the pointed node opens: itself, or the sub-menu holding it.
const CItem *openedSubMenu(const CItem *pointed)
{
    if (document::isSubEntry(pointed))
        return pointed->parent();
    if (document::isMenuEntry(pointed) && !pointed->entries().isEmpty())
        return pointed;
    return nullptr;
}

QString unquoted(const QString &value)
{
    const QString trimmed = value.trimmed();
    if (trimmed.size() >= 2 && trimmed.startsWith(u'"') && trimmed.endsWith(u'"'))
        return trimmed.mid(1, trimmed.size() - 2).trimmed();
    return trimmed;
}

void layoutTabs(Scene &scene, const document::ItemList &mainMenus, int shown, const QRect &row, const Scale &scale)
{
    if (mainMenus.isEmpty())
        return;
    const int width = std::min(scale(150), row.width() / mainMenus.size());
    const int gap = std::max(1, scale(2));
    for (int i = 0; i < mainMenus.size(); ++i) {
        const CItem *menu = mainMenus.at(i);
        SceneTab tab;
        tab.menu = menu;
        tab.rect = QRect(row.left() + i * width, row.top(), width - gap, row.height());
        tab.barRect = QRect(tab.rect.topLeft(), QSize(tab.rect.width(), scale(5)));
        const int below = tab.barRect.bottom() + 1;
        const int iconSize = scale(16);
        tab.iconRect = QRect(tab.rect.left() + scale(6), below + (tab.rect.bottom() + 1 - below - iconSize) / 2,
                             iconSize, iconSize);
        tab.titleRect = QRect(QPoint(tab.iconRect.right() + 1 + scale(6), below),
                              QPoint(tab.rect.right() - scale(4), tab.rect.bottom()));
        tab.title = menu->contentTitle();
        tab.underlined = menu->altKeyPosition();
        tab.category = menu->category();
        tab.color = colorOf(menu->color(), defaultTabColor);
        tab.barColor = colorOf(menu->colorBar(), defaultBarColor);
        tab.current = i == shown;
        scene.tabs.append(tab);
    }
}

// Appends the rows of a list until the menu's area is full; false once it is.
bool layoutRows(Scene &scene, const document::ItemList &list, int indent, int &top, const CItem *pointed,
                const QRect &column, const Scale &scale)
{
    const int rowHeight = scale(26), imageSize = scale(16);
    for (const CItem *item : list) {
        if (top + rowHeight > scene.menuRect.bottom() + 1)
            return false;
        SceneEntry entry;
        entry.item = item;
        entry.rect = QRect(column.left() + indent, top, column.width() - indent, rowHeight);
        entry.imageRect = QRect(entry.rect.left() + scale(4), top + (rowHeight - imageSize) / 2, imageSize, imageSize);
        entry.titleRect = QRect(QPoint(entry.imageRect.right() + 1 + scale(8), top),
                                QPoint(entry.rect.right() - scale(4), entry.rect.bottom()));
        entry.title = item->title();
        entry.image = document::typeImage(item->typeIcon());
        entry.pointed = item == pointed;
        scene.entries.append(entry);
        top += rowHeight;
        if (item == openedSubMenu(pointed)
            && !layoutRows(scene, item->entries(), indent + scale(24), top, pointed, column, scale))
            return false;
    }
    return true;
}

} // namespace

QSize screenSize(int resolutionIndex)
{
    switch (resolutionIndex) {
    case 1:
        return {1024, 768};
    case 2:
        return {1280, 1024};
    default:
        return {800, 600};
    }
}

QColor colorOf(const QString &value, const QColor &fallback)
{
    const QColor color = QColor::fromString(unquoted(value));
    return color.isValid() ? color : fallback;
}

QColor backgroundFill(const QString &value, const QString &whiteBackground, const QString &blackBackground)
{
    const QString name = unquoted(value);
    if (!name.isEmpty() && name.compare(whiteBackground, Qt::CaseInsensitive) == 0)
        return Qt::white;
    if (!name.isEmpty() && name.compare(blackBackground, Qt::CaseInsensitive) == 0)
        return Qt::black;
    return colorOf(name, defaultBackground);
}

int shownMenuIndex(const document::PackageDocument &document, int menuIndex, const CItem *pointed)
{
    const document::ItemList &mainMenus = document.menus().mainMenus();
    if (mainMenus.isEmpty())
        return -1;
    if (const int holding = pointed ? mainMenuHolding(mainMenus, pointed) : -1; holding >= 0)
        return holding;
    return menuIndex >= 0 && menuIndex < mainMenus.size() ? menuIndex : 0;
}

Scene layoutScene(const document::PackageDocument &document, int menuIndex, const CItem *pointed, const QRect &target)
{
    Scene scene;
    scene.bounds = target;
    const Scale scale{std::min(target.width() / 800.0, target.height() / 600.0)};
    scene.fontPixelSize = std::max(6, scale(13));
    const document::GeneralSettings &settings = document.settings();
    scene.textColor = settings.color.isValid() ? settings.color : QColor(Qt::black);

    const document::ItemList &mainMenus = document.menus().mainMenus();
    const int shown = shownMenuIndex(document, menuIndex, pointed);
    // A node the menus no longer hold (an edit took it away) is never looked at.
    if (pointed && mainMenuHolding(mainMenus, pointed) < 0)
        pointed = nullptr;
    const CItem *shownMenu = shown >= 0 ? mainMenus.at(shown) : nullptr;

    const int noteHeight = std::max(10, scale(18));
    scene.noteRect = QRect(target.left(), target.bottom() + 1 - noteHeight, target.width(), noteHeight);
    scene.note = texts::lookupText(QStringLiteral("PREVIEW"), QStringLiteral("APPROXIMATION"));

    scene.titleBarRect = QRect(target.left(), target.top(), target.width(), scale(40));
    scene.title = document.companyTitle();

    const QRect tabRow(target.left() + scale(12), scene.titleBarRect.bottom() + 1 + scale(6),
                       target.width() - scale(24), scale(34));
    layoutTabs(scene, mainMenus, shown, tabRow, scale);

    scene.menuRect = QRect(QPoint(target.left(), tabRow.bottom() + 1), QPoint(target.right(), scene.noteRect.top() - 1));
    // The package numbers the backgrounds of main menus 1 to 5 in list order.
    const auto &backgrounds = settings.menuBackgrounds;
    const QString background = shown >= 0 && shown < int(backgrounds.size()) ? backgrounds[size_t(shown)] : QString();
    scene.backgroundColor = backgroundFill(background, settings.whiteBackground, settings.blackBackground);

    const int margin = scale(24);
    const QRect column(scene.menuRect.left() + margin, scene.menuRect.top() + scale(16),
                       scene.menuRect.width() * 45 / 100, scene.menuRect.height() - scale(16));
    if (shownMenu) {
        int top = column.top();
        layoutRows(scene, shownMenu->entries(), 0, top, pointed, column, scale);
    }

    const int descriptionLeft = column.right() + 1 + margin;
    scene.descriptionRect = QRect(descriptionLeft, column.top(), scene.menuRect.right() - margin - descriptionLeft,
                                  std::min(column.height(), scale(160)));
    if (pointed && !document::isMainMenu(pointed))
        scene.description = pointed->description();
    else if (shownMenu)
        scene.description = shownMenu->tabDescription();
    return scene;
}

} // namespace preview
