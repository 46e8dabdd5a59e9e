#include "app/ShutdownSettings.h"

#include "editor/TfrmEditOpt.h"
#include "editor/TfrmEdt.h"
#include "librarian/BaseSettings.h"
#include "librarian/TfrmMain.h"
#include "midi/TfrmMidi.h"

namespace app {

void WriteShutdownSettings(const librarian::TfrmMain& main, const midi::TfrmMidi& midi,
                           const editor::TfrmEdt& editor, const editor::TfrmEditOpt& editorOptions,
                           platform::SettingsStore& store) {
    librarian::BaseValues base;
    main.CollectBaseValues(base);
    librarian::WriteBaseValues(base, store);
    midi.WriteSettings(store);
    editor::WriteEditorSettings(editor.Place(), editorOptions.Look(), store);
}

}  // namespace app
