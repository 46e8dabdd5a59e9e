#include "cli/SimilarVoices.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace cli {
namespace {

// What a difference of d (0-255) in each parameter costs, looked up instead of computed: the
// distance is the inner loop of the search.
using CostTable = std::array<std::array<Byte, 256>, kParameterCount>;

const CostTable& Costs() {
    static const CostTable table = [] {
        CostTable costs{};
        for (std::size_t i = 0; i < kParameterCount; ++i) {
            const ParameterInfo& info = InfoOf(i);
            for (int d = 1; d < 256; ++d)
                costs[i][d] = info.choice ? info.cap : Byte(std::min(info.weight * d, int(info.cap)));
        }
        return table;
    }();
    return table;
}

// Stops adding once past `limit`: most compared pairs are far apart.
int DistanceUpTo(const ParameterVector& a, const ParameterVector& b, int limit) {
    const CostTable& costs = Costs();
    int sum = 0;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        sum += costs[i][std::abs(int(a[i]) - int(b[i]))];
        if (sum > limit) break;
    }
    return sum;
}

class DisjointSets {
public:
    explicit DisjointSets(std::size_t count) : parent_(count) {
        std::iota(parent_.begin(), parent_.end(), 0u);
    }
    std::uint32_t Find(std::uint32_t x) {
        while (parent_[x] != x) x = parent_[x] = parent_[parent_[x]];
        return x;
    }
    void Join(std::uint32_t a, std::uint32_t b) {
        a = Find(a);
        b = Find(b);
        if (a != b) parent_[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<std::uint32_t> parent_;
};

constexpr std::uint64_t kFnvBasis = 0xcbf29ce484222325ull;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ull;

struct Keyed {
    std::uint64_t key;
    std::uint32_t index;
    bool operator<(const Keyed& other) const {
        return key != other.key ? key < other.key : index < other.index;
    }
};

// Calls pairFound(first, other) for each voice with the first voice of equal parameters;
// returns the voices that stand for all their equals.
template <class PairFound>
std::vector<std::uint32_t> Representatives(std::span<const ParameterVector> voices,
                                           PairFound&& pairFound) {
    std::vector<Keyed> keyed(voices.size());
    for (std::uint32_t v = 0; v < voices.size(); ++v) {
        std::uint64_t h = kFnvBasis;
        for (Byte b : voices[v]) h = (h ^ b) * kFnvPrime;
        keyed[v] = {h, v};
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::uint32_t> representatives;
    for (std::size_t run = 0; run < keyed.size();) {
        std::size_t end = run;
        while (end < keyed.size() && keyed[end].key == keyed[run].key) ++end;
        const std::size_t firstRepresentative = representatives.size();
        for (std::size_t k = run; k < end; ++k) {
            const std::uint32_t v = keyed[k].index;
            const auto same = std::find_if(
                representatives.begin() + std::ptrdiff_t(firstRepresentative), representatives.end(),
                [&](std::uint32_t r) { return voices[r] == voices[v]; });
            if (same == representatives.end())
                representatives.push_back(v);
            else
                pairFound(*same, v);
        }
        run = end;
    }
    return representatives;
}

}  // namespace

ParameterVector ParametersOf(const core::PackedVoice& voice) {
    core::UnpackedVoice unpacked;
    core::UnpackVoice(voice, unpacked);
    ParameterVector parameters;
    std::copy_n(unpacked.begin(), kParameterCount, parameters.begin());
    return parameters;
}

int VoiceDistance(const ParameterVector& a, const ParameterVector& b) {
    return DistanceUpTo(a, b, std::numeric_limits<int>::max());
}

VoiceGroups FindSimilarGroups(std::span<const ParameterVector> voices, int threshold) {
    threshold = std::clamp(threshold, 0, kMaxThreshold);
    DisjointSets sets(voices.size());
    // Equal voices join at once and are searched as one: libraries hold many copies of the
    // same voice, and each would otherwise meet all the others in every block.
    const std::vector<std::uint32_t> representatives =
        Representatives(voices, [&](std::uint32_t a, std::uint32_t b) { sets.Join(a, b); });

    const std::size_t blocks = std::size_t(threshold) + 1;
    std::vector<Keyed> keyed(representatives.size());
    for (std::size_t block = 0; block < blocks; ++block) {
        // Every blocks-th parameter: each block takes some of every operator and of the common
        // parameters, so unrelated voices rarely agree on a whole block.
        for (std::size_t r = 0; r < representatives.size(); ++r) {
            const ParameterVector& p = voices[representatives[r]];
            std::uint64_t h = kFnvBasis;
            for (std::size_t i = block; i < kParameterCount; i += blocks) h = (h ^ p[i]) * kFnvPrime;
            keyed[r] = {h, representatives[r]};
        }
        std::sort(keyed.begin(), keyed.end());
        for (std::size_t run = 0; run < keyed.size();) {
            std::size_t end = run + 1;
            while (end < keyed.size() && keyed[end].key == keyed[run].key) ++end;
            for (std::size_t x = run; x + 1 < end; ++x)
                for (std::size_t y = x + 1; y < end; ++y) {
                    const std::uint32_t a = keyed[x].index, b = keyed[y].index;
                    // Already linked pairs need no distance: only the groups are wanted.
                    if (sets.Find(a) == sets.Find(b)) continue;
                    if (DistanceUpTo(voices[a], voices[b], threshold) <= threshold) sets.Join(a, b);
                }
            run = end;
        }
    }

    // Roots are the smallest index of their set, so groups come out in order of first member.
    std::vector<std::uint32_t> groupOf(voices.size(), std::uint32_t(-1));
    VoiceGroups groups;
    std::vector<std::uint32_t> sizes(voices.size(), 0);
    for (std::uint32_t v = 0; v < voices.size(); ++v) ++sizes[sets.Find(v)];
    for (std::uint32_t v = 0; v < voices.size(); ++v) {
        const std::uint32_t root = sets.Find(v);
        if (sizes[root] < 2) continue;
        if (groupOf[root] == std::uint32_t(-1)) {
            groupOf[root] = std::uint32_t(groups.size());
            groups.emplace_back();
        }
        groups[groupOf[root]].push_back(v);
    }
    return groups;
}

std::vector<RankedGroup> RankGroups(std::span<const ParameterVector> voices, const VoiceGroups& groups) {
    std::vector<RankedGroup> ranked;
    ranked.reserve(groups.size());
    for (const std::vector<std::uint32_t>& members : groups) {
        RankedGroup group;
        group.members = members;
        for (std::uint32_t m : members) {
            group.distanceToFirst.push_back(VoiceDistance(voices[members.front()], voices[m]));
            group.spread = std::max(group.spread, group.distanceToFirst.back());
        }
        ranked.push_back(std::move(group));
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const RankedGroup& a, const RankedGroup& b) {
        if (a.spread != b.spread) return a.spread < b.spread;
        if (a.members.size() != b.members.size()) return a.members.size() > b.members.size();
        return a.members.front() < b.members.front();
    });
    return ranked;
}

}  // namespace cli
