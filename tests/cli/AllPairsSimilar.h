#pragma once
// The plain near-duplicate search the fast one must equal: every pair compared, groups as the
// chains of pairs within the threshold.

#include <algorithm>
#include <numeric>
#include <random>
#include <span>
#include <vector>

#include "cli/SimilarVoices.h"

namespace cli::test {

inline VoiceGroups AllPairsGroups(std::span<const ParameterVector> voices, int threshold) {
    std::vector<std::uint32_t> group(voices.size());
    std::iota(group.begin(), group.end(), 0u);
    // Relabels b's whole group as a's: slow and obviously right.
    const auto join = [&](std::uint32_t a, std::uint32_t b) {
        const std::uint32_t from = std::max(group[a], group[b]), to = std::min(group[a], group[b]);
        for (std::uint32_t& g : group)
            if (g == from) g = to;
    };
    for (std::uint32_t i = 0; i < voices.size(); ++i)
        for (std::uint32_t j = i + 1; j < voices.size(); ++j)
            if (VoiceDistance(voices[i], voices[j]) <= threshold) join(i, j);
    VoiceGroups groups;
    for (std::uint32_t label = 0; label < voices.size(); ++label) {
        std::vector<std::uint32_t> members;
        for (std::uint32_t v = 0; v < voices.size(); ++v)
            if (group[v] == label) members.push_back(v);
        if (members.size() > 1) groups.push_back(std::move(members));
    }
    return groups;
}

// `count` voices, each a random one of `bases` with up to `maxChanges` parameters moved by
// 1-3 steps (kept in range): the near duplicates of a real collection.
inline std::vector<ParameterVector> Variants(std::span<const ParameterVector> bases, std::size_t count,
                                             int maxChanges, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<ParameterVector> voices;
    voices.reserve(count);
    for (std::size_t v = 0; v < count; ++v) {
        ParameterVector voice = bases[random() % bases.size()];
        for (int c = int(random() % unsigned(maxChanges + 1)); c > 0; --c) {
            const std::size_t p = random() % kParameterCount;
            const int step = int(random() % 3) + 1, max = InfoOf(p).max;
            const int moved = random() % 2 ? voice[p] + step : voice[p] - step;
            voice[p] = Byte(std::clamp(moved, 0, max));
        }
        voices.push_back(voice);
    }
    return voices;
}

}  // namespace cli::test
