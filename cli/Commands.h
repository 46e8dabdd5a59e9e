#pragma once
// The commands of mondral-cli: info, repair, import, doubles, similar, export. Each reads its
// options, works on files through core/, writes its report to `out` and its errors to `err`
// ("mondral-cli: FILE: reason"), and returns the exit status.

#include <ostream>
#include <span>
#include <string>

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileFailed = 1;  // some file could not be used
inline constexpr int kExitUsage = 2;       // wrong options or arguments

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool progress = false;  // err is a terminal: show a progress bar on it
};

// Runs "mondral-cli ARGS..." (ARGS without the program's name).
int RunCli(std::span<const std::string> args, Console console);

}  // namespace cli
