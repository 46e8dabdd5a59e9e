// The entry points of the MIDI device module (see midi/DeviceModule.h).

#include "midi/DeviceModule.h"
#include "midi/RtMidiBackend.h"

#if defined(_WIN32)
#define MONDRAL_EXPORTED __declspec(dllexport)
#else
#define MONDRAL_EXPORTED __attribute__((visibility("default")))
#endif

extern "C" {

MONDRAL_EXPORTED midi::Backend* MondralMakeDevices(const char* clientName) {
    try {
        return new midi::RtMidiBackend(clientName);
    } catch (...) {
        return nullptr;
    }
}

MONDRAL_EXPORTED void MondralFreeDevices(midi::Backend* devices) {
    delete devices;
}
}
