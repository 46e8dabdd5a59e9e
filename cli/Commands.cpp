#include "cli/Commands.h"

#include <array>

#include "cli/Session.h"

namespace cli {
namespace {

constexpr std::string_view kMainHelp =
    "usage: mondral-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "The Mondral librarian's file work, without its window.\n"
    "\n"
    "commands:\n"
    "  info FILE...           what each file is: kind, channel, checksum, voice names\n"
    "  repair IN... -o DIR    rewrite messy sysex files as clean 4104-byte banks\n"
    "  import PATH... --library LIB.DXL [--recursive]\n"
    "                         read voice files and folders of them into free library\n"
    "                         slots, with one report\n"
    "  doubles LIB.DXL        identical voices (every parameter equal)\n"
    "  similar LIB.DXL        near-duplicate voices\n"
    "  export LIB.DXL ... -o DIR\n"
    "                         library pages or the selection as bank files\n"
    "\n"
    "\"mondral-cli COMMAND --help\" tells more. Exit status: 0 success, 1 a file could not\n"
    "be used, 2 wrong usage.\n";

const std::array<const Command*, 6> kCommands{&kInfoCommand,    &kRepairCommand,  &kImportCommand,
                                              &kDoublesCommand, &kSimilarCommand, &kExportCommand};

}  // namespace

int RunCli(std::span<const std::string> args, Console console) {
    Session session(console);
    if (args.empty()) return session.Usage("no command given", kMainHelp);
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        console.out << kMainHelp;
        return kExitOk;
    }
    for (const Command* command : kCommands) {
        if (args[0] != command->name) continue;
        const Arguments parsed = ParseArguments(args.subspan(1), command->options);
        if (!parsed.error.empty()) return session.Usage(parsed.error, command->help);
        if (parsed.Has("--help") || parsed.Has("-h")) {
            console.out << command->help;
            return kExitOk;
        }
        return command->run(parsed, session);
    }
    return session.Usage("unknown command \"" + args[0] + "\"", kMainHelp);
}

}  // namespace cli
