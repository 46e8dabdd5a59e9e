#pragma once
// Voices built for the engine's tests, and what the tests measure of a render.

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/VoiceFormats.h"
#include "synth/ModuleEngine.h"

namespace synth::testing {

inline constexpr double kRate = 48000.0;

// Every operator silent (output level 0), ratio 1, envelopes at once to 99 and held, no
// scaling or sensitivity; pitch envelope flat; algorithm 32; transpose C3.
struct VoiceImage {
    core::EditImage bytes{};
    VoiceImage() {
        core::InitEditImage(bytes);
        for (int op = 1; op <= 6; ++op) {
            std::uint8_t* b = Block(op);
            for (int i = 0; i < 4; ++i) b[i] = 99;
            for (int i = 4; i < 7; ++i) b[i] = 99;
            b[7] = 0;
            b[8] = 39;
            b[18] = 1;   // coarse 1
            b[20] = 7;   // no detune
        }
        for (int i = 126; i < 130; ++i) bytes[std::size_t(i)] = 99;
        for (int i = 130; i < 134; ++i) bytes[std::size_t(i)] = 50;
        bytes[134] = 31;
        bytes[136] = 1;
        bytes[144] = 24;
    }
    // The 21 bytes of OP1-OP6 (the voice stores OP6 first).
    std::uint8_t* Block(int op) { return bytes.data() + 21 * std::size_t(6 - op); }
    VoiceImage& Level(int op, int level) { Block(op)[16] = std::uint8_t(level); return *this; }
    VoiceImage& Frequency(int op, int mode, int coarse, int fine, int detune = 7) {
        Block(op)[17] = std::uint8_t(mode);
        Block(op)[18] = std::uint8_t(coarse);
        Block(op)[19] = std::uint8_t(fine);
        Block(op)[20] = std::uint8_t(detune);
        return *this;
    }
    VoiceImage& Algorithm(int number) { bytes[134] = std::uint8_t(number - 1); return *this; }
    Image View() const { return Image(bytes.data(), kImageBytes); }
};

inline std::vector<float> Render(ModuleEngine& engine, int frames) {
    std::vector<float> out(static_cast<std::size_t>(frames));
    engine.Render(out.data(), frames);
    return out;
}

inline void NoteOn(ModuleEngine& engine, int key, int velocity = 127) {
    const std::uint8_t m[3] = {0x90, std::uint8_t(key), std::uint8_t(velocity)};
    engine.Midi(m, 3);
}
inline void NoteOff(ModuleEngine& engine, int key) {
    const std::uint8_t m[3] = {0x80, std::uint8_t(key), 0};
    engine.Midi(m, 3);
}

// Plays `key` with `voice` and returns `seconds` of output after `settle` seconds.
inline std::vector<float> Play(const VoiceImage& voice, int key, double seconds, double settle = 0.1) {
    ModuleEngine engine(kRate);
    engine.SetImage(voice.View());
    NoteOn(engine, key);
    Render(engine, int(settle * kRate));
    return Render(engine, int(seconds * kRate));
}

// Frequency from the rising zero crossings, each placed between its two samples.
inline double Fundamental(const std::vector<float>& s) {
    double first = -1, last = -1;
    int count = 0;
    for (std::size_t i = 1; i < s.size(); ++i) {
        if (s[i - 1] < 0.0f && s[i] >= 0.0f) {
            const double t = double(i - 1) + s[i - 1] / double(s[i - 1] - s[i]);
            if (first < 0) first = t;
            last = t;
            ++count;
        }
    }
    return count < 2 ? 0.0 : (count - 1) * kRate / (last - first);
}

// Amplitude of the component at hz (a whole number of cycles in the render).
inline double Amplitude(const std::vector<float>& s, double hz) {
    double re = 0, im = 0;
    const double w = 2.0 * 3.14159265358979323846 * hz / kRate;
    for (std::size_t i = 0; i < s.size(); ++i) {
        re += s[i] * std::cos(w * double(i));
        im += s[i] * std::sin(w * double(i));
    }
    return 2.0 * std::hypot(re, im) / double(s.size());
}

inline double Rms(const std::vector<float>& s) {
    double sum = 0;
    for (const float x : s) sum += double(x) * x;
    return s.empty() ? 0.0 : std::sqrt(sum / double(s.size()));
}

inline double Db(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace synth::testing
