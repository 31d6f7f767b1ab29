#include "packagetext.h"

#include "document/menuitems.h"

#include <QRegularExpression>
#include <QSet>

#include <yaml-cpp/depthguard.h>
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace packagetext {
namespace {

const char *const packageVersionKey = "kavo-package";
const char *const nodeVersionKey = "kavo-node";
constexpr int formVersion = 1;

const char *const resolutionNames[] = {"800x600", "1024x768", "1280x1024"};
const char *const backgroundNames[] = {"default", "white", "black"};

// The types a person reads, for the icon names the front-end knows, spelled exactly as stored.
// Any other stored name is written as it stands.
struct TypeName {
    const char *name;
    const QString &icon;
};
const TypeName typeNames[] = {
    {"application", document::ApplicationIcon},   {"internet-link", document::InternetLinkIcon},
    {"help-topic", document::HelpTopicIcon},      {"system-info", document::SystemInfoIcon},
    {"sub-menu", document::SubMenuIcon},
};

QString typeNameOf(const QString &icon)
{
    for (const TypeName &type : typeNames)
        if (icon == type.icon)
            return QLatin1String(type.name);
    return {};
}

bool isTypeName(const QString &text)
{
    for (const TypeName &type : typeNames)
        if (text == QLatin1String(type.name))
            return true;
    return false;
}

// ---- Writing

// Whether a text reads back as itself, and as a string in any YAML reader, without quotes:
// anything that looks like a number, a truth value or null, starts with an indicator, has blanks
// at an end, a comment or key mark inside, or a character that is not printable is quoted.
bool isPlainSafe(const QString &text)
{
    static const QRegularExpression typed(
        QStringLiteral(R"(^(~|null|true|false|yes|no|on|off|y|n)$|^[-+]?(\d[\d_]*(\.[\d_]*)?|\.\d+)([eE][-+]?\d+)?$)"
                       R"(|^0[xo][0-9a-fA-F_]+$|^[-+]?\.(inf|nan)$)"),
        QRegularExpression::CaseInsensitiveOption);
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace() || text.endsWith(QLatin1Char(':')))
        return false;
    if (QStringLiteral("-?:,[]{}#&*!|>'\"%@`").contains(text.front()))
        return false;
    if (text.contains(QLatin1String(": ")) || text.contains(QLatin1String(" #")))
        return false;
    for (const char32_t c : text.toUcs4())
        if (!QChar::isPrint(c) || c == 0xFEFF)
            return false;
    return !typed.match(text).hasMatch();
}

void writeScalar(YAML::Emitter &out, const QString &value)
{
    if (!isPlainSafe(value))
        out << YAML::DoubleQuoted;
    out << value.toStdString();
}

// Empty values are left out, so that a text changes only where a value is set.
void writeText(YAML::Emitter &out, const char *key, const QString &value)
{
    if (value.isEmpty())
        return;
    out << YAML::Key << key << YAML::Value;
    writeScalar(out, value);
}

void writeEntries(YAML::Emitter &out, const QList<EntryText> &entries);

void writeEntry(YAML::Emitter &out, const EntryText &entry)
{
    out << YAML::BeginMap;
    const QString typeName = typeNameOf(entry.typeIcon);
    // A stored name that is empty or spelled as a type name keeps its exact spelling apart.
    if (!typeName.isEmpty() || (entry.typeIcon.isEmpty() || isTypeName(entry.typeIcon))) {
        out << YAML::Key << (typeName.isEmpty() ? "type-icon" : "type") << YAML::Value;
        writeScalar(out, typeName.isEmpty() ? entry.typeIcon : typeName);
    } else {
        writeText(out, "type", entry.typeIcon);
    }
    writeText(out, "title", entry.title);
    writeText(out, "location", entry.location);
    writeText(out, "description", entry.description);
    if (entry.holdsEntries)
        out << YAML::Key << "holds-entries" << YAML::Value << (*entry.holdsEntries ? "true" : "false");
    writeEntries(out, entry.entries);
    out << YAML::EndMap;
}

void writeEntries(YAML::Emitter &out, const QList<EntryText> &entries)
{
    if (entries.isEmpty())
        return;
    out << YAML::Key << "entries" << YAML::Value << YAML::BeginSeq;
    for (const EntryText &entry : entries)
        writeEntry(out, entry);
    out << YAML::EndSeq;
}

void writeMainMenu(YAML::Emitter &out, const MainMenuText &menu)
{
    out << YAML::BeginMap;
    writeText(out, "title", menu.title);
    writeText(out, "alt-key", menu.altKey);
    writeText(out, "tab-description", menu.tabDescription);
    writeText(out, "icon", menu.mainIcon);
    writeText(out, "hover-icon", menu.hoverIcon);
    writeText(out, "colour", menu.color);
    writeText(out, "colour-bar", menu.colorBar);
    writeText(out, "tab-icon", menu.tabIcon);
    writeEntries(out, menu.entries);
    out << YAML::EndMap;
}

QByteArray finish(const YAML::Emitter &out)
{
    return QByteArray(out.c_str(), qsizetype(out.size())) + '\n';
}

// ---- Reading

struct Failure {
    FormError error;
};

[[noreturn]] void fail(const YAML::Node &at, const QString &message)
{
    throw Failure{{at.Mark().line + 1, message}};
}

QString quoted(const QString &key)
{
    return QLatin1Char('"') + key + QLatin1Char('"');
}

// A scalar as the text it holds; an empty value (or a bare null) is the empty text.
QString textOf(const YAML::Node &value, const QString &key)
{
    if (value.IsNull())
        return {};
    if (!value.IsScalar())
        fail(value, QStringLiteral("%1 is a single text, not a list or a mapping").arg(quoted(key)));
    return QString::fromStdString(value.Scalar());
}

template <size_t count>
QString choices(const char *const (&names)[count])
{
    QStringList list;
    for (const char *name : names)
        list << QLatin1String(name);
    return list.join(QLatin1String(", "));
}

bool truth(const YAML::Node &value, const char *key)
{
    const QString text = textOf(value, QLatin1String(key));
    if (text != QLatin1String("true") && text != QLatin1String("false"))
        fail(value, QStringLiteral("%1 is true or false").arg(quoted(QLatin1String(key))));
    return text == QLatin1String("true");
}

struct KeyReader {
    const char *key;
    std::function<void(const YAML::Node &)> read;
    bool required = false;
};

// Reads a mapping key by key: each key once, only the keys given, every required key present.
void readMapping(const YAML::Node &map, const QString &what, const std::vector<KeyReader> &keys)
{
    if (!map.IsMap())
        fail(map, QStringLiteral("%1 is a mapping of keys and values").arg(what));
    QSet<QString> seen;
    for (const auto &pair : map) {
        const QString key = pair.first.IsScalar() ? QString::fromStdString(pair.first.Scalar()) : QString();
        const auto reader = std::find_if(keys.begin(), keys.end(),
                                         [&](const KeyReader &k) { return key == QLatin1String(k.key); });
        if (reader == keys.end()) {
            QStringList names;
            for (const KeyReader &k : keys)
                names << QLatin1String(k.key);
            fail(pair.first, QStringLiteral("%1 is not a key of %2; its keys are %3")
                                 .arg(quoted(key), what, names.join(QLatin1String(", "))));
        }
        if (seen.contains(key))
            fail(pair.first, QStringLiteral("%1 appears twice in %2").arg(quoted(key), what));
        seen.insert(key);
        reader->read(pair.second);
    }
    for (const KeyReader &k : keys)
        if (k.required && !seen.contains(QLatin1String(k.key)))
            fail(map, QStringLiteral("%1 lacks %2").arg(what, quoted(QLatin1String(k.key))));
}

KeyReader textKey(const char *key, QString &into)
{
    return {key, [key, &into](const YAML::Node &value) { into = textOf(value, QLatin1String(key)); }};
}

QList<EntryText> readEntries(const YAML::Node &list, int depth);

EntryText readEntry(const YAML::Node &map, int depth)
{
    EntryText entry;
    bool typed = false;
    const auto type = [&](const char *key, bool named) {
        return KeyReader{key, [&, key, named](const YAML::Node &value) {
                             if (typed)
                                 fail(value, QStringLiteral("an entry has either \"type\" or \"type-icon\""));
                             typed = true;
                             entry.typeIcon = textOf(value, QLatin1String(key));
                             for (const TypeName &t : typeNames)
                                 if (named && entry.typeIcon == QLatin1String(t.name))
                                     entry.typeIcon = t.icon;
                         }};
    };
    readMapping(map, depth == 0 ? QStringLiteral("an entry") : QStringLiteral("a sub-entry"),
                {type("type", true), type("type-icon", false), textKey("title", entry.title),
                 textKey("location", entry.location), textKey("description", entry.description),
                 {"holds-entries", [&](const YAML::Node &value) { entry.holdsEntries = truth(value, "holds-entries"); }},
                 {"entries", [&](const YAML::Node &value) {
                      if (depth > 0)
                          fail(value, QStringLiteral("a sub-entry holds no \"entries\""));
                      entry.entries = readEntries(value, depth + 1);
                  }}});
    if (!typed) {
        QStringList names;
        for (const TypeName &t : typeNames)
            names << QLatin1String(t.name);
        fail(map, QStringLiteral("an entry lacks \"type\" (%1 or an icon file name)").arg(names.join(QLatin1String(", "))));
    }
    return entry;
}

QList<EntryText> readEntries(const YAML::Node &list, int depth)
{
    QList<EntryText> entries;
    if (list.IsNull())
        return entries;
    if (!list.IsSequence())
        fail(list, QStringLiteral("\"entries\" is a list of entries (\"- type: ...\")"));
    for (const YAML::Node &entry : list)
        entries << readEntry(entry, depth);
    return entries;
}

MainMenuText readMainMenu(const YAML::Node &map)
{
    MainMenuText menu;
    readMapping(map, QStringLiteral("a main menu"),
                {textKey("title", menu.title), textKey("alt-key", menu.altKey),
                 textKey("tab-description", menu.tabDescription), textKey("icon", menu.mainIcon),
                 textKey("hover-icon", menu.hoverIcon), textKey("colour", menu.color),
                 textKey("colour-bar", menu.colorBar), textKey("tab-icon", menu.tabIcon),
                 {"entries", [&](const YAML::Node &value) { menu.entries = readEntries(value, 0); }}});
    return menu;
}

SettingsText readSettings(const YAML::Node &map)
{
    SettingsText settings;
    const auto resolution = [&](const YAML::Node &value) {
        const QString text = textOf(value, QStringLiteral("resolution"));
        for (int i = 0; i < int(std::size(resolutionNames)); ++i)
            if (text == QLatin1String(resolutionNames[i])) {
                settings.resolutionIndex = i;
                return;
            }
        bool isNumber = false;
        settings.resolutionIndex = text.toInt(&isNumber);
        if (!isNumber)
            fail(value, QStringLiteral("\"resolution\" is one of %1, or a stored number")
                            .arg(choices(resolutionNames)));
    };
    const auto systemTray = [&](const YAML::Node &value) { settings.systemTray = truth(value, "system-tray"); };
    const auto background = [&](const YAML::Node &value) {
        const QString text = textOf(value, QStringLiteral("background"));
        for (int i = 0; i < int(std::size(backgroundNames)); ++i)
            if (text == QLatin1String(backgroundNames[i])) {
                settings.background = i;
                return;
            }
        fail(value, QStringLiteral("\"background\" is one of %1").arg(choices(backgroundNames)));
    };
    readMapping(map, QStringLiteral("\"settings\""),
                {{"resolution", resolution, true},
                 {"system-tray", systemTray, true},
                 textKey("text-colour", settings.textColor),
                 {"background", background, true}});
    return settings;
}

// The line (from 1) of a marker that starts or ends a document ("---", "...") after the first
// line of content; 0 when there is none.
int secondDocumentLine(const QByteArray &text)
{
    bool content = false;
    int number = 0;
    for (const QByteArray &line : text.split('\n')) {
        ++number;
        const QByteArray trimmed = line.trimmed();
        const bool marker = (line.startsWith("---") || line.startsWith("...")) && (line.size() == 3 || line.at(3) == ' '
                                                                                   || line.at(3) == '\r' || line.at(3) == '\t');
        if (marker && content)
            return number;
        if (!marker && !trimmed.isEmpty() && !trimmed.startsWith('#'))
            content = true;
    }
    return 0;
}

// The document, its version checked before anything else: a later version may have other keys.
YAML::Node readDocument(const QByteArray &text, const char *versionKey, const QString &what)
{
    // A second document would be left unread. It is found by its marker line before the parser
    // runs: the parser's reading of several documents never ends on some texts ("," alone).
    if (const int line = secondDocumentLine(text))
        throw Failure{{line, QStringLiteral("one document only: a second one starts here")}};
    YAML::Node root;
    try {
        root = YAML::Load(text.toStdString());
    } catch (const YAML::DeepRecursion &error) {   // the parser's own guard of its stack
        throw Failure{{error.mark.line + 1, QStringLiteral("lists or mappings nested far deeper than a package's")}};
    } catch (const YAML::ParserException &error) {
        throw Failure{{error.mark.line + 1, QString::fromStdString(error.msg)}};
    }
    if (!root.IsMap())
        throw Failure{{root.IsNull() ? 0 : root.Mark().line + 1,
                       QStringLiteral("not %1: it starts with \"%2: %3\"").arg(what, QLatin1String(versionKey))
                           .arg(formVersion)}};
    for (const auto &pair : root) {
        if (!pair.first.IsScalar() || pair.first.Scalar() != versionKey)
            continue;
        bool isNumber = false;
        const int version = textOf(pair.second, QLatin1String(versionKey)).toInt(&isNumber);
        if (isNumber && version > formVersion)
            fail(pair.second, QStringLiteral("written by a later version (form %1); this version reads form %2")
                                  .arg(version)
                                  .arg(formVersion));
        if (!isNumber || version != formVersion)
            fail(pair.second, QStringLiteral("%1 is the form's version, %2").arg(quoted(QLatin1String(versionKey)))
                                  .arg(formVersion));
        return root;
    }
    throw Failure{{1, QStringLiteral("not %1: it starts with \"%2: %3\"").arg(what, QLatin1String(versionKey))
                          .arg(formVersion)}};
}

const auto ignoreVersion = [](const YAML::Node &) {};

} // namespace

QByteArray writePackageText(const PackageText &package)
{
    YAML::Emitter out;
    out.SetIndent(2);
    out << YAML::BeginMap;
    out << YAML::Key << packageVersionKey << YAML::Value << formVersion;
    writeText(out, "company", package.companyName);

    const SettingsText &settings = package.settings;
    out << YAML::Key << "settings" << YAML::Value << YAML::BeginMap;
    const int resolution = settings.resolutionIndex;
    out << YAML::Key << "resolution" << YAML::Value;
    if (resolution >= 0 && resolution < int(std::size(resolutionNames)))
        out << resolutionNames[resolution];
    else
        out << resolution;
    out << YAML::Comment("800x600, 1024x768, 1280x1024 or a stored number");
    out << YAML::Key << "system-tray" << YAML::Value << (settings.systemTray ? "true" : "false");
    writeText(out, "text-colour", settings.textColor);
    out << YAML::Key << "background" << YAML::Value
        << backgroundNames[qBound(0, settings.background, 2)] << YAML::Comment("default, white or black");
    out << YAML::EndMap;

    if (!package.mainMenus.isEmpty()) {
        out << YAML::Key << "main-menus" << YAML::Value << YAML::BeginSeq;
        for (const MainMenuText &menu : package.mainMenus)
            writeMainMenu(out, menu);
        out << YAML::EndSeq;
    }
    out << YAML::EndMap;
    return finish(out);
}

std::variant<PackageText, FormError> readPackageText(const QByteArray &text)
{
    try {
        const YAML::Node root = readDocument(text, packageVersionKey, QStringLiteral("a package text"));
        PackageText package;
        readMapping(root, QStringLiteral("a package"),
                    {{packageVersionKey, ignoreVersion},
                     textKey("company", package.companyName),
                     {"settings", [&](const YAML::Node &value) { package.settings = readSettings(value); }, true},
                     {"main-menus", [&](const YAML::Node &value) {
                          if (value.IsNull())
                              return;
                          if (!value.IsSequence())
                              fail(value, QStringLiteral("\"main-menus\" is a list of main menus (\"- title: ...\")"));
                          for (const YAML::Node &menu : value)
                              package.mainMenus << readMainMenu(menu);
                      }}});
        return package;
    } catch (const Failure &failure) {
        return failure.error;
    } catch (const YAML::Exception &error) {
        return FormError{error.mark.line + 1, QString::fromStdString(error.msg)};
    }
}

QByteArray writeNodeText(const NodeText &node)
{
    YAML::Emitter out;
    out.SetIndent(2);
    out << YAML::BeginMap;
    out << YAML::Key << nodeVersionKey << YAML::Value << formVersion;
    if (const auto *menu = std::get_if<MainMenuText>(&node)) {
        out << YAML::Key << "main-menu" << YAML::Value;
        writeMainMenu(out, *menu);
    } else {
        out << YAML::Key << "entry" << YAML::Value;
        writeEntry(out, std::get<EntryText>(node));
    }
    out << YAML::EndMap;
    return finish(out);
}

std::variant<NodeText, FormError> readNodeText(const QByteArray &text)
{
    try {
        const YAML::Node root = readDocument(text, nodeVersionKey, QStringLiteral("a copied node"));
        std::optional<NodeText> node;
        const auto once = [&](const YAML::Node &value) {
            if (node)
                fail(value, QStringLiteral("a copied node holds one \"main-menu\" or one \"entry\""));
        };
        readMapping(root, QStringLiteral("a copied node"),
                    {{nodeVersionKey, ignoreVersion},
                     {"main-menu", [&](const YAML::Node &value) { once(value); node = readMainMenu(value); }},
                     {"entry", [&](const YAML::Node &value) { once(value); node = readEntry(value, 0); }}});
        if (!node)
            fail(root, QStringLiteral("a copied node holds a \"main-menu\" or an \"entry\""));
        return *node;
    } catch (const Failure &failure) {
        return failure.error;
    } catch (const YAML::Exception &error) {
        return FormError{error.mark.line + 1, QString::fromStdString(error.msg)};
    }
}

} // namespace packagetext
