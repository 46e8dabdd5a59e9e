#include "midi/DeviceModule.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace midi {

namespace {

void* OpenModule(const std::string& path) {
#if defined(_WIN32)
    return LoadLibraryA(path.c_str());
#else
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
}

void* EntryPoint(void* module, const char* name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
#else
    return dlsym(module, name);
#endif
}

}  // namespace

DeviceModule::DeviceModule(std::string modulePath, std::string clientName)
    : modulePath_(std::move(modulePath)), clientName_(std::move(clientName)) {}

DeviceModule::~DeviceModule() {
    if (devices_) free_(devices_);
    // The module stays loaded: threads of the MIDI systems' libraries may outlive the backend.
}

Backend* DeviceModule::Devices() {
    if (tried_) return devices_;
    tried_ = true;
    library_ = OpenModule(modulePath_);
    if (!library_) return nullptr;
    const auto make = reinterpret_cast<MakeDevicesFunction>(EntryPoint(library_, kMakeDevicesName));
    free_ = reinterpret_cast<FreeDevicesFunction>(EntryPoint(library_, kFreeDevicesName));
    if (make && free_) devices_ = make(clientName_.c_str());
    return devices_;
}

bool DeviceModule::Loaded() { return Devices() != nullptr; }

std::vector<DeviceInfo> DeviceModule::Inputs() {
    Backend* devices = Devices();
    return devices ? devices->Inputs() : std::vector<DeviceInfo>{};
}

std::vector<DeviceInfo> DeviceModule::Outputs() {
    Backend* devices = Devices();
    return devices ? devices->Outputs() : std::vector<DeviceInfo>{};
}

std::unique_ptr<InputStream> DeviceModule::OpenInput(std::size_t index, InputHandler& handler) {
    Backend* devices = Devices();
    return devices ? devices->OpenInput(index, handler) : nullptr;
}

std::unique_ptr<OutputStream> DeviceModule::OpenOutput(std::size_t index) {
    Backend* devices = Devices();
    return devices ? devices->OpenOutput(index) : nullptr;
}

std::unique_ptr<AudioStream> DeviceModule::OpenAudio(AudioChoice choice, AudioRenderer& renderer) {
    Backend* devices = Devices();
    return devices ? devices->OpenAudio(choice, renderer) : nullptr;
}

}  // namespace midi
