#include "midi/MidiOutput.h"

#include "midi/ShortMessage.h"

#include <algorithm>

namespace midi {

namespace {

// The device the mapper forwards to: the first hardware port, else device 0; -1 with none.
int MapperTarget(const std::vector<DeviceInfo>& devices) {
    for (std::size_t i = 0; i < devices.size(); ++i)
        if (devices[i].technology == kTechnologyMidiPort) return static_cast<int>(i);
    return devices.empty() ? -1 : 0;
}

}  // namespace

TMidiOutput::TMidiOutput(Backend& backend) : backend_(backend) {}

TMidiOutput::~TMidiOutput() { Close(); }

void TMidiOutput::Refuse(const char* property) const {
    if (IsOpen())
        throw EmidioutputError(std::string("Change to ") + property + " while device was open");
}

int TMidiOutput::DeviceCount() { return static_cast<int>(backend_.Outputs().size()); }

void TMidiOutput::Select(int id, const std::vector<DeviceInfo>& devices) {
    deviceId_ = id;
    if (id == kMidiMapperId) {
        productName_ = kMidiMapperName;
        technology_ = kTechnologyMidiMapper;
    } else {
        productName_ = devices[static_cast<std::size_t>(id)].name;
        technology_ = devices[static_cast<std::size_t>(id)].technology;
    }
}

void TMidiOutput::SetDeviceID(int id) {
    Refuse("DeviceID");
    const std::vector<DeviceInfo> devices = backend_.Outputs();
    if (id != kMidiMapperId && (id < 0 || static_cast<std::size_t>(id) >= devices.size()))
        throw EmidioutputError("Invalid device ID");
    Select(id, devices);
}

void TMidiOutput::SetProductName(const std::string& name) {
    Refuse("ProductName");
    const std::vector<DeviceInfo> devices = backend_.Outputs();
    if (name == kMidiMapperName) return Select(kMidiMapperId, devices);
    for (std::size_t id = 0; id < devices.size(); ++id)
        if (devices[id].name == name) return Select(static_cast<int>(id), devices);
    throw EmidioutputError("MIDI output Device " + name + " not installed");
}

void TMidiOutput::SetTechnology(int technology) {
    Refuse("Product Technology");
    const std::vector<DeviceInfo> devices = backend_.Outputs();
    if (technology == kTechnologyMidiMapper) return Select(kMidiMapperId, devices);
    for (std::size_t id = 0; id < devices.size(); ++id)
        if (devices[id].technology == technology) return Select(static_cast<int>(id), devices);
    throw EmidioutputError("MIDI output technology " + TechnologyName(technology) +
                           " not installed");
}

bool TMidiOutput::Open() {
    if (IsOpen()) return true;
    int target = deviceId_;
    if (target == kMidiMapperId) target = MapperTarget(backend_.Outputs());
    if (target >= 0) stream_ = backend_.OpenOutput(static_cast<std::size_t>(target));
    lastResult_ = stream_ ? kResultOk : kResultBadDeviceId;
    return stream_ != nullptr;
}

bool TMidiOutput::Close() {
    // Completion notices still pending are handed on: those sends did complete.
    const bool wasOpen = IsOpen();
    stream_.reset();
    return wasOpen;
}

void TMidiOutput::Send(const std::uint8_t* bytes, std::size_t length) {
    lastResult_ = !stream_                                  ? kResultInvalidHandle
                  : stream_->Send(std::span(bytes, length)) ? kResultOk
                                                            : kResultError;
    if (lastResult_ != kResultOk) throw EmidioutputError(ErrorText(lastResult_));
}

void TMidiOutput::SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    const std::uint8_t bytes[3] = {status, data1, data2};
    Send(bytes, ShortMessageLength(status));
}

void TMidiOutput::SendLong(const std::uint8_t* bytes, std::uint16_t length) {
    Send(bytes, length);
    notices_.Post(kNoticeOutputDone);  // our backends send synchronously: done already
}

void TMidiOutput::SendEvent(const TMyMidiEvent& event) {
    if (!IsOpen()) throw EmidioutputError("MIDI Output device not open");
    if (!event.sysexData.empty()) {
        const std::size_t length = std::min<std::size_t>(event.sysexLength, event.sysexData.size());
        SendLong(event.sysexData.data(), static_cast<std::uint16_t>(length));
    } else {
        SendShort(event.status, event.data1, event.data2);
    }
}

void TMidiOutput::HandleNotices() {
    const unsigned completed = notices_.Take()[kNoticeOutputDone];
    for (unsigned i = 0; i < completed; ++i)
        if (Onmidioutput) Onmidioutput(*this);
}

}  // namespace midi
