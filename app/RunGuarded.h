#pragma once
// Runs the program's steps; an error that escapes them is shown in an error box titled with
// the program's name, and the program ends with a non-zero status. A fatal error has told the
// user already and ends the program without a further box.

#include <functional>

namespace app {

inline constexpr const char* kProgramTitle = "Mondral";
inline constexpr int kFailureStatus = 1;

// Returns what `steps` returns, or kFailureStatus after the error box.
int RunGuarded(const std::function<int()>& steps);

}  // namespace app
