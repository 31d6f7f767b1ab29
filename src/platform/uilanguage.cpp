#include "uilanguage.h"

#include <QHash>

namespace platform {
namespace {

std::optional<quint16> &languageOverride()
{
    static std::optional<quint16> id;
    return id;
}

constexpr quint16 makeId(quint16 primary, quint16 sub) { return quint16((sub << 10) | primary); }

struct PrimaryLanguage {
    QLocale::Language language;
    quint16 primary;
};

// Primary language identifiers of the Windows language table.
constexpr PrimaryLanguage primaries[] = {
    {QLocale::Arabic, 0x01},     {QLocale::Bulgarian, 0x02}, {QLocale::Catalan, 0x03},
    {QLocale::Chinese, 0x04},    {QLocale::Czech, 0x05},     {QLocale::Danish, 0x06},
    {QLocale::German, 0x07},     {QLocale::Greek, 0x08},     {QLocale::English, 0x09},
    {QLocale::Spanish, 0x0A},    {QLocale::Finnish, 0x0B},   {QLocale::French, 0x0C},
    {QLocale::Hebrew, 0x0D},     {QLocale::Hungarian, 0x0E}, {QLocale::Icelandic, 0x0F},
    {QLocale::Italian, 0x10},    {QLocale::Japanese, 0x11},  {QLocale::Korean, 0x12},
    {QLocale::Dutch, 0x13},      {QLocale::NorwegianBokmal, 0x14}, {QLocale::NorwegianNynorsk, 0x14},
    {QLocale::Polish, 0x15},     {QLocale::Portuguese, 0x16}, {QLocale::Romanian, 0x18},
    {QLocale::Russian, 0x19},    {QLocale::Croatian, 0x1A},  {QLocale::Slovak, 0x1B},
    {QLocale::Albanian, 0x1C},   {QLocale::Swedish, 0x1D},   {QLocale::Thai, 0x1E},
    {QLocale::Turkish, 0x1F},    {QLocale::Indonesian, 0x21}, {QLocale::Ukrainian, 0x22},
    {QLocale::Slovenian, 0x24},  {QLocale::Estonian, 0x25},  {QLocale::Latvian, 0x26},
    {QLocale::Lithuanian, 0x27}, {QLocale::Vietnamese, 0x2A},
};

struct Regional {
    QLocale::Language language;
    QLocale::Territory territory;
    quint16 sub;
};

// Sub-languages where a territory (or script) is not the language's first one.
constexpr Regional regionals[] = {
    {QLocale::Chinese, QLocale::Taiwan, 1},
    {QLocale::Chinese, QLocale::China, 2},
    {QLocale::Chinese, QLocale::HongKong, 3},
    {QLocale::Chinese, QLocale::Singapore, 4},
    {QLocale::Chinese, QLocale::Macau, 5},
    {QLocale::German, QLocale::Switzerland, 2},
    {QLocale::German, QLocale::Austria, 3},
    {QLocale::German, QLocale::Luxembourg, 4},
    {QLocale::German, QLocale::Liechtenstein, 5},
    {QLocale::English, QLocale::UnitedKingdom, 2},
    {QLocale::English, QLocale::Australia, 3},
    {QLocale::English, QLocale::Canada, 4},
    {QLocale::English, QLocale::NewZealand, 5},
    {QLocale::English, QLocale::Ireland, 6},
    {QLocale::English, QLocale::SouthAfrica, 7},
    {QLocale::English, QLocale::India, 0x10},
    {QLocale::Spanish, QLocale::Spain, 3},   // modern sort, 0x0C0A
    {QLocale::Spanish, QLocale::Mexico, 2},
    {QLocale::Spanish, QLocale::Argentina, 0x0B},
    {QLocale::French, QLocale::Belgium, 2},
    {QLocale::French, QLocale::Canada, 3},
    {QLocale::French, QLocale::Switzerland, 4},
    {QLocale::French, QLocale::Luxembourg, 5},
    {QLocale::Italian, QLocale::Switzerland, 2},
    {QLocale::Dutch, QLocale::Belgium, 2},
    {QLocale::NorwegianNynorsk, QLocale::AnyTerritory, 2},
    {QLocale::Portuguese, QLocale::Brazil, 1},
    {QLocale::Portuguese, QLocale::Portugal, 2},
    {QLocale::Swedish, QLocale::Finland, 2},
};

} // namespace

quint16 languageIdForLocale(const QLocale &locale)
{
    const QLocale::Language language = locale.language();
    quint16 primary = 0;
    for (const PrimaryLanguage &p : primaries)
        if (p.language == language)
            primary = p.primary;
    if (primary == 0)
        return 0x0409;
    for (const Regional &r : regionals)
        if (r.language == language && (r.territory == QLocale::AnyTerritory || r.territory == locale.territory()))
            return makeId(primary, r.sub);
    // A locale without a listed territory: Chinese by its script, Portuguese as in Portugal.
    if (language == QLocale::Chinese)
        return makeId(primary, locale.script() == QLocale::TraditionalChineseScript ? 1 : 2);
    if (language == QLocale::Portuguese)
        return makeId(primary, 2);
    return makeId(primary, 1);
}

quint16 userInterfaceLanguage()
{
    if (languageOverride())
        return *languageOverride();
    return languageIdForLocale(QLocale::system());
}

void setUserInterfaceLanguage(std::optional<quint16> languageId)
{
    languageOverride() = languageId;
}

QString languageDirForId(quint16 languageId)
{
    const quint16 primary = languageId & 0x3FF;
    const quint16 sub = languageId >> 10;
    switch (primary) {
    case 0x04: return sub == 1 ? QStringLiteral("0404") : QStringLiteral("0804");
    case 0x06: return QStringLiteral("0406");
    case 0x07: return QStringLiteral("0407");
    case 0x0A: return QStringLiteral("0c0a");
    case 0x0B: return QStringLiteral("040b");
    case 0x0C: return QStringLiteral("040c");
    case 0x10: return QStringLiteral("0410");
    case 0x11: return QStringLiteral("0411");
    case 0x12: return QStringLiteral("0412");
    case 0x13: return QStringLiteral("0413");
    case 0x14: return QStringLiteral("0414");
    case 0x16: return sub == 1 ? QStringLiteral("0416") : QStringLiteral("0816");
    case 0x1D: return QStringLiteral("041d");
    default:   return QStringLiteral("0409");
    }
}

QString currentLanguageDir()
{
    return languageDirForId(userInterfaceLanguage());
}

QLocale localeForLanguageDir(const QString &languageDir)
{
    static const QHash<QString, QString> locales{
        {QStringLiteral("0404"), QStringLiteral("zh_TW")}, {QStringLiteral("0406"), QStringLiteral("da_DK")},
        {QStringLiteral("0407"), QStringLiteral("de_DE")}, {QStringLiteral("0409"), QStringLiteral("en_US")},
        {QStringLiteral("040b"), QStringLiteral("fi_FI")}, {QStringLiteral("040c"), QStringLiteral("fr_FR")},
        {QStringLiteral("0410"), QStringLiteral("it_IT")}, {QStringLiteral("0411"), QStringLiteral("ja_JP")},
        {QStringLiteral("0412"), QStringLiteral("ko_KR")}, {QStringLiteral("0413"), QStringLiteral("nl_NL")},
        {QStringLiteral("0414"), QStringLiteral("nb_NO")}, {QStringLiteral("0416"), QStringLiteral("pt_BR")},
        {QStringLiteral("041d"), QStringLiteral("sv_SE")}, {QStringLiteral("0804"), QStringLiteral("zh_CN")},
        {QStringLiteral("0816"), QStringLiteral("pt_PT")}, {QStringLiteral("0c0a"), QStringLiteral("es_ES")},
    };
    return QLocale(locales.value(languageDir, QStringLiteral("en_US")));
}

} // namespace platform
