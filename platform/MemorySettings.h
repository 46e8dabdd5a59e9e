#pragma once
// Settings held in memory: the store in use before the program installs the real one, and the
// store tests give to windows. It remembers the order of the writes and can be told to refuse a
// key or a write, to exercise the rules of the readers and writers.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/SettingsStore.h"

namespace platform {

class MemorySettings final : public SettingsStore {
public:
    using ValueMap = std::map<std::string, std::int32_t, std::less<>>;

    std::unique_ptr<SettingsKey> OpenForReading(std::string_view key) override;
    std::unique_ptr<SettingsKey> OpenForWriting(std::string_view key) override;

    // Direct access for tests.
    void Set(std::string_view key, std::string_view name, std::int32_t value);
    std::optional<std::int32_t> Get(std::string_view key, std::string_view name) const;
    bool HasKey(std::string_view key) const;
    // Values of a key in name order; empty when the key does not exist.
    ValueMap Values(std::string_view key) const;

    // Every value stored through an opened key, as (key, name) in the order of the writes.
    const std::vector<std::pair<std::string, std::string>>& Writes() const { return writes_; }
    // The names written into one key, in order.
    std::vector<std::string> WrittenNames(std::string_view key) const;

    // Failure injection: a key that cannot be opened at all, a value that cannot be written.
    void RefuseKey(std::string_view key) { refusedKeys_.emplace(key); }
    void RefuseWrite(std::string_view key, std::string_view name);

private:
    friend class MemorySettingsKey;
    std::map<std::string, ValueMap, std::less<>> keys_;
    std::set<std::string, std::less<>> refusedKeys_;
    std::set<std::string, std::less<>> refusedWrites_;  // "key/name"
    std::vector<std::pair<std::string, std::string>> writes_;
};

}  // namespace platform
