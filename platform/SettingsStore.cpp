#include "platform/SettingsStore.h"

#include "platform/MemorySettings.h"

namespace platform {
namespace {

MemorySettings& FallbackStore() {
    static MemorySettings store;
    return store;
}

SettingsStore* currentStore = nullptr;

}  // namespace

SettingsStore& Settings() { return currentStore ? *currentStore : FallbackStore(); }

void SetSettings(SettingsStore* store) { currentStore = store; }

SettingsReader::SettingsReader(std::string_view key, SettingsStore& store)
    : key_(store.OpenForReading(key)) {}

bool SettingsReader::Next(std::string_view name, std::int32_t& value) {
    if (!key_) return false;
    const std::optional<std::int32_t> read = key_->ReadInt(name);
    if (!read) {
        key_.reset();
        return false;
    }
    value = *read;
    return true;
}

int WriteSettings(std::string_view key, std::span<const SettingValue> values, SettingsStore& store) {
    const std::unique_ptr<SettingsKey> opened = store.OpenForWriting(key);
    if (!opened) return 0;
    int written = 0;
    for (const SettingValue& v : values) {
        if (!opened->WriteInt(v.name, v.value)) break;
        ++written;
    }
    return written;
}

}  // namespace platform
