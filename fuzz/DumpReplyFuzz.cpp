// The dump engine's reply handling. Any message against each expected reply: matched by the
// reply's length, format and checksum alone, and in TX816 mode a bank also by its channel;
// stored only when accepted and never beyond the destination's size (a voice bank as 32 used
// slots). Then whole exchanges as a DX7 sends them
// (nothing asked, what is queued counts): the first message of the right kind decides, the
// messages before it are passed over, the ones after it stay queued.
//
// Input: the request format (00h voice bank, 01h function bank, 02h system information, else
// the byte itself), then messages of two length bytes and their bytes; a length below 2 stands
// for a note-on that the input passes over.

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "midi/DumpEngine.h"
#include "midi/MidiInput.h"
#include "platform/MessageBoxes.h"
#include "tests/midi/FakeBackend.h"
#include "tests/midi/RecordingMessageSink.h"

namespace {

using core::Byte;
using midi::ExpectedReply;
using midi::ReplyMatch;
using Bytes = std::vector<Byte>;

constexpr std::size_t kGuard = 64;
constexpr Byte kGuardByte = 0xE5;

std::size_t WireSize(ExpectedReply expected) { return expected == ExpectedReply::kSystemInfo ? 24 : 4104; }
std::size_t StoredSize(ExpectedReply expected) {
    switch (expected) {
        case ExpectedReply::kVoiceBank: return core::kPageSize;
        case ExpectedReply::kFunctionBank: return core::kFunctionBankSize;
        case ExpectedReply::kSystemInfo: return 16;
    }
    return 0;
}

ReplyMatch PlainMatch(std::span<const Byte> message, ExpectedReply expected) {
    if (message.size() != WireSize(expected)) return ReplyMatch::kOtherMessage;
    if (expected != ExpectedReply::kSystemInfo &&
        (message[3] == 0x09) != (expected == ExpectedReply::kVoiceBank))
        return ReplyMatch::kOtherMessage;
    return fuzz::Checksum(message.subspan(6, message.size() - 8)) == message[message.size() - 2]
               ? ReplyMatch::kAccepted
               : ReplyMatch::kBadChecksum;
}

// What an accepted reply leaves in its destination.
Bytes Stored(std::span<const Byte> message, ExpectedReply expected) {
    const auto data = message.subspan(6, message.size() - 8);
    if (expected != ExpectedReply::kVoiceBank) return Bytes(data.begin(), data.end());
    Bytes page;
    for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) {
        page.insert(page.end(), data.begin() + s * 128, data.begin() + (s + 1) * 128);
        page.push_back(core::kStatusUsed);
    }
    return page;
}

// A destination of the reply's size with guard bytes on both sides.
struct GuardedDestination {
    explicit GuardedDestination(std::size_t size) : bytes(size + 2 * kGuard, kGuardByte), size(size) {}
    std::span<Byte> Span() { return std::span(bytes).subspan(kGuard, size); }
    bool GuardsIntact() const {
        return std::all_of(bytes.begin(), bytes.begin() + kGuard, [](Byte b) { return b == kGuardByte; }) &&
               std::all_of(bytes.end() - kGuard, bytes.end(), [](Byte b) { return b == kGuardByte; });
    }
    bool Holds(const Bytes& expected) const {
        return std::equal(expected.begin(), expected.end(), bytes.begin() + kGuard);
    }
    bool Untouched() const {
        return std::all_of(bytes.begin(), bytes.end(), [](Byte b) { return b == kGuardByte; });
    }
    Bytes bytes;
    std::size_t size;
};

// TX816 mode: a bank reply of another channel than the module's is another module's.
ReplyMatch PlainMatchOnChannel(std::span<const Byte> message, ExpectedReply expected, Byte nibble) {
    const ReplyMatch plain = PlainMatch(message, expected);
    if (plain == ReplyMatch::kOtherMessage || expected == ExpectedReply::kSystemInfo) return plain;
    return (message[2] & 0x0F) == nibble ? plain : ReplyMatch::kOtherModule;
}

void CheckFunctions(std::span<const Byte> message, ExpectedReply expected) {
    const ReplyMatch match = midi::MatchReply(message, expected);
    FUZZ_CHECK(match == PlainMatch(message, expected));
    for (Byte nibble = 0; nibble < 16; ++nibble)
        FUZZ_CHECK(midi::MatchReply(message, expected, nibble) ==
                   PlainMatchOnChannel(message, expected, nibble));
    GuardedDestination destination(StoredSize(expected));
    if (match != ReplyMatch::kAccepted) {
        // Anything but the reply expected is refused and leaves no trace, even a message with
        // a good checksum.
        bool refused = false;
        try {
            midi::StoreReply(message, expected, destination.Span());
        } catch (const std::invalid_argument&) {
            refused = true;
        }
        FUZZ_CHECK(refused && destination.Untouched());
        return;
    }
    midi::StoreReply(message, expected, destination.Span());
    FUZZ_CHECK(destination.GuardsIntact());
    FUZZ_CHECK(destination.Holds(Stored(message, expected)));
    // One byte short of room: refused before anything is written.
    GuardedDestination tooSmall(StoredSize(expected) - 1);
    bool refused = false;
    try {
        midi::StoreReply(message, expected, tooSmall.Span());
    } catch (const std::invalid_argument&) {
        refused = true;
    }
    FUZZ_CHECK(refused && tooSmall.Untouched());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::RecordingBoxes boxes;
    fuzz::InputCursor input(std::span(data, size));
    const Byte choice = input.Byte();
    const Byte format = choice == 0 ? 0x09 : choice == 1 ? 0x02 : choice == 2 ? 0x7D : choice;
    const ExpectedReply expected = midi::ExpectedReplyFor(format);
    FUZZ_CHECK(expected == (format == 0x09   ? ExpectedReply::kVoiceBank
                            : format == 0x7D ? ExpectedReply::kSystemInfo
                                             : ExpectedReply::kFunctionBank));
    FUZZ_CHECK(midi::DestinationSize(expected) == StoredSize(expected));

    // Each message as received (for the functions), and as a cable delivers it: F0h, data bytes,
    // F7h, so the input hands it on whole.
    std::vector<Bytes> received;
    while (!input.Done() && received.size() < 12) {
        const std::size_t length = std::size_t(input.Byte() & 0x1F) << 8 | input.Byte();
        const auto bytes = input.Take(length);
        CheckFunctions(bytes, expected);
        for (const ExpectedReply other : {ExpectedReply::kVoiceBank, ExpectedReply::kFunctionBank,
                                          ExpectedReply::kSystemInfo})
            if (other != expected) FUZZ_CHECK(midi::MatchReply(bytes, other) == PlainMatch(bytes, other));
        Bytes wire(bytes.begin(), bytes.end());
        if (wire.size() >= 2) {
            for (Byte& b : wire) b &= 0x7F;
            wire.front() = 0xF0;
            wire.back() = 0xF7;
        }
        received.push_back(std::move(wire));
    }

    // The exchange decides on the first message of the expected kind; without one it would
    // wait out its time, which is no business of this check.
    std::optional<std::size_t> decisive;
    for (std::size_t m = 0; m < received.size() && !decisive; ++m)
        if (received[m].size() >= 2 && PlainMatch(received[m], expected) != ReplyMatch::kOtherMessage)
            decisive = m;
    if (!decisive) return 0;

    midi::testing::FakeBackend backend;
    backend.inputs = {{"Fuzz In"}};
    midi::TMidiInput midiInput(backend);
    midiInput.SetCapacity(64);
    midiInput.SetSysexBufferSize(16000);
    midiInput.SetSysexBufferCount(16);
    midiInput.SetSysexOnly(true);
    FUZZ_CHECK(midiInput.Open());
    midiInput.Start();
    std::size_t queuedAfter = 0;
    for (std::size_t m = 0; m < received.size(); ++m) {
        if (received[m].size() >= 2) {
            backend.Deliver(received[m]);
            if (m > *decisive) ++queuedAfter;
        } else {
            backend.Deliver({0x90, 0x3C, 0x40});
        }
    }

    midi::MidiSettings settings;
    settings.dx7 = true;
    settings.tx816 = false;
    settings.inputTimerTicks = 0;
    midi::RecordingMessageSink sink;
    midi::SysexMessages messages(sink, settings);
    midi::DumpEngine engine(messages, midiInput, settings);
    GuardedDestination destination(StoredSize(expected));
    boxes.Clear();
    const bool failed = engine.ReceiveMessage(destination.Span(), format, 0);

    FUZZ_CHECK(sink.messages.empty());  // a DX7 is never asked
    FUZZ_CHECK(midiInput.MessageCount() == queuedAfter);
    const bool accepted = PlainMatch(received[*decisive], expected) == ReplyMatch::kAccepted;
    FUZZ_CHECK(failed == !accepted);
    if (accepted) {
        FUZZ_CHECK(boxes.Shown().empty());
        FUZZ_CHECK(destination.GuardsIntact() && destination.Holds(Stored(received[*decisive], expected)));
    } else {
        const platform::RecordingBoxes::Box error{platform::BoxKind::Error, midi::kDumpErrorTitle,
                                                 midi::kChecksumErrorText, false};
        FUZZ_CHECK(boxes.Shown().size() == 1 && boxes.Shown()[0] == error);
        FUZZ_CHECK(destination.Untouched());
    }
    return 0;
}
