#include "synth/FmTables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace synth {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Sine {
    std::array<float, kSineSize> values{};
    Sine() {
        for (int i = 0; i < kSineSize; ++i) values[i] = float(std::sin(2.0 * kPi * i / kSineSize));
    }
};
const Sine kSine;

}  // namespace

float LevelAttenuationDb(int level) {
    level = std::clamp(level, 0, 99);
    if (level == 0) return kSilentDb + 1.0f;
    if (level >= 20) return 0.75f * float(99 - level);
    // Below 20 the published curve falls faster: 1.5 dB a step from 59.25 dB at 20.
    return 59.25f + 1.5f * float(20 - level);
}

double ModulationIndex(int outputLevel) {
    return kFullModulationIndex * std::pow(10.0, -LevelAttenuationDb(outputLevel) / 20.0);
}

double DecaySeconds(double rate) {
    // Rate 99 falls through the range in about 6 ms, each 7 rate steps down doubling it,
    // so rate 0 takes nearly two minutes.
    return 0.006 * std::exp2((99.0 - rate) / 7.0);
}

double RateScalingBoost(int rateScaling, int note) {
    // Up to 28 rate units (16 times faster) at the top key for scaling 7, none at A-1.
    return rateScaling / 7.0 * std::clamp(note - 21, 0, 87) / 87.0 * 28.0;
}

namespace {

float CurveDb(int depth, int curve, double octaves) {
    // Linear: 0.3 dB per depth unit per octave (depth 99 reaches silence in about three
    // octaves). Exponential: starts flatter and overtakes the linear curve past two octaves.
    const double shape = (curve == 0 || curve == 3) ? octaves : (std::exp2(octaves) - 1.0) * 0.5;
    const float db = float(std::min<double>(0.3 * depth * shape, kSilentDb));
    return curve <= 1 ? db : -db;
}

}  // namespace

float KeyScalingDb(int note, int breakPoint, int leftDepth, int rightDepth, int leftCurve,
                   int rightCurve) {
    const int breakNote = 21 + breakPoint;
    if (note == breakNote) return 0.0f;
    const double octaves = std::abs(note - breakNote) / 12.0;
    return note < breakNote ? CurveDb(leftDepth, leftCurve & 3, octaves)
                            : CurveDb(rightDepth, rightCurve & 3, octaves);
}

float VelocityDb(int sensitivity, int velocity) {
    return 5.5f * float(std::clamp(sensitivity, 0, 7)) * (1.0f - float(std::clamp(velocity, 0, 127)) / 127.0f);
}

double LfoHz(int speed) {
    // About 0.06 Hz to 45 Hz, even steps on a logarithmic scale.
    return 0.062 * std::exp2(std::clamp(speed, 0, 99) * 9.5 / 99.0);
}

double LfoDelaySeconds(int delay) { return 5.0 * std::pow(std::clamp(delay, 0, 99) / 99.0, 2.0); }

double PitchModulationSemitones(int sensitivity) {
    // Each step doubles the swing, 7 swinging a whole octave.
    sensitivity = std::clamp(sensitivity, 0, 7);
    return sensitivity == 0 ? 0.0 : 12.0 * std::exp2(sensitivity - 7);
}

float AmplitudeModulationDb(int sensitivity) {
    static constexpr float kDb[4] = {0.0f, 6.0f, 18.0f, 48.0f};
    return kDb[sensitivity & 3];
}

double PitchEgSemitones(int level) { return (std::clamp(level, 0, 99) - 50) * 48.0 / 49.5; }

double PitchEgSweepSeconds(int rate) { return 0.02 * std::exp2((99.0 - std::clamp(rate, 0, 99)) / 8.0); }

double OperatorFrequency(int fixedMode, int coarse, int fine, int detune, double noteHz) {
    const double shift = std::exp2((std::clamp(detune, 0, 14) - 7) * kDetuneCentsPerStep / 1200.0);
    if (fixedMode) return std::pow(10.0, coarse % 4) * std::pow(10.0, fine / 100.0) * shift;
    const double base = coarse == 0 ? 0.5 : double(coarse);
    return noteHz * base * (1.0 + fine / 100.0) * shift;
}

double NoteHz(double note) { return 440.0 * std::exp2((note - 69.0) / 12.0); }

double FeedbackIndex(int feedback) {
    feedback = std::clamp(feedback, 0, 7);
    return feedback == 0 ? 0.0 : kPi * std::exp2(feedback - 7);
}

double PortamentoSecondsPerOctave(int time) {
    time = std::clamp(time, 0, 99);
    return time == 0 ? 0.0 : 0.004 * std::exp2(time / 11.0);
}

float AttenuationGain(int attenuation) {
    return float(std::pow(10.0, -3.0 * (7 - std::clamp(attenuation, 0, 7)) / 20.0));
}

const float* SineTable() { return kSine.values.data(); }

}  // namespace synth
