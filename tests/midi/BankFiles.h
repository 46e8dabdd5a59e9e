#pragma once
// The real DX7 bank dumps shared with the project (4104-byte system-exclusive files).

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace midi::testing {

inline std::vector<std::filesystem::path> BankFilePaths() {
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(MONDRAL_SHARED_DIR) + "/banks"))
        if (entry.path().extension() == ".syx") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

inline std::filesystem::path BankFile(const std::string& name) {
    return std::filesystem::path(MONDRAL_SHARED_DIR) / "banks" / name;
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace midi::testing
