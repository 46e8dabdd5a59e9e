#pragma once
// Every message exchanged with TF1 modules, a DX7, a customized TX816 and a MIDI patch bay:
// byte-exact builders, the senders that apply the instrument mode, and the rule by which a
// received dump is accepted. No window needed: the configuration window owns one of these.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "core/VoiceFormats.h"
#include "midi/MessageSink.h"
#include "midi/MidiSettings.h"
#include "midi/ShortMessage.h"  // kSysexStart, kSysexEnd

namespace midi {

using core::Byte;

inline constexpr Byte kYamahaId = 0x43;

// High nibble of the third byte; the low nibble is the channel nibble (channel - 1).
inline constexpr Byte kSubStatusBulkData = 0x00;
inline constexpr Byte kSubStatusParameterChange = 0x10;
inline constexpr Byte kSubStatusDumpRequest = 0x20;

// Format numbers (fourth byte of a bulk message or a dump request).
inline constexpr Byte kFormatSingleVoice = 0x00;
inline constexpr Byte kFormatSingleFunctionTx816 = 0x01;
// Single function in DX7 mode, and the function bank dump.
inline constexpr Byte kFormatFunctions = 0x02;
inline constexpr Byte kFormatVoiceBank = 0x09;
inline constexpr Byte kFormatSystemInfo = 0x7D;

// Parameter change groups.
inline constexpr int kGroupVoice = 0x00;        // parameters 0-155, 128 and up as group 01h
inline constexpr Byte kGroupVoiceHigh = 0x01;
inline constexpr int kGroupPerformance = 0x04;  // the editor's performance rows 0-22
inline constexpr int kGroupMemoryProtect = 0x11;
inline constexpr int kMemoryProtectParameter = 0x07;
inline constexpr Byte kMemoryProtectOn = 0x7F;
inline constexpr Byte kMemoryProtectOff = 0x00;

inline constexpr Byte kControlChange = 0xB0;
inline constexpr Byte kProgramChange = 0xC0;
inline constexpr Byte kModuleSelectController = 0x14;  // controller 20

inline constexpr std::size_t kSysexHeaderSize = 6;
inline constexpr std::size_t kSysexFrameSize = 8;  // header, checksum, F7
inline constexpr std::size_t kMaxSysexData = 4096;
inline constexpr std::size_t kDumpRequestSize = 5;
inline constexpr std::size_t kParameterChangeSize = 7;
inline constexpr std::size_t kSystemInfoSize = 16;
inline constexpr std::size_t kBulkDumpMessageSize = kMaxSysexData + kSysexFrameSize;  // 4104
inline constexpr std::size_t kSingleVoiceMessageSize = core::kUnpackedVoiceSize + kSysexFrameSize;  // 163
inline constexpr std::size_t kSingleFunctionMessageSize =
    core::kUnpackedFunctionSize + kSysexFrameSize;  // 102
inline constexpr std::size_t kSystemInfoMessageSize = kSystemInfoSize + kSysexFrameSize;  // 24

// System information reply data.
inline constexpr std::size_t kSystemInfoModelOffset = 0;  // 10 ASCII characters
inline constexpr std::size_t kSystemInfoModelSize = 10;
inline constexpr std::size_t kSystemInfoRevisionMajor = 10;
inline constexpr std::size_t kSystemInfoRevisionMinor = 11;
inline constexpr std::size_t kSystemInfoFlags = 12;
inline constexpr Byte kSystemInfoOmniFlag = 0x10;
inline constexpr std::size_t kSystemInfoChannel = 13;  // channel - 1
inline constexpr std::size_t kSystemInfoBattery = 14;  // tenths of a volt

using SysexHeader = std::array<Byte, kSysexHeaderSize>;
using DumpRequest = std::array<Byte, kDumpRequestSize>;
using ParameterChange = std::array<Byte, kParameterChangeSize>;

// The receiving side sets the third byte to 20h + n and the fourth to the format.
inline constexpr DumpRequest kDumpRequestTemplate{0xF0, 0x43, 0x20, 0x09, 0xF7};

// The channel nibble of a MIDI channel 1-16.
Byte ChannelNibble(int channel);

DumpRequest MakeDumpRequest(Byte format, Byte channelNibble);
// F0 43 0n ff, then the byte count high 7 bits first.
SysexHeader MakeSysexHeader(Byte format, Byte channelNibble, std::size_t byteCount);
// The header, the data, their BankChecksum and F7: data.size() + 8 bytes. At most 4096 data bytes.
std::vector<Byte> BuildSysex(const SysexHeader& header, std::span<const Byte> data);
// F0 43 (10h + n) gg pp vv F7: voice parameters (group 0) of 128 and up go as group 01h.
ParameterChange MakeParameterChange(int parameter, int group, int value, Byte channelNibble);

// What a received message turned out to be.
enum class ReplyError { kNone, kChecksum, kWrongSize };
enum class ReplyKind {
    kNone,
    kVoiceBank,       // 4104 bytes, format 09h: 32 packed voices
    kDataBlock,       // 4104 bytes, any other format: a 4096-byte block taken as it is
    kSingleVoice,     // 163 bytes: 155 data bytes
    kSingleFunction,  // 102 bytes: 94 data bytes
    kSystemInfo,      // 24 bytes: 16 data bytes
};
struct AcceptedReply {
    ReplyError error = ReplyError::kNone;
    ReplyKind kind = ReplyKind::kNone;
    std::span<const Byte> data;  // inside the message; empty on an error
};

// The acceptance rule: checksum first, then length; nothing else is examined (not F0/F7, the
// manufacturer, the channel, the byte count, nor the format outside the 4104-byte case).
// A message shorter than 8 bytes has no room for a checksum and is a wrong size.
AcceptedReply AcceptReply(std::span<const Byte> message);

// The module of the first bank switch that is down; module 0 when none is.
std::size_t CurrentModuleOf(std::span<const bool, kModuleCount> bankSwitchesDown);

// What the editor's performance rows (group 04h parameter numbers 0-22) change in a
// single function record: the byte, and for a switch the bit it sets (0 for a knob).
struct PerformanceParameter {
    Byte functionByte;
    Byte mask;
};
inline constexpr std::array<PerformanceParameter, 23> kPerformanceParameters{{
    {2, 1}, {3, 0}, {4, 0}, {5, 0}, {6, 1}, {7, 1},       // poly, bend, portamento
    {9, 0}, {10, 4}, {10, 2}, {10, 1},                    // wheel
    {11, 0}, {12, 4}, {12, 2}, {12, 1},                   // foot
    {13, 0}, {14, 4}, {14, 2}, {14, 1},                   // aftertouch
    {15, 0}, {16, 4}, {16, 2}, {16, 1},                   // breath
    {26, 0},                                              // attenuation
}};

// The senders. Module-addressed messages use the module's own channel from the settings,
// read at the moment of sending; the instrument mode decides what is sent at all.
class SysexMessages {
public:
    // currentModule tells SendParameterChangeCurrent where to send (the main window's current
    // bank); without it, module 0.
    SysexMessages(MessageSink& sink, const MidiSettings& settings,
                  std::function<std::size_t()> currentModule = {});

    // One message of length + 8 bytes: the header, the data, their checksum, F7.
    // length above 4096 is a programming error (std::length_error).
    void SendSysex(const Byte* data, const SysexHeader& header, std::size_t length);
    void SendParameterChange(int parameter, std::size_t module, int group, int value);
    void SendParameterChangeCurrent(int parameter, int value, int group);
    // The module SendParameterChangeCurrent sends to now.
    std::size_t CurrentModule() const { return currentModule_ ? currentModule_() : 0; }
    // Customized TX816 only: controller 20 on the patch bay channel, value = module index.
    void SelectModule(std::size_t module);
    // Program change on channel index 0-15. The displayed number 1-128 is sent as it is, so
    // 128 has no data byte of its own: it is sent as 00h (the number taken modulo 128, the one
    // program 1-127 cannot reach), never as the invalid data byte 80h.
    void SendPatchBayProgram(int channelIndex, int program);
    // The patch bay program change with the configured channel and program.
    void SendConfiguredPatchBayProgram();

    // TX816 mode only (a DX7 sends from its panel): F0 43 2n ff F7. True when sent.
    bool SendDumpRequest(std::size_t module, Byte format);
    void SendVoiceBank(std::size_t module, std::span<const Byte, core::kBankImageSize> bankImage);
    // Never in DX7 mode. True when sent.
    bool SendFunctionBank(std::size_t module,
                          std::span<const Byte, core::kFunctionBankSize> functionBank);
    void SendSingleVoice(std::size_t module, std::span<const Byte, core::kUnpackedVoiceSize> voice);
    // Format 01h, or 02h in DX7 mode.
    void SendSingleFunction(std::size_t module,
                            std::span<const Byte, core::kUnpackedFunctionSize> function);

    // Memory protection: the state is the value last sent, 7Fh (on) for every module at start;
    // it is not read back from the modules.
    void SendMemoryProtect(std::size_t module, Byte value);
    // 00h becomes 7Fh, anything else 00h; sends the new value and returns it.
    Byte ToggleMemoryProtect(std::size_t module);
    Byte MemoryProtectState(std::size_t module) const { return protect_.at(module); }
    // Whether a value was sent to the module since start: until then its state is only assumed.
    bool MemoryProtectSent(std::size_t module) const { return protectSent_.at(module); }

    Byte ModuleNibble(std::size_t module) const;

private:
    // The header with the module's channel and the data's size, the data, checksum, F7.
    void SendBulk(std::size_t module, Byte format, std::span<const Byte> data);

    MessageSink& sink_;
    const MidiSettings& settings_;
    std::function<std::size_t()> currentModule_;
    std::array<Byte, kModuleCount> protect_;
    std::array<bool, kModuleCount> protectSent_{};
};

}  // namespace midi
