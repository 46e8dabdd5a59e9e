#pragma once
// A MessageSink that keeps every message it is given, short ones as their 1-3 wire bytes.

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "midi/MessageSink.h"

namespace midi {

class RecordingMessageSink final : public MessageSink {
public:
    void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
        messages.push_back({status, data1, data2});
    }
    void SendLong(const std::uint8_t* bytes, std::uint16_t length) override {
        if (failing) throw std::runtime_error("send failed");
        messages.emplace_back(bytes, bytes + length);
    }

    std::vector<std::vector<std::uint8_t>> messages;
    bool failing = false;  // system-exclusive sends throw, as an unplugged interface's do
};

}  // namespace midi
