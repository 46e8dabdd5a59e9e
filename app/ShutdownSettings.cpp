#include "app/ShutdownSettings.h"

#include "editor/TfrmEditOpt.h"
#include "editor/TfrmEdt.h"
#include "midi/TfrmMidi.h"

namespace app {

void WriteShutdownSettings(const librarian::BaseValues& base, const midi::TfrmMidi& midi,
                           const editor::TfrmEdt& editor, const editor::TfrmEditOpt& editorOptions,
                           platform::SettingsStore& store) {
    librarian::WriteBaseValues(base, store);
    midi.WriteSettings(store);
    editor::WriteEditorSettings(editor.Place(), editorOptions.Look(), store);
}

}  // namespace app
