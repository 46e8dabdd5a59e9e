// The MIDI configuration window, its ports listed on the emulated rack.

#include "SnapshotRegistry.h"
#include "midi/EmulatedRack.h"
#include "midi/TfrmMidi.h"
#include "platform/MemorySettings.h"

namespace {

std::unique_ptr<QWidget> MidiWindow(qreal) {
    // Both outlive every window the tool renders.
    static midi::EmulatedRack rack;
    static platform::MemorySettings noSettings;
    auto window = std::make_unique<midi::TfrmMidi>(rack, nullptr, noSettings);
    window->ListPorts();
    return window;
}

}  // namespace

SNAPSHOT_REGISTER("midi_window", MidiWindow);
