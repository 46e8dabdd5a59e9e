// The voice editor with a real voice in the edit buffer, and its options window.

#include "SnapshotRegistry.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "editor/TfrmEditOpt.h"
#include "editor/TfrmEdt.h"
#include "platform/MemorySettings.h"

namespace {

core::Edtson& RealVoiceBuffer() {
    // The data outlive every window the tool renders.
    static core::Edtson buffer;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        core::Bankson bank;
        bank.LoadBankFile(std::string(MONDRAL_SHARED_DIR) + "/banks/SynprezFM_03.syx", false);
        buffer.TakeVoice(bank.Page()[5].voice, nullptr, false, true);
        buffer.SetLowNoteLimit(24);
        buffer.SetHighNoteLimit(108);
    }
    return buffer;
}

std::unique_ptr<QWidget> EditorWindow(qreal) {
    static platform::MemorySettings noSettings;
    return std::make_unique<editor::TfrmEdt>(RealVoiceBuffer(), nullptr, nullptr, noSettings);
}

std::unique_ptr<QWidget> EditorOptionsWindow(qreal) {
    static platform::MemorySettings noSettings;
    static auto* editor = new editor::TfrmEdt(RealVoiceBuffer(), nullptr, nullptr, noSettings);
    return std::make_unique<editor::TfrmEditOpt>(
        editor::EditorDisplaySet{editor->EnvelopeDisplays(), editor->KeyScalingDisplays()}, nullptr,
        noSettings);
}

}  // namespace

SNAPSHOT_REGISTER("editor_window", EditorWindow);
SNAPSHOT_REGISTER("editor_options", EditorOptionsWindow);
