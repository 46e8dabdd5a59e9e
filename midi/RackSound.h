#pragma once
// The emulated rack's sound: one FM engine per TF1 module, each playing its module's edit
// buffer. The rack's own thread and a keyboard's MIDI thread post what the modules hear into
// two lock-free queues (one producer each); the audio thread takes everything queued at the
// start of each block and then renders it, so a change is heard in the very next block.
// Neither side ever waits for the other, and rendering allocates nothing.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/VoiceFormats.h"
#include "midi/SpscRing.h"
#include "synth/ModuleEngine.h"

namespace midi {

class RackSound {
public:
    static constexpr std::size_t kModules = 8;

    RackSound();

    // Producer: the rack's thread. False when the queue is full (the change is lost; the next
    // one carries the whole image again).
    bool PostImage(std::size_t module, const core::EditImage& image);
    bool PostOperatorSwitches(std::size_t module, std::uint8_t bits);
    // A channel message (1-3 bytes) for the modules listening on its channel.
    bool PostChannelMessage(std::span<const std::uint8_t> bytes);
    // Producer: a keyboard's MIDI thread (the other queue).
    bool PostKeyboardMessage(std::span<const std::uint8_t> bytes);

    // Any thread: where the modules listen (channel 1-16; omni hears every channel).
    void SetChannel(std::size_t module, int channel, bool omni);

    // Audio thread: `frames` samples of both outputs (the modules spread across the stereo field).
    void Render(float* left, float* right, std::size_t frames);

    // Only while no audio thread renders: a new sample rate, every note silenced, the queues
    // emptied and each module given its current image.
    void Restart(double sampleRate, const std::array<core::EditImage, kModules>& images);
    double SampleRate() const { return sampleRate_; }

private:
    enum class Kind : std::uint8_t { kImage, kSwitches, kChannel };
    struct Event {
        Kind kind = Kind::kChannel;
        std::uint8_t module = 0;
        std::uint8_t size = 0;
        std::array<std::uint8_t, 3> bytes{};
        core::EditImage image{};
    };
    static Event ChannelEvent(std::span<const std::uint8_t> bytes);
    void Apply(const Event& event);
    void Route(const std::uint8_t* bytes, std::size_t size);
    void Drain(SpscRing<Event>& queue);

    std::array<synth::ModuleEngine, kModules> engines_;
    std::array<std::atomic<int>, kModules> channels_{};  // channel nibble 0-15, 16 = omni
    SpscRing<Event> rackQueue_;
    SpscRing<Event> keyboardQueue_;
    double sampleRate_ = 48000.0;
};

}  // namespace midi
