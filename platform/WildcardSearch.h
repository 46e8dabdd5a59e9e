#pragma once
// Finding files by a typed name pattern, as "Load All Banks" and the automatic import do.
// Names come back in the order a person reads them (SET2 before SET10, case ignored), so files
// numbered by their author reach the banks in that order whatever the file system delivers.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// True when `name` matches `pattern`. Only '*' (any run, also empty) and '?' (exactly one
// character) are wildcards; letters match without regard to case. A pattern ending in ".*"
// also matches names without an extension, so "*.*" matches every name and "PIANO*.*" also
// matches "PIANO1".
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Natural, case-insensitive order: runs of digits compare by their value ("SET2" < "SET10"),
// everything else character by character without regard to case. Names equal under that rule
// are ordered by their bytes, so the order is total and the same on every run.
bool NaturalLess(std::string_view a, std::string_view b);

// The names (without folder) of the regular files in `folder` that match `pattern`, in natural
// order. Folders, FIFOs, devices, broken links and names starting with '.' are never listed;
// a missing or unreadable folder gives none.
std::vector<std::string> FindFiles(const std::filesystem::path& folder, std::string_view pattern);

// The same for a path whose last part is the pattern ("/banks/SET*.DX7"): the full paths of the
// matching files. A path without folder searches the current directory.
std::vector<std::filesystem::path> FindFiles(const std::filesystem::path& folderAndPattern);

}  // namespace platform
