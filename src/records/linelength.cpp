#include "linelength.h"

#include "fields.h"

#include <QStringBuilder>

namespace records {
namespace {

// A value as the writers put it after other fields: in the form that reads back as it is, or
// quoted when none does (the build names such a text to the user).
qsizetype storedFieldLength(const QString &value)
{
    const std::optional<QString> field = fieldFor(value);
    return field ? field->size() : value.size() + 2;
}

// The body of an entry's keys: "1-SUBMENU3" for a menu entry, "1-SUBMENU3-2" for a sub-entry.
QString keyBody(const EntryPlace &place)
{
    const QString body = QString::number(place.menu) % QLatin1String("-SUBMENU") % QString::number(place.entry);
    return place.subEntry == 0 ? body : body % QLatin1Char('-') % QString::number(place.subEntry);
}

} // namespace

qsizetype textLineRoom(const QString &key, const QString &text)
{
    return LineCapacity - (key.size() + 1 + storedFieldLength(text));
}

qsizetype mainMenuTitleRoom(int p, const QString &contentTitle, const QString &displayTitle)
{
    const QString menu = QStringLiteral("__MENU") + QString::number(p);
    return qMin(textLineRoom(menu + QLatin1String("_CONTENT_TITLE__"), contentTitle),
                textLineRoom(menu + QLatin1String("_TITLE__"), displayTitle));
}

EntryLineRoom entryLineRoom(const EntryPlace &place, const QString &typeIcon, const QString &title,
                            const QString &description, const QString &location)
{
    const QString body = keyBody(place);
    const QString name = QLatin1String("__") % body % QLatin1String("__");
    const QString descriptionKey = QLatin1String("__") % body % QLatin1String("-A__");
    // Sixteen fields, fifteen commas. The has-entries flag is counted as "FALSE": a sub-menu's
    // "TRUE" is one unit shorter, so its line keeps that unit to spare.
    const qsizetype entryLine = 15 + QLatin1String("FALSE").size() + name.size() + typeIcon.size()
        + storedFieldLength(location) + (description.isEmpty() ? 0 : descriptionKey.size());
    return {textLineRoom(name, title), textLineRoom(descriptionKey, description), LineCapacity - entryLine};
}

} // namespace records
