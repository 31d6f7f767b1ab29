#pragma once
// Where a dragged entry may go in the menu tree, and where a drop puts it. The nodes are the
// objects of the menus; the root ("Help Center") is none. A menu entry that holds sub-entries is
// told by its has-entries flag, a system-information entry by its type.
#include "menuitems.h"

namespace document {

// First child of the target, or right after it among the target's siblings.
enum class Placement { Within, Below };

// May the dragged node be dropped on the target (none: the root)?
// - a main menu only onto the root or a main menu;
// - nothing else onto the root;
// - a system-information menu entry onto a main menu or a menu entry without sub-entries;
// - another menu entry onto a main menu or a menu entry, and onto a sub-entry only when it has
//   no sub-entries of its own;
// - a sub-entry onto any node but the root.
bool canDrop(const CItem *dragged, const CItem *target);

// May it be dropped there with the right button? Beyond canDrop, a system-information entry may
// meet any menu entry.
bool canRightDrop(const CItem *dragged, const CItem *target);

// May the dragged node be dropped on the target at all: not on itself, nor on a node below it,
// and only where the rules of its button allow it.
bool dropPossible(const CItem *dragged, const CItem *target, bool rightButton);

// Where a drop with the left button puts the dragged node: within the target (a main menu onto
// the root; a sub-entry onto a node that holds entries or onto a main menu; a menu entry without
// sub-entries onto one with them; any menu entry onto a main menu), otherwise below it.
Placement leftDropPlacement(const CItem *dragged, const CItem *target);

// Which choices the menu after a drop with the right button offers; the other is greyed.
struct DropChoices {
    bool within = true;
    bool below = true;
};
DropChoices rightDropChoices(const CItem *dragged, const CItem *target);

// Where a placement puts the dragged node: the new parent (none: the list of main menus) and the
// sibling it follows there (none: it comes first). The dragged node itself is never the sibling.
struct Destination {
    CItem *parent = nullptr;
    const CItem *after = nullptr;
};
Destination destinationOf(const CItem *dragged, CItem *target, Placement placement);

// The kind a node takes in a parent: a menu entry in a main menu, a sub-entry in a sub-menu, a
// main menu among the main menus.
ItemKind kindWithin(const CItem *parent, const CItem *node);

} // namespace document
