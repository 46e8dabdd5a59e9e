#pragma once
// The 145 parameters of a voice (everything but the name), in the order of the single-voice
// layout: six operator blocks of 21 (the first block is operator 6), then 19 common ones.
// For each: its name, its highest value, and how much a difference in it is heard (the
// near-duplicate distance). Also the range repair of a voice as the instrument reads it.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/VoiceFormats.h"

namespace core {


inline constexpr std::size_t kParameterCount = core::kUnpackedNameOffset;  // 145
inline constexpr std::size_t kOperatorParameters = 21;
inline constexpr std::size_t kOperatorCount = 6;
inline constexpr std::size_t kCommonOffset = kOperatorParameters * kOperatorCount;  // 126

// One parameter as the near-duplicate search weighs it: a difference of d steps costs
// min(weight x d, cap); a switch-like parameter (a choice among unrelated values) costs
// `cap` for any difference. Every weight is at least 1, so any difference costs at least 1.
struct ParameterInfo {
    const char* name;  // e.g. "EG rate 1"; operator parameters get "OPn " in front
    Byte max;
    Byte weight;
    Byte cap;
    bool choice;
};

// The 21 parameters of an operator block and the 19 common ones.
extern const std::array<ParameterInfo, kOperatorParameters> kOperatorParameterInfo;
extern const std::array<ParameterInfo, kParameterCount - kCommonOffset> kCommonParameterInfo;

// Parameter `index` (0-144, its byte in the single-voice layout).
const ParameterInfo& InfoOf(std::size_t index);
// "OP6 EG rate 1", ..., "Transpose".
std::string ParameterName(std::size_t index);

// What the range repair changed in a voice: a parameter brought to its highest value.
struct RangeChange {
    std::size_t parameter;
    Byte was;
    Byte now;
};

// Limits every parameter of a single-voice layout to its highest value (the name is left as it
// is); returns what changed, in parameter order.
std::vector<RangeChange> LimitToRanges(core::UnpackedVoice& voice);

}  // namespace core
