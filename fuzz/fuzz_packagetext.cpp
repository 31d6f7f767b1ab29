// The package's text form, which reads whatever the clipboard or a file holds.
//
// Input: the first byte chooses. Even: the rest is a text, read as a package and as a node. Odd:
// the rest chooses a package (up to five main menus of entries and sub-entries, each value a
// random UTF-8 text) that is written and read back.
//
// Invariants (a violation aborts):
// - Reading any text gives a value or an error whose line lies within the text (0 for the whole
//   text), with a message.
// - A value read, written again, reads back as the same value; so does any package written,
//   whatever its values hold (line breaks, quotes, blanks at the ends, YAML's own signs).
// - Nothing crashes, overflows, leaks or hits undefined behaviour (the sanitizers).
#include "fuzzsupport.h"

#include "packagetext/packagetext.h"

using fuzzing::check;
using fuzzing::visible;
using namespace packagetext;

namespace {

QString someText(fuzzing::Input &input)
{
    return input.flag() ? QString() : input.text(24);
}

EntryText someEntry(fuzzing::Input &input, int depth)
{
    EntryText entry;
    entry.typeIcon = input.below(4) == 0 ? someText(input) : QStringLiteral("Application-link.gif");
    entry.title = someText(input);
    entry.location = someText(input);
    entry.description = someText(input);
    for (int n = depth < 1 ? input.below(3) : 0; n > 0; --n)
        entry.entries << someEntry(input, depth + 1);
    return entry;
}

PackageText somePackage(fuzzing::Input &input)
{
    PackageText package;
    package.companyName = someText(input);
    package.settings.resolutionIndex = input.below(5) - 1;
    package.settings.systemTray = input.flag();
    package.settings.textColor = someText(input);
    package.settings.background = input.below(3);
    for (int m = input.below(6); m > 0; --m) {
        MainMenuText menu;
        for (QString *value : {&menu.title, &menu.altKey, &menu.tabDescription, &menu.mainIcon, &menu.hoverIcon,
                               &menu.color, &menu.colorBar, &menu.tabIcon})
            *value = someText(input);
        for (int n = input.below(4); n > 0; --n)
            menu.entries << someEntry(input, 0);
        package.mainMenus << menu;
    }
    return package;
}

void checkError(const FormError &error, const QByteArray &text)
{
    check(error.line >= 0 && error.line <= text.count('\n') + 1 && !error.message.isEmpty(),
          QStringLiteral("error at line %1 of a text of %2 lines: %3").arg(error.line).arg(text.count('\n') + 1).arg(error.message));
}

void checkPackageRoundTrip(const PackageText &package)
{
    const QByteArray written = writePackageText(package);
    const auto read = readPackageText(written);
    const auto *error = std::get_if<FormError>(&read);
    check(!error, error ? QStringLiteral("a written package does not read back: line %1: %2\n%3")
                              .arg(error->line).arg(error->message, visible(QString::fromUtf8(written)))
                        : QString());
    check(std::get<PackageText>(read) == package,
          QStringLiteral("a written package reads back otherwise:\n") + visible(QString::fromUtf8(written)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::Input input(data, size);
    if (input.byte() % 2 == 1) {
        checkPackageRoundTrip(somePackage(input));
        return 0;
    }
    const QByteArray text = input.rest();
    const auto package = readPackageText(text);
    if (const auto *error = std::get_if<FormError>(&package))
        checkError(*error, text);
    else
        checkPackageRoundTrip(std::get<PackageText>(package));
    const auto node = readNodeText(text);
    if (const auto *error = std::get_if<FormError>(&node)) {
        checkError(*error, text);
    } else {
        const QByteArray written = writeNodeText(std::get<NodeText>(node));
        const auto again = readNodeText(written);
        check(std::holds_alternative<NodeText>(again) && std::get<NodeText>(again) == std::get<NodeText>(node),
              QStringLiteral("a written node reads back otherwise:\n") + visible(QString::fromUtf8(written)));
    }
    return 0;
}
