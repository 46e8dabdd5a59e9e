// The entry points of the MIDI device module (see midi/DeviceModule.h).

#include "midi/DeviceModule.h"
#include "midi/RtMidiBackend.h"

extern "C" {

__attribute__((visibility("default"))) midi::Backend* MondralMakeDevices(const char* clientName) {
    try {
        return new midi::RtMidiBackend(clientName);
    } catch (...) {
        return nullptr;
    }
}

__attribute__((visibility("default"))) void MondralFreeDevices(midi::Backend* devices) {
    delete devices;
}
}
