#include "randompackage.h"
#include "testmain.h"

#include "packages/languagefiles.h"
#include "ini/confinedfolder.h"

namespace testing {
namespace {

int below(Rng &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

template <typename T>
T pick(Rng &rng, std::initializer_list<T> choices)
{
    return *(choices.begin() + below(rng, int(choices.size())));
}

// A text as a package may hold one: plain, empty, the unused marker, with NULL in it, with
// commas or with quotes of its own.
QByteArray someText(Rng &rng)
{
    return pick<QByteArray>(rng, {"Learn", "", "NULL", "NULL modem cable", "a, b", "say \"hi\"", "12\"", "x\"y,z\"w",
                                  "Über"});
}

} // namespace

// A package of the shape the front-end and earlier builds leave: main menus with gaps between
// their sections, entries and sub-entries named canonically or not, texts present, missing,
// empty or NULL, the first ten lines the front-end's own.
void writeRandomPackage(Rng &rng, const QString &dir)
{
    QByteArray menus;
    QList<QByteArray> texts;
    for (int line = 1; line <= 10; ++line)
        texts << "FRONT" + QByteArray::number(line) + ",\"" + someText(rng) + "\"";
    for (int n = 1; n <= 5; ++n) {
        const QByteArray p = QByteArray::number(n);
        if (below(rng, 3) == 0) {   // an unused position leaves texts behind, or none
            if (below(rng, 2))
                texts << "__TAB" + p + "_DESCRIPTION__,\"" + someText(rng) + "\"";
            continue;
        }
        menus += "[Menu" + p + "]\r\nMenu" + p + "Info=,," + pick<QByteArray>(rng, {"TRUE", "FALSE"}) + ",,,,,,,,,,,,,\r\n";
        for (const char *kind : {"_CONTENT_TITLE__", "_ALT_KEY__", "_TITLE__"})
            if (below(rng, 4))
                texts << "__MENU" + p + kind + ",\"" + someText(rng) + "\"";
        if (below(rng, 2))
            texts << "__TAB" + p + "_DESCRIPTION__,\"" + someText(rng) + "\"";
        const int entries = below(rng, 4);
        for (int q = 1; q <= entries; ++q) {
            const QByteArray name = "__" + p + "-SUBMENU" + QByteArray::number(below(rng, 2) ? q : q + 7) + "__";
            const QByteArray key = below(rng, 2) ? name.chopped(2) + "-A__" : QByteArray();
            const int subEntries = below(rng, 3);
            const QByteArray type = subEntries ? "UpArrow.gif" : pick<QByteArray>(rng, {"Topic-link.gif", "x.gif", "UpArrow.gif"});
            menus += "SubMenu" + QByteArray::number(q) + "=,," + (subEntries ? "TRUE" : "FALSE") + "," + name + ",," + type
                     + ",,,\"" + pick<QByteArray>(rng, {"", "a.htm", "C:\\a,b.exe"}) + "\",,,," + key + ",,,\r\n";
            if (below(rng, 4))
                texts << name + ",\"" + someText(rng) + "\"";
            if (!key.isEmpty() && below(rng, 4))
                texts << key + ",\"" + someText(rng) + "\"";
            for (int r = 1; r <= subEntries; ++r) {
                const QByteArray subName = name.chopped(2) + "-" + QByteArray::number(r) + "__";
                menus += "SubMenu" + QByteArray::number(q) + ".item" + QByteArray::number(r) + "=,,FALSE,," + subName
                         + ",Application-link.gif,,,\"x.exe\",,,,,,,\r\n";
                if (below(rng, 3))
                    texts << subName + ",\"" + someText(rng) + "\"";
            }
        }
    }
    QByteArray textFile = "[Access Text]\r\nTITLE=\"Help Center customized by Contoso\"\r\n";
    for (int line = 0; line < texts.size(); ++line)
        textFile += "TEXT" + QByteArray::number(line + 1) + "=" + texts[line] + "\r\n";
    QByteArray configFile = "[Global Options]\r\n";
    for (int line = 1; line <= 12; ++line)
        configFile += "OPTION" + QByteArray::number(line) + "=__MENU" + QByteArray::number(line % 6) + "ICON__,\""
                      + someText(rng) + "\"\r\n";
    testing::writeFile(dir + "/machine-specifics.csv", menus);
    testing::writeFile(dir + "/access-config.ini", configFile);
    ini::ConfinedFolder package(dir);
    packages::createLanguageDirs(package);
    for (const QString &language : packages::languageDirsCreationOrder())
        testing::writeFile(dir + "/" + language + "/access-text.ini", textFile);
}

} // namespace testing
