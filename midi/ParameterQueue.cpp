#include "midi/ParameterQueue.h"

#include <algorithm>

#include "midi/SysexMessages.h"

namespace midi {

ParameterQueue::ParameterQueue(Sender send, Clock::duration byteTime)
    : send_(std::move(send)), messageTime_(byteTime * kParameterChangeSize) {}

void ParameterQueue::Post(std::size_t module, int parameter, int group, int value) {
    const auto same = std::find_if(waiting_.begin(), waiting_.end(), [&](const Change& c) {
        return c.module == module && c.parameter == parameter && c.group == group;
    });
    if (same != waiting_.end()) {
        same->value = value;
    } else {
        waiting_.push_back({module, parameter, group, value});
    }
}

std::optional<ParameterQueue::Clock::time_point> ParameterQueue::Flush(Clock::time_point now) {
    while (!waiting_.empty() && now >= wireFree_) {
        const Change change = waiting_.front();
        waiting_.pop_front();
        wireFree_ = std::max(now, wireFree_) + messageTime_;
        send_(change.module, change.parameter, change.group, change.value);
    }
    if (waiting_.empty()) return std::nullopt;
    return wireFree_;
}

}  // namespace midi
