#pragma once
// A real file whose reading fails: kernel attribute files announce 4096 bytes and deliver a
// few, so a read of the announced size comes up short.

#include <filesystem>
#include <optional>

namespace core::test {

inline std::optional<std::filesystem::path> ShortReadFile() {
    for (const char* candidate : {"/sys/devices/system/cpu/online", "/sys/kernel/mm/transparent_hugepage/enabled"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec) &&
            std::filesystem::file_size(candidate, ec) == 4096)
            return std::filesystem::path(candidate);
    }
    return std::nullopt;
}

}  // namespace core::test
