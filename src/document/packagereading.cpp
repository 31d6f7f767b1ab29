#include "packagereading.h"

namespace document {

PackageReading::PackageReading(const packages::PackageState &state)
    : m_textFilePath(state.textFilePath), m_machineFilePath(state.machineFilePath)
{
    m_texts = std::async(std::launch::async, [path = m_textFilePath] {
        ini::ProfileSnapshot file(path);
        auto record = std::make_unique<records::ConfigRecord>(path);
        record->loadTexts(file.reader());
        return std::make_shared<ReadTexts>(ReadTexts{std::move(file), std::move(record)});
    }).share();
    m_menus = std::async(std::launch::async, [path = m_machineFilePath, texts = m_texts] {
        ini::ProfileSnapshot file(path);
        MainMenus menus = Menus::readMainMenus(file.reader());
        Menus::takeEntryTexts(menus, *texts.get()->record);   // only reads the record
        return ReadMenus{std::move(file), std::move(menus)};
    });
}

bool PackageReading::reads(const packages::PackageState &state) const
{
    return state.textFilePath == m_textFilePath && state.machineFilePath == m_machineFilePath;
}

std::unique_ptr<records::ConfigRecord> PackageReading::takeTextRecord()
{
    m_menus.wait();   // the menus' thread is done with the record
    ReadTexts &read = *m_texts.get();
    if (!ini::adoptProfileSnapshot(std::move(read.file)))
        return nullptr;
    ++m_takenAsRead;
    return std::move(read.record);
}

std::optional<MainMenus> PackageReading::takeMenus()
{
    ReadMenus read = m_menus.get();
    if (!ini::adoptProfileSnapshot(std::move(read.file)))
        return std::nullopt;
    ++m_takenAsRead;
    return std::move(read.menus);
}

} // namespace document
