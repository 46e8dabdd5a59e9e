// The entry points of the MIDI device module (see midi/DeviceModule.h).

#include "midi/DeviceModule.h"
#include "midi/RtMidiBackend.h"

#if defined(_WIN32)
#define MONDRAL_MODULE_ENTRY __declspec(dllexport)
#else
#define MONDRAL_MODULE_ENTRY __attribute__((visibility("default")))
#endif

extern "C" {

MONDRAL_MODULE_ENTRY midi::Backend* MondralMakeDevices(const char* clientName) {
    try {
        return new midi::RtMidiBackend(clientName);
    } catch (...) {
        return nullptr;
    }
}

MONDRAL_MODULE_ENTRY void MondralFreeDevices(midi::Backend* devices) {
    delete devices;
}
}
