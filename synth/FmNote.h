#pragma once
// One sounding note: six oscillators with their envelopes, run through the voice's algorithm
// a block at a time. It reads the voice's parameters afresh each block, so an edit reaches
// notes already sounding.

#include <array>
#include <cstdint>

#include "synth/Envelope.h"
#include "synth/VoiceParameters.h"

namespace synth {

inline constexpr int kBlockFrames = 64;

// What the module works out once per block for all its notes.
struct BlockContext {
    double sampleRate = 48000.0;
    double pitchSemitones = 0.0;    // bend and LFO, added to every ratio-mode operator
    float lfoUnipolar = 0.0f;       // 0-1, already scaled by depth and delay, for amplitude
    float egBias = 0.0f;            // 0-1 of the amplitude sensitivities' full swing
    std::uint8_t operatorsOn = 0x3F;  // bit k: OP(k+1) sounds
};

class FmNote {
public:
    // A note starts its envelopes; restart: the slot was sounding and goes on from its levels.
    void Start(const VoiceParameters& voice, int key, int velocity, double fromPitch,
               std::uint32_t order);
    // Legato (mono): the pitch moves to another key without new envelopes.
    void Glide(int key) { key_ = key; }
    void Release();
    // Adds `frames` (at most kBlockFrames) samples of this note to out.
    void Render(const VoiceParameters& voice, const BlockContext& context, double glideSpeed,
                bool glissando, float* out, int frames);

    bool Active() const { return active_; }
    bool Released() const { return released_; }
    int Key() const { return key_; }
    std::uint32_t Order() const { return order_; }
    double Pitch() const { return pitch_; }
    // Attenuation of an operator's envelope now (for tests).
    float EnvelopeDb(int op) const { return envelopes_[std::size_t(op)].Db(); }

private:
    std::array<Envelope, 6> envelopes_{};
    std::array<std::uint32_t, 6> phases_{};
    std::array<float, 6> amplitudes_{};
    PitchEnvelope pitchEnvelope_;
    std::array<float, 2> feedback_{};  // the feedback source's last two outputs
    double pitch_ = 60.0;  // where the glide stands, in semitones
    int key_ = 60;
    int velocity_ = 100;
    std::uint32_t order_ = 0;
    bool active_ = false;
    bool released_ = false;
};

}  // namespace synth
