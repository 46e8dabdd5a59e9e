#include "core/CollectionImport.h"

#include <algorithm>
#include <cstring>

#include "core/FileIo.h"
#include "core/JsonText.h"
#include "core/SysexRepair.h"

namespace core {
namespace {

constexpr std::string_view kFreeMarkerName = "Empty";
// No voice file comes near this size; a collection's recordings and videos are left unread
// rather than held in memory.
constexpr std::uintmax_t kLargestVoiceFile = 16u << 20;
// How many repairs a file's line names before it only counts the rest.
constexpr std::size_t kRepairsNamed = 3;

const PackedVoice& EmptyVoice() {
    static const PackedVoice empty = [] {
        VoiceSlot slot;
        InitSlot(slot);
        return slot.voice;
    }();
    return empty;
}

// Plain text (a readme, a list of names) of a bank image's size would otherwise come in as 32
// voices of garbage; a real bank image holds parameter values below 32 in every voice.
bool IsText(std::span<const Byte> bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](Byte b) { return b == '\t' || b == '\n' || b == '\r' || (b >= 0x20 && b < 0x7F); });
}

std::string Plural(int count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// "checksum ... recomputed" rather than "checksum ... recomputed: skipped": the reason without
// what the reader did about it.
std::string WithoutOutcome(std::string text) {
    for (std::string_view tail : {": skipped", ": nothing usable", ": not written"})
        if (text.size() > tail.size() && text.ends_with(tail)) return text.substr(0, text.size() - tail.size());
    return text;
}

// Why a file that gave no voice gave none.
std::string NothingUsable(const FileReading& reading) {
    if (reading.kind == FileKind::kLibrary) return "a library file: open it with Load Library";
    if (reading.messages.empty()) return "nothing the program can read (no sysex message, no bank image)";
    const FoundMessage& first = reading.messages.front();
    std::string reason = first.notes.empty() ? "no voice in it" : WithoutOutcome(first.notes.front().text);
    if (reading.messages.size() > 1)
        reason += " (and " + Plural(int(reading.messages.size()) - 1, "message more", "messages more") + ")";
    return reason;
}

// The repairs of a file on one line: what was wrong with its messages and bytes, then how many
// voices needed repair; empty when it was clean.
std::string RepairsOf(const FileReading& reading) {
    std::vector<std::string> repairs;
    for (const FoundMessage& message : reading.messages)
        for (const RepairNote& note : message.notes)
            if (note.voice == 0) repairs.push_back(note.text);
    for (const RepairNote& note : reading.fileNotes)
        if (note.voice == 0) repairs.push_back(note.text);
    std::string text;
    for (std::size_t i = 0; i < std::min(repairs.size(), kRepairsNamed); ++i) text += (i ? "; " : "") + repairs[i];
    if (repairs.size() > kRepairsNamed)
        text += "; " + Plural(int(repairs.size() - kRepairsNamed), "repair more", "repairs more");
    if (reading.repairedVoices > 0)
        text += (text.empty() ? "" : "; ") + Plural(reading.repairedVoices, "voice", "voices") + " repaired";
    return text;
}

bool IsImage(FileKind kind) {
    return kind == FileKind::kBankImage || kind == FileKind::kBankImageExtraByte ||
           kind == FileKind::kBankWithFunctions;
}

}  // namespace

std::size_t CollectionImport::KeyHash::operator()(const Key& key) const noexcept {
    // FNV-1a over whole 8-byte words: the set is asked once for every voice offered.
    std::uint64_t hash = 1469598103934665603ull;
    std::size_t i = 0;
    for (; i + 8 <= key.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, key.data() + i, 8);
        hash = (hash ^ word) * 1099511628211ull;
    }
    for (; i < key.size(); ++i) hash = (hash ^ key[i]) * 1099511628211ull;
    return std::size_t(hash ^ (hash >> 29));
}

CollectionImport::CollectionImport(Libson& library, CollectionOptions options, platform::WalkResult walk)
    : library_(library),
      options_(options),
      files_(std::move(walk.files)),
      position_(std::clamp(options.firstPage, 0, kLibraryPageCount) * int(kSlotsPerPage)) {
    report_.skippedEntries = std::move(walk.skipped);
    report_.firstPage = options.firstPage;
    if (options_.skipKnown)
        for (int p = 0; p < kLibraryPageCount; ++p)
            for (const VoiceSlot& slot : library_.Page(p))
                if (slot.IsUsed()) {
                    Key key;
                    std::copy_n(slot.voice.begin(), key.size(), key.begin());
                    known_.insert(key);
                }
    if (options_.folderMarkers) {
        const std::array<int, kMarkerCount> counts = library_.CountByMarker();
        // Marker 0 is every unmarked voice's; a marker with voices or a name of its own is taken.
        for (int m = 1; m < kMarkerCount; ++m) {
            const std::string name = library_.MarkerNameText(m);
            if (counts[m] == 0 && (name.empty() || name == kFreeMarkerName)) freeMarkers_.push_back(m);
        }
    }
}

void CollectionImport::ReadAll() {
    while (!Done()) ReadNext();
}

void CollectionImport::ReadNext() {
    if (Done()) return;
    const platform::WalkedFile& file = files_[next_++];
    ReadFile(file.path, file.topFolder);
}

void CollectionImport::Cancel() {
    if (Done()) return;
    report_.canceled = true;
    report_.filesLeft = int(files_.size() - next_);
    finished_ = true;
}

void CollectionImport::ReadFile(const std::filesystem::path& path, const std::string& topFolder) {
    const std::string name = path.string();
    ++report_.filesRead;
    std::error_code ec;
    if (const std::uintmax_t size = std::filesystem::file_size(path, ec); !ec && size > kLargestVoiceFile) {
        report_.unusable.push_back({name, "too large for a voice file (" + std::to_string(size >> 20) + " MB)"});
        return;
    }
    const std::optional<std::vector<Byte>> bytes = ReadWholeFile(path);
    if (!bytes) {
        report_.unusable.push_back({name, "cannot be read"});
        return;
    }
    if (bytes->empty()) {
        report_.unusable.push_back({name, "empty"});
        return;
    }
    const FileReading reading = ReadVoiceFile(*bytes);
    if (reading.kind != FileKind::kSysex && IsText(*bytes)) {
        report_.unusable.push_back({name, "a text file, no voices"});
        return;
    }
    if (IsImage(reading.kind) && reading.repairedVoices * 2 > reading.voiceCount) {
        report_.unusable.push_back(
            {name, "no bank image: " + std::to_string(reading.repairedVoices) + " of its " +
                       std::to_string(reading.voiceCount) + " voices would need repair"});
        return;
    }
    if (!reading.HasVoices()) {
        report_.unusable.push_back({name, NothingUsable(reading)});
        return;
    }
    ++report_.filesWithVoices;
    if (std::string repairs = RepairsOf(reading); !repairs.empty())
        report_.repaired.push_back({name, std::move(repairs)});

    int offered = 0;
    for (const RepairedBank& bank : reading.banks) offered += bank.voiceCount;
    for (const RepairedBank& bank : reading.banks)
        for (int s = 0; s < bank.voiceCount; ++s, --offered) {
            PackedVoice voice;
            std::copy_n(bank.image.begin() + std::ptrdiff_t(s) * kPackedVoiceSize, kPackedVoiceSize, voice.begin());
            if (voice == EmptyVoice()) {
                ++report_.emptySkipped;
                continue;
            }
            Key key;
            std::copy_n(voice.begin(), key.size(), key.begin());
            if (options_.skipKnown && known_.count(key)) {
                ++report_.knownSkipped;
                continue;
            }
            if (options_.skipRepeated && added_.count(key)) {
                ++report_.repeatedSkipped;
                continue;
            }
            if (!Place(voice, MarkerFor(topFolder))) {
                report_.fullAt = name;
                report_.voicesLeft = offered;
                report_.filesLeft = int(files_.size() - next_);
                finished_ = true;
                return;
            }
            if (options_.skipRepeated) added_.insert(key);
        }
}

int CollectionImport::MarkerFor(const std::string& topFolder) {
    if (!options_.folderMarkers || topFolder.empty()) return 0;
    for (const auto& [folder, marker] : folderMarkers_)
        if (folder == topFolder) return marker;
    int marker = 0;
    if (!freeMarkers_.empty()) {
        marker = freeMarkers_.front();
        freeMarkers_.erase(freeMarkers_.begin());
        library_.SetMarkerName(marker, topFolder);
        report_.markers.push_back({topFolder, marker, 0});
    } else {
        report_.foldersWithoutMarker.push_back(topFolder);
    }
    folderMarkers_.emplace_back(topFolder, marker);
    return marker;
}

bool CollectionImport::Place(const PackedVoice& voice, int marker) {
    while (position_ < kLibrarySlotCount &&
           library_.Page(position_ / int(kSlotsPerPage))[std::size_t(position_) % kSlotsPerPage].IsUsed())
        ++position_;
    if (position_ == kLibrarySlotCount) return false;
    VoiceSlot& slot = library_.Page(position_ / int(kSlotsPerPage))[std::size_t(position_) % kSlotsPerPage];
    slot.voice = voice;
    slot.status = Byte(kStatusUsed | (marker << kMarkerShift));
    ++position_;
    ++report_.voicesAdded;
    if (marker > 0)
        for (FolderMarker& given : report_.markers)
            if (given.marker == marker) ++given.voices;
    return true;
}

std::string CollectionReportText(const CollectionReport& report) {
    std::string text;
    const auto line = [&text](const std::string& part) { text += part + "\n"; };
    line(Plural(report.filesRead, "file", "files") + " read: " +
         std::to_string(report.filesWithVoices) + " with voices, " +
         std::to_string(report.unusable.size()) + " with nothing usable, " +
         std::to_string(report.repaired.size()) + " repaired");
    line(Plural(report.voicesAdded, "voice", "voices") + " added from page " +
         std::to_string(report.firstPage) + " on");
    line(Plural(report.DoublesSkipped(), "exact double", "exact doubles") + " skipped (" +
         std::to_string(report.knownSkipped) + " already in the library, " +
         std::to_string(report.repeatedSkipped) + " repeated within the import), " +
         Plural(report.emptySkipped, "empty voice", "empty voices") + " skipped");
    if (!report.fullAt.empty())
        line("The library ran full at " + report.fullAt + ": " +
             Plural(report.voicesLeft, "voice", "voices") + " of it and " +
             Plural(report.filesLeft, "file", "files") + " after it were left out.");
    if (report.canceled)
        line("Canceled: " + Plural(report.filesLeft, "file was", "files were") +
             " not read; the voices imported before stay.");
    for (const FolderMarker& given : report.markers)
        line("marker " + std::to_string(given.marker) + " \"" + given.folder.substr(0, kNameSize) + "\": " +
             Plural(given.voices, "voice", "voices") + " of folder " + given.folder);
    if (!report.foldersWithoutMarker.empty()) {
        std::string folders;
        for (const std::string& folder : report.foldersWithoutMarker) folders += (folders.empty() ? "" : ", ") + folder;
        line("No free marker was left for " + Plural(int(report.foldersWithoutMarker.size()), "folder", "folders") +
             " (their voices have none): " + folders);
    }
    if (!report.unusable.empty()) {
        line("");
        line("Files with nothing usable:");
        for (const FileProblem& problem : report.unusable) line("  " + problem.file + ": " + problem.text);
    }
    if (!report.repaired.empty()) {
        line("");
        line("Files repaired:");
        for (const FileProblem& problem : report.repaired) line("  " + problem.file + ": " + problem.text);
    }
    if (!report.skippedEntries.empty()) {
        line("");
        line("Not read:");
        for (const platform::SkippedEntry& entry : report.skippedEntries)
            line("  " + entry.path.string() + ": " + entry.reason);
    }
    return text;
}

std::string CollectionReportJson(const CollectionReport& report) {
    const auto problems = [](const std::vector<FileProblem>& list, std::string_view key) {
        std::string json = "[";
        for (std::size_t i = 0; i < list.size(); ++i)
            json += std::string(i ? ", " : "") + "{\"file\": " + JsonString(list[i].file) + ", \"" +
                    std::string(key) + "\": " + JsonString(list[i].text) + "}";
        return json + "]";
    };
    std::string json = "{\"files_read\": " + std::to_string(report.filesRead) +
                       ", \"files_with_voices\": " + std::to_string(report.filesWithVoices) +
                       ", \"voices_added\": " + std::to_string(report.voicesAdded) +
                       ", \"first_page\": " + std::to_string(report.firstPage) +
                       ", \"doubles_skipped\": {\"in_library\": " + std::to_string(report.knownSkipped) +
                       ", \"repeated\": " + std::to_string(report.repeatedSkipped) +
                       "}, \"empty_skipped\": " + std::to_string(report.emptySkipped) +
                       ", \"unusable\": " + problems(report.unusable, "reason") +
                       ", \"repaired\": " + problems(report.repaired, "repairs") + ", \"not_read\": [";
    for (std::size_t i = 0; i < report.skippedEntries.size(); ++i)
        json += std::string(i ? ", " : "") + "{\"path\": " + JsonString(report.skippedEntries[i].path.string()) +
                ", \"reason\": " + JsonString(report.skippedEntries[i].reason) + "}";
    json += "], \"markers\": [";
    for (std::size_t i = 0; i < report.markers.size(); ++i)
        json += std::string(i ? ", " : "") + "{\"folder\": " + JsonString(report.markers[i].folder) +
                ", \"marker\": " + std::to_string(report.markers[i].marker) +
                ", \"voices\": " + std::to_string(report.markers[i].voices) + "}";
    json += "], \"folders_without_marker\": [";
    for (std::size_t i = 0; i < report.foldersWithoutMarker.size(); ++i)
        json += std::string(i ? ", " : "") + JsonString(report.foldersWithoutMarker[i]);
    json += "], \"full\": ";
    json += report.fullAt.empty() ? std::string("null")
                                  : "{\"file\": " + JsonString(report.fullAt) + ", \"voices_left\": " +
                                        std::to_string(report.voicesLeft) + "}";
    json += ", \"canceled\": " + std::string(report.canceled ? "true" : "false") +
            ", \"files_left\": " + std::to_string(report.filesLeft) + "}";
    return json;
}

}  // namespace core
