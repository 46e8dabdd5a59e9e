// info: what each file is and what the repair would change; nothing is written.

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "cli/ReadingText.h"
#include "cli/Session.h"
#include "cli/Text.h"
#include "core/Libson.h"

namespace cli {
namespace {

constexpr std::string_view kInfoHelp =
    "usage: mondral-cli info [--json] FILE...\n"
    "\n"
    "Tells what each file is (bank image, bank with functions, voice-bank dump, function-bank\n"
    "dump, single voices, library), the channel and checksum state of each message, the voice\n"
    "names, and what is wrong with it and would be repaired. Nothing is written. A file of\n"
    "junk is reported up to 100 lines and a line that counts the rest.\n"
    "\n"
    "  --json    one JSON array with an object per file named, for scripts: \"kind\" is\n"
    "            one of bank-image, bank-image-extra-byte, bank-image-with-functions,\n"
    "            library, sysex, nothing, each message's one of voice-bank,\n"
    "            function-bank, single-voice, single-function, other; a file that gave\n"
    "            nothing has \"error\": missing, folder, unreadable or empty\n";


std::string JsonProblem(const std::string& file, InputProblem problem) {
    std::string_view error = "unreadable";
    if (problem == InputProblem::kMissing) error = "missing";
    if (problem == InputProblem::kFolder) error = "folder";
    if (problem == InputProblem::kEmpty) error = "empty";
    return "{\"file\": " + JsonString(file) + ", \"error\": " + JsonString(error) + "}";
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
    if (args.positional.empty()) return session.Usage("info needs at least one file", kInfoHelp);
    const bool json = args.Has("--json");
    std::vector<std::string> objects;
    for (const std::string& file : args.positional) {
        InputProblem problem = InputProblem::kNone;
        const std::optional<std::vector<core::Byte>> bytes = ReadInput(file, session, &problem);
        if (!bytes) {
            if (json) objects.push_back(JsonProblem(file, problem));
            continue;
        }
        const FileReading reading = core::ReadVoiceFile(*bytes);
        if (reading.kind == FileKind::kLibrary) {
            const std::unique_ptr<core::Libson> library = LoadLibrary(file, session);
            if (!library) {
                if (json) objects.push_back(JsonProblem(file, InputProblem::kUnreadable));
                continue;
            }
            if (json)
                objects.push_back(JsonLibrary(file, *library));
            else
                WriteLibraryInfo(session.Out(), file, *library);
            continue;
        }
        if (json)
            objects.push_back(JsonReading(file, reading));
        else
            WriteReading(session.Out(), file, reading, {true, true, {}});
        if (!reading.HasVoices()) session.Fail(file, "holds no voices the program can use");
    }
    if (json) {
        session.Out() << "[";
        for (std::size_t i = 0; i < objects.size(); ++i) session.Out() << (i ? ",\n " : "") << objects[i];
        session.Out() << "]\n";
    }
    return session.Status();
}


}  // namespace

const Command kInfoCommand{"info", kInfoHelp, {{}, {"--json", "--help", "-h"}}, Info};

}  // namespace cli
