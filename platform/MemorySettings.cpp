#include "platform/MemorySettings.h"

namespace platform {
namespace {

std::string WriteId(std::string_view key, std::string_view name) {
    std::string id(key);
    id += '/';
    id += name;
    return id;
}

}  // namespace

class MemorySettingsKey final : public SettingsKey {
public:
    MemorySettingsKey(MemorySettings& store, std::string_view key) : store_(store), key_(key) {}

    std::optional<std::int32_t> ReadInt(std::string_view name) override {
        return store_.Get(key_, name);
    }

    bool WriteInt(std::string_view name, std::int32_t value) override {
        if (store_.refusedWrites_.contains(WriteId(key_, name))) return false;
        store_.Set(key_, name, value);
        store_.writes_.emplace_back(key_, name);
        return true;
    }

private:
    MemorySettings& store_;
    std::string key_;
};

std::unique_ptr<SettingsKey> MemorySettings::OpenForReading(std::string_view key) {
    if (refusedKeys_.contains(key) || !keys_.contains(key)) return nullptr;
    return std::make_unique<MemorySettingsKey>(*this, key);
}

std::unique_ptr<SettingsKey> MemorySettings::OpenForWriting(std::string_view key) {
    if (refusedKeys_.contains(key)) return nullptr;
    keys_.try_emplace(std::string(key));
    return std::make_unique<MemorySettingsKey>(*this, key);
}

void MemorySettings::Set(std::string_view key, std::string_view name, std::int32_t value) {
    auto k = keys_.try_emplace(std::string(key)).first;
    k->second.insert_or_assign(std::string(name), value);
}

std::optional<std::int32_t> MemorySettings::Get(std::string_view key, std::string_view name) const {
    const auto k = keys_.find(key);
    if (k == keys_.end()) return std::nullopt;
    const auto v = k->second.find(name);
    if (v == k->second.end()) return std::nullopt;
    return v->second;
}

bool MemorySettings::HasKey(std::string_view key) const { return keys_.contains(key); }

MemorySettings::ValueMap MemorySettings::Values(std::string_view key) const {
    const auto k = keys_.find(key);
    return k == keys_.end() ? ValueMap{} : k->second;
}

std::vector<std::string> MemorySettings::WrittenNames(std::string_view key) const {
    std::vector<std::string> names;
    for (const auto& [k, name] : writes_)
        if (k == key) names.push_back(name);
    return names;
}

void MemorySettings::RefuseWrite(std::string_view key, std::string_view name) {
    refusedWrites_.insert(WriteId(key, name));
}

}  // namespace platform
