#include "generalpage.h"

#include "colorswatchbutton.h"
#include "texts/texts.h"
#include "document/packagedocument.h"
#include "document/pagecommands.h"
#include "ui/modal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace pages {
namespace {

QString text(const QString &key)
{
    return texts::lookupText(QStringLiteral("TEXT"), key);
}

template <typename Control>
Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

GeneralPage::GeneralPage(document::PackageDocument &document, QWidget *parent)
    : QWidget(parent), m_document(document)
{
    auto *options = new QGroupBox(text(QStringLiteral("TAB3")), this);
    m_resolution = named(new QComboBox(options), "resolution");
    for (int entry = 0; entry < GeneralSettings::resolutionCount; ++entry)
        m_resolution->addItem(text(QStringLiteral("RES%1TEXT").arg(entry)));
    m_systemTray = named(new QCheckBox(text(QStringLiteral("SYSTRAYTEXT")), options), "systemTray");
    const QString privacyText = text(QStringLiteral("ASKPRVINFOTEXT"));
    m_privacy = named(new QCheckBox(privacyText, options), "privacy");
    m_privacy->setHidden(!document::PackageDocument::privacyOffered());
    m_animation = named(new QCheckBox(options), "animation");
    m_animation->hide();
    m_sound = named(new QCheckBox(options), "sound");
    m_sound->hide();

    auto *optionsLayout = new QFormLayout(options);
    optionsLayout->addRow(new QLabel(text(QStringLiteral("RESTITLETEXT")), options), m_resolution);
    optionsLayout->addRow(m_systemTray);
    optionsLayout->addRow(m_privacy);
    optionsLayout->addRow(m_animation);
    optionsLayout->addRow(m_sound);

    auto *looks = new QGroupBox(text(QStringLiteral("TAB2")), this);
    m_swatch = named(new ColorSwatchButton(looks), "colorSwatch");
    m_swatch->setFixedSize(48, 24);
    m_background = named(new QComboBox(looks), "background");
    for (const char *key : {"DEFAULT_BACKGROUND", "WHITE_BACKGROUND", "BLACK_BACKGROUND"})
        m_background->addItem(texts::lookupText(QStringLiteral("Backgrounds"), QLatin1String(key)));

    auto *looksLayout = new QFormLayout(looks);
    looksLayout->addRow(new QLabel(text(QStringLiteral("FONT_COLOR")), looks), m_swatch);
    looksLayout->addRow(new QLabel(text(QStringLiteral("BGTEXT")), looks), m_background);
    // Lists and the swatch are named by their labels (where the platform names a list by what it
    // shows, its label is the label it is labelled by).
    m_resolution->setAccessibleName(text(QStringLiteral("RESTITLETEXT")));
    m_background->setAccessibleName(text(QStringLiteral("BGTEXT")));
    m_swatch->setAccessibleName(text(QStringLiteral("FONT_COLOR")));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(looks);
    layout->addStretch();

    showSettings();
    connect(&m_document, &document::PackageDocument::settingsChanged, this, &GeneralPage::showSettings);

    // Only the user's own actions reach these: the page's own filling of the controls does not.
    connect(m_resolution, &QComboBox::activated, this, [this](int entry) {
        change([entry](GeneralSettings &settings) { settings.resolutionIndex = entry; });
    });
    connect(m_systemTray, &QCheckBox::clicked, this, [this](bool checked) {
        change([checked](GeneralSettings &settings) { settings.systemTrayValue = GeneralSettings::boolText(checked); });
    });
    connect(m_animation, &QCheckBox::clicked, this, [this](bool checked) {
        change([checked](GeneralSettings &settings) { settings.animationValue = GeneralSettings::boolText(checked); });
    });
    connect(m_sound, &QCheckBox::clicked, this, [this](bool checked) {
        change([checked](GeneralSettings &settings) { settings.soundValue = GeneralSettings::boolText(checked); });
    });
    connect(m_privacy, &QCheckBox::clicked, this, [this](bool checked) {
        change([checked](GeneralSettings &settings) { settings.privacyChecked = checked; });
    });
    connect(m_background, &QComboBox::activated, this, [this](int entry) {
        const QString configFile = m_document.state().configFilePath;
        change([entry, configFile](GeneralSettings &settings) {
            settings.selectBackground(GeneralSettings::Background(entry), configFile);
        });
    });
    connect(m_swatch, &QPushButton::clicked, this, &GeneralPage::chooseColor);
}

void GeneralPage::showSettings()
{
    const GeneralSettings &settings = m_document.settings();
    m_systemTray->setHidden(!settings.trayAvailable);
    const int resolution = settings.resolutionIndex;
    // An index outside the list leaves it without a selection; the index is kept as read.
    m_resolution->setCurrentIndex(resolution >= 0 && resolution < GeneralSettings::resolutionCount ? resolution : -1);
    m_systemTray->setChecked(GeneralSettings::isTrue(settings.systemTrayValue));
    m_animation->setChecked(GeneralSettings::isTrue(settings.animationValue));
    m_sound->setChecked(GeneralSettings::isTrue(settings.soundValue));
    m_privacy->setChecked(settings.privacyChecked);
    m_swatch->setColor(settings.color);
    m_background->setCurrentIndex(settings.background);
}

void GeneralPage::chooseColor()
{
    // The chooser opens on the colour the text has now.
    const std::optional<QColor> chosen = ui::modals().chooseColor(this, m_document.settings().color);
    if (!chosen)
        return;
    change([&chosen](GeneralSettings &settings) { settings.setChosenColor(*chosen); });
}

void GeneralPage::change(const std::function<void(GeneralSettings &)> &edit)
{
    GeneralSettings settings = m_document.settings();
    edit(settings);
    m_document.undoStack().push(new document::ChangeSettingsCommand(m_document, settings));
}

} // namespace pages
