#pragma once
// Whole-file reading and the safe save used by the bank and library files: the file a save
// replaces is kept beside it as <base name>.BAK, and the new content reaches the target only
// after it was written completely.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/VoiceFormats.h"

namespace core {

// A regular file opened for reading, with its size taken at opening.
class InputFile {
public:
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False when the path is no regular file or can't be opened.
    bool IsOpen() const { return file_ != nullptr; }
    std::uintmax_t Size() const { return size_; }
    // Reads exactly into.size() bytes from the current position; false on a failure or a
    // short read.
    bool Read(std::span<Byte> into);
    // Moves the read position to `offset` bytes from the start; false when it can't.
    bool Seek(std::uintmax_t offset);

private:
    std::FILE* file_ = nullptr;
    std::uintmax_t size_ = 0;
};

// The whole file, or nothing when it can't be opened or read.
std::optional<std::vector<Byte>> ReadWholeFile(const std::filesystem::path& path);

// Where a save goes and the name the saved object takes.
struct SaveTarget {
    std::filesystem::path target;  // the file written
    std::string baseName;          // file name without directory and extension
};

// A path without extension gets `defaultExtension` (e.g. ".DX7") appended; a path with one is
// kept as passed. The base name is the file name without directory and extension.
SaveTarget ResolveSaveTarget(const std::filesystem::path& path, std::string_view defaultExtension);

// The backup of `target`: <baseName>.BAK in the target's own directory.
std::filesystem::path BackupPath(const SaveTarget& target);

// Writes `parts` one after the other as the new content of target.target.
// An existing target is kept as BackupPath(target) (an older backup of that name is
// replaced). The content goes to a temporary file in the target's directory first and
// replaces the target, taking over its permissions, only when all of it was written; on
// false, target and backup are exactly as they were before the call.
bool SaveWithBackup(const SaveTarget& target, std::span<const std::span<const Byte>> parts);

}  // namespace core
