// The near-duplicate search: the distance's weights, and the fast search against every pair.

#include <gtest/gtest.h>

#include <random>

#include "cli/SimilarVoices.h"
#include "tests/cli/AllPairsSimilar.h"
#include "tests/cli/BankBytes.h"

namespace cli {
namespace {

ParameterVector RandomVoice(std::mt19937& random) {
    ParameterVector voice;
    for (std::size_t p = 0; p < kParameterCount; ++p) voice[p] = Byte(random() % (InfoOf(p).max + 1u));
    return voice;
}

TEST(SimilarVoices, DistanceWeighsWhatIsHeard) {
    std::mt19937 random(7);
    const ParameterVector base = RandomVoice(random);
    struct Change {
        const char* what;
        std::size_t parameter;
        int to;
        int cost;
    };
    const Change changes[] = {
        {"one EG rate step", 0, base[0] == 99 ? 98 : base[0] + 1, 1},
        {"EG rate far off: capped", 0, base[0] < 50 ? 99 : 0, 12},
        {"three output level steps", 16, base[16] < 50 ? base[16] + 3 : base[16] - 3, 6},
        {"another frequency ratio, however near", 18, base[18] == 31 ? 30 : base[18] + 1, 8},
        {"another algorithm", 134, (base[134] + 1) % 32, 16},
        {"transpose a semitone", 144, base[144] == 48 ? 47 : base[144] + 1, 4},
        {"transpose an octave: capped", 144, base[144] < 24 ? base[144] + 12 : base[144] - 12, 24},
    };
    for (const Change& change : changes) {
        ParameterVector other = base;
        other[change.parameter] = Byte(change.to);
        EXPECT_EQ(VoiceDistance(base, other), change.cost) << change.what;
        EXPECT_EQ(VoiceDistance(other, base), change.cost) << change.what;
    }
    EXPECT_EQ(VoiceDistance(base, base), 0);
}

TEST(SimilarVoices, PairAtTheThresholdJoinsAndOneStepMoreDoesNot) {
    std::mt19937 random(11);
    const ParameterVector a = RandomVoice(random);
    for (int threshold : {1, 5, 8, 11}) {
        ParameterVector b = a;
        // EG rate 1 of operator 6 by `threshold` steps: cost = threshold (cap 12).
        b[0] = Byte(a[0] >= 50 ? a[0] - threshold : a[0] + threshold);
        const std::vector<ParameterVector> voices{a, RandomVoice(random), b};
        EXPECT_EQ(FindSimilarGroups(voices, threshold), (VoiceGroups{{0, 2}})) << threshold;
        EXPECT_TRUE(FindSimilarGroups(voices, threshold - 1).empty()) << threshold;
    }
}

TEST(SimilarVoices, FastSearchEqualsEveryPairOnRandomLibraries) {
    std::mt19937 random(2000);
    const std::vector<ParameterVector> real = test::RealVoiceParameters();
    ASSERT_EQ(real.size(), 768u);
    for (int round = 0; round < 12; ++round) {
        // Real voices, random voices, equal copies, chains of small changes.
        std::vector<ParameterVector> bases(real.begin() + round * 60, real.begin() + round * 60 + 40);
        for (int r = 0; r < 10; ++r) bases.push_back(RandomVoice(random));
        std::vector<ParameterVector> voices = test::Variants(bases, 500, 1 + round % 5, unsigned(round));
        for (int t : {0, 1, 4, 8, 12, 16}) {
            SCOPED_TRACE("round " + std::to_string(round) + " threshold " + std::to_string(t));
            const VoiceGroups expected = test::AllPairsGroups(voices, t);
            EXPECT_EQ(FindSimilarGroups(voices, t), expected);
            if (t == 8) {
                EXPECT_FALSE(expected.empty());  // the case is not trivial
            }
        }
    }
}

TEST(SimilarVoices, TightestGroupsComeFirst) {
    std::mt19937 random(3);
    const ParameterVector a = RandomVoice(random), b = RandomVoice(random);
    ParameterVector a2 = a, b2 = b, b3 = b;
    a2[1] = Byte(a[1] >= 50 ? a[1] - 5 : a[1] + 5);  // 5 from a
    b2[2] = Byte(b[2] >= 50 ? b[2] - 2 : b[2] + 2);  // 2 from b
    b3[3] = Byte(b[3] >= 50 ? b[3] - 2 : b[3] + 2);  // 2 from b (4 from b2)
    const std::vector<ParameterVector> voices{a, b, a2, b2, b3};
    const std::vector<RankedGroup> ranked = RankGroups(voices, FindSimilarGroups(voices, 8));
    ASSERT_EQ(ranked.size(), 2u);
    EXPECT_EQ(ranked[0].members, (std::vector<std::uint32_t>{1, 3, 4}));
    EXPECT_EQ(ranked[0].distanceToFirst, (std::vector<int>{0, 2, 2}));
    EXPECT_EQ(ranked[0].spread, 2);
    EXPECT_EQ(ranked[1].members, (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(ranked[1].spread, 5);
}

}  // namespace
}  // namespace cli
