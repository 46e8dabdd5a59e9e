#pragma once
// Every file of a folder tree, as a collection of voice files is read: sub-folders included,
// in natural order by path (each folder's names as platform::NaturalLess orders them, a
// folder's files and sub-folders together), each folder entered once however many links lead
// to it. What can't be entered or read is listed with the reason instead of ending the walk.

#include <filesystem>
#include <string>
#include <vector>

namespace platform {

struct WalkedFile {
    std::filesystem::path path;
    // The top-level sub-folder of the folder named that holds the file ("" for the folder's
    // own files and for files named on their own).
    std::string topFolder;
};

struct SkippedEntry {
    std::filesystem::path path;
    std::string reason;  // "no such file or folder", "a link to a folder already read", ...
};

struct WalkResult {
    std::vector<WalkedFile> files;
    std::vector<SkippedEntry> skipped;
};

// Walks each of `roots` in turn: a file is taken as it is, a folder's files (and, with
// `recursive`, those of its sub-folders). Names starting with '.' are hidden and never read.
WalkResult WalkFolders(const std::vector<std::filesystem::path>& roots, bool recursive);

}  // namespace platform
