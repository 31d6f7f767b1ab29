#include "packagedocument.h"

#include "companytitle.h"
#include "menuwriter.h"

#include "records/fields.h"
#include "records/linelength.h"
#include "texts/texts.h"
#include "packages/languagefiles.h"
#include "packages/packagestore.h"
#include "ini/confinedfolder.h"
#include "ini/profile.h"
#include "platform/programdir.h"

#include <QDir>

namespace document {
namespace {

const QString titleSection = QStringLiteral("Access Text");
const QString titleKey = QStringLiteral("TITLE");

} // namespace

PackageDocument::PackageDocument(QObject *parent)
    : QObject(parent),
      m_textRecord(std::make_unique<records::ConfigRecord>(QString())),
      m_configRecord(std::make_unique<records::ConfigRecord>(QString())),
      m_defaultConfigRecord(std::make_unique<records::ConfigRecord>(QString()))
{
    connect(&m_undoStack, &QUndoStack::cleanChanged, this, [this] { emit titleChanged(windowTitle()); });
}

PackageDocument::~PackageDocument() = default;

void PackageDocument::load(std::unique_ptr<PackageReading> reading)
{
    // One operation: each file is compared with the disk once, however many keys are read.
    ini::ProfileBatch batch;
    // The menus first: the company name is read from the text file they take over.
    loadMenus(std::move(reading));
    loadCompanyName();
    if (m_settingsOpened) {
        m_settings.reload(m_state.configFilePath, privacyOffered());
    } else {
        m_settings.open(m_state.configFilePath, privacyOffered());
        m_settingsOpened = true;
    }
    finishLoading();
}

void PackageDocument::loadReadOnly()
{
    ini::ProfileBatch batch;   // no edit is made: its commit writes nothing
    loadMenus(nullptr);
    loadCompanyName();
    m_settings.open(m_state.configFilePath, false);
    m_settingsOpened = true;
    finishLoading();
}

void PackageDocument::loadNewPackage()
{
    ini::ProfileBatch reading;
    // The title's prefix stays as it was: a new package starts from the default package's texts.
    m_companyName.clear();
    loadMenus(nullptr);
    m_settings.loadOemDefaults(m_state.configFilePath);
    finishLoading();
}

void PackageDocument::finishLoading()
{
    m_undoStack.clear();
    emit loaded();
    emit companyNameChanged(m_companyName);
    emit settingsChanged();
    emit titleChanged(windowTitle());
}

void PackageDocument::loadCompanyName()
{
    const QString title = ini::readProfileString(m_state.textFilePath, titleSection, titleKey);
    m_customizedWord = texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("CUSTOMIZED"));
    const CompanyTitle parts = splitCompanyTitle(title, m_customizedWord);
    m_titlePrefix = parts.prefix;
    m_companyName = parts.name;
}

void PackageDocument::loadMenus(std::unique_ptr<PackageReading> reading)
{
    // The two large files are read on threads of their own while the small ones are read here.
    if (!reading || !reading->reads(m_state))
        reading = std::make_unique<PackageReading>(m_state);
    m_configRecord = std::make_unique<records::ConfigRecord>(m_state.configFilePath);
    m_configRecord->loadOptions();
    // Without an install directory there is no default package to take the looks from.
    const QString defaultDir = packages::defaultPackageDir();
    m_defaultConfigRecord = std::make_unique<records::ConfigRecord>(
        defaultDir.isEmpty() ? QString() : defaultDir + QStringLiteral("/access-config.ini"));
    m_defaultConfigRecord->loadOptions();

    // A file changed since its thread read it is read again.
    m_textRecord = reading->takeTextRecord();
    if (!m_textRecord) {
        m_textRecord = std::make_unique<records::ConfigRecord>(m_state.textFilePath);
        m_textRecord->loadTexts();
    }
    std::optional<MainMenus> menus = reading->takeMenus();
    if (!menus)
        menus = Menus::readMainMenus(ini::profileReader(m_state.machineFilePath));
    m_itemModel.resetMenus(std::move(*menus), *m_textRecord, *m_configRecord, reading->entryTexts());
    setCurrentItem(nullptr);
}

void PackageDocument::setCurrentItem(const CItem *item)
{
    m_selection.setCurrentIndex(m_itemModel.indexOf(item), QItemSelectionModel::ClearAndSelect);
}

void PackageDocument::setCompanyName(const QString &name)
{
    if (name == m_companyName)
        return;
    m_companyName = name;
    emit companyNameChanged(name);
}

void PackageDocument::setSettings(const GeneralSettings &settings)
{
    m_settings = settings;
    emit settingsChanged();
}

bool PackageDocument::privacyOffered()
{
    return !texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("ASKPRVINFOTEXT")).isEmpty();
}

void PackageDocument::setPackageName(const QString &name)
{
    m_state.packageName = name;
    emit titleChanged(windowTitle());
}

void PackageDocument::copyInto(const QString &packageDir, const QString &name)
{
    // The folder the user named for the package (a link on its way is the user's to make);
    // everything below it is reached through it, never through a link.
    QDir().mkpath(packageDir);
    ini::ConfinedFolder destination(packageDir);
    packages::createLanguageDirs(destination);
    packages::copyPackageFiles(m_state.packageDir, destination);
    if (m_state.isUntitled)
        packages::removeUntitledPackage(m_state.packageDir, packageDir);
    m_state.packageDir = packageDir;
    setPackageName(name);
}

bool PackageDocument::writeCompanyName()
{
    // Formed from the name as typed at every build, so two builds in a row store the same title.
    const QString title = joinCompanyTitle(m_titlePrefix, m_companyName, m_customizedWord);
    return ini::writeProfileString(m_state.textFilePath, titleSection, titleKey, title);
}

QList<PackageDocument::RecordTextFault>
PackageDocument::recordTextFaults(const std::function<bool(const QString &key)> &leftOut) const
{
    const auto kept = [&](const records::ConfigEntry &entry) { return !leftOut || !leftOut(entry.key); };
    QList<RecordTextFault> faults;
    for (const records::ConfigRecord *record : {m_textRecord.get(), m_configRecord.get()})
        for (const records::ConfigEntry &entry : record->unstorableEntries())
            if (kept(entry))
                faults.append({RecordTextFault::Kind::Unstorable, record, entry});
    for (const records::ConfigRecord *record : {m_textRecord.get(), m_configRecord.get()})
        for (const QList<records::ConfigEntry> *entries : {&record->textEntries(), &record->optionEntries()})
            for (const records::ConfigEntry &entry : *entries)
                if (!entry.unused && kept(entry) && records::textLineRoom(entry.key, entry.value) < 0)
                    faults.append({RecordTextFault::Kind::Overlong, record, entry});
    return faults;
}

QString PackageDocument::companyTitle() const
{
    const QString stored = joinCompanyTitle(m_titlePrefix, m_companyName, m_customizedWord);
    return stored.mid(1, stored.size() - 2);   // always in one pair of quotes
}

bool PackageDocument::companyTitleFits() const
{
    return joinCompanyTitle(m_titlePrefix, m_companyName, m_customizedWord).size() <= records::LineCapacity;
}

QStringList PackageDocument::unstorableTexts() const
{
    QStringList texts;
    for (const RecordTextFault &fault : recordTextFaults())
        if (fault.kind == RecordTextFault::Kind::Unstorable)
            texts << fault.entry.value;
    // A location is a field of its entry's line.
    const std::function<void(const ItemList &)> addLocations = [&](const ItemList &items) {
        for (const CItem *item : items) {
            if (!records::isStorable(item->location()))
                texts << item->location();
            addLocations(item->entries());
        }
    };
    addLocations(m_menus.mainMenus());
    return texts;
}

QStringList PackageDocument::overlongTexts() const
{
    QStringList texts;
    for (const RecordTextFault &fault : recordTextFaults())
        if (fault.kind == RecordTextFault::Kind::Overlong)
            texts << fault.entry.value;
    // An entry's line holds its location among its other fields.
    const std::function<void(const ItemList &)> addEntries = [&](const ItemList &items) {
        for (const CItem *item : items) {
            if (item->toLine().size() > records::LineCapacity)
                texts << item->location();
            addEntries(item->entries());
        }
    };
    for (const CItem *menu : m_menus.mainMenus())
        addEntries(menu->entries());
    if (!companyTitleFits())
        texts << m_companyName;
    return texts;
}

GeneralSettings::SaveOutcome PackageDocument::writeSettings()
{
    return m_settings.save(m_state.configFilePath);
}

packages::BuildResult PackageDocument::build()
{
    packages::BuildResult result;
    m_state.setPackagePaths();
    const QString shown = QDir::toNativeSeparators(m_state.packageDir);
    if (packages::isDefaultPackage(m_state.packageDir)) {
        result.failures << tr("%1: the default package, the source of every new package, is never built").arg(shown);
        return result;
    }
    if (packages::isInstallDirectory(m_state.packageDir)) {
        result.failures << tr("%1: the installation of Access Kavo itself, not a package, is never built").arg(shown);
        return result;
    }
    // A file lost since the package was read would come back as a stub of what the pages hold,
    // and be copied over every language: the package is left as it is, the changes kept.
    if (const QStringList missing = m_state.missingFiles(); !missing.isEmpty()) {
        result.failures << tr("%1 is no longer a complete package; missing: %2").arg(shown, missing.join(QStringLiteral(", ")));
        return result;
    }

    // Every file of the package is reached through the folder opened here, never through a link.
    ini::ConfinedFolder package(m_state.packageDir);
    bool written = false;
    {
        // Every INI file the build touches is edited in memory, and all the files are written in
        // one transaction when the batch commits.
        ini::ProfileBatch batch;
        storeMenuTexts(m_menus, *m_textRecord, *m_configRecord);
        m_textRecord->save(m_state.textFilePath);
        writeCompanyName();
        m_configRecord->save(m_state.configFilePath);
        writeMenuFile(m_menus, m_state.machineFilePath, platform::programDirectory());
        result.registryError = writeSettings().registryError;
        packages::raiseVersion(m_state);
        for (const ini::FileFailure &file : batch.refusedEdits())
            result.failures << packages::notWrittenFailure(file.path, file.reason);
        // A text longer than its line would come back cut, and with it what follows on the line.
        const QStringList overlong = overlongTexts();
        for (const QString &text : overlong)
            result.failures << tr("the text \"%1\": longer than a line of the file holds (%2 characters at most); "
                                  "Access Kavo would read it cut")
                                   .arg(text.left(60) + (text.size() > 60 ? QStringLiteral("…") : QString()))
                                   .arg(records::LineCapacity);
        batch.commit([&](const QList<ini::FileBytes> &changed) {
            written = overlong.isEmpty() && packages::writeBuildFiles(m_state, package, changed, result);
            QStringList unwritten;
            if (!written)
                for (const ini::FileBytes &file : changed)   // one transaction: none was written
                    unwritten << file.path;
            return unwritten;
        });
    }
    if (written) {
        packages::finishBuild(m_state, package);
        m_state.isUntitled = false;
    }
    // Written all the same: the user is told, and can change them and save again.
    for (const QString &text : unstorableTexts())
        result.failures << tr("the text \"%1\": Access Kavo would read its double quotes otherwise").arg(text);
    // What could not be written is still unsaved: the package stays modified, so leaving it asks.
    result.failures.removeDuplicates();
    if (result.succeeded())
        m_undoStack.setClean();
    emit titleChanged(windowTitle());
    return result;
}

} // namespace document
