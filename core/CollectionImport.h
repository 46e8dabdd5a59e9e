#pragma once
// Importing a collection of voice files into the library, file by file, through the repair
// reader (core/SysexRepair.h): every whole voice found goes into the library's free slots from
// a first page on, optionally leaving out exact doubles (the library's own comparison: every
// parameter equal, names aside) and marking each top-level folder's voices. One report at the
// end says what was read, added, skipped, repaired and left. The window program and the
// command line run the same import and print the same report.

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/Libson.h"
#include "platform/FolderWalk.h"

namespace core {

struct CollectionOptions {
    int firstPage = 0;           // the first library page filled
    bool skipKnown = true;       // leave out voices the library already holds
    bool skipRepeated = true;    // leave out voices already imported by this import
    bool folderMarkers = false;  // mark each top-level sub-folder's voices
};

struct FileProblem {
    std::string file;
    std::string text;
    bool operator==(const FileProblem&) const = default;
};

struct FolderMarker {
    std::string folder;
    int marker = 0;  // 1-31
    int voices = 0;
};

struct CollectionReport {
    int filesRead = 0;             // files opened, whatever they held
    int filesWithVoices = 0;
    int voicesAdded = 0;
    int knownSkipped = 0;          // doubles of voices the library held before
    int repeatedSkipped = 0;       // doubles of voices this import added
    int emptySkipped = 0;          // empty voices ("----------", every parameter as cleared)
    std::vector<FileProblem> unusable;  // files with nothing usable (or above 16 MB), with the reason
    std::vector<FileProblem> repaired;  // files read with repairs, with what was repaired
    std::vector<platform::SkippedEntry> skippedEntries;  // what the folder walk passed by
    std::vector<FolderMarker> markers;
    std::vector<std::string> foldersWithoutMarker;  // no free marker was left for them
    // Where the library ran full: the file, its voices not imported, the files not read after it.
    std::string fullAt;
    int voicesLeft = 0;
    int filesLeft = 0;
    bool canceled = false;  // stopped by the user; filesLeft files were not read
    int firstPage = 0;

    int DoublesSkipped() const { return knownSkipped + repeatedSkipped; }
};

class CollectionImport {
public:
    CollectionImport(Libson& library, CollectionOptions options, platform::WalkResult walk);

    std::size_t FileCount() const { return files_.size(); }
    std::size_t FilesDone() const { return next_; }
    bool Done() const { return finished_ || next_ == files_.size(); }
    // Reads the next file into the library.
    void ReadNext();
    // Reads every file left.
    void ReadAll();
    // Stops before the next file; the voices imported stay.
    void Cancel();
    const CollectionReport& Report() const { return report_; }

private:
    using Key = std::array<Byte, kVoiceParameterBytes>;
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept;
    };
    using KeySet = std::unordered_set<Key, KeyHash>;

    void ReadFile(const std::filesystem::path& path, const std::string& topFolder);
    // The marker for the voices of `topFolder` (0 without one).
    int MarkerFor(const std::string& topFolder);
    // Puts one voice into the next free slot; false when the library is full.
    bool Place(const PackedVoice& voice, int marker);

    Libson& library_;
    CollectionOptions options_;
    std::vector<platform::WalkedFile> files_;
    std::size_t next_ = 0;
    bool finished_ = false;
    int position_;  // the first library position that may still be free
    KeySet known_;
    KeySet added_;
    std::vector<int> freeMarkers_;
    std::vector<std::pair<std::string, int>> folderMarkers_;
    CollectionReport report_;
};

// The report as the window shows it and the command line prints it.
std::string CollectionReportText(const CollectionReport& report);
std::string CollectionReportJson(const CollectionReport& report);

}  // namespace core
