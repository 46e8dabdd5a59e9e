#include "core/FileIo.h"

#include <limits>
#include <system_error>

namespace core {
namespace fs = std::filesystem;
namespace {

// The name of the attempt-th temporary file beside `target`.
fs::path TemporaryBeside(const fs::path& target, int attempt) {
    // Built by appending: g++ 12 at -O3 warns falsely (-Wrestrict) about "~" + string.
    std::string name = "~";
    name += target.filename().string();
    name += '.';
    name += std::to_string(attempt);
    name += ".tmp";
    return target.parent_path() / name;
}

constexpr int kTemporaryAttempts = 100;

// Creates a new file beside `target` (never one that exists) and writes `parts` into it.
// Returns its path, or nothing (and no file left behind) when any step failed.
std::optional<fs::path> WriteTemporaryBeside(const fs::path& target,
                                             std::span<const std::span<const Byte>> parts) {
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const fs::path candidate = TemporaryBeside(target, attempt);
        // "x": fails instead of reusing a file that is already there.
        std::FILE* file = std::fopen(candidate.string().c_str(), "wbx");
        if (!file) {
            std::error_code ec;
            if (fs::exists(candidate, ec)) continue;
            return std::nullopt;  // the directory can't take a new file
        }
        bool ok = true;
        for (std::span<const Byte> part : parts)
            if (ok && !part.empty()) ok = std::fwrite(part.data(), 1, part.size(), file) == part.size();
        ok = std::fflush(file) == 0 && ok;
        ok = std::fclose(file) == 0 && ok;
        if (ok) return candidate;
        std::error_code ec;
        fs::remove(candidate, ec);
        return std::nullopt;
    }
    return std::nullopt;
}

// A second, temporary name beside `target` for the file it names, so the file survives
// the target being replaced; nothing when the file system can't link (or the target is a
// symbolic link, whose link would name the link rather than the file's content).
std::optional<fs::path> LinkBeside(const fs::path& target) {
    std::error_code symlinkError;
    if (fs::is_symlink(target, symlinkError)) return std::nullopt;
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const fs::path candidate = TemporaryBeside(target, attempt);
        std::error_code ec;
        fs::create_hard_link(target, candidate, ec);
        if (!ec) return candidate;
        if (!fs::exists(candidate, ec)) return std::nullopt;
    }
    return std::nullopt;
}

// The same through a copy, where the file system has no links.
std::optional<fs::path> CopyBeside(const fs::path& target) {
    const std::optional<std::vector<Byte>> old = ReadWholeFile(target);
    if (!old) return std::nullopt;
    const std::span<const Byte> whole(*old);
    return WriteTemporaryBeside(target, std::span(&whole, 1));
}

void RemoveQuietly(const std::optional<fs::path>& path) {
    std::error_code ec;
    if (path) fs::remove(*path, ec);
}

}  // namespace

InputFile::InputFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return;
    file_ = std::fopen(path.string().c_str(), "rb");
    size_ = size;
}

InputFile::~InputFile() {
    if (file_) std::fclose(file_);
}

bool InputFile::Read(std::span<Byte> into) {
    if (!file_) return false;
    if (into.empty()) return true;
    return std::fread(into.data(), 1, into.size(), file_) == into.size();
}

bool InputFile::Seek(std::uintmax_t offset) {
    if (!file_ || offset > std::uintmax_t(std::numeric_limits<long>::max())) return false;
    return std::fseek(file_, long(offset), SEEK_SET) == 0;
}

std::optional<std::vector<Byte>> ReadWholeFile(const fs::path& path) {
    InputFile file(path);
    if (!file.IsOpen()) return std::nullopt;
    std::vector<Byte> bytes(file.Size());
    if (!file.Read(bytes)) return std::nullopt;
    return bytes;
}

SaveTarget ResolveSaveTarget(const fs::path& path, std::string_view defaultExtension) {
    SaveTarget result{path, path.stem().string()};
    if (!path.has_extension()) result.target += std::string(defaultExtension);
    return result;
}

fs::path BackupPath(const SaveTarget& target) {
    return target.target.parent_path() / (target.baseName + ".BAK");
}

bool SaveWithBackup(const SaveTarget& target, std::span<const std::span<const Byte>> parts) {
    const std::optional<fs::path> fresh = WriteTemporaryBeside(target.target, parts);
    if (!fresh) return false;

    std::error_code ec;
    const fs::path backup = BackupPath(target);
    std::optional<fs::path> previous;  // the replaced file, until it becomes the backup
    if (fs::exists(target.target, ec)) {
        // The new file takes the old one's place with its permissions, as an overwrite would.
        const fs::file_status old = fs::status(target.target, ec);
        if (!ec) fs::permissions(*fresh, old.permissions(), ec);
        // Saving onto the backup name itself: the file being replaced can't also be kept.
        const bool targetIsBackup = fs::exists(backup, ec) && fs::equivalent(target.target, backup, ec);
        if (!targetIsBackup) {
            previous = LinkBeside(target.target);
            if (!previous) previous = CopyBeside(target.target);
            if (!previous) {
                RemoveQuietly(fresh);
                return false;
            }
        }
    }

    fs::rename(*fresh, target.target, ec);
    if (ec) {
        RemoveQuietly(fresh);
        RemoveQuietly(previous);
        return false;
    }
    if (previous) {
        fs::rename(*previous, backup, ec);
        if (ec) {
            // Put the replaced file back so the failed save changes nothing.
            std::error_code restoreError;
            fs::rename(*previous, target.target, restoreError);
            return false;
        }
    }
    return true;
}

}  // namespace core
