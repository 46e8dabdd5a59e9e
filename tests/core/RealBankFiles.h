#pragma once
// The real-world bank files (4104-byte bulk dumps nobody here wrote), sorted by name; none
// when their folder is missing, which the callers' count checks report.

#include <algorithm>
#include <filesystem>
#include <vector>

namespace core::test {

inline std::vector<std::filesystem::path> RealBankFiles() {
    std::vector<std::filesystem::path> files;
    const std::filesystem::path folder = std::filesystem::path(MONDRAL_SHARED_DIR) / "banks";
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".syx") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace core::test
