#include "app/ShutdownSettings.h"

#include "app/EditorOptionValues.h"
#include "midi/TfrmMidi.h"

namespace app {

void WriteShutdownSettings(const librarian::BaseValues& base, const midi::TfrmMidi& midi,
                           platform::SettingsStore& store) {
    librarian::WriteBaseValues(base, store);
    midi.WriteSettings(store);
    WriteEditorOptionValues(EditorOptionValues{}, store);
}

}  // namespace app
