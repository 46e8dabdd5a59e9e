#pragma once
// The bank transfers between the program and the TF1 modules (or a DX7): fetching a module's
// bank or its system information, sending a bank, and the Auto Dump of a picked voice. Everything
// runs on the calling (window) thread as send, wait, look at what arrived; no window is needed,
// so it runs headless in tests. The MIDI configuration window owns one; its settings are read at
// the moment of use.
//
// An exchange names the reply it expects and passes over every other message that arrives
// meanwhile; the destination is written only from an accepted reply and never beyond its size,
// and a fetch of several exchanges writes it only when all of them succeeded.

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "core/VoiceFormats.h"
#include "midi/MidiSettings.h"
#include "midi/SysexMessages.h"

namespace midi {

class TMidiInput;

// "what" of a transfer: bit 1 the voices (or the single voice), bit 2 the functions.
inline constexpr int kDumpVoices = 1;
inline constexpr int kDumpFunctions = 2;
inline constexpr int kDumpSystemInfo = 0;  // ReceiveDump only

// The send work buffer: the bank image, then the function bank.
inline constexpr std::size_t kSendBufferSize = core::kBankImageSize + core::kFunctionBankSize;
using SendBuffer = std::array<Byte, kSendBufferSize>;

inline constexpr char kDumpErrorTitle[] = "MIDI DUMP ERROR";
inline constexpr char kWrongSizeText[] = "Wrong Message Size ! Retry...";
inline constexpr char kChecksumErrorText[] = "Checksum Error ! Retry...";
inline constexpr char kTimeOutText[] = "Time Out Error! Retry...";

// What one exchange waits for, from the format of its request.
enum class ExpectedReply {
    kVoiceBank,     // 4104 bytes, format 09h: 32 packed voices into a page (4128 bytes)
    kFunctionBank,  // 4104 bytes, any other format: 4096 bytes
    kSystemInfo,    // 24 bytes: 16 bytes
};
ExpectedReply ExpectedReplyFor(Byte requestFormat);
// Bytes the destination of such a reply must hold.
std::size_t DestinationSize(ExpectedReply expected);
// Length of the whole reply message on the wire.
std::size_t ReplyMessageSize(ExpectedReply expected);

// How a received message stands to the reply expected.
enum class ReplyMatch {
    kAccepted,      // the right kind with a good checksum
    kBadChecksum,   // the right kind, checksum wrong
    kOtherMessage,  // not this reply: passed over
    kOtherModule,   // a bank from another channel than the module asked: passed over
};
// With `channelNibble` (TX816 mode, where each module answers on its own channel) a bank
// reply counts only from that channel: a late answer of the module asked before is none of
// this one's. System information carries no channel in a known place and is not checked.
ReplyMatch MatchReply(std::span<const Byte> message, ExpectedReply expected,
                      std::optional<Byte> channelNibble = std::nullopt);

// Copies an accepted reply's data into the destination: for a voice bank each slot's packed
// voice with status 1 (used, unselected, unmarked); otherwise the data unchanged. A message
// MatchReply does not accept for `expected`, or a destination smaller than DestinationSize, is
// refused (std::invalid_argument) before anything is written.
void StoreReply(std::span<const Byte> message, ExpectedReply expected, std::span<Byte> destination);

// The longest an exchange waits: the Input Timer (how long a module may take to start
// answering) plus the time the reply takes on the wire, since the input hands a system-exclusive
// message on only when its last byte has arrived.
std::chrono::milliseconds ReplyWaitLimit(int inputTimerTicks, ExpectedReply expected);

// Whole 10 ms ticks a message of `bytes` takes on a MIDI wire, rounded up: 132 for a bank dump.
int WireTicks(std::size_t bytes);

class DumpEngine {
public:
    // Made for the length of each exchange and each send; the window layer shows the hourglass.
    using BusyFactory = std::function<std::shared_ptr<void>()>;

    DumpEngine(SysexMessages& messages, TMidiInput& input, const MidiSettings& settings);

    void SetBusyFactory(BusyFactory factory) { busy_ = std::move(factory); }

    SysexMessages& Messages() { return messages_; }
    const MidiSettings& Settings() const { return settings_; }

    // One request/reply exchange with a module; true when it failed (one error box has been
    // shown). In TX816 mode what is queued is discarded and a bank counts only from the module's
    // channel (a late reply to an earlier request is no answer to this one), and the request of
    // this format is sent on the module's channel; in DX7 mode nothing is sent and a dump from
    // any channel counts, also one already queued. Returns as soon as the reply is
    // whole. The destination must hold DestinationSize of the reply (std::invalid_argument
    // otherwise).
    bool ReceiveMessage(std::span<Byte> destination, Byte requestFormat, std::size_t module);

    // The exchanges for one module, true when one failed: with the voices bit the voice bank into
    // destination (a slot block), then with the functions bit — and not in DX7 mode, where no
    // function bank is ever sent — the function bank at offset 4128; with what 0 the 16 bytes of
    // system information. The functions are not asked for when the voices failed. The replies
    // are staged: the destination changes only when every exchange succeeded.
    bool ReceiveDump(std::span<Byte> destination, int what, std::size_t module);

    // Sends one bank to one module: the voices (with the voices bit), then a wait (always) of
    // the voices' time on the wire (when sent) and the Output Timer, then the function bank
    // (with the functions bit, not in DX7 mode).
    void SendBankDump(const SendBuffer& buffer, int what, std::size_t module);

    // Only with Auto Dump on: sends the image's single voice (bit 1) and its single function
    // (bit 2) to the module's edit buffer. True when something was sent.
    bool AutoDumpVoice(const core::EditImage& image, int what, std::size_t module);

private:
    std::shared_ptr<void> Busy() const { return busy_ ? busy_() : nullptr; }
    void DiscardQueued();

    SysexMessages& messages_;
    TMidiInput& input_;
    const MidiSettings& settings_;
    BusyFactory busy_;
};

}  // namespace midi
