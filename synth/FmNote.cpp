#include "synth/FmNote.h"

#include <algorithm>
#include <cmath>

#include "synth/Algorithms.h"
#include "synth/FmTables.h"

namespace synth {
namespace {

constexpr int kPhaseShift = 32 - kSineBits;
constexpr int kSineMask = kSineSize - 1;
// A modulator's output (amplitude 1 at full level) in sine-table steps of the phase it shifts.
constexpr float kModulationSteps =
    float(kFullModulationIndex / (2.0 * 3.14159265358979323846) * kSineSize);
// Carriers are summed at this gain so that six carriers at full level stay below 1.
constexpr float kCarrierGain = 0.125f;
// Amplitudes this small count as silence (about -100 dB).
constexpr float kQuiet = 1e-5f;

float Gain(float db) { return db >= kSilentDb ? 0.0f : std::exp2(-db * (3.32192809f / 20.0f)); }

}  // namespace

void FmNote::Start(const VoiceParameters& voice, int key, int velocity, double fromPitch,
                   std::uint32_t order) {
    const bool restart = active_;
    for (int k = 0; k < kOperators; ++k) {
        Envelope& eg = envelopes_[std::size_t(k)];
        if (restart) {
            eg.KeyOn();
        } else {
            eg.Begin(voice.operators[std::size_t(k)].levelsDb[3]);
            amplitudes_[std::size_t(k)] = 0.0f;
        }
        if (voice.oscillatorSync) phases_[std::size_t(k)] = 0;
    }
    if (restart) {
        pitchEnvelope_.KeyOn();
    } else {
        pitchEnvelope_.Begin(PitchEgSemitones(voice.pitchLevels[3]));
        feedback_ = {};
    }
    key_ = key;
    velocity_ = velocity;
    pitch_ = fromPitch;
    order_ = order;
    active_ = true;
    released_ = false;
}

void FmNote::Release() {
    if (!active_ || released_) return;
    released_ = true;
    for (Envelope& eg : envelopes_) eg.KeyOff();
    pitchEnvelope_.KeyOff();
}

void FmNote::Render(const VoiceParameters& voice, const BlockContext& context, double glideSpeed,
                    bool glissando, float* out, int frames) {
    if (!active_ || frames <= 0) return;
    const double seconds = frames / context.sampleRate;
    // Portamento: a constant speed in semitones a second (0: at once).
    if (glideSpeed <= 0.0) {
        pitch_ = key_;
    } else {
        const double step = glideSpeed * seconds;
        pitch_ = std::abs(key_ - pitch_) <= step ? double(key_) : pitch_ + (key_ > pitch_ ? step : -step);
    }
    const double heard = glissando ? std::round(pitch_) : pitch_;
    const double pitchEg = pitchEnvelope_.Advance(voice.pitchRates, voice.pitchLevels, seconds);
    const double noteHz = NoteHz(heard + (voice.transpose - 24) + pitchEg + context.pitchSemitones);
    const Algorithm& algorithm = AlgorithmOf(voice.algorithm);

    // Per operator: the phase step and the amplitude at the block's end, ramped to from now.
    std::array<std::uint32_t, 6> steps{};
    std::array<float, 6> startAmp{}, ampStep{};
    bool sounding = false;
    for (int k = 0; k < kOperators; ++k) {
        const OperatorParameters& op = voice.operators[std::size_t(k)];
        const double hz = OperatorFrequency(op.fixedMode, op.coarse, op.fine, op.detune, noteHz);
        steps[std::size_t(k)] = std::uint32_t(std::llround(hz / context.sampleRate * 4294967296.0) & 0xFFFFFFFFll);
        const int scalingKey = key_ + (voice.transpose - 24);
        const float egDb = envelopes_[std::size_t(k)].Advance(
            op.rates, op.levelsDb, RateScalingBoost(op.rateScaling, scalingKey), seconds);
        const float ams = AmplitudeModulationDb(op.ampModSensitivity);
        float db = egDb + op.outputDb + VelocityDb(op.velocitySensitivity, velocity_) +
                   KeyScalingDb(scalingKey, op.breakPoint, op.leftDepth, op.rightDepth, op.leftCurve,
                                op.rightCurve) +
                   ams * (context.lfoUnipolar + context.egBias);
        db = std::max(db, 0.0f);
        float target = Gain(db);
        if (!(context.operatorsOn & (1u << k))) target = 0.0f;
        startAmp[std::size_t(k)] = amplitudes_[std::size_t(k)];
        ampStep[std::size_t(k)] = (target - amplitudes_[std::size_t(k)]) / float(frames);
        amplitudes_[std::size_t(k)] = target;
        if ((algorithm.carriers & (1u << k)) && (target > kQuiet || startAmp[std::size_t(k)] > kQuiet ||
                                                   !envelopes_[std::size_t(k)].Done()))
            sounding = true;
    }

    const float* sine = SineTable();
    const float feedbackSteps = float(FeedbackIndex(voice.feedback) / (2.0 * 3.14159265358979323846) *
                                      kSineSize * 0.5);
    float input[6][kBlockFrames];
    std::fill(&input[0][0], &input[0][0] + 6 * kBlockFrames, 0.0f);
    float output[kBlockFrames];

    if (algorithm.feedbackFrom == algorithm.feedbackTo) {
        // Operator by operator through the block: modulators have the higher numbers.
        for (int k = kOperators - 1; k >= 0; --k) {
            const std::size_t ku = std::size_t(k);
            std::uint32_t phase = phases_[ku];
            const std::uint32_t step = steps[ku];
            float amp = startAmp[ku];
            const float da = ampStep[ku];
            if (amp <= kQuiet && amplitudes_[ku] <= kQuiet) {
                phases_[ku] = phase + step * std::uint32_t(frames);
                continue;  // silent: it neither sounds nor modulates
            }
            const float* in = input[ku];
            if (k == algorithm.feedbackTo && feedbackSteps > 0.0f) {
                float y1 = feedback_[0], y2 = feedback_[1];
                for (int i = 0; i < frames; ++i) {
                    const int index = int(phase >> kPhaseShift) +
                                      int(in[i] * kModulationSteps + (y1 + y2) * feedbackSteps);
                    const float y = amp * sine[index & kSineMask];
                    y2 = y1;
                    y1 = y;
                    output[i] = y;
                    amp += da;
                    phase += step;
                }
                feedback_ = {y1, y2};
            } else {
                for (int i = 0; i < frames; ++i) {
                    const int index = int(phase >> kPhaseShift) + int(in[i] * kModulationSteps);
                    output[i] = amp * sine[index & kSineMask];
                    amp += da;
                    phase += step;
                }
            }
            phases_[ku] = phase;
            for (int t = 0; t < k; ++t) {
                if (!(algorithm.modulators[std::size_t(t)] & (1u << k))) continue;
                float* target = input[std::size_t(t)];
                for (int i = 0; i < frames; ++i) target[i] += output[i];
            }
            if (algorithm.carriers & (1u << k))
                for (int i = 0; i < frames; ++i) out[i] += kCarrierGain * output[i];
        }
    } else {
        // A loop through several operators: each sample needs the previous one of another
        // operator, so the operators run sample by sample.
        float amp[6];
        for (int k = 0; k < kOperators; ++k) amp[k] = startAmp[std::size_t(k)];
        float y1 = feedback_[0], y2 = feedback_[1];
        for (int i = 0; i < frames; ++i) {
            float y[6];
            float mix = 0.0f;
            for (int k = kOperators - 1; k >= 0; --k) {
                const std::size_t ku = std::size_t(k);
                float modulation = 0.0f;
                for (int j = k + 1; j < kOperators; ++j)
                    if (algorithm.modulators[ku] & (1u << j)) modulation += y[j];
                float shift = modulation * kModulationSteps;
                if (k == algorithm.feedbackTo) shift += (y1 + y2) * feedbackSteps;
                y[k] = amp[k] * sine[(int(phases_[ku] >> kPhaseShift) + int(shift)) & kSineMask];
                amp[k] += ampStep[ku];
                phases_[ku] += steps[ku];
                if (algorithm.carriers & (1u << k)) mix += y[k];
            }
            y2 = y1;
            y1 = y[algorithm.feedbackFrom];
            out[i] += kCarrierGain * mix;
        }
        feedback_ = {y1, y2};
    }
    if (released_ && !sounding) active_ = false;
}

}  // namespace synth
