#pragma once
// Near-duplicate voices: voices whose 145 parameters differ only a little, by a distance that
// weighs each difference by how much it is heard (core/VoiceParameters.cpp says how).
// The search is exact and far from quadratic: a parameter whose smallest change costs more than
// the threshold must be equal; the others are split into threshold + 1 blocks, and as every
// difference costs at least 1, two voices within the threshold agree exactly on at least one
// block. Only voices that share some block (and the must-be-equal parameters) are compared.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "core/VoiceParameters.h"

namespace cli {

using core::Byte;
using core::kParameterCount;
using core::InfoOf;
using core::ParameterInfo;

using ParameterVector = std::array<Byte, kParameterCount>;

inline constexpr int kDefaultThreshold = 8;
// Twice the default: another algorithm alone is still "similar" there. Beyond it the blocks get
// so small that unrelated voices share them and the search slows towards every pair.
inline constexpr int kMaxThreshold = 16;

// The 145 parameters of a packed voice, read as the single-voice layout has them.
ParameterVector ParametersOf(const core::PackedVoice& voice);

// Sum over the parameters of what their difference costs (0 only for equal parameters).
int VoiceDistance(const ParameterVector& a, const ParameterVector& b);

// The groups of voices that are linked by chains of pairs within `threshold` (0 to
// kMaxThreshold): each group as ascending indices into `voices`, two or more members, the
// groups ordered by their first member.
using VoiceGroups = std::vector<std::vector<std::uint32_t>>;
VoiceGroups FindSimilarGroups(std::span<const ParameterVector> voices, int threshold);

// A group as it is shown: its first member (in the order of `voices`) and each member's
// distance to it; `spread` is the largest of those distances.
struct RankedGroup {
    std::vector<std::uint32_t> members;
    std::vector<int> distanceToFirst;
    int spread = 0;
};

// Best first: the tightest groups (smallest spread), then the larger, then the earlier.
std::vector<RankedGroup> RankGroups(std::span<const ParameterVector> voices, const VoiceGroups& groups);

}  // namespace cli
