#pragma once
// The output port: sends short and system-exclusive messages to one output device of a MIDI
// backend.
//
// Device −1 is the MIDI mapper. Linux has no system mapper, so ours forwards to the first
// hardware MIDI port the backend lists (technology "MIDI Port"), or to device 0 when there is
// none. It reports technology "MIDI Mapper", so selection by technology never picks it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "midi/MessageSink.h"
#include "midi/MidiBackend.h"
#include "midi/MidiErrors.h"
#include "midi/MyMidiEvent.h"
#include "midi/PortNotices.h"

namespace midi {

inline constexpr int kMidiMapperId = -1;
inline constexpr const char* kMidiMapperName = "MIDI Mapper";

class TMidiOutput : public MessageSink {
public:
    explicit TMidiOutput(Backend& backend);
    ~TMidiOutput() override;
    TMidiOutput(const TMidiOutput&) = delete;
    TMidiOutput& operator=(const TMidiOutput&) = delete;

    int DeviceID() const { return deviceId_; }
    void SetDeviceID(int id);
    const std::string& ProductName() const { return productName_; }
    // Exact, case-sensitive match, searching the mapper first, then devices 0, 1, ...
    void SetProductName(const std::string& name);
    // The first device (mapper first) with this technology code.
    void SetTechnology(int technology);
    int Technology() const { return technology_; }
    // Number of output devices the backend lists now (the mapper not counted).
    int DeviceCount();
    std::uint16_t LastResult() const { return lastResult_; }

    bool IsOpen() const { return stream_ != nullptr; }
    // Opens the selected device; failures are absorbed (the port stays closed, result false).
    bool Open();
    // True if it was open.
    bool Close();

    void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override;
    void SendLong(const std::uint8_t* bytes, std::uint16_t length) override;
    void SendEvent(const TMyMidiEvent& event);

    // Window-thread notification after a system-exclusive send completed.
    std::function<void(TMidiOutput&)> Onmidioutput;
    void SetNoticeHook(std::function<void()> hook) { notices_.SetWakeHook(std::move(hook)); }
    void HandleNotices();

    static std::string ErrorText(std::uint16_t result) { return MidiResultText(result); }

private:
    void Refuse(const char* property) const;
    void Select(int id, const std::vector<DeviceInfo>& devices);
    void Send(const std::uint8_t* bytes, std::size_t length);

    Backend& backend_;
    int deviceId_ = 0;
    std::string productName_;
    int technology_ = kTechnologyNone;
    std::uint16_t lastResult_ = kResultOk;
    PortNotices notices_;
    std::unique_ptr<OutputStream> stream_;
};

}  // namespace midi
