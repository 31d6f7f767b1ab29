#pragma once
// A package as readable text: everything of a package that the tool edits (the company name, the
// general settings, the main menus with their entries and sub-entries) as one UTF-8 YAML
// document, in a stable order, one value per line, under names a person understands. A change
// of one title is a one-line difference, so packages can be kept in version control, compared,
// and changed by scripts. The first key names the form and its version, so that later versions
// can read older files.
//
// The same form holds one node with everything below it: what Copy puts on the clipboard.
#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QString>

#include <memory>
#include <optional>
#include <tuple>
#include <variant>

namespace document {
class CItem;
class PackageDocument;
}

namespace packagetext {

// An entry of a main menu or a sub-entry of a sub-menu: the four values of its properties and,
// for a sub-menu, its sub-entries.
struct EntryText {
    QString typeIcon;      // the icon file name, as stored ("UpArrow.gif" for a sub-menu)
    QString title;
    QString location;
    QString description;
    QList<EntryText> entries;
    // Whether the front-end takes a menu entry for a sub-menu. The package stores this apart from
    // the type, so a file may say otherwise; unset, an entry is one exactly when its type is
    // "UpArrow.gif" or it has sub-entries, and only an entry that says otherwise sets it.
    std::optional<bool> holdsEntries = std::nullopt;

    auto tied() const { return std::tie(typeIcon, title, location, description, entries, holdsEntries); }
};

struct MainMenuText {
    QString title;          // the content title
    QString altKey;
    QString tabDescription;
    // The looks, from the configuration file.
    QString mainIcon;
    QString hoverIcon;
    QString color;
    QString colorBar;
    QString tabIcon;
    QList<EntryText> entries;

    auto tied() const
    {
        return std::tie(title, altKey, tabDescription, mainIcon, hoverIcon, color, colorBar, tabIcon, entries);
    }
};

// The general options the general page edits. The privacy option lives in the user's registry,
// not in the package, and is not part of it.
struct SettingsText {
    int resolutionIndex = 0;     // 0 800 x 600, 1 1024 x 768, 2 1280 x 1024
    bool systemTray = false;
    QString textColor;           // "#RRGGBB"
    int background = 0;          // GeneralSettings::Background: default, white, black

    auto tied() const { return std::tie(resolutionIndex, systemTray, textColor, background); }
};

struct PackageText {
    QString companyName;
    SettingsText settings;
    QList<MainMenuText> mainMenus;

    auto tied() const { return std::tie(companyName, settings, mainMenus); }
};

template <typename T, typename = decltype(std::declval<const T &>().tied())>
bool operator==(const T &a, const T &b)
{
    return a.tied() == b.tied();
}
template <typename T, typename = decltype(std::declval<const T &>().tied())>
bool operator!=(const T &a, const T &b)
{
    return !(a == b);
}

// One node with everything below it: a main menu or an entry (a sub-entry is an entry).
using NodeText = std::variant<MainMenuText, EntryText>;

// A form that could not be read: the line (1-based; 0 when the whole file is meant) and what
// was expected there, in English.
struct FormError {
    int line = 0;
    QString message;
};

// ---- The text

QByteArray writePackageText(const PackageText &package);
std::variant<PackageText, FormError> readPackageText(const QByteArray &text);

QByteArray writeNodeText(const NodeText &node);
std::variant<NodeText, FormError> readNodeText(const QByteArray &text);

// ---- The document

// What an open package holds.
PackageText capturePackage(const document::PackageDocument &package);
// A main menu or an entry of the document's tree, with everything below it.
NodeText captureNode(const document::CItem &node);
// The tree node a node text makes, unnamed: as a copied node, for the paste that exists.
std::unique_ptr<document::CItem> makeNode(const NodeText &node);

// Applies a text to an open package as a user editing in the window would: one undo step (none
// when nothing differs) that sets the company name, the settings and replaces the main menus.
// The package is not saved. False, with nothing changed, when the text cannot be applied (more
// main menus than the front-end takes), with the reason in English.
bool applyPackage(document::PackageDocument &package, const PackageText &text, QString *why = nullptr);

// ---- The difference

// The difference between two packages in the user's terms, one change per line, in English:
// main menus and entries added, removed, moved (from where to where) or changed (which value,
// from what to what), the company name, a setting. Empty when they are the same.
QStringList describeDifferences(const PackageText &before, const PackageText &after);

} // namespace packagetext
