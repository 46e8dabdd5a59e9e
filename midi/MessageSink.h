#pragma once
// Where outgoing MIDI messages go. The output port implements it; the message builders and the
// dump engine only need this much, so they can be tested without a device.

#include <cstdint>

namespace midi {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // A channel message: status + data1 * 256 + data2 * 65536 on the wire, bytes unmasked.
    virtual void SendShort(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) = 0;
    // A system-exclusive message (F0 ... F7); the caller's bytes may be reused at once.
    virtual void SendLong(const std::uint8_t* bytes, std::uint16_t length) = 0;
};

}  // namespace midi
