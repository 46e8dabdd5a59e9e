#pragma once
// The receiving half of an open input port: runs on the backend's thread, joins
// system-exclusive pieces into whole messages in a pool of buffers allocated before the port
// opens, and appends fixed-size entries to the event queue. It allocates nothing and never
// blocks. The window thread takes entries with TakeEvent, which hands the buffer back.

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>

#include "midi/MidiBackend.h"
#include "midi/MyMidiEvent.h"
#include "midi/PortNotices.h"
#include "midi/SpscRing.h"

namespace midi {

class InputReceiver final : public InputHandler {
public:
    InputReceiver(std::uint16_t capacity, std::uint16_t sysexBufferSize,
                  std::uint16_t sysexBufferCount, bool sysexOnly, PortNotices& notices);

    // Backend thread.
    void OnMidiData(std::span<const std::uint8_t> bytes, std::uint32_t timestampMs) override;

    // Any thread.
    void SetSysexOnly(bool sysexOnly) { sysexOnly_.store(sysexOnly, std::memory_order_relaxed); }
    // Channel messages are also played on this device (the emulated rack as the output), on
    // this thread, whether or not they are queued; nullptr: none.
    void SetThru(KeyboardThru* thru) { thru_.store(thru, std::memory_order_release); }

    // Window thread.
    std::uint16_t Count() const { return static_cast<std::uint16_t>(queue_.Count()); }
    std::unique_ptr<TMyMidiEvent> TakeEvent();

private:
    static constexpr std::int32_t kNoBuffer = -1;
    struct Entry {
        std::uint32_t timestamp = 0;
        std::uint32_t shortMessage = 0;    // 0 for a system-exclusive entry
        std::int32_t buffer = kNoBuffer;   // pool index of a system-exclusive entry
    };

    void AppendSysex(std::span<const std::uint8_t> bytes, std::uint32_t timestampMs);
    bool BeginBuffer(std::uint32_t timestampMs);
    void FinishBuffer();
    void Queue(const Entry& entry);
    std::uint8_t* BufferData(std::int32_t buffer) {
        return pool_.get() + static_cast<std::size_t>(buffer) * bufferSize_;
    }

    SpscRing<Entry> queue_;
    std::size_t bufferSize_;
    std::unique_ptr<std::uint8_t[]> pool_;
    std::unique_ptr<std::uint16_t[]> lengths_;  // bytes recorded in each buffer
    SpscRing<std::int32_t> freeBuffers_;        // handed back by the window thread
    std::atomic<bool> sysexOnly_;
    std::atomic<KeyboardThru*> thru_{nullptr};
    PortNotices& notices_;

    // Backend thread only: the message being joined and a buffer kept back after a drop.
    std::int32_t current_ = kNoBuffer;
    std::uint16_t fill_ = 0;
    std::uint32_t currentTimestamp_ = 0;
    std::int32_t spare_ = kNoBuffer;
};

}  // namespace midi
