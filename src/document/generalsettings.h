#pragma once
// The general options of a package: screen resolution, system-tray icon, privacy information,
// the colour of the regular text and the backgrounds of the five main menus. They live in the
// package's "access-config.ini" (sections "Other", "OTHER" and "OEM Defaults") and, for the
// privacy option, in the user's registry. The general page shows these values; everything it
// reads or writes goes through here.
#include <QColor>
#include <QString>
#include <array>

namespace document {

class GeneralSettings {
public:
    enum Background { DefaultBackground = 0, WhiteBackground = 1, BlackBackground = 2 };
    static constexpr int resolutionCount = 3;
    static constexpr int menuCount = 5;

    int resolutionIndex = 0;          // may lie outside 0..2 when the file says so
    QString systemTrayValue;          // "true" or "false"
    QString animationValue;           // SHOW_SPLASH, never written
    QString soundValue;               // PLAY_SOUND, never written
    QString colorTextRead;            // REGULAR_TEXT_COLOR as last read
    QString colorTextToWrite;
    QColor color = Qt::black;         // the colour on the swatch
    std::array<QString, menuCount> menuBackgrounds;
    QString cycleValue;               // MENU5_CYCLE_ON: "true" for the default backgrounds
    QString menu1BackgroundRead;
    QString whiteBackground;
    QString blackBackground;
    Background background = DefaultBackground;
    bool trayAvailable = false;       // the front-end's tray component is installed
    bool privacyChecked = false;      // always show the privacy information

    // Opening the page: tray availability, the package's values, the colour, the background and,
    // when the privacy option is offered, its registry value.
    void open(const QString &configFile, bool privacyOffered);
    // The same for another package, without asking again whether the tray option is available.
    void reload(const QString &configFile, bool privacyOffered);
    // A new configuration: the values of section "OEM Defaults".
    void loadOemDefaults(const QString &configFile);

    // The user's choices.
    void selectBackground(Background choice, const QString &configFile);
    void setChosenColor(const QColor &chosen);

    struct SaveOutcome {
        bool fileWritten = true;
        int registryError = 0;        // an errno value when the privacy option could not be written
    };
    // Writes every value into configFile (once, as one batch) and the privacy option into the
    // registry when its key exists.
    SaveOutcome save(const QString &configFile) const;

    static bool isTrue(const QString &value);
    static QString boolText(bool value);

private:
    void readTrayAvailability();
    void readOptions(const QString &configFile);
    void readLooks(const QString &configFile);
    void readPrivacy();
    void takeOverColor();
    void chooseBackgroundFromRead(const QString &configFile);
    void readDefaultBackgrounds(const QString &configFile);
};

} // namespace document
