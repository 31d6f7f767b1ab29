#include "filecommands.h"

#include "texts/texts.h"
#include "ui/textmessage.h"
#include "dialogs/buildprogressdialog.h"
#include "document/packagedocument.h"
#include "packages/packagestore.h"
#include "ui/modal.h"

#include <QDir>
#include <QFileInfo>
#include <cstring>

namespace app {

using namespace packages;

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

FileCommands::FileCommands(document::PackageDocument &document, QWidget *parent)
    : m_document(document), m_parent(parent)
{
}

PackageState &FileCommands::state()
{
    return m_document.state();
}

bool FileCommands::refuseEmptyCompanyName()
{
    if (!m_document.companyName().isEmpty())
        return false;
    ui::showTextMessage(m_parent, QStringLiteral("MESSAGES"), QStringLiteral("COMPANYEMPTY"),
                            QStringLiteral("MESSAGES"), QStringLiteral("ERROR"), ui::MessageStyle::Ok);
    return true;
}

bool FileCommands::markerExists() const
{
    const PackageState &state = m_document.state();
    return QFileInfo::exists(state.packageDir + QLatin1Char('/') + state.packageName);
}

bool FileCommands::settleUnsavedChanges(bool exiting)
{
    if (!m_document.isModified())
        return true;
    const auto answer = ui::showTextMessage(m_parent, QStringLiteral("MESSAGES"), QStringLiteral("SAVECHANGE"),
                                                QStringLiteral("TEXT"), QStringLiteral("CONFIRMATION"),
                                                ui::MessageStyle::YesNoCancel);
    if (answer != ui::MessageButton::Yes)
        return answer == ui::MessageButton::No;
    if (!exiting)
        return markerExists() ? savePackage() : savePackageAs();
    // On the way out an untitled package is built under its own name, without a dialog.
    return !refuseEmptyCompanyName() && runBuild();
}

void FileCommands::newCommand()
{
    if (settleUnsavedChanges(false))
        newPackage();
}

void FileCommands::newPackage()
{
    createUntitledPackage(state());
    m_document.loadNewPackage();
}

void FileCommands::openCommand()
{
    ui::FileDialogRequest request;
    request.directory = state().packageDir;
    request.fileName = QLatin1Char('*') + markerSuffix;
    request.filters = QStringList{customizedFilter, QStringLiteral("All Files (*.*)")};
    if (!settleUnsavedChanges(false))
        return;
    const std::optional<QString> chosen = ui::modals().openFile(m_parent, request);
    if (!chosen)
        return;

    // The chosen package must pass its check before anything of the open one is given up.
    const PackageState previous = state();
    state().setLocation(*chosen);
    if (!state().packageIsComplete()) {
        // The files it lacks are named, so the user knows which folder was taken for the package.
        const QString missing = state().missingFiles().join(QLatin1Char('\n'));
        state() = previous;
        ui::modals().message(m_parent, {QStringLiteral("Configuration files are corrupted.\n\n") + missing,
                                              QStringLiteral("Error"), ui::MessageStyle::Ok});
        return;
    }
    if (previous.isUntitled)
        removeUntitledPackage(previous.packageDir, state().packageDir);
    state().isUntitled = false;
    m_document.load();
}

bool FileCommands::savePackage()
{
    if (refuseEmptyCompanyName())
        return false;
    if (QFileInfo::exists(state().markerPath()))
        return runBuild();
    return savePackageAs();
}

QString FileCommands::resolveSaveAsDirectory(QString base, const QString &name) const
{
    // Chosen inside the open package (one of its language folders): place the new one beside it.
    if (base == m_document.state().packageDir)
        base = parentOf(base);
    const QString stem = name.left(name.size() - markerSuffix.size());
    return lastComponent(base) != stem ? base + QLatin1Char('/') + stem : base;
}

bool FileCommands::savePackageAs()
{
    if (refuseEmptyCompanyName())
        return false;
    state().packageName = withMarkerSuffix(state().packageName);

    ui::FileDialogRequest request;
    request.directory = state().packageDir;
    request.fileName = QLatin1Char('*') + markerSuffix;
    request.filters = QStringList{customizedFilter};
    const std::optional<QString> chosen = ui::modals().saveFile(m_parent, request);
    if (!chosen)
        return false;

    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(*chosen));
    const QString typed = lastComponent(path);
    const QString base = parentOf(parentOf(path));   // the parent of the folder the name was chosen in
    const QString name = withMarkerSuffix(typed);
    const QString packageDir = resolveSaveAsDirectory(base, name);
    const bool samePackage = QFileInfo(packageDir) == QFileInfo(state().packageDir);

    // Another package's files are never replaced without asking, however the name was typed.
    const bool exists = QFileInfo::exists(base + QLatin1Char('/') + typed) || (!samePackage && holdsPackage(packageDir));
    if (exists) {
        const auto answer = ui::modals().message(
            m_parent, {name + QLatin1Char(' ') + texts::lookupText(QStringLiteral("MESSAGES"), QStringLiteral("FILEXISTS")),
                       QStringLiteral("Save as"), ui::MessageStyle::OkCancel});
        if (answer != ui::MessageButton::Ok)
            return false;
    }
    m_document.copyInto(packageDir, name);
    return runBuild();
}

bool FileCommands::exitCommand()
{
    if (!m_document.isModified()) {
        if (state().isUntitled)
            removeUntitledPackage(state().packageDir);
        return true;
    }
    return settleUnsavedChanges(true);
}

bool FileCommands::escapeCommand()
{
    return m_document.isModified() ? exitCommand() : true;
}

bool FileCommands::runBuild()
{
    packages::BuildResult result;
    // Not a question to the user: the dialog closes itself when the build is done.
    dialogs::BuildProgressDialog progress(m_parent, [&] { result = m_document.build(); });
    progress.exec();
    if (result.registryError != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(result.registryError));
        ui::modals().message(m_parent, {QStringLiteral("Error #: %1.  %2").arg(result.registryError).arg(reason),
                                              QStringLiteral("Error"), ui::MessageStyle::OkInformation});
    }
    if (!result.succeeded())
        ui::modals().message(
            m_parent, {texts::lookupText(QStringLiteral("MESSAGES"), QStringLiteral("BUILDERROR"))
                           + QStringLiteral("\n\n") + result.failures.join(QLatin1Char('\n')),
                       texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("ERROR")), ui::MessageStyle::Ok});
    return result.succeeded();
}

} // namespace app
