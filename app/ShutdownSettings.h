#pragma once
// What the program stores when the main window closes: the "Base", "Midi" and "EdtOpt" keys,
// in that order, each from the windows that own its values.

#include "platform/SettingsStore.h"

namespace librarian {
class TfrmMain;
class TfrmOption;
}
namespace midi {
class TfrmMidi;
}

namespace app {

void WriteShutdownSettings(const librarian::TfrmMain& main, const librarian::TfrmOption& options,
                           const midi::TfrmMidi& midi,
                           platform::SettingsStore& store = platform::Settings());

}  // namespace app
