#include "core/VoiceParameters.h"

#include <algorithm>

namespace core {

// Weights in steps the ear can tell apart. Unit 1: one step of an envelope rate or level,
// of keyboard scaling, fine frequency, detune, sensitivities and the LFO. Heavier: output level
// (2 a step, loudness of a carrier or brightness of a modulator), feedback (2), pitch envelope
// levels (2: any move off 50 bends the pitch). Caps keep one parameter from outweighing the
// rest: a big change is heard as a big change, not as ever bigger. Choices cost their cap for
// any difference: another frequency ratio (8) or fixed frequency (12) is another timbre,
// another algorithm (16) another instrument; curves, LFO wave and sync switches a little.
// Transpose: 4 a semitone, capped at 24 (half an octave and more all sound "elsewhere").
const std::array<ParameterInfo, kOperatorParameters> kOperatorParameterInfo{{
    {"EG rate 1", 99, 1, 12, false},
    {"EG rate 2", 99, 1, 12, false},
    {"EG rate 3", 99, 1, 12, false},
    {"EG rate 4", 99, 1, 12, false},
    {"EG level 1", 99, 1, 12, false},
    {"EG level 2", 99, 1, 12, false},
    {"EG level 3", 99, 1, 12, false},
    {"EG level 4", 99, 1, 12, false},
    {"break point", 99, 1, 8, false},
    {"left depth", 99, 1, 8, false},
    {"right depth", 99, 1, 8, false},
    {"left curve", 3, 1, 2, true},
    {"right curve", 3, 1, 2, true},
    {"rate scaling", 7, 1, 4, false},
    {"amplitude modulation sensitivity", 3, 1, 3, false},
    {"key velocity sensitivity", 7, 1, 4, false},
    {"output level", 99, 2, 24, false},
    {"oscillator mode", 1, 1, 12, true},
    {"frequency coarse", 31, 1, 8, true},
    {"frequency fine", 99, 1, 12, false},
    {"detune", 14, 1, 6, false},
}};

const std::array<ParameterInfo, kParameterCount - kCommonOffset> kCommonParameterInfo{{
    {"pitch EG rate 1", 99, 1, 8, false},
    {"pitch EG rate 2", 99, 1, 8, false},
    {"pitch EG rate 3", 99, 1, 8, false},
    {"pitch EG rate 4", 99, 1, 8, false},
    {"pitch EG level 1", 99, 2, 16, false},
    {"pitch EG level 2", 99, 2, 16, false},
    {"pitch EG level 3", 99, 2, 16, false},
    {"pitch EG level 4", 99, 2, 16, false},
    {"algorithm", 31, 1, 16, true},
    {"feedback", 7, 2, 10, false},
    {"oscillator key sync", 1, 1, 2, true},
    {"LFO speed", 99, 1, 8, false},
    {"LFO delay", 99, 1, 6, false},
    {"LFO pitch modulation depth", 99, 1, 10, false},
    {"LFO amplitude modulation depth", 99, 1, 10, false},
    {"LFO key sync", 1, 1, 1, true},
    {"LFO wave", 5, 1, 3, true},
    {"pitch modulation sensitivity", 7, 1, 6, false},
    {"transpose", 48, 4, 24, false},
}};

const ParameterInfo& InfoOf(std::size_t index) {
    if (index < kCommonOffset) return kOperatorParameterInfo[index % kOperatorParameters];
    return kCommonParameterInfo[index - kCommonOffset];
}

std::string ParameterName(std::size_t index) {
    if (index >= kCommonOffset) return InfoOf(index).name;
    // The first block belongs to operator 6.
    return "OP" + std::to_string(kOperatorCount - index / kOperatorParameters) + " " +
           InfoOf(index).name;
}

std::vector<RangeChange> LimitToRanges(core::UnpackedVoice& voice) {
    std::vector<RangeChange> changes;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Byte max = InfoOf(i).max;
        if (voice[i] <= max) continue;
        changes.push_back({i, voice[i], max});
        voice[i] = max;
    }
    return changes;
}

}  // namespace core
