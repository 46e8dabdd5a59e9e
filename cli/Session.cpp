#include "cli/Session.h"

#include <cstdio>

#include "cli/Text.h"
#include "core/FileIo.h"
#include "core/SysexRepair.h"

namespace cli {

namespace fs = std::filesystem;

std::optional<std::vector<core::Byte>> ReadInput(const fs::path& path, Session& session, InputProblem* problem) {
    const auto fail = [&](InputProblem why, std::string_view reason) {
        if (problem) *problem = why;
        session.Fail(path.string(), reason);
        return std::nullopt;
    };
    if (problem) *problem = InputProblem::kNone;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return fail(InputProblem::kMissing, "no such file");
    if (fs::is_directory(status)) return fail(InputProblem::kFolder, "is a folder, not a file");
    std::optional<std::vector<core::Byte>> bytes = core::ReadWholeFile(path);
    if (!bytes) return fail(InputProblem::kUnreadable, "cannot be read");
    if (bytes->empty()) return fail(InputProblem::kEmpty, "is empty");
    return bytes;
}

std::unique_ptr<core::Libson> LoadLibrary(const fs::path& path, Session& session) {
    const std::optional<std::vector<core::Byte>> bytes = ReadInput(path, session);
    if (!bytes) return nullptr;
    if (!core::LooksLikeLibrary(*bytes)) {
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

bool MakeOutputFolder(const fs::path& folder, Session& session) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (fs::is_directory(folder, ec)) return true;
    session.Fail(folder.string(), "cannot be used as the output folder");
    return false;
}

std::string PlaceText(std::size_t position) {
    char text[32];
    std::snprintf(text, sizeof text, "page %3zu slot %2zu", position / core::kSlotsPerPage,
                  position % core::kSlotsPerPage + 1);
    return text;
}

std::string Plural(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

void WriteMember(std::ostream& out, std::size_t position, const core::VoiceSlot& slot) {
    out << "  " << PlaceText(position) << "  " << NameText(slot.voice);
}

}  // namespace cli
