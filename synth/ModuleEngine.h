#pragma once
// One TF1 module's tone generator: 16 notes of the module's current voice (its edit image),
// played by the channel messages addressed to the module. Nothing here allocates, locks or
// waits once constructed, so the audio thread may call every operation.

#include <array>
#include <cstddef>
#include <cstdint>

#include "synth/FmNote.h"
#include "synth/VoiceParameters.h"

namespace synth {

inline constexpr int kNotesPerModule = 16;

class ModuleEngine {
public:
    explicit ModuleEngine(double sampleRate = 48000.0);

    // The voice and function record to play from now on, also for notes already sounding.
    void SetImage(Image image);
    // The operator on/off switches as the voice parameter 155 sends them: bit 5 OP1 ... bit 0 OP6.
    void SetOperatorSwitches(std::uint8_t bits);
    // One channel message (note on/off, controller, pitch bend, aftertouch); the caller has
    // checked that it is addressed to this module. Others are ignored.
    void Midi(const std::uint8_t* bytes, std::size_t size);
    // Silences every note at once (all sound off).
    void Reset();
    // Writes `frames` samples of the module's output.
    void Render(float* out, int frames);

    double SampleRate() const { return sampleRate_; }
    int SoundingNotes() const;
    const VoiceParameters& Voice() const { return voice_; }
    const FmNote& Note(int index) const { return notes_[std::size_t(index)]; }

private:
    void NoteOn(int key, int velocity);
    void NoteOff(int key);
    void Controller(int number, int value);
    FmNote& FreeNote();
    void RenderBlock(float* out, int frames);
    void UpdateLfo(double seconds);

    double sampleRate_;
    VoiceParameters voice_{};
    std::uint8_t operatorsOn_ = 0x3F;  // bit k: OP(k+1)
    std::array<FmNote, kNotesPerModule> notes_{};
    std::uint32_t order_ = 0;  // key-ons so far, for the age of a note

    // Controllers, 0-1 (bend -1..1).
    double bend_ = 0.0;
    float wheel_ = 0.0f, foot_ = 0.0f, breath_ = 0.0f, aftertouch_ = 0.0f;
    bool sustain_ = false;
    bool portamento_ = false;
    std::array<bool, 128> held_{};       // keys down (not counting the sustain pedal)
    std::array<int, kNotesPerModule> monoKeys_{};  // mono: keys down, latest last
    int monoCount_ = 0;
    double lastPitch_ = -1.0;  // where the latest note's glide stood: the next one starts there

    // The LFO, one for the module as on the instrument.
    double lfoPhase_ = 0.0;  // 0-1
    double lfoSinceKeyOn_ = 0.0;
    float lfoValue_ = 0.0f;  // -1..1
    float sampleHold_ = 0.0f;
    std::uint32_t noise_ = 0x12345678u;

    // Removes the click of a DC step and any offset the operators leave (the output stage's
    // coupling capacitor).
    float dcIn_ = 0.0f, dcOut_ = 0.0f;
};

}  // namespace synth
