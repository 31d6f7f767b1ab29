#pragma once
// The general page: screen resolution, system-tray icon, privacy information, the colour of the
// regular text and the menu backgrounds. The page is a view of the package document: it shows
// the document's settings, and each change the user makes is a step on the document's undo stack.
#include "document/generalsettings.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;

namespace document { class PackageDocument; }

namespace pages {

using document::GeneralSettings;

class ColorSwatchButton;

class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(document::PackageDocument &document, QWidget *parent = nullptr);

private:
    void showSettings();
    void chooseColor();
    // The user's change, applied to a copy of the document's settings, as one step.
    void change(const std::function<void(GeneralSettings &)> &edit);

    document::PackageDocument &m_document;
    QComboBox *m_resolution = nullptr;
    QCheckBox *m_systemTray = nullptr;
    QCheckBox *m_privacy = nullptr;
    QCheckBox *m_animation = nullptr;   // kept hidden: the front-end's splash animation
    QCheckBox *m_sound = nullptr;       // kept hidden: the front-end's start sound
    ColorSwatchButton *m_swatch = nullptr;
    QComboBox *m_background = nullptr;
};

} // namespace pages
