#pragma once
// The general page: screen resolution, system-tray icon, privacy information, the colour of the
// regular text and the menu backgrounds. The values and the rules live in GeneralSettings; the
// page shows them and passes the user's changes on.
#include "document/generalsettings.h"

#include <QWidget>

class QCheckBox;
class QComboBox;

namespace packages { class PackageState; }

namespace pages {

using document::GeneralSettings;

class ColorSwatchButton;

class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(packages::PackageState &state, QWidget *parent = nullptr);

    // Open: the values of the package now open.
    void reloadSettings();
    // New: the values of section "OEM Defaults".
    void loadOemDefaults();
    // Writes the values into the package; false when its configuration file could not be
    // written. A refused registry write is shown to the user; the file is written regardless.
    bool saveSettings();

    const GeneralSettings &settings() const { return m_settings; }

private:
    void showSettings();
    bool privacyOffered() const;
    void chooseColor();
    void changed();

    packages::PackageState &m_state;
    GeneralSettings m_settings;
    QComboBox *m_resolution = nullptr;
    QCheckBox *m_systemTray = nullptr;
    QCheckBox *m_privacy = nullptr;
    QCheckBox *m_animation = nullptr;   // kept hidden: the front-end's splash animation
    QCheckBox *m_sound = nullptr;       // kept hidden: the front-end's start sound
    ColorSwatchButton *m_swatch = nullptr;
    QComboBox *m_background = nullptr;
};

} // namespace pages
