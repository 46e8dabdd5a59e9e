#pragma once
// What every command of mondral-cli shares: the session that writes reports, error lines and a
// progress bar and collects the boxes the data objects raise; reading an input file; loading
// and saving a library; the small texts of the reports.

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "core/Libson.h"
#include "platform/MessageBoxes.h"

namespace cli {

inline constexpr std::string_view kProgram = "mondral-cli";

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

// One command: its name, help text, options and what runs it.
struct Command {
    std::string_view name;
    std::string_view help;
    OptionRules options;
    int (*run)(const Arguments&, Session&);
};

// Why an input named on the command line gave no bytes.
enum class InputProblem { kNone, kMissing, kFolder, kUnreadable, kEmpty };

// The whole file; nothing (after an error line) when it is missing, a folder, unreadable or
// empty, and `problem` says which.
std::optional<std::vector<core::Byte>> ReadInput(const std::filesystem::path& path, Session& session,
                                                 InputProblem* problem = nullptr);
// A library loaded from an existing file; nothing (after an error line) when it can't be.
std::unique_ptr<core::Libson> LoadLibrary(const std::filesystem::path& path, Session& session);
bool SaveLibrary(core::Libson& library, const std::filesystem::path& path, Session& session);
// Creates the output folder when the first file is about to be written: a run that writes
// nothing leaves no folder behind. False after an error line.
bool MakeOutputFolder(const std::filesystem::path& folder, Session& session);

// "page   3 slot 12" for a library position 0-31 999.
std::string PlaceText(std::size_t position);
std::string Plural(std::size_t count, std::string_view one, std::string_view many);
// "  page   3 slot 12  NAME" of a group member, without the line end.
void WriteMember(std::ostream& out, std::size_t position, const core::VoiceSlot& slot);

template <class Visit>
void ForEachUsed(const core::Libson& library, Visit&& visit) {
    for (int p = 0; p < library.PageCount(); ++p) {
        const core::VoicePage& page = library.Page(p);
        for (std::size_t s = 0; s < core::kSlotsPerPage; ++s)
            if (page[s].IsUsed()) visit(std::size_t(p) * core::kSlotsPerPage + s, page[s]);
    }
}

inline core::VoiceSlot& SlotAt(core::Libson& library, std::size_t position) {
    return library.Page(int(position / core::kSlotsPerPage))[position % core::kSlotsPerPage];
}

// The commands, one file each.
extern const Command kInfoCommand;
extern const Command kRepairCommand;
extern const Command kImportCommand;
extern const Command kDoublesCommand;
extern const Command kSimilarCommand;
extern const Command kExportCommand;

}  // namespace cli
