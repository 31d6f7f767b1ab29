#pragma once
// The editing commands of the menu tree as the user meets them: which commands a node offers,
// the limits, the questions and the property dialogs, each reached through the modal seam. What
// an accepted command changes is one undo step on the document.
#include "document/droprules.h"

#include <QList>
#include <QMetaObject>
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
    ~MenuEditor();
    MenuEditor(const MenuEditor &) = delete;
    MenuEditor &operator=(const MenuEditor &) = delete;

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

    // The clipboard is the system's: copy puts a node with everything below it there in its text
    // form, under the tool's own type and as plain text, so that it outlives the package, reaches
    // another running tool or a text editor. Cut takes the node out as one step; paste puts what
    // the clipboard holds where a drop with the left button on the target would put it, and
    // refuses text that is not a node's.
    static constexpr const char *NodeMimeType = "application/x-kavo-custom-node";
    // The text holds an entry alike at either level; a copied sub-entry says so beside it, so that
    // it pastes wherever a sub-entry goes.
    static constexpr const char *SubEntryMimeType = "application/x-kavo-custom-sub-entry";
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
    // The node the clipboard's text makes; none when it is not a node text.
    const document::CItem *clipboardNode() const;
    void inform(const char *textKey) const;

    document::PackageDocument &m_document;
    QWidget *m_dialogParent;
    // The clipboard's node is read once for each change of the clipboard: the Paste command asks
    // at every move of the current node, and another program's clipboard is slow to fetch.
    mutable std::unique_ptr<document::CItem> m_clipboardNode;
    mutable bool m_clipboardRead = false;
    QMetaObject::Connection m_clipboardChanges;
};

} // namespace menutree
