// export: library pages or the selected voices written as bank files.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>

#include "cli/Session.h"
#include "core/Bankson.h"
#include "core/Libson.h"
#include "core/Nomsyn.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExportHelp =
    "usage: mondral-cli export LIB.DXL (--pages A-B | --selected) -o DIR [--syx [--channel N]]\n"
    "\n"
    "Writes library pages, or the selected voices, as bank files into DIR: a page A..B as\n"
    "LIBNAME-page-NNN.DX7 (pages without a used slot are left out), the selected voices in\n"
    "library order 32 to a file as LIBNAME-selected-NN.DX7.\n"
    "\n"
    "  --pages A-B     pages A to B (0-999); a single number for one page\n"
    "  --selected      the used, selected voices\n"
    "  -o, --output DIR  created when the first file is written\n"
    "  --syx           write 4104-byte .SYX dumps instead of .DX7 images\n"
    "  --channel N     MIDI channel 1-16 of the .SYX dumps (default 1)\n";


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
    if (fs::exists(outDir, ec) && !fs::is_directory(outDir, ec)) {
        session.Fail(outDir.string(), "cannot be used as the output folder");
        return session.Status();
    }
    bool folderMade = false;

    int written = 0;
    const auto save = [&](core::Bankson& bank, const std::string& name, int voices) {
        const fs::path target = outDir / (name + (sysex ? ".SYX" : ".DX7"));
        if (!folderMade && !(folderMade = MakeOutputFolder(outDir, session))) return;
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


}  // namespace

const Command kExportCommand{"export", kExportHelp,
                             {{"--pages", "-o", "--output", "--channel"}, {"--selected", "--syx", "--help", "-h"}},
                             Export};

}  // namespace cli
