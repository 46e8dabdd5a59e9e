#include "midi/RackVoices.h"

#include <algorithm>
#include <cstdio>

namespace midi {
namespace {

using core::Byte;

constexpr std::size_t kOperatorCount = 6;
constexpr std::size_t kUnpackedBlockSize = 21;
constexpr std::size_t kFunctionTextOffset = 64;  // unpacked function: 30 characters
constexpr std::size_t kFunctionTextSize = 30;

core::UnpackedVoice MakeVoice(std::size_t module, std::size_t voice) {
    core::UnpackedVoice u{};
    const std::size_t seed = module * 32 + voice;
    for (std::size_t k = 0; k < kOperatorCount; ++k) {
        Byte* op = u.data() + kUnpackedBlockSize * k;
        const Byte rates[4] = {Byte(99 - (seed + k) % 40), Byte(45 + (voice * 3 + k) % 40), 35,
                               Byte(50 + (k * 7 + voice) % 40)};
        const Byte levels[4] = {99, Byte(92 - k), Byte(70 + (seed + k) % 20), 0};
        std::copy(rates, rates + 4, op);
        std::copy(levels, levels + 4, op + 4);
        op[8] = 39;                              // break point at C3
        op[9] = Byte((voice + k) % 20);          // left depth
        op[10] = Byte((module + k) % 20);        // right depth
        op[11] = Byte(k % 4);                    // left curve
        op[12] = Byte((k + 1) % 4);              // right curve
        op[13] = Byte((voice + k) % 8);          // rate scaling
        op[14] = Byte(voice % 4);                // amplitude modulation sensitivity
        op[15] = Byte((seed + k) % 8);           // velocity sensitivity
        op[16] = Byte(60 + (seed * 3 + k * 7) % 40);  // output level
        op[17] = 0;                              // ratio mode
        op[18] = Byte(1 + (seed + k) % 8);       // coarse
        op[19] = Byte((voice * 5 + k) % 100);    // fine
        op[20] = Byte(7 + (k % 3) - 1);          // detune around the centre
    }
    std::fill(u.begin() + 126, u.begin() + 130, Byte(99));  // pitch EG rates
    std::fill(u.begin() + 130, u.begin() + 134, Byte(50));  // pitch EG levels: no bend
    u[134] = Byte((voice + module * 4) % 32);  // algorithm
    u[135] = Byte(voice % 8);                  // feedback
    u[136] = 1;                                // oscillator key sync
    u[137] = Byte(30 + voice);                 // LFO speed
    u[138] = Byte(module * 5);                 // LFO delay
    u[139] = Byte(voice % 10);                 // LFO pitch modulation depth
    u[140] = 0;                                // LFO amplitude modulation depth
    u[141] = 1;                                // LFO key sync
    u[142] = Byte(voice % 6);                  // LFO wave
    u[143] = 3;                                // pitch modulation sensitivity
    u[144] = 24;                               // transpose: C3
    const std::string name = GeneratedVoiceName(module, voice);
    std::copy(name.begin(), name.end(), u.begin() + core::kUnpackedNameOffset);
    return u;
}

core::PackedFunction MakeFunction(std::size_t module, std::size_t slot) {
    core::PackedFunction packed{};
    core::InitFunction(packed);
    core::UnpackedFunction u{};
    u[3] = 2;       // pitch bend range
    u[9] = 8;       // wheel sensitivity
    u[10] = 1;      // wheel: pitch
    u[13] = Byte(slot % 16);  // aftertouch sensitivity
    u[14] = 2;      // aftertouch: amplitude
    u[26] = 7;      // attenuation
    char text[kFunctionTextSize + 1];
    std::snprintf(text, sizeof text, "%-30s",
                  ("TF1 module " + std::to_string(module + 1) + " function " +
                   std::to_string(slot + 1)).c_str());
    std::copy(text, text + kFunctionTextSize, u.begin() + kFunctionTextOffset);
    core::PackFunction(u, packed);
    return packed;
}

}  // namespace

std::string GeneratedVoiceName(std::size_t module, std::size_t voice) {
    char name[16];
    std::snprintf(name, sizeof name, "TF1-%zu V.%02zu", (module + 1) % 10, (voice + 1) % 100);
    return name;
}

BankBytes GeneratedVoiceBank(std::size_t module) {
    BankBytes bank{};
    for (std::size_t v = 0; v < core::kSlotsPerPage; ++v) {
        const auto unpacked = MakeVoice(module, v);
        core::PackVoice(unpacked, std::span<Byte, core::kPackedVoiceSize>(
                                      bank.data() + v * core::kPackedVoiceSize, core::kPackedVoiceSize));
    }
    return bank;
}

BankBytes GeneratedFunctionBank(std::size_t module) {
    BankBytes bank{};
    for (std::size_t f = 0; f < core::kFunctionsPerBank; ++f) {
        core::PackedFunction record{};
        if (f < core::kSlotsPerPage) {
            record = MakeFunction(module, f);
        } else {
            core::InitFunction(record);
        }
        std::copy(record.begin(), record.end(), bank.begin() + f * core::kPackedFunctionSize);
    }
    return bank;
}

}  // namespace midi
