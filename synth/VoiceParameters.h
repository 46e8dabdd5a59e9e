#pragma once
// A module's edit image (the 155-byte voice followed by the 94-byte function record) read
// into the values the engine plays, once per change rather than once per sample.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace synth {

inline constexpr std::size_t kVoiceBytes = 155;
inline constexpr std::size_t kFunctionBytes = 94;
inline constexpr std::size_t kImageBytes = kVoiceBytes + kFunctionBytes;
using Image = std::span<const std::uint8_t, kImageBytes>;

struct OperatorParameters {
    std::array<int, 4> rates{};
    std::array<float, 4> levelsDb{};  // attenuation of EG levels 1-4
    int breakPoint = 39;
    int leftDepth = 0;
    int rightDepth = 0;
    int leftCurve = 0;
    int rightCurve = 0;
    int rateScaling = 0;
    int ampModSensitivity = 0;
    int velocitySensitivity = 0;
    float outputDb = 0.0f;  // attenuation of the output level
    int fixedMode = 0;
    int coarse = 1;
    int fine = 0;
    int detune = 7;
};

// Assignments of a controller: bit 0 pitch, bit 1 amplitude, bit 2 EG bias.
struct ControllerAssign {
    int sensitivity = 0;  // 0-15
    int assign = 0;
};

struct VoiceParameters {
    std::array<OperatorParameters, 6> operators{};  // OP1-OP6
    std::array<int, 4> pitchRates{99, 99, 99, 99};
    std::array<int, 4> pitchLevels{50, 50, 50, 50};
    int algorithm = 0;
    int feedback = 0;
    bool oscillatorSync = true;
    int lfoSpeed = 35;
    int lfoDelay = 0;
    int lfoPitchDepth = 0;
    int lfoAmpDepth = 0;
    bool lfoSync = true;
    int lfoWave = 0;
    int pitchModSensitivity = 0;
    int transpose = 24;  // 24: C3, no shift

    bool mono = false;
    int bendRange = 2;
    int bendStep = 0;
    int portamentoTime = 0;
    bool glissando = false;
    int portamentoMode = 0;  // poly 0 retain / 1 follow; mono 0 fingered / 1 full time
    ControllerAssign wheel, foot, aftertouch, breath;
    int attenuation = 7;
};

// Values past their ranges are clamped into them (a real bank may hold anything).
VoiceParameters ReadImage(Image image);

}  // namespace synth
