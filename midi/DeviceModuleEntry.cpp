// The entry points of the MIDI device module (see midi/DeviceModule.h).

#include "midi/DeviceModule.h"
#include "midi/RtMidiBackend.h"

#if defined(_WIN32)
#define MONDRAL_PUBLIC_SYMBOL __declspec(dllexport)
#else
#define MONDRAL_PUBLIC_SYMBOL __attribute__((visibility("default")))
#endif

extern "C" {

MONDRAL_PUBLIC_SYMBOL midi::Backend* MondralMakeDevices(const char* clientName) {
    try {
        return new midi::RtMidiBackend(clientName);
    } catch (...) {
        return nullptr;
    }
}

MONDRAL_PUBLIC_SYMBOL void MondralFreeDevices(midi::Backend* devices) {
    delete devices;
}
}
