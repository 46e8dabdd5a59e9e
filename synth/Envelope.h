#pragma once
// The operator envelope (four rates, four levels) and the pitch envelope, advanced once per
// audio block. Both run from wherever they stand: a key-on restarts the segments from the
// level reached, a key-off releases from the level reached.

#include <array>

namespace synth {

class Envelope {
public:
    // A fresh note begins at its level 4 (its resting level).
    void Begin(float level4Db) {
        db_ = level4Db;
        stage_ = 0;
    }
    void KeyOn() { stage_ = 0; }
    void KeyOff() {
        if (stage_ < kRelease) stage_ = kRelease;
    }
    // Attenuation in dB after `seconds` more. rateBoost: rate units added by rate scaling.
    float Advance(const std::array<int, 4>& rates, const std::array<float, 4>& levelsDb,
                  double rateBoost, double seconds);
    float Db() const { return db_; }
    // Released and arrived at level 4.
    bool Done() const { return stage_ == kDone; }
    int Stage() const { return stage_; }

    static constexpr int kSustain = 3;
    static constexpr int kRelease = 4;
    static constexpr int kDone = 5;

private:
    float db_ = 97.0f;
    int stage_ = kDone;
};

// Semitones, linear segments between the pitch levels.
class PitchEnvelope {
public:
    void Begin(double level4Semitones) {
        value_ = level4Semitones;
        stage_ = 0;
    }
    void KeyOn() { stage_ = 0; }
    void KeyOff() {
        if (stage_ < Envelope::kRelease) stage_ = Envelope::kRelease;
    }
    double Advance(const std::array<int, 4>& rates, const std::array<int, 4>& levels, double seconds);
    double Value() const { return value_; }

private:
    double value_ = 0.0;
    int stage_ = Envelope::kDone;
};

}  // namespace synth
