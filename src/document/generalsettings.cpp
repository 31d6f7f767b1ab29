#include "generalsettings.h"

#include "ini/profile.h"
#include "platform/registry.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace document {
namespace {

// Sections as the front-end's own code spells them; the profile engine matches them without
// regard to case, so "Other" and "OTHER" are one section.
const QString optionsSection = QStringLiteral("Other");
const QString looksSection = QStringLiteral("OTHER");
const QString oemSection = QStringLiteral("OEM Defaults");

const QString trayComponentKey = QStringLiteral("Software\\Harbel\\RUNA");
const QString frontEndKey = QStringLiteral("Software\\Harbel\\ZELT");
const QString privacyValueName = QStringLiteral("ShowPrivacyDlg");

QString read(const QString &file, const QString &section, const QString &key)
{
    return ini::readProfileString(file, section, key, 2048);
}

// Leading decimal digits as an integer, as C's atoi reads them: "2" is 2, "x" and "" are 0.
int leadingInteger(const QString &text)
{
    const QByteArray digits = text.toLatin1();
    const long value = std::strtol(digits.constData(), nullptr, 10);
    return int(qBound(long(INT_MIN), value, long(INT_MAX)));
}

// The leading hexadecimal digits of two characters: "0A" is 10, "F" followed by junk is 15.
int hexPair(QStringView text)
{
    int value = 0;
    for (const QChar c : text) {
        const int digit = int(QStringLiteral("0123456789abcdef").indexOf(c.toLower()));
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

QString menuBackgroundKey(int menu)
{
    // Main menu 5 keeps its background under a key that ends in "1".
    return menu == 5 ? QStringLiteral("MENU5_BACKGROUND1") : QStringLiteral("MENU%1_BACKGROUND").arg(menu);
}

} // namespace

bool GeneralSettings::isTrue(const QString &value)
{
    return value.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}

QString GeneralSettings::boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

void GeneralSettings::open(const QString &configFile, bool privacyOffered)
{
    readTrayAvailability();
    reload(configFile, privacyOffered);
}

void GeneralSettings::reload(const QString &configFile, bool privacyOffered)
{
    readOptions(configFile);
    if (privacyOffered)
        readPrivacy();
    readLooks(configFile);
    takeOverColor();
    chooseBackgroundFromRead(configFile);
}

void GeneralSettings::loadOemDefaults(const QString &configFile)
{
    resolutionIndex = leadingInteger(read(configFile, oemSection, QStringLiteral("RESOLUTION")));
    systemTrayValue = read(configFile, oemSection, QStringLiteral("SHOW_SYSTRAY"));
    animationValue = read(configFile, oemSection, QStringLiteral("SPLASH"));
    soundValue = read(configFile, oemSection, QStringLiteral("SOUND"));
    colorTextRead = read(configFile, oemSection, QStringLiteral("REGULAR_TEXT_COLOR"));
    takeOverColor();
    selectBackground(DefaultBackground, configFile);
    privacyChecked = true;
}

void GeneralSettings::selectBackground(Background choice, const QString &configFile)
{
    background = choice;
    switch (choice) {
    case DefaultBackground:
        readDefaultBackgrounds(configFile);
        cycleValue = boolText(true);
        return;
    case WhiteBackground:
        menuBackgrounds.fill(whiteBackground);
        break;
    case BlackBackground:
        menuBackgrounds.fill(blackBackground);
        break;
    }
    cycleValue = boolText(false);
}

void GeneralSettings::setChosenColor(const QColor &chosen)
{
    color = QColor(chosen.red(), chosen.green(), chosen.blue());
    colorTextToWrite = QStringLiteral("#%1%2%3")
                           .arg(color.red(), 2, 16, QLatin1Char('0'))
                           .arg(color.green(), 2, 16, QLatin1Char('0'))
                           .arg(color.blue(), 2, 16, QLatin1Char('0'))
                           .toUpper();
}

GeneralSettings::SaveOutcome GeneralSettings::save(const QString &configFile) const
{
    SaveOutcome outcome;
    ini::ProfileBatch batch;   // all keys of one save: the file is written once
    auto write = [&](const QString &section, const QString &key, const QString &value) {
        if (!ini::writeProfileString(configFile, section, key, value))
            outcome.fileWritten = false;
    };

    write(optionsSection, QStringLiteral("RESOLUTION"), QString::number(resolutionIndex));
    if (trayAvailable)
        write(optionsSection, QStringLiteral("SHOW_SYSTRAY"), systemTrayValue);

    // The key is opened, never created: without it nothing is written and nothing reported.
    if (platform::registryKeyExists(platform::RegistryScope::User, frontEndKey)
        && !platform::writeRegistryNumber(platform::RegistryScope::User, frontEndKey, privacyValueName,
                                          privacyChecked ? 1 : 0)) {
        outcome.registryError = EACCES;   // the settings store refused the write
    }

    write(looksSection, QStringLiteral("REGULAR_TEXT_COLOR"), colorTextToWrite);
    for (int menu = 1; menu <= menuCount; ++menu)
        write(looksSection, menuBackgroundKey(menu), menuBackgrounds[menu - 1]);
    write(looksSection, QStringLiteral("MENU5_CYCLE_ON"), cycleValue);
    if (!batch.commit())
        outcome.fileWritten = false;
    return outcome;
}

void GeneralSettings::readTrayAvailability()
{
    trayAvailable = platform::registryKeyExists(platform::RegistryScope::System, trayComponentKey);
}

void GeneralSettings::readOptions(const QString &configFile)
{
    resolutionIndex = leadingInteger(read(configFile, optionsSection, QStringLiteral("RESOLUTION")));
    systemTrayValue = read(configFile, optionsSection, QStringLiteral("SHOW_SYSTRAY"));
    animationValue = read(configFile, optionsSection, QStringLiteral("SHOW_SPLASH"));
    soundValue = read(configFile, optionsSection, QStringLiteral("PLAY_SOUND"));
}

void GeneralSettings::readLooks(const QString &configFile)
{
    colorTextRead = read(configFile, looksSection, QStringLiteral("REGULAR_TEXT_COLOR"));
    menu1BackgroundRead = read(configFile, looksSection, QStringLiteral("MENU1_BACKGROUND"));
    whiteBackground = read(configFile, looksSection, QStringLiteral("WHITE_BACKGROUND"));
    blackBackground = read(configFile, looksSection, QStringLiteral("BLACK_BACKGROUND"));
}

void GeneralSettings::readPrivacy()
{
    // Here "the key can be opened" means its settings file exists.
    privacyChecked = false;
    if (!platform::registryKeyExists(platform::RegistryScope::User, frontEndKey))
        return;
    if (const auto shown = platform::readRegistryNumber(platform::RegistryScope::User, frontEndKey, privacyValueName))
        privacyChecked = *shown != 0;
    else   // a missing value is created switched on, while the box still shows unchecked
        platform::writeRegistryNumber(platform::RegistryScope::User, frontEndKey, privacyValueName, 1);
}

void GeneralSettings::takeOverColor()
{
    // "#RRGGBB": shorter texts are ignored, the first character is not checked and anything
    // after the seventh is ignored. Ignored texts leave the previous colour in place.
    if (colorTextRead.size() <= 6)
        return;
    colorTextToWrite = colorTextRead;
    const QStringView text(colorTextRead);
    color = QColor(hexPair(text.mid(1, 2)), hexPair(text.mid(3, 2)), hexPair(text.mid(5, 2)));
}

void GeneralSettings::chooseBackgroundFromRead(const QString &configFile)
{
    // White is recognised in any case, black only as spelled; anything else is the default.
    if (menu1BackgroundRead.compare(whiteBackground, Qt::CaseInsensitive) == 0)
        selectBackground(WhiteBackground, configFile);
    else if (menu1BackgroundRead != blackBackground)
        selectBackground(DefaultBackground, configFile);
    else
        selectBackground(BlackBackground, configFile);
}

void GeneralSettings::readDefaultBackgrounds(const QString &configFile)
{
    for (int menu = 1; menu <= menuCount; ++menu)
        menuBackgrounds[menu - 1] = read(configFile, oemSection, QStringLiteral("TAB%1_DEFAULT").arg(menu));
}

} // namespace document
