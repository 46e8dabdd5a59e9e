#include "cli/Commands.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "cli/Arguments.h"
#include "cli/SimilarVoices.h"
#include "cli/SysexRepair.h"
#include "cli/Text.h"
#include "core/Bankson.h"
#include "core/FileIo.h"
#include "core/Libson.h"
#include "platform/MessageBoxes.h"

namespace cli {
namespace {

namespace fs = std::filesystem;
using core::Byte;

constexpr std::string_view kProgram = "mondral-cli";

constexpr std::string_view kMainHelp =
    "usage: mondral-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "The Mondral librarian's file work, without its window.\n"
    "\n"
    "commands:\n"
    "  info FILE...           what each file is: kind, channel, checksum, voice names\n"
    "  repair IN... -o DIR    rewrite messy sysex files as clean 4104-byte banks\n"
    "  import PATH... --library LIB.DXL\n"
    "                         repair and import voice files into free library slots\n"
    "  doubles LIB.DXL        identical voices (every parameter equal)\n"
    "  similar LIB.DXL        near-duplicate voices\n"
    "  export LIB.DXL ... -o DIR\n"
    "                         library pages or the selection as bank files\n"
    "\n"
    "\"mondral-cli COMMAND --help\" tells more. Exit status: 0 success, 1 a file could not\n"
    "be used, 2 wrong usage.\n";

constexpr std::string_view kInfoHelp =
    "usage: mondral-cli info [--json] FILE...\n"
    "\n"
    "Tells what each file is (bank image, bank with functions, voice-bank dump, function-bank\n"
    "dump, single voices, library), the channel and checksum state of each message, the voice\n"
    "names, and what is wrong with it. Nothing is written.\n"
    "\n"
    "  --json    one JSON array with an object per file, for scripts\n";

constexpr std::string_view kRepairHelp =
    "usage: mondral-cli repair IN... -o OUT_DIR [--dx7] [--channel N]\n"
    "\n"
    "Reads every system-exclusive message of each file (several per file, bytes between them,\n"
    "a missing F7), keeps the voice-bank dumps and collects single-voice dumps into banks of\n"
    "32. Bad checksums are recomputed, data bytes lose stray high bits, bits outside the\n"
    "parameter fields are cleared and parameters above their range are limited to their\n"
    "highest value. Each bank is written to OUT_DIR as a 4104-byte .SYX file named after its\n"
    "input (NAME.SYX, or NAME-1.SYX, NAME-2.SYX, ... for several banks); a file already there\n"
    "is kept as NAME.BAK. The report says what was changed, voice by voice. An input is\n"
    "never written over.\n"
    "\n"
    "  -o, --output DIR   folder for the repaired files (created when missing)\n"
    "  --dx7              also write each bank as a 4096-byte .DX7 image\n"
    "  --channel N        MIDI channel 1-16 of the written dumps (default: the channel each\n"
    "                     dump came with, 1 for bank images)\n";

constexpr std::string_view kImportHelp =
    "usage: mondral-cli import PATH... --library LIB.DXL [--page N]\n"
    "\n"
    "Repairs each voice file (as repair does; folders are searched for .syx and .dx7 files,\n"
    "subfolders included) and copies its voices into the free slots of the library, in\n"
    "library order from page N on. Empty voices (\"----------\" with all parameters 0) are\n"
    "skipped. The library is created when it does not exist; an existing one is kept as\n"
    "LIB.BAK. A summary tells the files, voices imported, repaired and skipped.\n"
    "\n"
    "  --library LIB.DXL   the library file (\".DXL\" is added to a name without extension)\n"
    "  --page N            first page to fill, 0-999 (default 0)\n";

constexpr std::string_view kDoublesHelp =
    "usage: mondral-cli doubles LIB.DXL [--select | --delete]\n"
    "\n"
    "Lists the groups of identical voices (every parameter equal, names may differ), found\n"
    "by the librarian's own doubles search, with page and slot.\n"
    "\n"
    "  --select   select the later copies of each group in the library (saved, LIB.BAK kept)\n"
    "  --delete   empty the later copies, keeping the first of each group (saved, LIB.BAK kept)\n";

constexpr std::string_view kSimilarHelp =
    "usage: mondral-cli similar LIB.DXL [--threshold T] [--select]\n"
    "\n"
    "Lists groups of near-duplicate voices: voices whose parameters differ only a little,\n"
    "linked in chains of pairs at most T apart. The distance weighs each parameter by how\n"
    "much its change is heard (see the README). Tightest groups first; each member with its\n"
    "page, slot, name and distance to the group's first voice.\n"
    "\n"
    "  --threshold T   0-16 (default 8); 0 finds voices with equal parameters\n"
    "  --select        select every member of every group in the library (the selection is\n"
    "                  cleared first; saved, LIB.BAK kept)\n";

constexpr std::string_view kExportHelp =
    "usage: mondral-cli export LIB.DXL (--pages A-B | --selected) -o DIR [--syx [--channel N]]\n"
    "\n"
    "Writes library pages, or the selected voices, as bank files into DIR: a page A..B as\n"
    "LIBNAME-page-NNN.DX7 (pages without a used slot are left out), the selected voices in\n"
    "library order 32 to a file as LIBNAME-selected-NN.DX7.\n"
    "\n"
    "  --pages A-B     pages A to B (0-999); a single number for one page\n"
    "  --selected      the used, selected voices\n"
    "  -o, --output DIR\n"
    "  --syx           write 4104-byte .SYX dumps instead of .DX7 images\n"
    "  --channel N     MIDI channel 1-16 of the .SYX dumps (default 1)\n";

// Reports, error lines and the boxes the data objects raise while a command runs.
class Session {
public:
    explicit Session(Console console) : console_(console) {}

    std::ostream& Out() { return console_.out; }
    bool Progress() const { return console_.progress; }

    // "mondral-cli: WHAT: reason"; the command's status becomes kExitFileFailed.
    void Fail(const std::string& what, std::string_view reason) {
        ClearProgress();
        console_.err << kProgram << ": " << what << ": " << reason << "\n";
        status_ = kExitFileFailed;
    }
    int Usage(std::string_view problem, std::string_view help) {
        console_.err << kProgram << ": " << problem << "\n\n" << help;
        return kExitUsage;
    }
    int Status() const { return status_; }

    // The text of the last box a data object showed, or `otherwise`.
    std::string BoxText(std::string_view otherwise) const {
        return boxes_.Shown().empty() ? std::string(otherwise) : boxes_.Shown().back().text;
    }
    void ClearBoxes() { boxes_.Clear(); }

    void ShowProgress(std::size_t done, std::size_t total) {
        if (!console_.progress || total == 0) return;
        constexpr std::size_t kWidth = 30;
        const std::size_t filled = done * kWidth / total;
        console_.err << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ')
                     << "] " << done << "/" << total << " files" << std::flush;
        progressShown_ = true;
    }
    void ClearProgress() {
        if (!progressShown_) return;
        console_.err << "\r\033[K" << std::flush;
        progressShown_ = false;
    }

private:
    Console console_;
    platform::RecordingBoxes boxes_;
    int status_ = kExitOk;
    bool progressShown_ = false;
};

// ---- Reading inputs -------------------------------------------------------------------

std::optional<std::vector<Byte>> ReadInput(const fs::path& path, Session& session) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) {
        session.Fail(path.string(), "no such file");
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        session.Fail(path.string(), "is a folder, not a file");
        return std::nullopt;
    }
    std::optional<std::vector<Byte>> bytes = core::ReadWholeFile(path);
    if (!bytes) {
        session.Fail(path.string(), "cannot be read");
        return std::nullopt;
    }
    if (bytes->empty()) {
        session.Fail(path.string(), "is empty");
        return std::nullopt;
    }
    return bytes;
}

// A library loaded from an existing file; nothing (after an error line) when it can't be.
std::unique_ptr<core::Libson> LoadLibrary(const fs::path& path, Session& session) {
    const std::optional<std::vector<Byte>> bytes = ReadInput(path, session);
    if (!bytes) return nullptr;
    if (!LooksLikeLibrary(*bytes)) {
        session.Fail(path.string(), "is not a library file (its size is no whole number of pages "
                                    "and the marker names)");
        return nullptr;
    }
    auto library = std::make_unique<core::Libson>();
    session.ClearBoxes();
    if (!library->LoadLibraryFile(path)) {
        session.Fail(path.string(), session.BoxText("cannot be read"));
        return nullptr;
    }
    return library;
}

bool SaveLibrary(core::Libson& library, const fs::path& path, Session& session) {
    session.ClearBoxes();
    if (library.SaveLibraryFile(path)) return true;
    session.Fail(path.string(), session.BoxText("cannot be written"));
    return false;
}

std::string PlaceText(std::size_t position) {
    char text[32];
    std::snprintf(text, sizeof text, "page %3zu slot %2zu", position / core::kSlotsPerPage,
                  position % core::kSlotsPerPage + 1);
    return text;
}

template <class Visit>
void ForEachUsed(const core::Libson& library, Visit&& visit) {
    for (int p = 0; p < library.PageCount(); ++p) {
        const core::VoicePage& page = library.Page(p);
        for (std::size_t s = 0; s < core::kSlotsPerPage; ++s)
            if (page[s].IsUsed()) visit(std::size_t(p) * core::kSlotsPerPage + s, page[s]);
    }
}

core::VoiceSlot& SlotAt(core::Libson& library, std::size_t position) {
    return library.Page(int(position / core::kSlotsPerPage))[position % core::kSlotsPerPage];
}

// ---- Reports of a read file ----------------------------------------------------------

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}


std::string_view KindText(MessageKind kind) {
    switch (kind) {
    case MessageKind::kVoiceBank: return "voice-bank dump";
    case MessageKind::kFunctionBank: return "function-bank dump";
    case MessageKind::kSingleVoice: return "single voice";
    case MessageKind::kSingleFunction: return "single function";
    case MessageKind::kOther: break;
    }
    return "other message";
}

std::string_view FileKindText(FileKind kind) {
    switch (kind) {
    case FileKind::kBankImage: return "bank image";
    case FileKind::kBankImageExtraByte: return "bank image with one extra byte";
    case FileKind::kBankWithFunctions: return "bank image with function bank";
    case FileKind::kLibrary: return "library";
    case FileKind::kSysex: return "system-exclusive messages";
    case FileKind::kNothing: break;
    }
    return "nothing the program can read";
}

// "voice-bank dump", "3 single voices", "4 messages": what a file of messages holds.
std::string MessagesText(const FileReading& reading) {
    const std::vector<FoundMessage>& messages = reading.messages;
    const bool same = std::all_of(messages.begin(), messages.end(),
                                  [&](const FoundMessage& m) { return m.kind == messages.front().kind; });
    if (messages.size() == 1) return std::string(KindText(messages.front().kind));
    if (!same) return Plural(messages.size(), "message", "messages");
    std::string kinds(KindText(messages.front().kind));
    kinds = messages.front().kind == MessageKind::kSingleVoice ? "single voices"
            : messages.front().kind == MessageKind::kSingleFunction ? "single functions"
                                                                      : kinds + "s";
    return std::to_string(messages.size()) + " " + kinds;
}

std::string_view ChecksumText(ChecksumState state) {
    switch (state) {
    case ChecksumState::kGood: return "good";
    case ChecksumState::kWrong: return "wrong";
    case ChecksumState::kMissing: break;
    }
    return "missing";
}

void WriteNames(std::ostream& out, const std::vector<std::string>& names, std::string_view indent) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        char number[24];
        std::snprintf(number, sizeof number, "%2zu ", i + 1);
        out << (i % 4 == 0 ? std::string(indent) : std::string("   ")) << number << NameText(names[i]);
        if (i % 4 == 3 || i + 1 == names.size()) out << "\n";
    }
}

void WriteNotes(std::ostream& out, const std::vector<RepairNote>& notes,
                const std::vector<std::string>& names, std::string_view indent) {
    for (const RepairNote& note : notes) {
        out << indent;
        if (note.voice > 0) {
            out << "voice " << note.voice;
            if (std::size_t(note.voice) <= names.size())
                out << " \"" << NameText(names[std::size_t(note.voice) - 1]) << "\"";
            out << ": ";
        }
        out << note.text << "\n";
    }
}

std::string MessageLine(const FoundMessage& message) {
    std::string line(KindText(message.kind));
    if (message.channel > 0) line += ", channel " + std::to_string(message.channel);
    if (message.kind != MessageKind::kOther)
        line += ", checksum " + std::string(ChecksumText(message.checksum));
    if (message.kind == MessageKind::kVoiceBank)
        line += ", " + Plural(message.voiceNames.size(), "voice", "voices");
    if (message.kind == MessageKind::kSingleVoice && !message.voiceNames.empty())
        line += " \"" + NameText(message.voiceNames.front()) + "\"";
    return line;
}

std::vector<std::string> BankNames(const RepairedBank& bank) {
    std::vector<std::string> names;
    for (int s = 0; s < bank.voiceCount; ++s)
        names.push_back(std::string(reinterpret_cast<const char*>(bank.image.data()) +
                                        std::size_t(s) * core::kPackedVoiceSize + core::kPackedNameOffset,
                                    core::kNameSize));
    return names;
}

// What the file is and what the reader found wrong, for info and repair alike.
void WriteReading(std::ostream& out, const std::string& file, const FileReading& reading,
                  bool withNames) {
    out << file << ": ";
    if (reading.kind != FileKind::kSysex) {
        out << FileKindText(reading.kind);
        if (!reading.banks.empty()) out << ", " << Plural(std::size_t(reading.voiceCount), "voice", "voices");
        out << "\n";
        const std::vector<std::string> names =
            reading.banks.empty() ? std::vector<std::string>{} : BankNames(reading.banks.front());
        if (withNames) WriteNames(out, names, "  ");
        WriteNotes(out, reading.fileNotes, names, "  ");
        return;
    }
    const bool one = reading.messages.size() == 1;
    if (one)
        out << MessageLine(reading.messages.front()) << "\n";
    else
        out << MessagesText(reading) << ", " << Plural(std::size_t(reading.voiceCount), "voice", "voices")
            << "\n";
    for (std::size_t m = 0; m < reading.messages.size(); ++m) {
        const FoundMessage& message = reading.messages[m];
        if (!one)
            out << "  message " << m + 1 << " (byte " << message.offset << "): " << MessageLine(message)
                << "\n";
        const std::string_view indent = one ? "  " : "    ";
        if (withNames && message.kind == MessageKind::kVoiceBank) WriteNames(out, message.voiceNames, indent);
        WriteNotes(out, message.notes, message.voiceNames, indent);
    }
    WriteNotes(out, reading.fileNotes, {}, "  ");
}

// ---- info -------------------------------------------------------------------------------

std::string JsonNames(const std::vector<std::string>& names) {
    std::string json = "[";
    for (std::size_t i = 0; i < names.size(); ++i)
        json += (i ? ", " : "") + JsonString(NameText(names[i]));
    return json + "]";
}

std::string JsonNotes(const std::vector<RepairNote>& notes) {
    std::string json = "[";
    for (std::size_t i = 0; i < notes.size(); ++i)
        json += std::string(i ? ", " : "") + "{\"voice\": " + std::to_string(notes[i].voice) +
                ", \"text\": " + JsonString(notes[i].text) + "}";
    return json + "]";
}

std::string JsonReading(const std::string& file, const FileReading& reading) {
    const std::string kind =
        reading.kind == FileKind::kSysex ? MessagesText(reading) : std::string(FileKindText(reading.kind));
    std::string json = "{\"file\": " + JsonString(file) + ", \"kind\": " + JsonString(kind) +
                       ", \"voices\": " + std::to_string(reading.voiceCount);
    if (reading.kind != FileKind::kSysex && !reading.banks.empty())
        json += ", \"names\": " + JsonNames(BankNames(reading.banks.front()));
    json += ", \"messages\": [";
    for (std::size_t m = 0; m < reading.messages.size(); ++m) {
        const FoundMessage& message = reading.messages[m];
        json += std::string(m ? ", " : "") + "{\"offset\": " + std::to_string(message.offset) +
                ", \"kind\": " + JsonString(KindText(message.kind)) +
                ", \"channel\": " + std::to_string(message.channel) +
                ", \"checksum\": " + JsonString(ChecksumText(message.checksum)) +
                ", \"names\": " + JsonNames(message.voiceNames) +
                ", \"notes\": " + JsonNotes(message.notes) + "}";
    }
    return json + "], \"notes\": " + JsonNotes(reading.fileNotes) + "}";
}

std::string JsonLibrary(const std::string& file, const core::Libson& library) {
    const core::Libson::SelectionCount count = library.CountSelection();
    std::string json = "{\"file\": " + JsonString(file) + ", \"kind\": \"library\", \"name\": " +
                       JsonString(library.Name()) + ", \"voices\": " + std::to_string(count.used) +
                       ", \"selected\": " + std::to_string(count.selected) + ", \"markers\": [";
    for (int m = 0; m < core::kMarkerCount; ++m)
        json += (m ? ", " : "") + JsonString(library.MarkerNameText(m));
    json += "], \"slots\": [";
    bool first = true;
    ForEachUsed(library, [&](std::size_t position, const core::VoiceSlot& slot) {
        json += std::string(first ? "" : ", ") + "{\"page\": " +
                std::to_string(position / core::kSlotsPerPage) +
                ", \"slot\": " + std::to_string(position % core::kSlotsPerPage + 1) +
                ", \"name\": " + JsonString(NameText(slot.voice)) +
                ", \"selected\": " + (slot.IsSelected() ? "true" : "false") +
                ", \"marker\": " + std::to_string(slot.Marker()) + "}";
        first = false;
    });
    return json + "]}";
}

void WriteLibraryInfo(std::ostream& out, const std::string& file, const core::Libson& library) {
    const core::Libson::SelectionCount count = library.CountSelection();
    int pages = 0;
    for (int p = 0; p < library.PageCount(); ++p) pages += library.IsPageEmpty(p) ? 0 : 1;
    out << file << ": library \"" << library.Name() << "\", "
        << Plural(std::size_t(count.used), "voice", "voices") << " on "
        << Plural(std::size_t(pages), "page", "pages") << ", " << count.selected << " selected\n";
    const std::array<int, core::kMarkerCount> markers = library.CountByMarker();
    for (int m = 0; m < core::kMarkerCount; ++m)
        if (markers[m] > 0)
            out << "  marker " << m << " \"" << library.MarkerNameText(m) << "\": "
                << Plural(std::size_t(markers[m]), "voice", "voices") << "\n";
}

int Info(const Arguments& args, Session& session) {
    const bool json = args.Has("--json");
    std::vector<std::string> objects;
    for (const std::string& file : args.positional) {
        const std::optional<std::vector<Byte>> bytes = ReadInput(file, session);
        if (!bytes) continue;
        const FileReading reading = ReadVoiceFile(*bytes);
        if (reading.kind == FileKind::kLibrary) {
            const std::unique_ptr<core::Libson> library = LoadLibrary(file, session);
            if (!library) continue;
            if (json)
                objects.push_back(JsonLibrary(file, *library));
            else
                WriteLibraryInfo(session.Out(), file, *library);
            continue;
        }
        if (json)
            objects.push_back(JsonReading(file, reading));
        else
            WriteReading(session.Out(), file, reading, true);
        if (!reading.HasVoices()) session.Fail(file, "holds no voices the program can use");
    }
    if (json) {
        session.Out() << "[";
        for (std::size_t i = 0; i < objects.size(); ++i) session.Out() << (i ? ",\n " : "") << objects[i];
        session.Out() << "]\n";
    }
    return session.Status();
}

// ---- repair -----------------------------------------------------------------------------

// The inputs' real paths: nothing is ever written onto one of them.
class InputGuard {
public:
    void Add(const fs::path& input) {
        std::error_code ec;
        const fs::path real = fs::weakly_canonical(input, ec);
        if (!ec) inputs_.insert(real);
    }
    bool Hits(const fs::path& path) const {
        std::error_code ec;
        const fs::path real = fs::weakly_canonical(path, ec);
        return !ec && inputs_.count(real);
    }
    // The save target itself and the backup it would replace.
    bool SaveWouldTouch(const fs::path& target) const {
        return Hits(target) || Hits(core::BackupPath(core::ResolveSaveTarget(target, "")));
    }

private:
    std::set<fs::path> inputs_;
};

// NAME, NAME-2, ... : a name not yet written in this run.
std::string FreshStem(const std::string& stem, std::set<std::string>& written) {
    std::string candidate = stem;
    for (int n = 2; !written.insert(candidate).second; ++n) candidate = stem + "-" + std::to_string(n);
    return candidate;
}

struct RepairOptions {
    fs::path outDir;
    bool dx7 = false;
    std::optional<int> channel;
};

void WriteRepairedBanks(const std::string& input, const FileReading& reading,
                        const RepairOptions& options, const InputGuard& guard,
                        std::set<std::string>& written, Session& session) {
    const std::string stem = fs::path(input).stem().string();
    for (std::size_t b = 0; b < reading.banks.size(); ++b) {
        const RepairedBank& repaired = reading.banks[b];
        const std::string name =
            FreshStem(reading.banks.size() == 1 ? stem : stem + "-" + std::to_string(b + 1), written);
        core::Bankson bank;
        core::BankImageToPage(repaired.image, bank.Page());
        std::vector<fs::path> targets{options.outDir / (name + ".SYX")};
        if (options.dx7) targets.push_back(options.outDir / (name + ".DX7"));
        for (const fs::path& target : targets) {
            if (guard.SaveWouldTouch(target)) {
                session.Fail(input, "the output " + target.string() +
                                        " would replace an input: choose another output folder");
                continue;
            }
            session.ClearBoxes();
            const bool sysex = target.extension() == ".SYX";
            const int failed = sysex ? bank.SaveSysexFile(target, false, options.channel.value_or(repaired.channel))
                                     : bank.SaveBankFile(target, false);
            if (failed) {
                session.Fail(target.string(), session.BoxText("cannot be written"));
                continue;
            }
            session.Out() << "  -> " << target.string() << " ("
                          << Plural(std::size_t(repaired.voiceCount), "voice", "voices") << " from "
                          << repaired.origin << ")\n";
        }
    }
}

int Repair(const Arguments& args, Session& session) {
    const std::optional<std::string> out = args.Value("-o") ? args.Value("-o") : args.Value("--output");
    if (!out) return session.Usage("repair needs an output folder (-o DIR)", kRepairHelp);
    if (args.positional.empty()) return session.Usage("repair needs at least one input file", kRepairHelp);
    RepairOptions options{*out, args.Has("--dx7"), std::nullopt};
    if (const std::optional<std::string> channel = args.Value("--channel")) {
        options.channel = ParseNumber(*channel, 1, 16);
        if (!options.channel) return session.Usage("--channel takes a number 1-16", kRepairHelp);
    }
    std::error_code ec;
    fs::create_directories(options.outDir, ec);
    if (!fs::is_directory(options.outDir, ec)) {
        session.Fail(options.outDir.string(), "cannot be used as the output folder");
        return session.Status();
    }
    InputGuard guard;
    for (const std::string& input : args.positional) guard.Add(input);
    std::set<std::string> written;
    for (const std::string& input : args.positional) {
        const std::optional<std::vector<Byte>> bytes = ReadInput(input, session);
        if (!bytes) continue;
        const FileReading reading = ReadVoiceFile(*bytes);
        if (reading.kind == FileKind::kLibrary) {
            session.Fail(input, "is a library file: use \"mondral-cli export\"");
            continue;
        }
        WriteReading(session.Out(), input, reading, false);
        if (!reading.HasVoices()) {
            session.Out() << "  nothing usable: no file written\n";
            session.Fail(input, "holds no voices the program can use");
            continue;
        }
        WriteRepairedBanks(input, reading, options, guard, written, session);
    }
    return session.Status();
}

// ---- import -----------------------------------------------------------------------------

bool IsVoiceFileName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return extension == ".syx" || extension == ".dx7";
}

// The files named, and the voice files inside the folders named, each folder's sorted by path.
std::vector<fs::path> CollectInputs(const std::vector<std::string>& paths) {
    std::vector<fs::path> files;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (!fs::is_directory(path, ec)) {
            files.push_back(path);
            continue;
        }
        std::vector<fs::path> found;
        for (auto it = fs::recursive_directory_iterator(path, fs::directory_options::skip_permission_denied, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file(ec) && IsVoiceFileName(it->path())) found.push_back(it->path());
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

bool IsEmptyVoice(const Byte* voice) {
    static const core::PackedVoice empty = [] {
        core::VoiceSlot slot;
        core::InitSlot(slot);
        return slot.voice;
    }();
    return std::equal(empty.begin(), empty.end(), voice);
}

int Import(const Arguments& args, Session& session) {
    const std::optional<std::string> libraryPath = args.Value("--library");
    if (!libraryPath) return session.Usage("import needs a library (--library LIB.DXL)", kImportHelp);
    if (args.positional.empty()) return session.Usage("import needs files or folders to import", kImportHelp);
    int firstPage = 0;
    if (const std::optional<std::string> page = args.Value("--page")) {
        const std::optional<int> number = ParseNumber(*page, 0, core::kLibraryPageCount - 1);
        if (!number) return session.Usage("--page takes a page number 0-999", kImportHelp);
        firstPage = *number;
    }
    const fs::path target = core::ResolveSaveTarget(*libraryPath, ".DXL").target;
    std::unique_ptr<core::Libson> library;
    std::error_code ec;
    if (fs::exists(target, ec)) {
        library = LoadLibrary(target, session);
        if (!library) return session.Status();
    } else {
        library = std::make_unique<core::Libson>();
    }

    const std::vector<fs::path> files = CollectInputs(args.positional);
    int page = firstPage;
    int imported = 0, repaired = 0, emptySkipped = 0, notRoom = 0, unusable = 0;
    for (std::size_t f = 0; f < files.size(); ++f) {
        session.ShowProgress(f, files.size());
        const std::string file = files[f].string();
        const std::optional<std::vector<Byte>> bytes = ReadInput(files[f], session);
        if (!bytes) {
            ++unusable;
            continue;
        }
        const FileReading reading = ReadVoiceFile(*bytes);
        if (reading.kind == FileKind::kLibrary || !reading.HasVoices()) {
            session.Fail(file, reading.kind == FileKind::kLibrary ? "is a library file: not imported"
                                                                  : "holds no voices the program can use");
            ++unusable;
            continue;
        }
        repaired += reading.repairedVoices;
        for (const RepairedBank& bank : reading.banks)
            for (int s = 0; s < bank.voiceCount; ++s) {
                core::VoiceSlot slot;
                std::copy_n(bank.image.begin() + std::ptrdiff_t(s) * core::kPackedVoiceSize,
                            core::kPackedVoiceSize, slot.voice.begin());
                slot.status = core::kStatusUsed;
                if (IsEmptyVoice(slot.voice.data())) {
                    ++emptySkipped;
                    continue;
                }
                while (page < core::kLibraryPageCount &&
                       !core::Nomsyn::CopyToFirstFree(slot, library->Page(page)))
                    ++page;
                if (page == core::kLibraryPageCount) {
                    ++notRoom;
                    continue;
                }
                ++imported;
            }
    }
    session.ShowProgress(files.size(), files.size());
    session.ClearProgress();
    if (notRoom > 0)
        session.Fail(target.string(), "full from page " + std::to_string(firstPage) + " on: " +
                                          Plural(std::size_t(notRoom), "voice", "voices") + " not imported");
    if (imported > 0 && !SaveLibrary(*library, target, session)) return session.Status();
    session.Out() << Plural(files.size(), "file", "files") << " read ("
                  << unusable << " unusable); " << Plural(std::size_t(imported), "voice", "voices")
                  << " imported into " << target.string() << ", " << repaired << " repaired, "
                  << emptySkipped + notRoom << " skipped (" << emptySkipped << " empty, " << notRoom
                  << " without a free slot)\n";
    if (imported == 0) session.Out() << "The library was not changed.\n";
    return session.Status();
}

// ---- doubles ----------------------------------------------------------------------------

void WriteMember(std::ostream& out, std::size_t position, const core::VoiceSlot& slot) {
    out << "  " << PlaceText(position) << "  " << NameText(slot.voice);
}

int Doubles(const Arguments& args, Session& session) {
    if (args.positional.size() != 1) return session.Usage("doubles takes one library file", kDoublesHelp);
    const bool remove = args.Has("--delete"), select = args.Has("--select");
    if (remove && select) return session.Usage("--select and --delete exclude each other", kDoublesHelp);
    const std::string file = args.positional.front();
    const std::unique_ptr<core::Libson> library = LoadLibrary(file, session);
    if (!library) return session.Status();

    // The librarian's search marks every voice that has an identical one; those are then
    // listed group by group.
    library->FindDoubles({true, true, false});
    std::map<std::array<Byte, core::kVoiceParameterBytes>, std::vector<std::size_t>> groups;
    ForEachUsed(*library, [&](std::size_t position, const core::VoiceSlot& slot) {
        if (!slot.IsSelected()) return;
        std::array<Byte, core::kVoiceParameterBytes> key;
        std::copy_n(slot.voice.begin(), key.size(), key.begin());
        groups[key].push_back(position);
    });
    std::vector<std::vector<std::size_t>> ordered;
    for (auto& [key, members] : groups) ordered.push_back(std::move(members));
    std::sort(ordered.begin(), ordered.end());
    std::size_t later = 0;
    for (std::size_t g = 0; g < ordered.size(); ++g) {
        session.Out() << "group " << g + 1 << ": " << ordered[g].size() << " identical voices\n";
        for (std::size_t position : ordered[g]) {
            WriteMember(session.Out(), position, SlotAt(*library, position));
            session.Out() << "\n";
        }
        later += ordered[g].size() - 1;
    }
    session.Out() << Plural(ordered.size(), "group", "groups") << " of identical voices, "
                  << later << (later == 1 ? " later copy" : " later copies") << "\n";
    if (!remove && !select) {
        session.Out() << "The library was not changed.\n";
        return session.Status();
    }
    library->FindDoubles({false, true, remove});
    if (later > 0 && SaveLibrary(*library, file, session))
        session.Out() << (remove ? "Deleted " : "Selected ") << later
                      << (later == 1 ? " later copy" : " later copies") << "; saved " << file
                      << " (the previous file kept as backup).\n";
    return session.Status();
}

// ---- similar ----------------------------------------------------------------------------

int Similar(const Arguments& args, Session& session) {
    if (args.positional.size() != 1) return session.Usage("similar takes one library file", kSimilarHelp);
    int threshold = kDefaultThreshold;
    if (const std::optional<std::string> text = args.Value("--threshold")) {
        const std::optional<int> number = ParseNumber(*text, 0, kMaxThreshold);
        if (!number) return session.Usage("--threshold takes a number 0-" + std::to_string(kMaxThreshold), kSimilarHelp);
        threshold = *number;
    }
    const std::string file = args.positional.front();
    const std::unique_ptr<core::Libson> library = LoadLibrary(file, session);
    if (!library) return session.Status();

    std::vector<std::size_t> positions;
    std::vector<ParameterVector> voices;
    ForEachUsed(*library, [&](std::size_t position, const core::VoiceSlot& slot) {
        positions.push_back(position);
        voices.push_back(ParametersOf(slot.voice));
    });
    const std::vector<RankedGroup> groups = RankGroups(voices, FindSimilarGroups(voices, threshold));
    std::size_t members = 0;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const RankedGroup& group = groups[g];
        session.Out() << "group " << g + 1 << ": " << group.members.size()
                      << " voices, spread " << group.spread << "\n";
        for (std::size_t m = 0; m < group.members.size(); ++m) {
            const std::size_t position = positions[group.members[m]];
            WriteMember(session.Out(), position, SlotAt(*library, position));
            session.Out() << "  " << group.distanceToFirst[m] << "\n";
        }
        members += group.members.size();
    }
    session.Out() << Plural(groups.size(), "group", "groups") << " of similar voices, "
                  << Plural(members, "voice", "voices") << " (threshold " << threshold << ")\n";
    if (!args.Has("--select")) return session.Status();
    library->ClearSelection();
    for (const RankedGroup& group : groups)
        for (std::uint32_t m : group.members) SlotAt(*library, positions[m]).status |= core::kStatusSelected;
    if (SaveLibrary(*library, file, session))
        session.Out() << "Selected " << Plural(members, "voice", "voices") << "; saved " << file
                      << " (the previous file kept as backup).\n";
    return session.Status();
}

// ---- export -----------------------------------------------------------------------------

std::optional<std::pair<int, int>> ParsePages(const std::string& text) {
    const std::size_t dash = text.find('-');
    const int last = core::kLibraryPageCount - 1;
    const std::optional<int> from = ParseNumber(std::string_view(text).substr(0, dash), 0, last);
    const std::optional<int> to =
        dash == std::string::npos ? from : ParseNumber(std::string_view(text).substr(dash + 1), 0, last);
    if (!from || !to || *to < *from) return std::nullopt;
    return std::pair{*from, *to};
}

int Export(const Arguments& args, Session& session) {
    if (args.positional.size() != 1) return session.Usage("export takes one library file", kExportHelp);
    const std::optional<std::string> pagesText = args.Value("--pages");
    const bool selected = args.Has("--selected");
    if (pagesText.has_value() == selected)
        return session.Usage("export takes either --pages A-B or --selected", kExportHelp);
    const std::optional<std::string> out = args.Value("-o") ? args.Value("-o") : args.Value("--output");
    if (!out) return session.Usage("export needs an output folder (-o DIR)", kExportHelp);
    const bool sysex = args.Has("--syx");
    int channel = 1;
    if (const std::optional<std::string> text = args.Value("--channel")) {
        const std::optional<int> number = ParseNumber(*text, 1, 16);
        if (!number || !sysex) return session.Usage("--channel takes a number 1-16, with --syx", kExportHelp);
        channel = *number;
    }
    std::optional<std::pair<int, int>> pages;
    if (pagesText) {
        pages = ParsePages(*pagesText);
        if (!pages) return session.Usage("--pages takes A-B with 0 <= A <= B <= 999", kExportHelp);
    }
    const std::string file = args.positional.front();
    const std::unique_ptr<core::Libson> library = LoadLibrary(file, session);
    if (!library) return session.Status();
    const fs::path outDir = *out;
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (!fs::is_directory(outDir, ec)) {
        session.Fail(outDir.string(), "cannot be used as the output folder");
        return session.Status();
    }

    int written = 0;
    const auto save = [&](core::Bankson& bank, const std::string& name, int voices) {
        const fs::path target = outDir / (name + (sysex ? ".SYX" : ".DX7"));
        session.ClearBoxes();
        if (sysex ? bank.SaveSysexFile(target, false, channel) : bank.SaveBankFile(target, false)) {
            session.Fail(target.string(), session.BoxText("cannot be written"));
            return;
        }
        session.Out() << target.string() << ": " << Plural(std::size_t(voices), "voice", "voices") << "\n";
        ++written;
    };
    char number[16];
    core::Bankson bank;
    if (pages) {
        for (int p = pages->first; p <= pages->second; ++p) {
            if (library->IsPageEmpty(p)) continue;
            bank.Page() = library->Page(p);
            std::snprintf(number, sizeof number, "%03d", p);
            const auto used = std::count_if(bank.Page().begin(), bank.Page().end(),
                                            [](const core::VoiceSlot& slot) { return slot.IsUsed(); });
            save(bank, library->Name() + "-page-" + number, int(used));
        }
    } else {
        int files = 0, inBank = 0;
        bank.ClearVoices();
        const auto flush = [&] {
            std::snprintf(number, sizeof number, "%02d", ++files);
            save(bank, library->Name() + "-selected-" + number, inBank);
            bank.ClearVoices();
            inBank = 0;
        };
        ForEachUsed(*library, [&](std::size_t, const core::VoiceSlot& slot) {
            if (!slot.IsSelected()) return;
            core::Nomsyn::CopyToFirstFree(slot, bank.Page());
            if (++inBank == int(core::kSlotsPerPage)) flush();
        });
        if (inBank > 0) flush();
    }
    if (written == 0 && session.Status() == kExitOk)
        session.Out() << (pages ? "No used voice on those pages" : "No voice is selected")
                      << ": nothing written.\n";
    return session.Status();
}

// ---- dispatch ---------------------------------------------------------------------------

struct Command {
    std::string_view name;
    std::string_view help;
    OptionSpec options;
    int (*run)(const Arguments&, Session&);
};

const std::array<Command, 6>& Commands() {
    static const std::array<Command, 6> commands{{
        {"info", kInfoHelp, {{}, {"--json", "--help", "-h"}}, Info},
        {"repair", kRepairHelp, {{"-o", "--output", "--channel"}, {"--dx7", "--help", "-h"}}, Repair},
        {"import", kImportHelp, {{"--library", "--page"}, {"--help", "-h"}}, Import},
        {"doubles", kDoublesHelp, {{}, {"--delete", "--select", "--help", "-h"}}, Doubles},
        {"similar", kSimilarHelp, {{"--threshold"}, {"--select", "--help", "-h"}}, Similar},
        {"export", kExportHelp,
         {{"--pages", "-o", "--output", "--channel"}, {"--selected", "--syx", "--help", "-h"}},
         Export},
    }};
    return commands;
}

}  // namespace

int RunCli(std::span<const std::string> args, Console console) {
    Session session(console);
    if (args.empty()) return session.Usage("no command given", kMainHelp);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        console.out << kMainHelp;
        return kExitOk;
    }
    for (const Command& command : Commands()) {
        if (args[0] != command.name) continue;
        const Arguments parsed = ParseArguments(args.subspan(1), command.options);
        if (!parsed.error.empty()) return session.Usage(parsed.error, command.help);
        if (parsed.Has("--help") || parsed.Has("-h")) {
            console.out << command.help;
            return kExitOk;
        }
        if (command.name == "info" && parsed.positional.empty())
            return session.Usage("info needs at least one file", command.help);
        return command.run(parsed, session);
    }
    return session.Usage("unknown command \"" + args[0] + "\"", kMainHelp);
}

}  // namespace cli
