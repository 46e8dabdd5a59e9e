// repair: messy sysex files rewritten as clean 4104-byte banks.

#include <filesystem>
#include <optional>
#include <set>
#include <vector>

#include "cli/ReadingText.h"
#include "cli/Session.h"
#include "core/Bankson.h"
#include "core/FileIo.h"

namespace cli {
namespace {

namespace fs = std::filesystem;

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
    "  -o, --output DIR   folder for the repaired files (created when the first is\n"
    "                     written)\n"
    "  --dx7              also write each bank as a 4096-byte .DX7 image\n"
    "  --channel N        MIDI channel 1-16 of the written dumps (default: the channel each\n"
    "                     dump came with, 1 for bank images)\n";


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

// The files a reading's banks are written to: NAME, or NAME-1, NAME-2, ... for several banks.
std::vector<std::string> BankStems(const std::string& input, const FileReading& reading,
                                   std::set<std::string>& written) {
    const std::string stem = fs::path(input).stem().string();
    std::vector<std::string> stems;
    for (std::size_t b = 0; b < reading.banks.size(); ++b)
        stems.push_back(FreshStem(reading.banks.size() == 1 ? stem : stem + "-" + std::to_string(b + 1), written));
    return stems;
}

void WriteRepairedBanks(const std::string& input, const FileReading& reading,
                        const std::vector<std::string>& stems, const RepairOptions& options,
                        const InputGuard& guard, bool& folderMade, Session& session) {
    for (std::size_t b = 0; b < reading.banks.size(); ++b) {
        const RepairedBank& repaired = reading.banks[b];
        const std::string& name = stems[b];
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
            if (!folderMade && !(folderMade = MakeOutputFolder(options.outDir, session))) return;
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
    if (fs::exists(options.outDir, ec) && !fs::is_directory(options.outDir, ec)) {
        session.Fail(options.outDir.string(), "cannot be used as the output folder");
        return session.Status();
    }
    InputGuard guard;
    for (const std::string& input : args.positional) guard.Add(input);
    std::set<std::string> written;
    bool folderMade = false;
    for (const std::string& input : args.positional) {
        const std::optional<std::vector<core::Byte>> bytes = ReadInput(input, session);
        if (!bytes) continue;
        const FileReading reading = core::ReadVoiceFile(*bytes);
        if (reading.kind == FileKind::kLibrary) {
            session.Fail(input, "is a library file: use \"mondral-cli export\"");
            continue;
        }
        const std::vector<std::string> stems = BankStems(input, reading, written);
        ReadingStyle style{false, false, {}};
        for (const std::string& stem : stems) style.bankFiles.push_back(stem + ".SYX");
        WriteReading(session.Out(), input, reading, style);
        if (!reading.HasVoices()) {
            session.Out() << "  nothing usable: no file written\n";
            session.Fail(input, "holds no voices the program can use");
            continue;
        }
        WriteRepairedBanks(input, reading, stems, options, guard, folderMade, session);
    }
    return session.Status();
}

}  // namespace

const Command kRepairCommand{
    "repair", kRepairHelp, {{"-o", "--output", "--channel"}, {"--dx7", "--help", "-h"}}, Repair};

}  // namespace cli
