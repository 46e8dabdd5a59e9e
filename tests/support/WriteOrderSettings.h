#pragma once
// A settings store for tests that remembers the order in which values were written, on top of
// the in-memory store that holds them.

#include <string>
#include <utility>
#include <vector>

#include "platform/MemorySettings.h"

namespace testing_support {

class WriteOrderSettings final : public platform::SettingsStore {
public:
    std::unique_ptr<platform::SettingsKey> OpenForReading(std::string_view key) override {
        return values.OpenForReading(key);
    }
    std::unique_ptr<platform::SettingsKey> OpenForWriting(std::string_view key) override;

    // Names written into `key`, in order.
    std::vector<std::string> WrittenNames(std::string_view key) const;

    platform::MemorySettings values;
    std::vector<std::pair<std::string, std::string>> writes;  // (key, name)
};

inline std::unique_ptr<platform::SettingsKey> WriteOrderSettings::OpenForWriting(
    std::string_view key) {
    class Key final : public platform::SettingsKey {
    public:
        Key(std::unique_ptr<platform::SettingsKey> inner, std::string key,
            std::vector<std::pair<std::string, std::string>>& writes)
            : inner_(std::move(inner)), key_(std::move(key)), writes_(writes) {}
        std::optional<std::int32_t> ReadInt(std::string_view name) override {
            return inner_->ReadInt(name);
        }
        bool WriteInt(std::string_view name, std::int32_t value) override {
            if (!inner_->WriteInt(name, value)) return false;
            writes_.emplace_back(key_, std::string(name));
            return true;
        }

    private:
        std::unique_ptr<platform::SettingsKey> inner_;
        std::string key_;
        std::vector<std::pair<std::string, std::string>>& writes_;
    };
    auto inner = values.OpenForWriting(key);
    if (!inner) return nullptr;
    return std::make_unique<Key>(std::move(inner), std::string(key), writes);
}

inline std::vector<std::string> WriteOrderSettings::WrittenNames(std::string_view key) const {
    std::vector<std::string> names;
    for (const auto& [k, name] : writes)
        if (k == key) names.push_back(name);
    return names;
}

}  // namespace testing_support
