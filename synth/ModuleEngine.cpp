#include "synth/ModuleEngine.h"

#include <algorithm>
#include <cmath>

#include "synth/FmTables.h"

namespace synth {
namespace {

constexpr double kTwoPi = 6.28318530717958647692;
// Corner of the output's DC blocker.
constexpr double kDcCornerHz = 10.0;

}  // namespace

ModuleEngine::ModuleEngine(double sampleRate) : sampleRate_(sampleRate > 0 ? sampleRate : 48000.0) {}

void ModuleEngine::SetImage(Image image) { voice_ = ReadImage(image); }

void ModuleEngine::SetOperatorSwitches(std::uint8_t bits) {
    std::uint8_t on = 0;
    for (int k = 0; k < kOperators; ++k)
        if (bits & (1u << (5 - k))) on |= std::uint8_t(1u << k);
    operatorsOn_ = on;
}

void ModuleEngine::Reset() {
    notes_ = {};
    monoCount_ = 0;
    held_ = {};
    sustain_ = false;
}

int ModuleEngine::SoundingNotes() const {
    return int(std::count_if(notes_.begin(), notes_.end(), [](const FmNote& n) { return n.Active(); }));
}

void ModuleEngine::Midi(const std::uint8_t* bytes, std::size_t size) {
    if (size == 0) return;
    const int kind = bytes[0] & 0xF0;
    const int a = size > 1 ? bytes[1] & 0x7F : 0;
    const int b = size > 2 ? bytes[2] & 0x7F : 0;
    switch (kind) {
        case 0x90:
            if (size < 3) return;
            if (b == 0) {
                NoteOff(a);
            } else {
                NoteOn(a, b);
            }
            break;
        case 0x80:
            if (size >= 3) NoteOff(a);
            break;
        case 0xB0:
            if (size >= 3) Controller(a, b);
            break;
        case 0xD0:
            if (size >= 2) aftertouch_ = float(a) / 127.0f;
            break;
        case 0xE0:
            if (size >= 3) bend_ = std::clamp(((b << 7) | a) - 8192, -8191, 8191) / 8191.0;
            break;
        default: break;
    }
}

void ModuleEngine::Controller(int number, int value) {
    const float v = float(value) / 127.0f;
    switch (number) {
        case 1: wheel_ = v; break;
        case 2: breath_ = v; break;
        case 4: foot_ = v; break;
        case 64:
            sustain_ = value >= 64;
            if (!sustain_)
                for (FmNote& note : notes_)
                    if (note.Active() && !held_[std::size_t(note.Key())]) note.Release();
            break;
        case 65: portamento_ = value >= 64; break;
        case 120:  // all sound off
            Reset();
            break;
        case 123:  // all notes off
            held_ = {};
            monoCount_ = 0;
            for (FmNote& note : notes_)
                if (!sustain_) note.Release();
            break;
        default: break;
    }
}

// A free slot; else the oldest released note; else the oldest note.
FmNote& ModuleEngine::FreeNote() {
    FmNote* best = nullptr;
    for (FmNote& note : notes_)
        if (!note.Active()) return note;
    for (FmNote& note : notes_)
        if (note.Released() && (!best || note.Order() < best->Order())) best = &note;
    if (best) return *best;
    for (FmNote& note : notes_)
        if (!best || note.Order() < best->Order()) best = &note;
    return *best;
}

void ModuleEngine::NoteOn(int key, int velocity) {
    const bool anyHeld = std::any_of(notes_.begin(), notes_.end(),
                                     [](const FmNote& n) { return n.Active() && !n.Released(); });
    held_[std::size_t(key)] = true;
    // The LFO's delay and (with sync) its wave start again when a phrase begins.
    if (!anyHeld) {
        lfoSinceKeyOn_ = 0.0;
        if (voice_.lfoSync) lfoPhase_ = 0.0;
    }
    const double from = lastPitch_ < 0.0 ? double(key) : lastPitch_;
    if (voice_.mono) {
        // Mono: the latest key sounds; keys held under it come back when it is let go.
        if (monoCount_ == kNotesPerModule) {
            std::copy(monoKeys_.begin() + 1, monoKeys_.end(), monoKeys_.begin());
            --monoCount_;
        }
        monoKeys_[std::size_t(monoCount_++)] = key;
        FmNote& note = notes_[0];
        for (std::size_t i = 1; i < notes_.size(); ++i) notes_[i] = FmNote{};
        if (note.Active() && !note.Released() && monoCount_ > 1) {
            note.Glide(key);  // legato: no new envelopes
        } else {
            // Fingered portamento glides only between held keys.
            const bool glide = voice_.portamentoMode == 1;
            note.Start(voice_, key, velocity, glide ? from : double(key), ++order_);
        }
    } else {
        FmNote& note = FreeNote();
        note.Start(voice_, key, velocity, from, ++order_);
    }
    lastPitch_ = key;
}

void ModuleEngine::NoteOff(int key) {
    held_[std::size_t(key)] = false;
    if (voice_.mono) {
        const auto end = monoKeys_.begin() + monoCount_;
        const auto found = std::find(monoKeys_.begin(), end, key);
        if (found == end) return;
        std::copy(found + 1, end, found);
        --monoCount_;
        FmNote& note = notes_[0];
        if (note.Key() != key || !note.Active()) return;
        if (monoCount_ > 0) {
            note.Glide(monoKeys_[std::size_t(monoCount_ - 1)]);
            lastPitch_ = note.Key();
        } else if (!sustain_) {
            note.Release();
        }
        return;
    }
    if (sustain_) return;
    for (FmNote& note : notes_)
        if (note.Active() && !note.Released() && note.Key() == key) note.Release();
}

void ModuleEngine::UpdateLfo(double seconds) {
    lfoSinceKeyOn_ += seconds;
    const double before = lfoPhase_;
    lfoPhase_ += LfoHz(voice_.lfoSpeed) * seconds;
    if (lfoPhase_ >= 1.0) lfoPhase_ -= std::floor(lfoPhase_);
    const double p = lfoPhase_;
    switch (voice_.lfoWave) {
        case 0: lfoValue_ = float(p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p); break;  // triangle
        case 1: lfoValue_ = float(1.0 - 2.0 * p); break;                             // saw down
        case 2: lfoValue_ = float(2.0 * p - 1.0); break;                             // saw up
        case 3: lfoValue_ = p < 0.5 ? 1.0f : -1.0f; break;                           // square
        case 4: lfoValue_ = float(std::sin(kTwoPi * p)); break;                      // sine
        default:                                                                     // sample and hold
            if (p < before) {
                noise_ = noise_ * 1664525u + 1013904223u;
                sampleHold_ = float(noise_ >> 8) / float(1u << 23) - 1.0f;
            }
            lfoValue_ = sampleHold_;
            break;
    }
}

void ModuleEngine::RenderBlock(float* out, int frames) {
    const double seconds = frames / sampleRate_;
    UpdateLfo(seconds);
    // The delay holds the LFO off, then fades it in over half its length.
    const double delay = LfoDelaySeconds(voice_.lfoDelay);
    const double fade = delay <= 0.0 ? 1.0 : std::clamp((lfoSinceKeyOn_ - delay) / (0.5 * delay), 0.0, 1.0);

    // Controllers add to the LFO's depths or lift the EG bias, as they are assigned.
    double pitchDepth = voice_.lfoPitchDepth / 99.0;
    double ampDepth = voice_.lfoAmpDepth / 99.0;
    double bias = 0.0;
    const std::pair<const ControllerAssign*, float> controllers[4] = {
        {&voice_.wheel, wheel_}, {&voice_.foot, foot_}, {&voice_.breath, breath_}, {&voice_.aftertouch, aftertouch_}};
    for (const auto& [assign, value] : controllers) {
        const double amount = assign->sensitivity / 15.0;
        if (assign->assign & 1) pitchDepth += amount * value;
        if (assign->assign & 2) ampDepth += amount * value;
        if (assign->assign & 4) bias += amount * (1.0 - value);
    }
    pitchDepth = std::min(pitchDepth, 1.0);
    ampDepth = std::min(ampDepth, 1.0);

    BlockContext context;
    context.sampleRate = sampleRate_;
    double bend = bend_ * voice_.bendRange;
    if (voice_.bendStep > 0) bend = std::round(bend / voice_.bendStep) * voice_.bendStep;
    context.pitchSemitones = bend + lfoValue_ * fade * pitchDepth * PitchModulationSemitones(voice_.pitchModSensitivity);
    context.lfoUnipolar = float((1.0 - lfoValue_) * 0.5 * fade * ampDepth);
    context.egBias = float(std::min(bias, 1.0));
    context.operatorsOn = operatorsOn_;

    double glide = 0.0;
    if (portamento_ && voice_.portamentoTime > 0)
        glide = 12.0 / PortamentoSecondsPerOctave(voice_.portamentoTime);
    std::fill(out, out + frames, 0.0f);
    for (FmNote& note : notes_) note.Render(voice_, context, glide, voice_.glissando, out, frames);
    // Later notes glide from where the latest one stands now.
    const FmNote* latest = nullptr;
    for (const FmNote& note : notes_)
        if (note.Active() && (!latest || note.Order() > latest->Order())) latest = &note;
    if (latest) lastPitch_ = latest->Pitch();

    const float gain = AttenuationGain(voice_.attenuation);
    const float pole = float(1.0 - kTwoPi * kDcCornerHz / sampleRate_);
    for (int i = 0; i < frames; ++i) {
        const float x = out[i] * gain;
        dcOut_ = x - dcIn_ + pole * dcOut_;
        dcIn_ = x;
        out[i] = dcOut_;
    }
    // A tail decaying towards silence would otherwise end in denormals, which are slow.
    if (std::abs(dcOut_) < 1e-20f) dcOut_ = 0.0f;
    if (std::abs(dcIn_) < 1e-20f) dcIn_ = 0.0f;
}

void ModuleEngine::Render(float* out, int frames) {
    for (int done = 0; done < frames;) {
        const int n = std::min(kBlockFrames, frames - done);
        RenderBlock(out + done, n);
        done += n;
    }
}

}  // namespace synth
