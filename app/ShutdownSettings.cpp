#include "app/ShutdownSettings.h"

#include "app/EditorOptionValues.h"
#include "librarian/BaseSettings.h"
#include "librarian/TfrmMain.h"
#include "librarian/TfrmOption.h"
#include "midi/TfrmMidi.h"

namespace app {

void WriteShutdownSettings(const librarian::TfrmMain& main, const librarian::TfrmOption& options,
                           const midi::TfrmMidi& midi,
                           platform::SettingsStore& store) {
    librarian::BaseValues base;
    main.CollectBaseValues(base);
    options.CollectBaseValues(base);
    librarian::WriteBaseValues(base, store);
    midi.WriteSettings(store);
    WriteEditorOptionValues(EditorOptionValues{}, store);
}

}  // namespace app
