#include "midi/SysexMessages.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace midi {

Byte ChannelNibble(int channel) { return Byte((channel - 1) & 0x0F); }

DumpRequest MakeDumpRequest(Byte format, Byte channelNibble) {
    DumpRequest request = kDumpRequestTemplate;
    request[2] = Byte(kSubStatusDumpRequest + (channelNibble & 0x0F));
    request[3] = format;
    return request;
}

SysexHeader MakeSysexHeader(Byte format, Byte channelNibble, std::size_t byteCount) {
    return {kSysexStart,
            kYamahaId,
            Byte(kSubStatusBulkData + (channelNibble & 0x0F)),
            format,
            Byte((byteCount >> 7) & 0x7F),
            Byte(byteCount & 0x7F)};
}

std::vector<Byte> BuildSysex(const SysexHeader& header, std::span<const Byte> data) {
    if (data.size() > kMaxSysexData) throw std::length_error("system-exclusive data above 4096 bytes");
    std::vector<Byte> message(data.size() + kSysexFrameSize);
    std::copy(header.begin(), header.end(), message.begin());
    std::copy(data.begin(), data.end(), message.begin() + kSysexHeaderSize);
    message[message.size() - 2] = core::BankChecksum(data.data(), std::ptrdiff_t(data.size()));
    message.back() = kSysexEnd;
    return message;
}

ParameterChange MakeParameterChange(int parameter, int group, int value, Byte channelNibble) {
    Byte gg = Byte(group);
    Byte pp = Byte(parameter & 0x7F);
    if (group == kGroupVoice && parameter >= 128) gg = kGroupVoiceHigh;
    return {kSysexStart, kYamahaId, Byte(kSubStatusParameterChange + (channelNibble & 0x0F)),
            gg, pp, Byte(value & 0x7F), kSysexEnd};
}

AcceptedReply AcceptReply(std::span<const Byte> message) {
    const std::size_t length = message.size();
    // Too short to hold a header and a checksum: its checksum position would lie before the data.
    if (length < kSysexFrameSize) return {ReplyError::kWrongSize, ReplyKind::kNone, {}};
    const auto data = message.subspan(kSysexHeaderSize, length - kSysexFrameSize);
    if (core::BankChecksum(data.data(), std::ptrdiff_t(data.size())) != message[length - 2])
        return {ReplyError::kChecksum, ReplyKind::kNone, {}};
    switch (length) {
        case kBulkDumpMessageSize:
            return {ReplyError::kNone,
                    message[3] == kFormatVoiceBank ? ReplyKind::kVoiceBank : ReplyKind::kDataBlock,
                    data};
        case kSingleVoiceMessageSize: return {ReplyError::kNone, ReplyKind::kSingleVoice, data};
        case kSingleFunctionMessageSize: return {ReplyError::kNone, ReplyKind::kSingleFunction, data};
        case kSystemInfoMessageSize: return {ReplyError::kNone, ReplyKind::kSystemInfo, data};
        default: return {ReplyError::kWrongSize, ReplyKind::kNone, {}};
    }
}

std::size_t CurrentModuleOf(std::span<const bool, kModuleCount> bankSwitchesDown) {
    const auto down = std::find(bankSwitchesDown.begin(), bankSwitchesDown.end(), true);
    return down == bankSwitchesDown.end() ? 0 : std::size_t(down - bankSwitchesDown.begin());
}

SysexMessages::SysexMessages(MessageSink& sink, const MidiSettings& settings,
                             std::function<std::size_t()> currentModule)
    : sink_(sink), settings_(settings), currentModule_(std::move(currentModule)) {
    protect_.fill(kMemoryProtectOn);
}

Byte SysexMessages::ModuleNibble(std::size_t module) const {
    return ChannelNibble(settings_.ModuleChannel(module));
}

void SysexMessages::SendSysex(const Byte* data, const SysexHeader& header, std::size_t length) {
    const auto message = BuildSysex(header, {data, length});
    sink_.SendLong(message.data(), std::uint16_t(message.size()));
}

void SysexMessages::SendParameterChange(int parameter, std::size_t module, int group, int value) {
    const auto message = MakeParameterChange(parameter, group, value, ModuleNibble(module));
    sink_.SendLong(message.data(), std::uint16_t(message.size()));
}

void SysexMessages::SendParameterChangeCurrent(int parameter, int value, int group) {
    SendParameterChange(parameter, CurrentModule(), group, value);
}

void SysexMessages::SelectModule(std::size_t module) {
    if (!settings_.txCustom) return;
    sink_.SendShort(Byte(kControlChange + ChannelNibble(settings_.patchBayChannel)),
                    kModuleSelectController, Byte(module & 0x7F));
}

void SysexMessages::SendPatchBayProgram(int channelIndex, int program) {
    sink_.SendShort(Byte(kProgramChange + (channelIndex & 0x0F)), Byte(program & 0x7F), 0);
}

void SysexMessages::SendConfiguredPatchBayProgram() {
    SendPatchBayProgram(settings_.patchBayChannel - 1, settings_.patchBayProgram);
}

bool SysexMessages::SendDumpRequest(std::size_t module, Byte format) {
    if (!settings_.tx816) return false;
    const auto request = MakeDumpRequest(format, ModuleNibble(module));
    sink_.SendLong(request.data(), std::uint16_t(request.size()));
    return true;
}

void SysexMessages::SendBulk(std::size_t module, Byte format, std::span<const Byte> data) {
    SendSysex(data.data(), MakeSysexHeader(format, ModuleNibble(module), data.size()), data.size());
}

void SysexMessages::SendVoiceBank(std::size_t module,
                                  std::span<const Byte, core::kBankImageSize> bankImage) {
    SendBulk(module, kFormatVoiceBank, bankImage);
}

bool SysexMessages::SendFunctionBank(std::size_t module,
                                     std::span<const Byte, core::kFunctionBankSize> functionBank) {
    if (settings_.dx7) return false;
    SendBulk(module, kFormatFunctions, functionBank);
    return true;
}

void SysexMessages::SendSingleVoice(std::size_t module,
                                    std::span<const Byte, core::kUnpackedVoiceSize> voice) {
    SendBulk(module, kFormatSingleVoice, voice);
}

void SysexMessages::SendSingleFunction(std::size_t module,
                                       std::span<const Byte, core::kUnpackedFunctionSize> function) {
    SendBulk(module, settings_.dx7 ? kFormatFunctions : kFormatSingleFunctionTx816, function);
}

void SysexMessages::SendMemoryProtect(std::size_t module, Byte value) {
    // Stored only once sent: after a failed send the next toggle asks again for what the user
    // wanted, not for its opposite.
    SendParameterChange(kMemoryProtectParameter, module, kGroupMemoryProtect, value);
    protect_.at(module) = value;
    protectSent_.at(module) = true;
}

Byte SysexMessages::ToggleMemoryProtect(std::size_t module) {
    const Byte next = protect_.at(module) == kMemoryProtectOff ? kMemoryProtectOn : kMemoryProtectOff;
    SendMemoryProtect(module, next);
    return next;
}

}  // namespace midi
