#include "synth/VoiceParameters.h"

#include <algorithm>

#include "synth/FmTables.h"

namespace synth {
namespace {

constexpr std::size_t kBlockSize = 21;

int Clamped(std::uint8_t value, int high) { return std::min<int>(value & 0x7F, high); }

}  // namespace

VoiceParameters ReadImage(Image image) {
    VoiceParameters v;
    for (int op = 0; op < kOperators; ++op) {
        // The first block of the voice belongs to OP6.
        const std::uint8_t* b = image.data() + kBlockSize * std::size_t(5 - op);
        OperatorParameters& o = v.operators[std::size_t(op)];
        for (int i = 0; i < 4; ++i) {
            o.rates[std::size_t(i)] = Clamped(b[i], 99);
            o.levelsDb[std::size_t(i)] = LevelAttenuationDb(Clamped(b[4 + i], 99));
        }
        o.breakPoint = Clamped(b[8], 99);
        o.leftDepth = Clamped(b[9], 99);
        o.rightDepth = Clamped(b[10], 99);
        o.leftCurve = b[11] & 3;
        o.rightCurve = b[12] & 3;
        o.rateScaling = b[13] & 7;
        o.ampModSensitivity = b[14] & 3;
        o.velocitySensitivity = b[15] & 7;
        o.outputDb = LevelAttenuationDb(Clamped(b[16], 99));
        o.fixedMode = b[17] & 1;
        o.coarse = b[18] & 31;
        o.fine = Clamped(b[19], 99);
        o.detune = Clamped(b[20], 14);
    }
    for (int i = 0; i < 4; ++i) {
        v.pitchRates[std::size_t(i)] = Clamped(image[126 + std::size_t(i)], 99);
        v.pitchLevels[std::size_t(i)] = Clamped(image[130 + std::size_t(i)], 99);
    }
    v.algorithm = image[134] & 31;
    v.feedback = image[135] & 7;
    v.oscillatorSync = image[136] & 1;
    v.lfoSpeed = Clamped(image[137], 99);
    v.lfoDelay = Clamped(image[138], 99);
    v.lfoPitchDepth = Clamped(image[139], 99);
    v.lfoAmpDepth = Clamped(image[140], 99);
    v.lfoSync = image[141] & 1;
    v.lfoWave = Clamped(image[142], 5);
    v.pitchModSensitivity = image[143] & 7;
    v.transpose = Clamped(image[144], 48);

    const std::uint8_t* f = image.data() + kVoiceBytes;
    v.mono = f[2] & 1;
    v.bendRange = Clamped(f[3], 12);
    v.bendStep = Clamped(f[4], 12);
    v.portamentoTime = Clamped(f[5], 99);
    v.glissando = f[6] & 1;
    v.portamentoMode = f[7] & 1;
    ControllerAssign* controllers[4] = {&v.wheel, &v.foot, &v.aftertouch, &v.breath};
    for (std::size_t c = 0; c < 4; ++c) {
        controllers[c]->sensitivity = f[9 + 2 * c] & 15;
        controllers[c]->assign = f[10 + 2 * c] & 7;
    }
    v.attenuation = f[26] & 7;
    return v;
}

}  // namespace synth
