#pragma once
// What the program stores when the main window closes: the "Base", "Midi" and "EdtOpt" keys,
// in that order, each from the windows that own its values.

#include "platform/SettingsStore.h"

namespace librarian {
class TfrmMain;
}
namespace midi {
class TfrmMidi;
}
namespace editor {
class TfrmEdt;
class TfrmEditOpt;
}  // namespace editor

namespace app {

void WriteShutdownSettings(const librarian::TfrmMain& main, const midi::TfrmMidi& midi,
                           const editor::TfrmEdt& editor, const editor::TfrmEditOpt& editorOptions,
                           platform::SettingsStore& store = platform::Settings());

}  // namespace app
