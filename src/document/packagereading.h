#pragma once
// A package's two large files read side by side, each on a thread of its own: the text record
// from the text file and the menu tree from the menu file, whose thread then gives the entries
// their texts from the record, off the window's thread. The program starts reading the last
// package before it makes its window, and the document's load takes what was read; a load
// without such a start reads the same way, while it reads the small files itself.
#include "menus.h"

#include "records/configrecord.h"
#include "packages/packagestate.h"
#include "ini/profile.h"

#include <future>
#include <memory>
#include <optional>

namespace document {

class PackageReading {
public:
    explicit PackageReading(const packages::PackageState &state);

    // Whether it reads that package's files.
    bool reads(const packages::PackageState &state) const;

    // What was read, each taken once, waiting for its thread. The engine takes the file over;
    // nothing is given when the file changed since it was read, and the caller reads it again.
    std::unique_ptr<records::ConfigRecord> takeTextRecord();
    std::optional<MainMenus> takeMenus();
    // Whether the menus taken have their entries' texts: both files taken as they were read.
    Menus::EntryTexts entryTexts() const { return m_takenAsRead == 2 ? Menus::EntryTexts::Taken : Menus::EntryTexts::ToTake; }

private:
    struct ReadTexts {
        ini::ProfileSnapshot file;
        std::unique_ptr<records::ConfigRecord> record;
    };
    struct ReadMenus {
        ini::ProfileSnapshot file;
        MainMenus menus;
    };

    QString m_textFilePath;
    QString m_machineFilePath;
    // Shared with the menus' thread, which looks the entries' texts up in the record.
    std::shared_future<std::shared_ptr<ReadTexts>> m_texts;
    std::future<ReadMenus> m_menus;
    int m_takenAsRead = 0;   // files taken unchanged since their thread read them
};

} // namespace document
