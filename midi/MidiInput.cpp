#include "midi/MidiInput.h"

namespace midi {

TMidiInput::TMidiInput(Backend& backend) : backend_(backend) { SetDeviceID(0); }

TMidiInput::~TMidiInput() { Close(); }

void TMidiInput::Refuse(const char* property) const {
    if (IsOpen())
        throw EMidiInputError(std::string("Change to ") + property + " while device was open");
}

std::uint16_t TMidiInput::DeviceCount() {
    return static_cast<std::uint16_t>(backend_.Inputs().size());
}

void TMidiInput::SetDeviceID(std::uint16_t id) {
    Refuse("DeviceID");
    const std::vector<DeviceInfo> devices = backend_.Inputs();
    if (id >= devices.size()) throw EMidiInputError("Invalid device ID");
    deviceId_ = id;
    productName_ = devices[id].name;
}

void TMidiInput::SetProductName(const std::string& name) {
    Refuse("ProductName");
    const std::vector<DeviceInfo> devices = backend_.Inputs();
    for (std::size_t id = 0; id < devices.size(); ++id) {
        if (devices[id].name == name) {
            deviceId_ = static_cast<std::uint16_t>(id);
            productName_ = devices[id].name;
            return;
        }
    }
    throw EMidiInputError("MIDI Input Device " + name + " not installed ");
}

void TMidiInput::SetSysexBufferSize(std::uint16_t size) {
    Refuse("SysexBufferSize");
    sysexBufferSize_ = size;
}

void TMidiInput::SetSysexBufferCount(std::uint16_t count) {
    Refuse("SysexBuffercount");  // sic: the message spells it so
    sysexBufferCount_ = count;
}

void TMidiInput::SetThru(KeyboardThru* thru) {
    thru_ = thru;
    if (receiver_) receiver_->SetThru(thru);
}

void TMidiInput::SetSysexOnly(bool sysexOnly) {
    sysexOnly_ = sysexOnly;
    if (receiver_) receiver_->SetSysexOnly(sysexOnly);
}

bool TMidiInput::Open() {
    if (IsOpen()) return true;
    // Queue and buffers exist before the device can deliver anything.
    const bool withBuffers = sysexBufferSize_ != 0 && sysexBufferCount_ != 0;
    receiver_ = std::make_unique<InputReceiver>(capacity_, withBuffers ? sysexBufferSize_ : 0,
                                                withBuffers ? sysexBufferCount_ : 0, sysexOnly_,
                                                notices_);
    receiver_->SetThru(thru_);
    stream_ = backend_.OpenInput(deviceId_, *receiver_);
    if (!stream_) {
        error_ = kResultBadDeviceId;
        receiver_.reset();
        return false;
    }
    error_ = kResultOk;
    return true;
}

void TMidiInput::Start() {
    if (!IsOpen()) return;
    stream_->Start();
    recording_ = true;
}

void TMidiInput::Close() {
    if (!IsOpen()) return;
    recording_ = false;
    stream_.reset();  // no data arrives after this
    receiver_.reset();
    notices_.Take();  // notices of the closed port are void
}

std::uint16_t TMidiInput::MessageCount() const { return receiver_ ? receiver_->Count() : 0; }

std::unique_ptr<TMyMidiEvent> TMidiInput::TakeEvent() {
    if (!receiver_) return nullptr;
    return receiver_->TakeEvent();
}

void TMidiInput::HandleNotices() {
    // One call per notice the MIDI thread posted, each under its own conditions (a handler may
    // take events or close the port).
    const PortNotices::Counts pending = notices_.Take();
    for (unsigned i = 0; i < pending[kNoticeData]; ++i)
        if (OnMidiInput && IsOpen() && MessageCount() > 0) OnMidiInput(*this);
    for (unsigned i = 0; i < pending[kNoticeOverflow]; ++i)
        if (OnOverflow && IsOpen()) OnOverflow(*this);
}

}  // namespace midi
