#include "menueditor.h"

#include "texts/texts.h"
#include "ui/textmessage.h"
#include "dialogs/itempropertiesdialog.h"
#include "dialogs/menupropertiesdialog.h"
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "packagetext/packagetext.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace menutree {

using document::CItem;

MenuEditor::MenuEditor(document::PackageDocument &document, QWidget *dialogParent)
    : m_document(document), m_dialogParent(dialogParent)
{
    // Made before the page's own connection, so the page meets the new contents when it asks.
    m_clipboardChanges = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                                          [this] { m_clipboardRead = false; });
}

MenuEditor::~MenuEditor()
{
    QObject::disconnect(m_clipboardChanges);
}

QList<TreeCommandLabel> MenuEditor::commandsFor(const CItem *node)
{
    if (!node)
        return {{TreeCommand::NewMainMenu, "NEWMENU"}};
    if (document::isMainMenu(node))
        return {{TreeCommand::EditMainMenu, "EDIT"},
                {TreeCommand::NewMenuEntry, "NEWSUB"},
                {TreeCommand::DeleteMainMenu, "DELETE"}};
    if (document::isMenuEntry(node) && node->hasEntries())
        return {{TreeCommand::EditEntry, "EDIT"}, {TreeCommand::NewSubEntry, "NEWITEM"}, {TreeCommand::DeleteEntry, "DELETE"}};
    return {{TreeCommand::EditEntry, "EDIT"}, {TreeCommand::DeleteEntry, "DELETE"}};
}

void MenuEditor::run(TreeCommand command, CItem *node)
{
    switch (command) {
    case TreeCommand::NewMainMenu: return newMainMenu();
    case TreeCommand::EditMainMenu: return editMainMenu(node);
    case TreeCommand::NewMenuEntry:
    case TreeCommand::NewSubEntry: return newEntry(node);
    case TreeCommand::DeleteMainMenu: return deleteMainMenu(node);
    case TreeCommand::EditEntry: return editEntry(node);
    case TreeCommand::DeleteEntry: return deleteEntry(node);
    }
}

void MenuEditor::edit(CItem *node)
{
    if (document::isMainMenu(node))
        editMainMenu(node);
    else if (node)
        editEntry(node);
}

void MenuEditor::remove(CItem *node)
{
    if (document::isMainMenu(node))
        deleteMainMenu(node);
    else if (node)
        deleteEntry(node);
}

bool MenuEditor::confirmed(const char *textKey, const char *captionKey) const
{
    const ui::MessageStyle style = QLatin1String(captionKey) == QLatin1String("WARNING")
        ? ui::MessageStyle::OkCancelWarning
        : ui::MessageStyle::OkCancelQuestion;
    return ui::showTextMessage(m_dialogParent, QStringLiteral("MESSAGES"), QLatin1String(textKey),
                                   QStringLiteral("MESSAGES"), QLatin1String(captionKey), style)
        == ui::MessageButton::Ok;
}

void MenuEditor::inform(const char *textKey) const
{
    ui::showTextMessage(m_dialogParent, QStringLiteral("MESSAGES"), QLatin1String(textKey),
                            QStringLiteral("MESSAGES"), QStringLiteral("INFORMATION"),
                            ui::MessageStyle::OkInformation);
}

void MenuEditor::newMainMenu()
{
    const document::ItemList &mainMenus = m_document.menus().mainMenus();
    if (mainMenus.size() >= document::MaxMainMenus)
        return inform("ADDHEAD");
    const std::optional<dialogs::MenuProperties> properties = dialogs::editMenuProperties(m_dialogParent, {});
    if (!properties)
        return;
    m_document.undoStack().push(new document::NewMainMenuCommand(
        m_document, document::makeMainMenu(mainMenus, m_document.defaultConfigRecord(), properties->title,
                                           properties->altKey)));
}

void MenuEditor::editMainMenu(CItem *menu)
{
    const std::optional<dialogs::MenuProperties> properties =
        dialogs::editMenuProperties(m_dialogParent, {menu->contentTitle(), menu->altKey()});
    // OK is a change even when nothing was altered.
    if (properties)
        m_document.undoStack().push(
            new document::EditMainMenuCommand(m_document, menu, properties->title, properties->altKey));
}

void MenuEditor::deleteMainMenu(CItem *menu)
{
    if (m_document.menus().mainMenus().size() < 2)
        return inform("REMOFEHEAD");
    if (confirmed("REMOVEITEM", "CONFIRMATION"))
        m_document.undoStack().push(new document::DeleteItemCommand(m_document, menu));
}

void MenuEditor::newEntry(CItem *parent)
{
    // A new entry goes at the end of its list.
    const std::optional<document::EntryProperties> properties =
        dialogs::editEntryProperties(m_dialogParent, {}, dialogs::entryPlace(*parent, parent->entries().size()));
    if (properties)
        m_document.undoStack().push(new document::NewEntryCommand(m_document, parent, *properties));
}

void MenuEditor::editEntry(CItem *entry)
{
    // Every menu entry is offered the sub-menu type, however the dialog was reached: without it
    // a sub-menu's type would open, and be saved, as an application.
    const document::CItem &container = *entry->parent();
    const std::optional<document::EntryProperties> properties = dialogs::editEntryProperties(
        m_dialogParent, entry->properties(), dialogs::entryPlace(container, container.entries().indexOf(entry)));
    if (!properties)
        return;
    const bool losesEntries = entry->hasEntries() && !entry->entries().isEmpty()
        && properties->typeIcon.compare(document::SubMenuIcon, Qt::CaseInsensitive) != 0;
    if (losesEntries && !confirmed("CHGSUBTYPE", "WARNING"))
        return;
    m_document.undoStack().push(new document::EditEntryCommand(m_document, entry, *properties));
}

void MenuEditor::deleteEntry(CItem *entry)
{
    // A sub-menu goes with everything in it, so it is not deleted without asking.
    if (document::isMenuEntry(entry) && entry->hasEntries() && !confirmed("REMOVEITEM", "CONFIRMATION"))
        return;
    m_document.undoStack().push(new document::DeleteItemCommand(m_document, entry));
}

void MenuEditor::drop(CItem *dragged, CItem *target, document::Placement placement, bool rightButton)
{
    if (!dragged || !document::dropPossible(dragged, target, rightButton))
        return;
    const document::Destination destination = document::destinationOf(dragged, target, placement);
    m_document.undoStack().push(new document::MoveCommand(m_document, dragged, destination.parent, destination.after));
}

void MenuEditor::moveAmongSiblings(CItem *node, int step)
{
    if (!node)
        return;
    const document::ItemList &siblings = m_document.itemModel().entriesOf(node->parent());
    const int row = siblings.indexOf(node);
    const int newRow = row + step;
    if (newRow < 0 || newRow >= siblings.size())
        return;
    // The sibling it will follow, counted without the node itself.
    const CItem *after = step < 0 ? (newRow > 0 ? siblings.at(newRow - 1) : nullptr) : siblings.at(newRow);
    m_document.undoStack().push(new document::MoveCommand(m_document, node, node->parent(), after));
}

void MenuEditor::copy(const CItem *node)
{
    if (!node)
        return;
    const QByteArray text = packagetext::writeNodeText(packagetext::captureNode(*node));
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(NodeMimeType), text);
    data->setText(QString::fromUtf8(text));
    if (document::isSubEntry(node))
        data->setData(QString::fromLatin1(SubEntryMimeType), "1");
    QGuiApplication::clipboard()->setMimeData(data);
    m_clipboardRead = false;   // where the clipboard's change is told later
}

void MenuEditor::cut(CItem *node)
{
    if (!node)
        return;
    if (document::isMainMenu(node) && m_document.menus().mainMenus().size() < 2)
        return inform("REMOFEHEAD");
    copy(node);
    auto *deletion = new document::DeleteItemCommand(m_document, node);
    deletion->setText(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("STEPCUT")));
    m_document.undoStack().push(deletion);
}

const CItem *MenuEditor::clipboardNode() const
{
    if (m_clipboardRead)
        return m_clipboardNode.get();
    m_clipboardRead = true;
    m_clipboardNode.reset();
    // The tool's own type first; else what a text editor or a person put there.
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return nullptr;
    const QString ownType = QString::fromLatin1(NodeMimeType);
    const QByteArray text = data->hasFormat(ownType) ? data->data(ownType) : data->text().toUtf8();
    const auto read = packagetext::readNodeText(text);
    if (const auto *node = std::get_if<packagetext::NodeText>(&read))
        m_clipboardNode = packagetext::makeNode(*node);
    if (document::isMenuEntry(m_clipboardNode.get()) && m_clipboardNode->entries().isEmpty()
        && data->hasFormat(ownType) && data->hasFormat(QString::fromLatin1(SubEntryMimeType)))
        m_clipboardNode->convertTo(document::ItemKind::Item);
    return m_clipboardNode.get();
}

bool MenuEditor::canPaste(const CItem *target) const
{
    const CItem *node = clipboardNode();
    return node && document::canDrop(node, target);
}

void MenuEditor::paste(CItem *target)
{
    if (!canPaste(target))
        return;
    const CItem *node = clipboardNode();
    if (document::isMainMenu(node) && m_document.menus().mainMenus().size() >= document::MaxMainMenus)
        return inform("ADDHEAD");
    const document::Destination destination =
        document::destinationOf(node, target, document::leftDropPlacement(node, target));
    m_document.undoStack().push(new document::PasteCommand(m_document, *node, destination.parent, destination.after));
}

} // namespace menutree
