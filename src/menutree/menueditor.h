#pragma once
// The editing commands of the menu tree as the user meets them: which commands a node offers,
// the limits, the questions and the property dialogs, each reached through the modal seam. What
// an accepted command changes is one undo step on the document.
#include <QList>

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
};

} // namespace menutree
