#include "droprules.h"

namespace document {

bool canDrop(const CItem *dragged, const CItem *target)
{
    if (isMainMenu(dragged))
        return !target || isMainMenu(target);
    if (!target)
        return false;
    if (isMenuEntry(dragged) && dragged->isSystemInfo())
        return isMainMenu(target) || (isMenuEntry(target) && !target->hasEntries());
    if (isMenuEntry(dragged))
        return isMainMenu(target) || isMenuEntry(target) || (isSubEntry(target) && !dragged->hasEntries());
    return true;
}

bool canRightDrop(const CItem *dragged, const CItem *target)
{
    return canDrop(dragged, target) || (target && dragged->isSystemInfo() && isMenuEntry(target));
}

bool dropPossible(const CItem *dragged, const CItem *target, bool rightButton)
{
    for (const CItem *node = target; node; node = node->parent()) {
        if (node == dragged)
            return false;
    }
    return rightButton ? canRightDrop(dragged, target) : canDrop(dragged, target);
}

Placement leftDropPlacement(const CItem *dragged, const CItem *target)
{
    const bool within = (isMainMenu(dragged) && !target)
        || (isSubEntry(dragged) && target && (target->hasEntries() || isMainMenu(target)))
        || (isMenuEntry(dragged) && !dragged->hasEntries() && isMenuEntry(target) && target->hasEntries())
        || (isMenuEntry(dragged) && isMainMenu(target));
    return within ? Placement::Within : Placement::Below;
}

DropChoices rightDropChoices(const CItem *dragged, const CItem *target)
{
    if (!target)
        return {isMainMenu(dragged), false};
    if ((isMainMenu(dragged) && !target) || (!isMainMenu(dragged) && isMainMenu(target)))
        return {true, false};
    const bool containerOntoEntry = (isMainMenu(dragged) || (isMenuEntry(dragged) && dragged->hasEntries()))
        && (isMainMenu(target) || isMenuEntry(target));
    const bool systemInfoOntoContainer =
        dragged->isSystemInfo() && (isMainMenu(target) || (isMenuEntry(target) && target->hasEntries()));
    const bool withinRefused = (isMainMenu(dragged) && isMainMenu(target)) || containerOntoEntry
        || !target->hasEntries() || systemInfoOntoContainer;
    return {!withinRefused, true};
}

Destination destinationOf(const CItem *, CItem *target, Placement placement)
{
    if (placement == Placement::Within)
        return {target, nullptr};
    return {target->parent(), target};
}

ItemKind kindWithin(const CItem *parent, const CItem *node)
{
    if (!parent)
        return node->kind();   // only main menus stand among the main menus
    return isMainMenu(parent) ? ItemKind::SubMenu : ItemKind::Item;
}

} // namespace document
