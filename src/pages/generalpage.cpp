#include "generalpage.h"

#include "colorswatchbutton.h"
#include "config/texts.h"
#include "packages/packagestate.h"
#include "platform/modal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <cstring>

namespace pages {
namespace {

QString text(const QString &key)
{
    return config::lookupText(QStringLiteral("TEXT"), key);
}

template <typename Control>
Control *named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

} // namespace

GeneralPage::GeneralPage(packages::PackageState &state, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    auto *options = new QGroupBox(text(QStringLiteral("TAB3")), this);
    m_resolution = named(new QComboBox(options), "resolution");
    for (int entry = 0; entry < GeneralSettings::resolutionCount; ++entry)
        m_resolution->addItem(text(QStringLiteral("RES%1TEXT").arg(entry)));
    m_systemTray = named(new QCheckBox(text(QStringLiteral("SYSTRAYTEXT")), options), "systemTray");
    const QString privacyText = text(QStringLiteral("ASKPRVINFOTEXT"));
    m_privacy = named(new QCheckBox(privacyText, options), "privacy");
    m_privacy->setHidden(privacyText.isEmpty());
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
        m_background->addItem(config::lookupText(QStringLiteral("Backgrounds"), QLatin1String(key)));

    auto *looksLayout = new QFormLayout(looks);
    looksLayout->addRow(new QLabel(text(QStringLiteral("FONT_COLOR")), looks), m_swatch);
    looksLayout->addRow(new QLabel(text(QStringLiteral("BGTEXT")), looks), m_background);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(options);
    layout->addWidget(looks);
    layout->addStretch();

    m_settings.open(m_state.configFilePath, privacyOffered());
    m_systemTray->setHidden(!m_settings.trayAvailable);
    showSettings();

    // Only the user's own actions reach these: the page's own filling of the controls does not.
    connect(m_resolution, &QComboBox::activated, this, [this](int entry) {
        m_settings.resolutionIndex = entry;
        changed();
    });
    connect(m_systemTray, &QCheckBox::clicked, this, [this](bool checked) {
        m_settings.systemTrayValue = GeneralSettings::boolText(checked);
        changed();
    });
    connect(m_animation, &QCheckBox::clicked, this, [this](bool checked) {
        m_settings.animationValue = GeneralSettings::boolText(checked);
        changed();
    });
    connect(m_sound, &QCheckBox::clicked, this, [this](bool checked) {
        m_settings.soundValue = GeneralSettings::boolText(checked);
        changed();
    });
    connect(m_privacy, &QCheckBox::clicked, this, [this](bool checked) {
        m_settings.privacyChecked = checked;
        changed();
    });
    connect(m_background, &QComboBox::activated, this, [this](int entry) {
        m_settings.selectBackground(GeneralSettings::Background(entry), m_state.configFilePath);
        changed();
    });
    connect(m_swatch, &QPushButton::clicked, this, &GeneralPage::chooseColor);
}

void GeneralPage::reloadSettings()
{
    m_settings.reload(m_state.configFilePath, privacyOffered());
    showSettings();
}

void GeneralPage::loadOemDefaults()
{
    m_settings.loadOemDefaults(m_state.configFilePath);
    showSettings();
}

bool GeneralPage::saveSettings()
{
    const GeneralSettings::SaveOutcome outcome = m_settings.save(m_state.configFilePath);
    if (outcome.registryError != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(outcome.registryError));
        platform::modals().message(this, {QStringLiteral("Error #: %1.  %2").arg(outcome.registryError).arg(reason),
                                          QStringLiteral("Error"), platform::MessageStyle::OkInformation});
    }
    return outcome.fileWritten;
}

void GeneralPage::showSettings()
{
    const int resolution = m_settings.resolutionIndex;
    // An index outside the list leaves it without a selection; the index is kept as read.
    m_resolution->setCurrentIndex(resolution >= 0 && resolution < GeneralSettings::resolutionCount ? resolution : -1);
    m_systemTray->setChecked(GeneralSettings::isTrue(m_settings.systemTrayValue));
    m_animation->setChecked(GeneralSettings::isTrue(m_settings.animationValue));
    m_sound->setChecked(GeneralSettings::isTrue(m_settings.soundValue));
    m_privacy->setChecked(m_settings.privacyChecked);
    m_swatch->setColor(m_settings.color);
    m_background->setCurrentIndex(m_settings.background);
}

bool GeneralPage::privacyOffered() const
{
    return !m_privacy->isHidden();
}

void GeneralPage::chooseColor()
{
    const std::optional<QColor> chosen = platform::modals().chooseColor(this, QColor());
    if (!chosen)
        return;
    m_settings.setChosenColor(*chosen);
    m_swatch->setColor(m_settings.color);
    changed();
}

void GeneralPage::changed()
{
    m_state.markModified();
}

} // namespace pages
