#pragma once
// The input port: receives from one input device of a MIDI backend into a bounded queue that
// the window thread reads at its own pace with TakeEvent.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "midi/InputReceiver.h"
#include "midi/MidiBackend.h"
#include "midi/MidiErrors.h"
#include "midi/MyMidiEvent.h"
#include "midi/PortNotices.h"

namespace midi {

class TMidiInput {
public:
    // Selects device 0: with no input device at all this throws "Invalid device ID".
    explicit TMidiInput(Backend& backend);
    ~TMidiInput();
    TMidiInput(const TMidiInput&) = delete;
    TMidiInput& operator=(const TMidiInput&) = delete;

    std::uint16_t DeviceID() const { return deviceId_; }
    void SetDeviceID(std::uint16_t id);
    const std::string& ProductName() const { return productName_; }
    // Exact, case-sensitive match of a device name.
    void SetProductName(const std::string& name);
    // Number of input devices the backend lists now.
    std::uint16_t DeviceCount();

    std::uint16_t Capacity() const { return capacity_; }
    void SetCapacity(std::uint16_t capacity) { capacity_ = capacity; }  // used at the next Open
    std::uint16_t SysexBufferSize() const { return sysexBufferSize_; }
    void SetSysexBufferSize(std::uint16_t size);
    std::uint16_t SysexBufferCount() const { return sysexBufferCount_; }
    void SetSysexBufferCount(std::uint16_t count);
    bool SysexOnly() const { return sysexOnly_; }
    void SetSysexOnly(bool sysexOnly);  // at any time, effective at once
    // Channel messages received are also played on `thru` (at once, this open and the next).
    void SetThru(KeyboardThru* thru);
    std::uint16_t Error() const { return error_; }

    bool IsOpen() const { return stream_ != nullptr; }
    bool IsRecording() const { return recording_; }
    // Opens the selected device; failures are absorbed (the port stays closed, result false).
    bool Open();
    // Starts recording; timestamps count from here.
    void Start();
    void Close();

    std::uint16_t MessageCount() const;
    // The oldest event, or nullptr when closed or empty.
    std::unique_ptr<TMyMidiEvent> TakeEvent();

    // Window-thread notifications, dispatched by HandleNotices.
    std::function<void(TMidiInput&)> OnMidiInput;
    std::function<void(TMidiInput&)> OnOverflow;
    // Called on the MIDI thread when notices are pending (see PortNotices).
    void SetNoticeHook(std::function<void()> hook) { notices_.SetWakeHook(std::move(hook)); }
    void HandleNotices();

    static std::string ErrorText(std::uint16_t result) { return MidiResultText(result); }

private:
    void Refuse(const char* property) const;

    Backend& backend_;
    std::uint16_t deviceId_ = 0;
    std::string productName_;
    std::uint16_t capacity_ = 1024;
    std::uint16_t sysexBufferSize_ = 4096;
    std::uint16_t sysexBufferCount_ = 16;
    bool sysexOnly_ = false;
    KeyboardThru* thru_ = nullptr;
    std::uint16_t error_ = kResultOk;
    bool recording_ = false;
    PortNotices notices_;
    std::unique_ptr<InputReceiver> receiver_;  // exists while open
    std::unique_ptr<InputStream> stream_;      // destroyed before the receiver
};

}  // namespace midi
