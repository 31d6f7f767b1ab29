#include "filecommands.h"

#include "config/texts.h"
#include "languagefiles.h"
#include "packagepages.h"
#include "packagestate.h"
#include "packagestore.h"
#include "platform/files.h"
#include "platform/modal.h"

#include <QDir>
#include <QFileInfo>

namespace packages {
namespace {

const QString markerSuffix = QStringLiteral(".pkg");
const QString customizedFilter = QStringLiteral("Customized Files (*") + markerSuffix + QLatin1Char(')');

QString withMarkerSuffix(const QString &name)
{
    return name.endsWith(markerSuffix, Qt::CaseInsensitive) ? name : name + markerSuffix;
}

QString parentOf(const QString &path)
{
    return path.left(qMax(0, int(path.lastIndexOf(QLatin1Char('/')))));
}

QString lastComponent(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// A folder that already holds a package's files.
bool holdsPackage(const QString &directory)
{
    const QDir dir(directory);
    return dir.exists(QStringLiteral("machine-specifics.csv")) || dir.exists(QStringLiteral("access-config.ini"))
           || !dir.entryList({QLatin1Char('*') + markerSuffix}, QDir::Files).isEmpty();
}

} // namespace

FileCommands::FileCommands(PackageState &state, PackagePages &pages, QWidget *parent, std::function<void()> runBuild)
    : m_state(state), m_pages(pages), m_parent(parent), m_runBuild(std::move(runBuild))
{
}

bool FileCommands::refuseEmptyCompanyName()
{
    if (!m_pages.companyName().isEmpty())
        return false;
    config::showTextMessage(m_parent, QStringLiteral("MESSAGES"), QStringLiteral("COMPANYEMPTY"),
                            QStringLiteral("MESSAGES"), QStringLiteral("ERROR"), platform::MessageStyle::Ok);
    return true;
}

bool FileCommands::markerExists() const
{
    return QFileInfo::exists(m_state.packageDir + QLatin1Char('/') + m_state.packageName);
}

void FileCommands::newCommand()
{
    if (m_state.isModified) {
        const auto answer = config::showTextMessage(m_parent, QStringLiteral("MESSAGES"), QStringLiteral("SAVECHANGE"),
                                                    QStringLiteral("TEXT"), QStringLiteral("CONFIRMATION"),
                                                    platform::MessageStyle::YesNoCancel);
        if (answer == platform::MessageButton::Cancel)
            return;
        // Whatever the save does (a refusal, a cancelled dialog), a new package follows.
        if (answer == platform::MessageButton::Yes)
            markerExists() ? savePackage() : savePackageAs();
    }
    newPackage();
}

void FileCommands::newPackage()
{
    createUntitledPackage(m_state);
    m_pages.clearCompanyName();
    m_pages.reloadMenuPage();
    m_pages.loadOemDefaults();
    m_state.updateTitle(lastComponent(m_state.packageDir));
    m_state.clearModified();
}

void FileCommands::openCommand()
{
    platform::FileDialogRequest request;
    request.directory = m_state.packageDir;
    request.fileName = QLatin1Char('*') + markerSuffix;
    request.filters = QStringList{customizedFilter, QStringLiteral("All Files (*.*)")};
    const std::optional<QString> chosen = platform::modals().openFile(m_parent, request);
    if (!chosen)
        return;

    // The chosen package must pass its check before anything of the open one is given up.
    const QString previousDir = m_state.packageDir;
    const QString previousName = m_state.packageName;
    const bool previousUntitled = m_state.isUntitled;

    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(*chosen));
    m_state.packageDir = path;
    m_state.packageName = lastComponent(path);
    if (path.endsWith(markerSuffix, Qt::CaseInsensitive))
        m_state.packageDir = parentOf(path);
    m_state.setPackagePaths();
    if (!m_state.packageIsComplete()) {
        m_state.packageDir = previousDir;
        m_state.packageName = previousName;
        m_state.setPackagePaths();
        platform::modals().message(m_parent, {QStringLiteral("Configuration files are corrupted."),
                                              QStringLiteral("Error"), platform::MessageStyle::Ok});
        return;
    }
    if (previousUntitled && QFileInfo(previousDir) != QFileInfo(m_state.packageDir))
        removePackageDir(previousDir);

    reloadPages();
    m_state.updateTitle(m_state.packageName);
    m_state.isUntitled = false;
}

void FileCommands::reloadPages()
{
    m_pages.reloadCompanyName();
    m_pages.reloadMenuPage();
    m_pages.reloadSettings();
    m_state.updateTitle();
    m_state.clearModified();
}

bool FileCommands::savePackage()
{
    if (refuseEmptyCompanyName())
        return false;
    if (QFileInfo::exists(m_state.markerPath())) {
        m_runBuild();
        return true;
    }
    return savePackageAs();
}

QString FileCommands::resolveSaveAsDirectory(QString base, const QString &name) const
{
    // Chosen inside the open package (one of its language folders): place the new one beside it.
    if (base == m_state.packageDir)
        base = parentOf(base);
    const QString stem = name.left(name.size() - markerSuffix.size());
    return lastComponent(base) != stem ? base + QLatin1Char('/') + stem : base;
}

bool FileCommands::savePackageAs()
{
    if (refuseEmptyCompanyName())
        return false;
    m_state.packageName = withMarkerSuffix(m_state.packageName);

    platform::FileDialogRequest request;
    request.directory = m_state.packageDir;
    request.fileName = QLatin1Char('*') + markerSuffix;
    request.filters = QStringList{customizedFilter};
    const std::optional<QString> chosen = platform::modals().saveFile(m_parent, request);
    if (!chosen)
        return false;

    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(*chosen));
    const QString typed = lastComponent(path);
    const QString base = parentOf(parentOf(path));   // the parent of the folder the name was chosen in
    const QString name = withMarkerSuffix(typed);
    const QString packageDir = resolveSaveAsDirectory(base, name);
    const bool samePackage = QFileInfo(packageDir) == QFileInfo(m_state.packageDir);

    // Another package's files are never replaced without asking, however the name was typed.
    const bool exists = QFileInfo::exists(base + QLatin1Char('/') + typed) || (!samePackage && holdsPackage(packageDir));
    if (exists) {
        const auto answer = platform::modals().message(
            m_parent, {name + QLatin1Char(' ') + config::lookupText(QStringLiteral("MESSAGES"), QStringLiteral("FILEXISTS")),
                       QStringLiteral("Save as"), platform::MessageStyle::OkCancel});
        if (answer != platform::MessageButton::Ok)
            return false;
    }
    QDir().mkpath(packageDir);
    createLanguageDirs(packageDir, 0, false);

    copyPackageFiles(m_state.packageDir, packageDir);
    // The untitled package gives way to the new one, unless the new one lies within it.
    if (m_state.isUntitled && !samePackage && !platform::isInsideDirectory(packageDir, m_state.packageDir))
        removePackageDir(m_state.packageDir);
    m_state.packageDir = packageDir;
    m_state.packageName = name;
    m_runBuild();
    return true;
}

bool FileCommands::exitCommand()
{
    if (!m_state.isModified) {
        if (m_state.isUntitled)
            removePackageDir(m_state.packageDir);
        return true;
    }
    const auto answer = config::showTextMessage(m_parent, QStringLiteral("MESSAGES"), QStringLiteral("SAVECHANGE"),
                                                QStringLiteral("TEXT"), QStringLiteral("CONFIRMATION"),
                                                platform::MessageStyle::YesNoCancel);
    if (answer == platform::MessageButton::Cancel)
        return false;
    if (answer == platform::MessageButton::Yes) {
        if (refuseEmptyCompanyName())
            return false;
        m_runBuild();   // an untitled package is built under its own name, without a dialog
    }
    return true;
}

bool FileCommands::escapeCommand()
{
    return m_state.isModified ? exitCommand() : true;
}

} // namespace packages
