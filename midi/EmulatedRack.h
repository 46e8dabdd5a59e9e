#pragma once
// An emulated TX816 rack: eight TF1 modules behind a MIDI patch bay, offered as a MIDI system
// with one input and one output device named "Emulated TX816" (technology "MIDI Port"), so the
// program works on any machine. It runs on its own thread: what is sent to its output device is
// taken in there, and its replies reach the handlers of its open input streams from there.
//
// Each module answers a dump request on its channel (formats 09h voice bank, 02h function bank,
// 7Dh system information, and 00h/01h for its edit buffer) with a well-formed reply; stores a
// received voice or function bank unless its memory protection is on (on at power-up, switched
// by the memory-protect parameter change); takes single voice and function messages and
// parameter changes into its edit buffer. The patch bay passes on only the replies of the module
// last selected with controller 20 on its channel (all modules until the first select).
//
// Each module also plays the channel messages on its channel through an FM engine with its
// edit buffer as the voice (Sound(): rendered by whichever audio output the program opened);
// a program change 0-31 takes that memory's voice and function record into the edit buffer.
//
// Every operation is thread-safe.

#include <array>
#include <chrono>
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/VoiceFormats.h"
#include "midi/MidiBackend.h"
#include "midi/MidiSettings.h"
#include "midi/RackSound.h"
#include "midi/RackVoices.h"

namespace midi {

inline constexpr char kEmulatedRackName[] = "Emulated TX816";

class EmulatedRack final : public Backend, public KeyboardThru, public AudioRenderer {
public:
    // The module's identity in its system information reply.
    static constexpr char kModel[] = "TF1";
    static constexpr core::Byte kRevisionMajor = 1;
    static constexpr core::Byte kRevisionMinor = 3;
    static constexpr core::Byte kDefaultBattery = 31;  // 3.1 V

    EmulatedRack();
    ~EmulatedRack() override;
    EmulatedRack(const EmulatedRack&) = delete;
    EmulatedRack& operator=(const EmulatedRack&) = delete;

    // Backend: one input and one output device, both "Emulated TX816", technology 1.
    std::vector<DeviceInfo> Inputs() override;
    std::vector<DeviceInfo> Outputs() override;
    std::unique_ptr<InputStream> OpenInput(std::size_t index, InputHandler& handler) override;
    std::unique_ptr<OutputStream> OpenOutput(std::size_t index) override;
    KeyboardThru* KeyboardThruFor(std::size_t outputIndex) override;

    // The modules' sound.
    RackSound& Modules();
    // Before an audio output starts rendering (none renders now): its sample rate, every module
    // given its current edit buffer.
    void RestartSound(double sampleRate);
    // AudioRenderer: the rack's sound, for the program's audio output.
    AudioRenderer* Sound() override { return this; }
    void PrepareAudio(double sampleRate) override { RestartSound(sampleRate); }
    void RenderAudio(float* left, float* right, std::size_t frames) override;
    // KeyboardThru: a keyboard's channel message, played at once without allocating (called
    // on the keyboard's MIDI thread).
    void PlayChannelMessage(std::span<const std::uint8_t> bytes) override;

    // Set-up of the rack (channels 1-8 and patch bay channel 16 at power-up).
    void SetModuleChannel(std::size_t module, int channel);
    void SetPatchBayChannel(int channel);
    void SetOmni(std::size_t module, bool on);
    void SetBattery(std::size_t module, core::Byte tenthsOfVolt);
    void LoadVoiceBank(std::size_t module, std::span<const core::Byte, core::kBankImageSize> bank);

    // Knobs for tests.
    // Time from a request having arrived to its reply starting out.
    void SetReplyDelay(std::chrono::milliseconds delay);
    // Both wires run at MIDI speed (320 µs a byte) instead of at once.
    void SetWireSpeed(bool on);
    // The module still takes in what it is sent, but answers no request.
    void SetSilent(std::size_t module, bool silent);
    // The module answers requests of these formats only (all of them at power-up), as a
    // module that sends its voices but no function bank.
    void SetAnsweredFormats(std::size_t module, std::initializer_list<core::Byte> formats);
    // The module's replies carry a wrong checksum.
    void SetCorruptChecksum(std::size_t module, bool corrupt);
    // Replies longer than this reach the handlers in pieces of this size (0: whole messages).
    void SetPieceSize(std::size_t bytes);
    // The module sends its voice bank now, as a DX7 does from its panel.
    void SendUnsolicitedBankDump(std::size_t module);
    // Waits until everything sent to the rack has been taken in and every reply delivered.
    bool WaitIdle(std::chrono::milliseconds timeout);

    // What tests read.
    // Every message taken in, in order (the latest 10,000).
    std::vector<std::vector<core::Byte>> ReceivedMessages() const;
    void ClearReceivedMessages();
    BankBytes VoiceBank(std::size_t module) const;
    BankBytes FunctionBank(std::size_t module) const;
    core::EditImage EditBuffer(std::size_t module) const;
    bool MemoryProtected(std::size_t module) const;
    // The module the patch bay routes, none before the first select.
    std::optional<std::size_t> SelectedModule() const;

    class Impl;

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace midi
