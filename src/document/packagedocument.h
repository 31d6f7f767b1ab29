#pragma once
// The open package as one document, without widgets: where it lives, the company name, the
// general settings, and the menus with the three configuration records they are read with. It
// reads a package, builds it (saving is building), and keeps every change the user makes as one
// step on its undo stack, so the package is modified exactly when the stack is away from the
// state last read or built. The pages and the menu tree are views of it; the command-line build
// uses it with no window at all.
#include "generalsettings.h"
#include "menuitemmodel.h"
#include "packagereading.h"

#include "records/configrecord.h"
#include "packages/build.h"
#include "packages/packagestate.h"

#include <QItemSelectionModel>
#include <QObject>
#include <QUndoStack>
#include <functional>
#include <memory>

namespace document {

class PackageDocument : public QObject {
    Q_OBJECT
public:
    explicit PackageDocument(QObject *parent = nullptr);
    ~PackageDocument() override;

    // Where the package lives. Whoever moves the document to another package (the package store,
    // the file commands) fills it, then calls load() or loadNewPackage().
    packages::PackageState &state() { return m_state; }
    const packages::PackageState &state() const { return m_state; }

    // Reads everything the open package holds: the company name, the menus with their records
    // and the general settings. The undo history is forgotten; the package is unmodified. What
    // a reading started earlier read of this package is taken rather than read again.
    void load(std::unique_ptr<PackageReading> reading = nullptr);
    // The same, touching nothing outside the package, for a reader that only looks (the
    // command-line check): the privacy option is not read, as reading it creates a missing value.
    void loadReadOnly();
    // A new package was just made: its menus, an empty company name and the settings the
    // configuration file keeps for new packages (section "OEM Defaults").
    void loadNewPackage();

    // The company name as the user typed it; an empty name refuses a save.
    QString companyName() const { return m_companyName; }
    void setCompanyName(const QString &name);
    // The front-end's title as the next build stores it ("Help Center customized by Contoso"),
    // without the quotes it is stored in.
    QString companyTitle() const;

    const GeneralSettings &settings() const { return m_settings; }
    void setSettings(const GeneralSettings &settings);
    // The privacy option is offered when the tool's texts hold its caption.
    static bool privacyOffered();

    Menus &menus() { return m_menus; }
    const Menus &menus() const { return m_menus; }
    // The menus for views; every change to their structure goes through it.
    MenuItemModel &itemModel() { return m_itemModel; }
    // The current node of the menus, which views show selected: the root after reading.
    QItemSelectionModel &selection() { return m_selection; }
    // The object of the current node; none for the root (or no current node).
    CItem *currentItem() const { return MenuItemModel::itemAt(m_selection.currentIndex()); }
    // Makes an object (the root for none) the current node.
    void setCurrentItem(const CItem *item);
    records::ConfigRecord &textRecord() { return *m_textRecord; }
    const records::ConfigRecord &textRecord() const { return *m_textRecord; }
    records::ConfigRecord &configRecord() { return *m_configRecord; }
    const records::ConfigRecord &configRecord() const { return *m_configRecord; }
    // The default package's configuration: the looks a new main menu starts with.
    records::ConfigRecord &defaultConfigRecord() { return *m_defaultConfigRecord; }

    QUndoStack &undoStack() { return m_undoStack; }
    bool isModified() const { return !m_undoStack.isClean(); }
    // The window title: the tool's title, the package's name, and a mark while modified.
    QString windowTitle() const { return m_state.windowTitle(isModified()); }
    // Shows another name of the package (Save As, New) in the title.
    void setPackageName(const QString &name);
    // The first half of Save As, once the place is chosen: the package's files are copied into
    // packageDir (made, with its language folders, when missing), which becomes the package's
    // folder under name; an untitled package's own folder goes. The build is the second half.
    void copyInto(const QString &packageDir, const QString &name);

    // Saving is building: the menus, the company title and the settings are written into the
    // package's files, the version is raised, "custom.bat" is written, the package is recorded
    // as the last one built, its text file is copied to all sixteen languages and the marker file
    // is written. Afterwards the package is no longer untitled; it counts as unmodified when
    // every file was written, and stays modified otherwise (the result says what failed). The
    // default package and the installation itself are never built, and no file is written
    // through a link out of the package.
    packages::BuildResult build();
    // Writing one part of the package into its files (the build writes them all). False, or an
    // outcome that says so, when a file could not be written.
    bool writeCompanyName();
    GeneralSettings::SaveOutcome writeSettings();

    // An entry of the text or configuration record that its file cannot keep as it is: no form of
    // a field gives its value back (its quotes), or its line would be longer than the front-end
    // reads back whole.
    struct RecordTextFault {
        enum class Kind { Unstorable, Overlong };
        Kind kind = Kind::Unstorable;
        const records::ConfigRecord *record = nullptr;
        records::ConfigEntry entry;
    };
    // The faults of every entry whose key leftOut does not take. The build names them once the
    // menus' texts are stored in the records; the package check leaves the menus' keys out, as
    // until the next build their texts are those the menus hold.
    QList<RecordTextFault> recordTextFaults(const std::function<bool(const QString &key)> &leftOut = {}) const;
    // Whether the title formed from the company name fits its line of the text file.
    bool companyTitleFits() const;

signals:
    // Everything was read again (another package, or a new one): views show it afresh.
    void loaded();
    void companyNameChanged(const QString &name);
    void settingsChanged();
    void titleChanged(const QString &title);

private:
    void loadCompanyName();
    void loadMenus(std::unique_ptr<PackageReading> reading);
    void finishLoading();
    // Texts of the package that no form of a field gives back as they are.
    QStringList unstorableTexts() const;
    // Texts whose lines would be longer than the front-end reads back whole.
    QStringList overlongTexts() const;

    packages::PackageState m_state;
    QString m_companyName;
    QString m_customizedWord;
    QString m_titlePrefix;
    GeneralSettings m_settings;
    bool m_settingsOpened = false;
    std::unique_ptr<records::ConfigRecord> m_textRecord;
    std::unique_ptr<records::ConfigRecord> m_configRecord;
    std::unique_ptr<records::ConfigRecord> m_defaultConfigRecord;
    Menus m_menus;
    MenuItemModel m_itemModel{m_menus};
    QItemSelectionModel m_selection{&m_itemModel};
    QUndoStack m_undoStack;
};

} // namespace document
