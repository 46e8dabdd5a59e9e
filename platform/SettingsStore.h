#pragma once
// The program's persistent settings: three keys ("Base", "Midi", "EdtOpt") of named 32-bit
// integer values. Windows read their values at creation in a fixed order, stopping at the first
// one that is missing; the main window writes every key once, when it closes.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace platform {

inline constexpr std::string_view kBaseKey = "Base";
inline constexpr std::string_view kMidiKey = "Midi";
inline constexpr std::string_view kEditorOptionsKey = "EdtOpt";

// One opened key.
class SettingsKey {
public:
    virtual ~SettingsKey() = default;
    // The value, or nothing when it is absent or not a 32-bit integer.
    virtual std::optional<std::int32_t> ReadInt(std::string_view name) = 0;
    // False when the value could not be stored.
    virtual bool WriteInt(std::string_view name, std::int32_t value) = 0;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Opens an existing key without creating it; nullptr when it does not exist or cannot be read.
    virtual std::unique_ptr<SettingsKey> OpenForReading(std::string_view key) = 0;
    // Opens or creates a key; nullptr when that fails.
    virtual std::unique_ptr<SettingsKey> OpenForWriting(std::string_view key) = 0;
};

// The store in use. Until one is installed it is an empty in-memory store, so nothing that runs
// without the program's start-up (tests, tools) can touch the user's settings.
SettingsStore& Settings();
// Installs a store (not owned); nullptr restores the in-memory fallback.
void SetSettings(SettingsStore* store);

// Reads one key's values in a fixed order. The first value that is missing or not an integer
// ends the reading: that call and every later one return false and leave their target alone.
class SettingsReader {
public:
    explicit SettingsReader(std::string_view key, SettingsStore& store = Settings());
    // True and value set when the reading is still going and the value exists.
    bool Next(std::string_view name, std::int32_t& value);
    // True once a value was missing (or the key could not be opened).
    bool Stopped() const { return !key_; }

private:
    std::unique_ptr<SettingsKey> key_;
};

struct SettingValue {
    std::string_view name;
    std::int32_t value;
};

// Writes values in the given order into a key opened or created for the purpose. A key that
// cannot be opened is skipped; the first failed write ends that key. Returns how many values
// were written.
int WriteSettings(std::string_view key, std::span<const SettingValue> values,
                  SettingsStore& store = Settings());
inline int WriteSettings(std::string_view key, std::initializer_list<SettingValue> values,
                         SettingsStore& store = Settings()) {
    return WriteSettings(key, std::span<const SettingValue>(values.begin(), values.size()), store);
}

}  // namespace platform
