#pragma once
// What the program stores when the main window closes: the "Base", "Midi" and "EdtOpt" keys,
// in that order, each from the windows that own its values.

#include "librarian/BaseSettings.h"
#include "platform/SettingsStore.h"

namespace midi {
class TfrmMidi;
}
namespace editor {
class TfrmEdt;
class TfrmEditOpt;
}  // namespace editor

namespace app {

// `base` holds the values each window put in (CollectBaseValues); the rest keep their defaults.
void WriteShutdownSettings(const librarian::BaseValues& base, const midi::TfrmMidi& midi,
                           const editor::TfrmEdt& editor, const editor::TfrmEditOpt& editorOptions,
                           platform::SettingsStore& store = platform::Settings());

}  // namespace app
