#pragma once
// What the package commands and the build ask of the three tab pages. The main dialog answers
// for its pages; the command-line build answers with pages it never shows.
#include <QString>

namespace packages {

class PackagePages {
public:
    virtual ~PackagePages() = default;

    // The company name as the user typed it (empty refuses a save).
    virtual QString companyName() const = 0;

    // Writing the package; each returns false when a file could not be written.
    virtual bool writeMenus() = 0;
    virtual bool saveCompanyName() = 0;
    virtual bool saveSettings() = 0;

    // After New: an empty company name, the menus and the default settings of the new package.
    virtual void clearCompanyName() = 0;
    virtual void loadOemDefaults() = 0;
    // After Open (and New): everything read again from the open package.
    virtual void reloadCompanyName() = 0;
    virtual void reloadMenuPage() = 0;
    virtual void reloadSettings() = 0;
};

} // namespace packages
