#include "cli/SimilarVoices.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
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
        return costs;
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

// Keys are sorted as plain 64-bit numbers: the high bits hold a hash, the low bits the voice's
// index (so equal hashes sort by index). Voices that share the high bits are compared in full,
// so a collision costs time, never a wrong group.
class KeyMaker {
public:
    explicit KeyMaker(std::size_t count) {
        while ((std::size_t(1) << indexBits_) < count) ++indexBits_;
    }
    std::uint64_t Key(std::uint64_t hash, std::uint32_t index) const {
        return indexBits_ == 0 ? hash : (hash >> indexBits_ << indexBits_) | index;
    }
    bool SameHash(std::uint64_t a, std::uint64_t b) const { return (a >> indexBits_) == (b >> indexBits_); }
    std::uint32_t Index(std::uint64_t key) const {
        return std::uint32_t(key & ((std::uint64_t(1) << indexBits_) - 1));
    }

private:
    int indexBits_ = 0;
};

// A word-at-a-time hash: one multiplication per 8 bytes keeps the key building cheap.
std::uint64_t HashWords(const std::uint64_t* words, std::size_t count) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull;
    for (std::size_t w = 0; w < count; ++w) {
        h = (h ^ words[w]) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    return h;
}

constexpr std::uint64_t kHashBasis = 0xCBF29CE484222325ull;

// Continues `h` over the given parameters of the voice.
std::uint64_t HashOf(const ParameterVector& voice, const std::vector<std::size_t>& parameters,
                     std::uint64_t h) {
    for (std::size_t i : parameters) h = (h ^ voice[i]) * 0x100000001B3ull;
    return h ^ (h >> 29);
}

// The voices of one block grouped by key in linear time (an open-addressing table; sorting
// the keys instead took a third of the search). Equal keys are compared in full afterwards,
// so a collision costs time, never a wrong group.
class BucketTable {
public:
    explicit BucketTable(std::size_t count) : next_(count) {
        std::size_t size = 16;
        while (size < 2 * count) size *= 2;
        hash_.resize(size);
        head_.resize(size);
        mask_ = size - 1;
    }
    void Clear() {
        std::fill(head_.begin(), head_.end(), kNone);
        used_.clear();
    }
    void Add(std::uint64_t hash, std::uint32_t item) {
        std::size_t slot = std::size_t(hash >> 20) & mask_;
        while (head_[slot] != kNone && hash_[slot] != hash) slot = (slot + 1) & mask_;
        if (head_[slot] == kNone) {
            hash_[slot] = hash;
            used_.push_back(std::uint32_t(slot));
            next_[item] = kNone;
        } else {
            next_[item] = head_[slot];
        }
        head_[slot] = item;
    }
    // Calls visit(members) for each key held by two or more items, members ascending.
    template <class Visit>
    void ForEachBucket(Visit&& visit) {
        for (std::uint32_t slot : used_) {
            if (next_[head_[slot]] == kNone) continue;
            members_.clear();
            for (std::uint32_t item = head_[slot]; item != kNone; item = next_[item]) members_.push_back(item);
            std::reverse(members_.begin(), members_.end());
            visit(members_);
        }
    }

private:
    static constexpr std::uint32_t kNone = std::uint32_t(-1);
    std::vector<std::uint64_t> hash_;
    std::vector<std::uint32_t> head_;
    std::vector<std::uint32_t> next_;
    std::vector<std::uint32_t> used_;
    std::vector<std::uint32_t> members_;
    std::size_t mask_ = 0;
};

// Calls pairFound(first, other) for each voice with the first voice of equal parameters;
// returns the voices that stand for all their equals.
template <class PairFound>
std::vector<std::uint32_t> Representatives(std::span<const ParameterVector> voices,
                                           PairFound&& pairFound) {
    const KeyMaker keys(voices.size());
    std::vector<std::uint64_t> keyed(voices.size());
    for (std::uint32_t v = 0; v < voices.size(); ++v) {
        std::array<std::uint64_t, (kParameterCount + 7) / 8> words{};
        std::memcpy(words.data(), voices[v].data(), kParameterCount);
        keyed[v] = keys.Key(HashWords(words.data(), words.size()), v);
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::uint32_t> representatives;
    for (std::size_t run = 0; run < keyed.size();) {
        std::size_t end = run;
        while (end < keyed.size() && keys.SameHash(keyed[end], keyed[run])) ++end;
        const std::size_t firstRepresentative = representatives.size();
        for (std::size_t k = run; k < end; ++k) {
            const std::uint32_t v = keys.Index(keyed[k]);
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
    std::sort(representatives.begin(), representatives.end());
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

    // A parameter whose smallest change already costs more than the threshold is equal in
    // every pair found: it goes into every block's key. The others are dealt round-robin into
    // threshold + 1 blocks, so each block takes some of every operator and of the common
    // parameters, and unrelated voices rarely agree on a whole block.
    const std::size_t blocks = std::size_t(threshold) + 1;
    std::vector<std::size_t> mustEqual;
    std::vector<std::vector<std::size_t>> blockParameters(blocks);
    for (std::size_t i = 0, dealt = 0; i < kParameterCount; ++i) {
        const ParameterInfo& info = InfoOf(i);
        if ((info.choice ? info.cap : info.weight) > threshold)
            mustEqual.push_back(i);
        else
            blockParameters[dealt++ % blocks].push_back(i);
    }
    // hashes[r * blocks + b]: block b's key of representative r.
    std::vector<std::uint64_t> hashes(representatives.size() * blocks);
    for (std::size_t r = 0; r < representatives.size(); ++r) {
        const ParameterVector& voice = voices[representatives[r]];
        const std::uint64_t common = HashOf(voice, mustEqual, kHashBasis);
        for (std::size_t b = 0; b < blocks; ++b)
            hashes[r * blocks + b] = HashOf(voice, blockParameters[b], common);
    }

    BucketTable buckets(representatives.size());
    for (std::size_t block = 0; block < blocks; ++block) {
        buckets.Clear();
        for (std::uint32_t r = 0; r < representatives.size(); ++r) buckets.Add(hashes[r * blocks + block], r);
        buckets.ForEachBucket([&](const std::vector<std::uint32_t>& members) {
            for (std::size_t x = 0; x + 1 < members.size(); ++x)
                for (std::size_t y = x + 1; y < members.size(); ++y) {
                    const std::uint32_t rx = members[x], ry = members[y];
                    // A pair that shares an earlier block was compared there.
                    const std::uint64_t* hx = &hashes[rx * blocks];
                    const std::uint64_t* hy = &hashes[ry * blocks];
                    if (!std::equal(hx, hx + block, hy,
                                    [](std::uint64_t p, std::uint64_t q) { return p != q; }))
                        continue;
                    const std::uint32_t a = representatives[rx], b = representatives[ry];
                    // Already linked pairs need no distance: only the groups are wanted.
                    if (sets.Find(a) == sets.Find(b)) continue;
                    if (DistanceUpTo(voices[a], voices[b], threshold) <= threshold) sets.Join(a, b);
                }
        });
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
