#include "midi/DumpEngine.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "midi/MidiInput.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace midi {

ExpectedReply ExpectedReplyFor(Byte requestFormat) {
    switch (requestFormat) {
        case kFormatVoiceBank: return ExpectedReply::kVoiceBank;
        case kFormatSystemInfo: return ExpectedReply::kSystemInfo;
        default: return ExpectedReply::kFunctionBank;
    }
}

std::size_t DestinationSize(ExpectedReply expected) {
    switch (expected) {
        case ExpectedReply::kVoiceBank: return core::kPageSize;
        case ExpectedReply::kFunctionBank: return core::kFunctionBankSize;
        case ExpectedReply::kSystemInfo: return kSystemInfoSize;
    }
    return 0;
}

std::size_t ReplyMessageSize(ExpectedReply expected) {
    return expected == ExpectedReply::kSystemInfo ? kSystemInfoMessageSize : kBulkDumpMessageSize;
}

ReplyMatch MatchReply(std::span<const Byte> message, ExpectedReply expected,
                      std::optional<Byte> channelNibble) {
    if (message.size() != ReplyMessageSize(expected)) return ReplyMatch::kOtherMessage;
    if (expected != ExpectedReply::kSystemInfo &&
        (message[3] == kFormatVoiceBank) != (expected == ExpectedReply::kVoiceBank))
        return ReplyMatch::kOtherMessage;
    if (channelNibble && expected != ExpectedReply::kSystemInfo &&
        (message[2] & 0x0F) != (*channelNibble & 0x0F))
        return ReplyMatch::kOtherModule;
    return AcceptReply(message).error == ReplyError::kNone ? ReplyMatch::kAccepted
                                                           : ReplyMatch::kBadChecksum;
}

void StoreReply(std::span<const Byte> message, ExpectedReply expected, std::span<Byte> destination) {
    // Only the reply expected fits its destination: another message with a good checksum (a
    // bank where system information was asked for) would be written past the destination's end
    // or read past its own.
    if (MatchReply(message, expected) != ReplyMatch::kAccepted ||
        destination.size() < DestinationSize(expected))
        throw std::invalid_argument("StoreReply: not the accepted reply expected, or no room for it");
    const AcceptedReply reply = AcceptReply(message);
    if (expected != ExpectedReply::kVoiceBank) {
        std::copy(reply.data.begin(), reply.data.end(), destination.begin());
        return;
    }
    for (std::size_t slot = 0; slot < core::kSlotsPerPage; ++slot) {
        const auto voice = reply.data.subspan(slot * core::kPackedVoiceSize, core::kPackedVoiceSize);
        auto to = destination.subspan(slot * core::kSlotSize, core::kSlotSize);
        std::copy(voice.begin(), voice.end(), to.begin());
        to[core::kPackedVoiceSize] = core::kStatusUsed;
    }
}

std::chrono::milliseconds ReplyWaitLimit(int inputTimerTicks, ExpectedReply expected) {
    const auto wire = kWireByteTime * ReplyMessageSize(expected);
    return std::chrono::milliseconds(10 * std::max(inputTimerTicks, 0)) +
           std::chrono::ceil<std::chrono::milliseconds>(wire);
}

int WireTicks(std::size_t bytes) {
    constexpr std::chrono::microseconds kTick = std::chrono::milliseconds(10);
    return int((kWireByteTime * bytes + kTick - std::chrono::microseconds(1)) / kTick);
}

DumpEngine::DumpEngine(SysexMessages& messages, TMidiInput& input, const MidiSettings& settings)
    : messages_(messages), input_(input), settings_(settings) {}

void DumpEngine::DiscardQueued() {
    while (input_.TakeEvent()) {
    }
}

bool DumpEngine::ReceiveMessage(std::span<Byte> destination, Byte requestFormat, std::size_t module) {
    const ExpectedReply expected = ExpectedReplyFor(requestFormat);
    if (destination.size() < DestinationSize(expected))
        throw std::invalid_argument("ReceiveMessage: destination too small for the reply");
    const auto busy = Busy();

    std::optional<Byte> channel;
    if (settings_.tx816) {
        DiscardQueued();
        channel = ChannelNibble(settings_.ModuleChannel(module));
    }
    messages_.SendDumpRequest(module, requestFormat);

    // Polled rather than waited out: the reply is taken the moment it is whole, and the limit
    // only matters when it never comes.
    const std::uint64_t deadline =
        platform::PollClockMs() + std::uint64_t(ReplyWaitLimit(settings_.inputTimerTicks, expected).count());
    bool otherArrived = false;
    for (;;) {
        while (const auto event = input_.TakeEvent()) {
            const std::span<const Byte> message(event->sysexData.data(),
                                                std::min<std::size_t>(event->sysexLength,
                                                                      event->sysexData.size()));
            switch (MatchReply(message, expected, channel)) {
                case ReplyMatch::kAccepted:
                    StoreReply(message, expected, destination);
                    return false;
                case ReplyMatch::kBadChecksum:
                    platform::ShowError(kDumpErrorTitle, kChecksumErrorText);
                    return true;
                case ReplyMatch::kOtherMessage: otherArrived = true; break;
                case ReplyMatch::kOtherModule: break;  // the module asked is still silent
            }
        }
        if (platform::PollClockMs() >= deadline) break;
        platform::PollPause();
    }
    platform::ShowError(kDumpErrorTitle, otherArrived ? kWrongSizeText : kTimeOutText);
    return true;
}

bool DumpEngine::ReceiveDump(std::span<Byte> destination, int what, std::size_t module) {
    if (what == kDumpSystemInfo) return ReceiveMessage(destination, kFormatSystemInfo, module);
    // A DX7 never sends a function bank: asking for one would only ever time out.
    if (settings_.dx7) what &= ~kDumpFunctions;
    if ((what & kDumpFunctions) && destination.size() < core::kPageSize)
        throw std::invalid_argument("ReceiveDump: destination too small for a slot block");
    // Staged, so that a failed functions exchange leaves no new voices over the old function
    // records, and what the destination held outside the replies stays.
    std::vector<Byte> staged(destination.begin(), destination.end());
    bool failed = false;
    if (what & kDumpVoices) failed = ReceiveMessage(staged, kFormatVoiceBank, module);
    if ((what & kDumpFunctions) && !failed)
        failed = ReceiveMessage(std::span(staged).subspan(core::kPageSize), kFormatFunctions, module);
    if (!failed) std::copy(staged.begin(), staged.end(), destination.begin());
    return failed;
}

void DumpEngine::SendBankDump(const SendBuffer& buffer, int what, std::size_t module) {
    const auto busy = Busy();
    const std::span<const Byte, kSendBufferSize> all(buffer);
    const bool voices = what & kDumpVoices;
    if (voices) messages_.SendVoiceBank(module, all.first<core::kBankImageSize>());
    // The module stores a bank before it takes the next one. The send returns as soon as the
    // bank is handed over, so its time on the wire (longer than the default Output Timer) comes
    // before the pause.
    platform::WaitTicks((voices ? WireTicks(kBulkDumpMessageSize) : 0) + settings_.outputTimerTicks);
    if (what & kDumpFunctions) messages_.SendFunctionBank(module, all.last<core::kFunctionBankSize>());
}

bool DumpEngine::AutoDumpVoice(const core::EditImage& image, int what, std::size_t module) {
    if (!settings_.autoDump) return false;
    const std::span<const Byte, core::kEditImageSize> all(image);
    bool sent = false;
    if (what & kDumpVoices) {
        messages_.SendSingleVoice(module, all.first<core::kUnpackedVoiceSize>());
        sent = true;
    }
    if (what & kDumpFunctions) {
        messages_.SendSingleFunction(
            module, all.subspan<core::kUnpackedVoiceSize, core::kUnpackedFunctionSize>());
        sent = true;
    }
    return sent;
}

}  // namespace midi
