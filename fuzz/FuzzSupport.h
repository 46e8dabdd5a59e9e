#pragma once
// What every fuzz target shares: a check that stops the run with a message libFuzzer keeps
// beside the input, and a scratch folder for the readers that take a path.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

#include "core/FileIo.h"

// A wrong result is a finding like a crash: abort, so libFuzzer saves the input.
#define FUZZ_CHECK(condition)                                                                \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

namespace fuzz {

// The Yamaha bulk checksum, written out here so the readers are checked against a rule of
// our own: the low 7 bits of the sum of the data's low 7 bits, negated.
inline std::uint8_t Checksum(std::span<const std::uint8_t> data) {
    unsigned sum = 0;
    for (const std::uint8_t b : data) sum += b & 0x7Fu;
    return std::uint8_t((128 - sum % 128) % 128);
}

// A folder of this process's own, in memory where the system offers it, removed at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm")
                                                                : fs::temp_directory_path();
        folder_ = base / ("mondral-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return folder_ / name; }

    // Writes `bytes` as the whole content of the named file; returns its path.
    std::filesystem::path Write(const std::string& name, std::span<const std::uint8_t> bytes) const {
        const std::filesystem::path path = folder_ / name;
        std::FILE* file = std::fopen(path.string().c_str(), "wb");
        FUZZ_CHECK(file != nullptr);
        FUZZ_CHECK(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
        FUZZ_CHECK(std::fclose(file) == 0);
        return path;
    }

    std::vector<std::uint8_t> Read(const std::string& name) const {
        std::optional<std::vector<std::uint8_t>> bytes = core::ReadWholeFile(folder_ / name);
        FUZZ_CHECK(bytes.has_value());
        return *bytes;
    }

private:
    std::filesystem::path folder_;
};

// Reads the input front to back; past its end every read gives zero.
class InputCursor {
public:
    explicit InputCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Done() const { return position_ >= bytes_.size(); }
    std::uint8_t Byte() { return Done() ? 0 : bytes_[position_++]; }
    // Up to `count` bytes, fewer at the end of the input.
    std::span<const std::uint8_t> Take(std::size_t count) {
        const std::size_t n = std::min(count, bytes_.size() - std::min(position_, bytes_.size()));
        const auto taken = bytes_.subspan(std::min(position_, bytes_.size()), n);
        position_ += n;
        return taken;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace fuzz
