#pragma once
// The settings store on QSettings: organisation "Korvane", application "Feldra", one group per
// key. On Windows these are the registry keys \Software\Korvane\Feldra\Base, \...\Midi and
// \...\EdtOpt under the current user; elsewhere an INI file in the user's configuration folder.

#include <memory>
#include <string>

#include "platform/SettingsStore.h"

class QSettings;

namespace platform {

class QtSettingsStore final : public SettingsStore {
public:
    // The current user's settings.
    QtSettingsStore();
    // The settings in the given INI file instead (tests point this at a temporary folder).
    explicit QtSettingsStore(const std::string& iniPath);

    std::unique_ptr<SettingsKey> OpenForReading(std::string_view key) override;
    std::unique_ptr<SettingsKey> OpenForWriting(std::string_view key) override;

    // Where the values live: the INI file's path or the registry path.
    std::string Location() const;

private:
    std::unique_ptr<QSettings> Open() const;

    std::string iniPath_;  // empty: the user's settings
};

}  // namespace platform
