#pragma once
// Parameter changes on their way to the modules, never faster than the MIDI wire carries them.
// A knob dragged with a fast mouse changes far more often than the wire can take a message, and
// a module only needs each parameter's latest value: a value posted while the same parameter of
// the same module still waits replaces it in its place. The next message leaves when the wire
// has carried the previous one, so nothing piles up behind the port and the last value always
// goes out. Every module ends with the values it would have had if each change had been sent.

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>

namespace midi {

class ParameterQueue {
public:
    using Clock = std::chrono::steady_clock;
    using Sender = std::function<void(std::size_t module, int parameter, int group, int value)>;

    // byteTime: how long the wire takes for one byte (320 µs at MIDI speed).
    ParameterQueue(Sender send, Clock::duration byteTime);

    void Post(std::size_t module, int parameter, int group, int value);
    // Sends what the wire has room for at `now`, oldest first. Returns when the next waiting
    // message may go, nothing when none waits.
    std::optional<Clock::time_point> Flush(Clock::time_point now);
    bool Empty() const { return waiting_.empty(); }
    std::size_t Waiting() const { return waiting_.size(); }

private:
    struct Change {
        std::size_t module;
        int parameter;
        int group;
        int value;
    };
    Sender send_;
    Clock::duration messageTime_;
    std::deque<Change> waiting_;
    Clock::time_point wireFree_{};  // when the last message sent has left the wire
};

}  // namespace midi
