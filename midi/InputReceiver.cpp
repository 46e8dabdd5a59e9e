#include "midi/InputReceiver.h"

#include <algorithm>

#include "midi/ShortMessage.h"

namespace midi {

InputReceiver::InputReceiver(std::uint16_t capacity, std::uint16_t sysexBufferSize,
                             std::uint16_t sysexBufferCount, bool sysexOnly, PortNotices& notices)
    : queue_(capacity),
      bufferSize_(sysexBufferCount ? sysexBufferSize : 0),
      pool_(std::make_unique<std::uint8_t[]>(bufferSize_ * sysexBufferCount)),
      lengths_(std::make_unique<std::uint16_t[]>(sysexBufferCount)),
      freeBuffers_(bufferSize_ ? sysexBufferCount : 0),
      sysexOnly_(sysexOnly),
      notices_(notices) {
    for (std::size_t i = 0; i < freeBuffers_.Capacity(); ++i)
        freeBuffers_.Push(static_cast<std::int32_t>(i));
}

void InputReceiver::OnMidiData(std::span<const std::uint8_t> bytes, std::uint32_t timestampMs) {
    if (bytes.empty()) return;
    const std::uint8_t first = bytes[0];
    const bool sysexPiece = first == kSysexStart || first == kSysexEnd || first < 0x80;
    if (sysexPiece) {
        AppendSysex(bytes, timestampMs);
        return;
    }
    if (first == kActiveSensing || first == kTimingClock) return;
    if (first < 0xF0)
        if (KeyboardThru* thru = thru_.load(std::memory_order_acquire)) thru->PlayChannelMessage(bytes);
    if (sysexOnly_.load(std::memory_order_relaxed)) return;
    Entry entry;
    entry.timestamp = timestampMs;
    entry.shortMessage = PackShortMessage(first, bytes.size() > 1 ? bytes[1] : 0,
                                          bytes.size() > 2 ? bytes[2] : 0);
    Queue(entry);
}

void InputReceiver::AppendSysex(std::span<const std::uint8_t> bytes, std::uint32_t timestampMs) {
    if (bytes[0] == kSysexStart) {
        // A new message: one left unterminated is handed over as received.
        if (current_ != kNoBuffer) FinishBuffer();
        if (!BeginBuffer(timestampMs)) return;
    } else if (current_ == kNoBuffer) {
        return;  // the rest of a message whose start was lost
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (fill_ == bufferSize_) {
            // Longer than one buffer: it continues in the next, like the platform drivers do.
            FinishBuffer();
            if (!BeginBuffer(timestampMs)) return;
        }
        BufferData(current_)[fill_++] = bytes[i];
        if (bytes[i] == kSysexEnd) {
            FinishBuffer();
            return;
        }
    }
}

bool InputReceiver::BeginBuffer(std::uint32_t timestampMs) {
    std::int32_t buffer = kNoBuffer;
    if (spare_ != kNoBuffer) {
        buffer = spare_;
        spare_ = kNoBuffer;
    } else if (!freeBuffers_.Pop(buffer)) {
        notices_.Post(kNoticeOverflow);  // every buffer waits in the queue: this one is lost
        return false;
    }
    current_ = buffer;
    fill_ = 0;
    currentTimestamp_ = timestampMs;
    return true;
}

void InputReceiver::FinishBuffer() {
    Entry entry;
    entry.timestamp = currentTimestamp_;
    entry.buffer = current_;
    lengths_[current_] = fill_;
    current_ = kNoBuffer;
    fill_ = 0;
    if (!queue_.Push(entry)) {
        spare_ = entry.buffer;  // still ours: reused for the next message
        notices_.Post(kNoticeOverflow);
        return;
    }
    notices_.Post(kNoticeData);
}

void InputReceiver::Queue(const Entry& entry) {
    notices_.Post(queue_.Push(entry) ? kNoticeData : kNoticeOverflow);
}

std::unique_ptr<TMyMidiEvent> InputReceiver::TakeEvent() {
    const Entry* oldest = queue_.Peek();
    if (!oldest) return nullptr;
    auto event = std::make_unique<TMyMidiEvent>();
    event->timestamp = oldest->timestamp;
    if (oldest->buffer == kNoBuffer) {
        event->status = static_cast<std::uint8_t>(oldest->shortMessage);
        event->data1 = static_cast<std::uint8_t>(oldest->shortMessage >> 8);
        event->data2 = static_cast<std::uint8_t>(oldest->shortMessage >> 16);
    } else {
        event->status = kSysexStart;
        event->sysexLength = lengths_[oldest->buffer];
        const std::uint8_t* data = BufferData(oldest->buffer);
        event->sysexData.assign(data, data + event->sysexLength);
        freeBuffers_.Push(oldest->buffer);
    }
    queue_.Remove();
    return event;
}

}  // namespace midi
