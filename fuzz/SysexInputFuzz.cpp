// The MIDI input's joining of system-exclusive pieces, fed any sequence of pieces (whole or
// broken messages, short messages, stray bytes) with any pool of buffers and queue size, and
// events taken in between. Checked two ways:
//  - against a plain model of the joining rules, event by event, with the notices counted;
//  - whenever no byte was lost, the sysex events put together are exactly the bytes sent.
//
// Input: two configuration bytes, then operations: FFh takes every waiting event, FEh takes
// one, 00h-7Fh is a piece of that many bytes, 80h-FDh with the next byte a piece of up to
// 32 000 bytes.

#include <deque>
#include <optional>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "midi/InputReceiver.h"
#include "midi/ShortMessage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Event {
    bool sysex = false;
    Bytes bytes;  // sysex: as joined; short: status and the two data bytes (0 where missing)
    std::uint32_t timestamp = 0;
    bool operator==(const Event&) const = default;
};

// The rules written out plainly: a message starts at F0h, continues with pieces that start
// with a data byte or F7h, ends after F7h, a new F0h hands on an unfinished one, a full buffer
// goes on in the next, and without a free buffer or room in the queue the event is lost (a
// buffer whose event found no room is kept for the next message).
class Model {
public:
    Model(std::size_t capacity, std::size_t bufferSize, std::size_t bufferCount, bool sysexOnly)
        : capacity_(capacity), bufferSize_(bufferCount ? bufferSize : 0),
          freeBuffers_(bufferSize_ ? bufferCount : 0), sysexOnly_(sysexOnly) {}

    void Receive(std::span<const std::uint8_t> piece, std::uint32_t timestamp) {
        if (piece.empty()) return;
        const std::uint8_t first = piece[0];
        if (first == 0xF0 || first == 0xF7 || first < 0x80) {
            Sysex(piece, timestamp);
            return;
        }
        if (first == 0xFE || first == 0xF8 || sysexOnly_) return;
        Push({false, {first, piece.size() > 1 ? piece[1] : std::uint8_t(0),
                      piece.size() > 2 ? piece[2] : std::uint8_t(0)}, timestamp});
    }

    std::optional<Event> Take() {
        if (queue_.empty()) return std::nullopt;
        Event event = queue_.front();
        queue_.pop_front();
        if (event.sysex) ++freeBuffers_;
        return event;
    }

    std::size_t Waiting() const { return queue_.size(); }
    unsigned DataNotices() const { return data_; }
    unsigned OverflowNotices() const { return overflow_; }
    // No byte of a sysex piece was dropped so far.
    bool Intact() const { return intact_; }
    const Bytes& Unfinished() const { return current_ ? current_->bytes : empty_; }

private:
    void Sysex(std::span<const std::uint8_t> piece, std::uint32_t timestamp) {
        if (piece[0] == 0xF0) {
            if (current_) Finish();
            if (!Begin(timestamp)) return Lose();
        } else if (!current_) {
            return Lose();
        }
        for (std::size_t i = 0; i < piece.size(); ++i) {
            if (current_->bytes.size() == bufferSize_) {
                Finish();
                if (!Begin(timestamp)) return Lose();
            }
            current_->bytes.push_back(piece[i]);
            if (piece[i] == 0xF7) {
                Finish();
                if (i + 1 < piece.size()) Lose();
                return;
            }
        }
    }
    bool Begin(std::uint32_t timestamp) {
        if (spare_) {
            spare_ = false;
        } else if (freeBuffers_ > 0) {
            --freeBuffers_;
        } else {
            ++overflow_;
            return false;
        }
        current_ = Event{true, {}, timestamp};
        return true;
    }
    void Finish() {
        Event event = std::move(*current_);
        current_.reset();
        if (queue_.size() < capacity_) {
            queue_.push_back(std::move(event));
            ++data_;
        } else {
            spare_ = true;
            ++overflow_;
            intact_ = false;
        }
    }
    void Push(Event event) {
        if (queue_.size() < capacity_) {
            queue_.push_back(std::move(event));
            ++data_;
        } else {
            ++overflow_;
        }
    }
    void Lose() { intact_ = false; }

    std::size_t capacity_, bufferSize_, freeBuffers_;
    bool sysexOnly_;
    std::deque<Event> queue_;
    std::optional<Event> current_;
    bool spare_ = false;
    unsigned data_ = 0, overflow_ = 0;
    bool intact_ = true;
    const Bytes empty_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputCursor input(std::span(data, size));
    const std::uint8_t a = input.Byte(), b = input.Byte();
    const std::uint16_t bufferSize = (a & 0x80) ? 4096 : (a & 0x7F);
    const std::uint16_t bufferCount = b & 0x07;
    const std::uint16_t capacity = (b >> 3) & 0x0F;
    const bool sysexOnly = b & 0x80;

    midi::PortNotices notices;
    midi::InputReceiver receiver(capacity, bufferSize, bufferCount, sysexOnly, notices);
    Model model(capacity, bufferSize, bufferCount, sysexOnly);
    Bytes sent;      // every byte of every sysex piece, in order
    Bytes received;  // every byte of every sysex event taken, in order

    auto takeOne = [&] {
        std::unique_ptr<midi::TMyMidiEvent> taken = receiver.TakeEvent();
        const std::optional<Event> expected = model.Take();
        FUZZ_CHECK(bool(taken) == bool(expected));
        if (!taken) return false;
        // A sysex event says so in its status, and its length is that of its data.
        const bool sysex = expected->sysex;
        FUZZ_CHECK((taken->sysexLength > 0) == (sysex && !expected->bytes.empty()));
        const Event got = sysex ? Event{true, taken->sysexData, taken->timestamp}
                                : Event{false, {taken->status, taken->data1, taken->data2}, taken->timestamp};
        if (sysex) FUZZ_CHECK(taken->status == midi::kSysexStart && taken->sysexData.size() == taken->sysexLength);
        FUZZ_CHECK(got == *expected);
        if (sysex) received.insert(received.end(), got.bytes.begin(), got.bytes.end());
        return true;
    };

    std::uint32_t clock = 0;
    while (!input.Done()) {
        const std::uint8_t op = input.Byte();
        if (op == 0xFF) {
            while (takeOne()) {}
        } else if (op == 0xFE) {
            takeOne();
        } else {
            const std::size_t length = op < 0x80 ? op : std::size_t(op & 0x7F) << 8 | input.Byte();
            const auto piece = input.Take(length);
            ++clock;
            receiver.OnMidiData(piece, clock);
            model.Receive(piece, clock);
            if (!piece.empty() && (piece[0] == 0xF0 || piece[0] == 0xF7 || piece[0] < 0x80))
                sent.insert(sent.end(), piece.begin(), piece.end());
        }
        FUZZ_CHECK(receiver.Count() == model.Waiting());
    }
    while (takeOne()) {}

    const midi::PortNotices::Counts counts = notices.Take();
    FUZZ_CHECK(counts[midi::kNoticeData] == model.DataNotices());
    FUZZ_CHECK(counts[midi::kNoticeOverflow] == model.OverflowNotices());
    FUZZ_CHECK(counts[midi::kNoticeOutputDone] == 0);
    if (model.Intact()) {
        // Nothing lost: the pieces joined are the bytes sent (the message still open aside).
        received.insert(received.end(), model.Unfinished().begin(), model.Unfinished().end());
        FUZZ_CHECK(received == sent);
    }
    return 0;
}
