#pragma once
// The editing commands of the menu tree as the user meets them: which commands a node offers,
// the limits, the questions and the property dialogs, each reached through the modal seam. What
// an accepted command changes is one undo step on the document.
#include "document/droprules.h"

#include <QList>
#include <memory>

class QWidget;

namespace document {
class CItem;
class PackageDocument;
}

namespace menutree {

enum class TreeCommand { NewMainMenu, EditMainMenu, NewMenuEntry, DeleteMainMenu, EditEntry, NewSubEntry, DeleteEntry };

struct TreeCommandLabel {
    TreeCommand command;
    const char *labelKey;   // of its caption, in section TEXT of the tool's texts
};

class MenuEditor {
public:
    // Questions and dialogs are owned by dialogParent.
    MenuEditor(document::PackageDocument &document, QWidget *dialogParent);

    // The commands a node's context menu offers, in order; a null node is the root.
    static QList<TreeCommandLabel> commandsFor(const document::CItem *node);
    void run(TreeCommand command, document::CItem *node);

    // The properties of a node (double click, Return on an entry); nothing for the root.
    void edit(document::CItem *node);
    // Deletes a node (the Delete key); nothing for the root.
    void remove(document::CItem *node);

    // Drops a dragged node on a target (none: the root) at a placement, as one step; nothing
    // when the drop is not possible with that button (document::dropPossible).
    void drop(document::CItem *dragged, document::CItem *target, document::Placement placement, bool rightButton);
    // Moves a node one place up (-1) or down (+1) among its siblings.
    void moveAmongSiblings(document::CItem *node, int step);

    // The clipboard holds a copy of a node with everything below it. Cut takes the node out as
    // one step; paste puts a copy where a drop with the left button on the target would put it.
    void copy(const document::CItem *node);
    void cut(document::CItem *node);
    void paste(document::CItem *target);
    bool canPaste(const document::CItem *target) const;

private:
    void newMainMenu();
    void editMainMenu(document::CItem *menu);
    void deleteMainMenu(document::CItem *menu);
    void newEntry(document::CItem *parent);
    void editEntry(document::CItem *entry);
    void deleteEntry(document::CItem *entry);
    bool confirmed(const char *textKey, const char *captionKey) const;
    void inform(const char *textKey) const;

    document::PackageDocument &m_document;
    QWidget *m_dialogParent;
    std::unique_ptr<document::CItem> m_clipboard;
};

} // namespace menutree
