#include "editor/EditorTables.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "core/VoiceFormats.h"
#include "core/VoiceRanges.h"

namespace editor {
namespace {

TEST(EditorTablesTest, EveryParameterHasItsOwnControlWithTheVoiceRange) {
    std::set<std::string> names;
    for (int p = 0; p < kVoiceParameterCount; ++p) {
        names.insert(VoiceParameterName(p));
        const int expected = p < kOperatorParameterCount ? core::test::kOperatorMax[p % kBlockSize]
                                                         : core::test::kCommonMax[p - kOperatorParameterCount];
        EXPECT_EQ(VoiceParameterControl(p).max, expected) << p;
    }
    EXPECT_EQ(names.size(), std::size_t(kVoiceParameterCount));
    EXPECT_EQ(VoiceParameterName(0), "E_OP6_R1");
    EXPECT_EQ(VoiceParameterName(20), "E_OP6_DET");
    EXPECT_EQ(VoiceParameterName(105), "E_OP1_R1");
    EXPECT_EQ(VoiceParameterName(125), "E_OP1_DET");
    EXPECT_EQ(VoiceParameterName(126), "E_PEG_R1");
    EXPECT_EQ(VoiceParameterName(134), "E_ALGO_NUM");
    EXPECT_EQ(VoiceParameterName(144), "E_TRANSPOSE");
    EXPECT_THROW(VoiceParameterControl(145), std::out_of_range);
}

// The operator rules stop at the six operator blocks: the voice-wide parameters whose offsets
// in block 6 look like a break point, a level or a frequency byte have no display to follow.
TEST(EditorTablesTest, DependentDisplaysOnlyForBlocksThatHaveThem) {
    struct Case {
        int p;
        int envBlock, envValue, keyBlock, keyValue, freqBlock;
        bool algorithm;
    };
    const Case cases[] = {
        {0, 0, 0, -1, -1, -1, false},     // rate 1 of operator 6
        {7, 0, 7, -1, -1, -1, false},     // level 4
        {4, 0, 1, -1, -1, -1, false},     // level 1
        {8, -1, -1, 0, 2, -1, false},     // break point
        {11, -1, -1, 0, 1, -1, false},    // left curve
        {12, -1, -1, 0, 3, -1, false},    // right curve
        {13, -1, -1, -1, -1, -1, false},  // KSR: nothing
        {16, -1, -1, 0, 0, -1, false},    // output level
        {17, -1, -1, -1, -1, 0, false},   // mode
        {124, -1, -1, -1, -1, 5, false},  // frequency fine of operator 1
        {122, -1, -1, -1, -1, 5, false},  // oscillator mode of operator 1
        {121, -1, -1, 5, 0, -1, false},   // output level of operator 1
        {126, 6, 0, -1, -1, -1, false},   // pitch envelope rate 1
        {133, 6, 7, -1, -1, -1, false},   // pitch envelope level 4
        {134, -1, -1, -1, -1, -1, true},  // algorithm: offset 8 of block 6, no keyboard display
        {137, -1, -1, -1, -1, -1, false}, // LFO speed: offset 11
        {142, -1, -1, -1, -1, -1, false}, // LFO wave: offset 16
        {143, -1, -1, -1, -1, -1, false}, // offset 17
        {144, -1, -1, -1, -1, -1, false}, // transpose: offset 18
    };
    for (const auto& c : cases) {
        const Dependents d = DependentsOf(c.p);
        SCOPED_TRACE(c.p);
        EXPECT_EQ(d.envelopeBlock, c.envBlock);
        EXPECT_EQ(d.envelopeValue, c.envValue);
        EXPECT_EQ(d.keyScalingBlock, c.keyBlock);
        EXPECT_EQ(d.frequencyBlock, c.freqBlock);
        if (c.keyBlock >= 0) {
            EXPECT_EQ(d.keyScalingValue, c.keyValue);
        }
        EXPECT_EQ(d.algorithmNumber, c.algorithm);
    }
    for (int p = 0; p < kVoiceParameterCount; ++p) {
        const Dependents d = DependentsOf(p);
        EXPECT_LT(d.keyScalingBlock, kOperatorCount);
        EXPECT_LT(d.frequencyBlock, kOperatorCount);
        EXPECT_LE(d.envelopeBlock, kPitchEnvelopeBlock);
    }
}

TEST(EditorTablesTest, EnvelopeDragWritesRateThenLevelClamped) {
    const std::array<int, 8> values{10, 20, 30, 40, 50, 60, 70, 150};
    struct Case {
        int block, point;
        std::vector<ParameterWrite> writes;
    };
    const Case cases[] = {
        {0, 1, {{0, 10}, {4, 20}}},
        {2, 3, {{44, 50}, {48, 60}}},
        {0, 4, {{3, 70}, {6, 60}}},    // rate 4 and the sustain level 3, not level 4
        {6, 0, {{133, 99}}},           // level 4 clamped to 99
        {6, 5, {{133, 99}}},
        {1, 6, {}},
        {1, -1, {}},
    };
    for (const auto& c : cases) {
        const auto out = EnvelopeDragWrites(c.block, c.point, values);
        ASSERT_EQ(out.count, int(c.writes.size())) << c.point;
        for (int i = 0; i < out.count; ++i) {
            EXPECT_EQ(out.writes[std::size_t(i)].parameter, c.writes[std::size_t(i)].parameter);
            EXPECT_EQ(out.writes[std::size_t(i)].value, c.writes[std::size_t(i)].value);
        }
    }
}

TEST(EditorTablesTest, KeyScalingDragWritesLevelDepthThenBreakPoint) {
    // Level 80, left curve 2, break point 120 (clamped), right curve 9 (clamped), depths.
    const std::array<int, 6> values{80, 2, 120, 9, 33, -4};
    struct Case {
        int handle;
        std::vector<ParameterWrite> writes;
    };
    const int base = 3 * kBlockSize;
    const Case cases[] = {
        {0, {{base + 16, 80}}},
        {1, {{base + 16, 80}}},
        {2, {{base + 8, 99}}},
        {3, {{base + 8, 99}}},
        {4, {{base + 16, 80}, {base + 8, 99}}},
        {5, {{base + 9, 33}, {base + 11, 2}}},
        {6, {{base + 10, 0}, {base + 12, 3}}},
        {7, {}},
        {-1, {}},
    };
    for (const auto& c : cases) {
        const auto out = KeyScalingDragWrites(3, c.handle, values);
        ASSERT_EQ(out.count, int(c.writes.size())) << c.handle;
        for (int i = 0; i < out.count; ++i) {
            EXPECT_EQ(out.writes[std::size_t(i)].parameter, c.writes[std::size_t(i)].parameter);
            EXPECT_EQ(out.writes[std::size_t(i)].value, c.writes[std::size_t(i)].value);
        }
    }
}

// The label shows what the operator plays: ratio coarse x (1 + fine / 100), coarse 0 as 0.5.
TEST(EditorTablesTest, FrequencyTextIsWhatTheOperatorPlays) {
    struct Case {
        int mode, coarse, fine;
        const char* text;
    };
    const Case cases[] = {
        {0, 1, 0, "1.0000"},     {0, 0, 0, "0.5000"},      {0, 2, 50, "3.0000"},
        {0, 0, 50, "0.7500"},    {0, 31, 99, "61.6900"},   {0, 1, 1, "1.0100"},
        {1, 0, 0, "1.00000"},    {1, 3, 0, "1000.00"},     {1, 1, 0, "10.0000"},
        {1, 4, 0, "1.00000"},    {1, 7, 0, "1000.00"},     {1, 0, 50, "3.16228"},
        {1, 3, 99, "9772.37"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrequencyText(c.mode, c.coarse, c.fine), c.text) << c.mode << " " << c.coarse << " " << c.fine;
    EXPECT_EQ(FrequencyText(0, 2, 50, ','), "3,0000");
}

TEST(EditorTablesTest, NoteNames) {
    EXPECT_EQ(NoteName(0), "C -2");
    EXPECT_EQ(NoteName(60), "C 3");
    EXPECT_EQ(NoteName(61), "C#3");
    EXPECT_EQ(NoteName(23), "B -1");
    EXPECT_EQ(NoteName(24), "C 0");
    EXPECT_EQ(NoteName(127), "G 8");
}

TEST(EditorTablesTest, PerformanceRowsAndSwitchBits) {
    EXPECT_STREQ(PerformanceRowAt(0).name, "P_POLY");
    EXPECT_TRUE(PerformanceRowAt(9).isSwitch);
    EXPECT_EQ(PerformanceRowAt(9).functionByte, 10);
    EXPECT_EQ(PerformanceRowAt(9).maxOrMask, 1);
    EXPECT_EQ(PerformanceRowAt(7).maxOrMask, 4);
    EXPECT_FALSE(PerformanceRowAt(22).isSwitch);
    EXPECT_EQ(PerformanceRowAt(22).functionByte, 26);
    EXPECT_EQ(PerformanceRowAt(kHighLimitRow).maxOrMask, 127);
    EXPECT_EQ(PerformanceRowAt(kLowLimitRow).functionByte, -1);
    // Set and clear only the switch's bit, whatever the byte holds.
    EXPECT_EQ(SwitchedByte(6, 1, true), 7);
    EXPECT_EQ(SwitchedByte(7, 1, false), 6);
    EXPECT_EQ(SwitchedByte(7, 1, true), 7);   // already set: the literal add would carry to 8
    EXPECT_EQ(SwitchedByte(6, 1, false), 6);  // already clear: the literal subtract gives 5
    EXPECT_EQ(SwitchedByte(0, 4, false), 0);
}

// Every row of the performance section, written out independently of the table the editor and
// the emulated rack share (a wrong row there would look right to both).
TEST(EditorTablesTest, EveryPerformanceRowEditsItsOwnByteAndBit) {
    const PerformanceRow expected[] = {
        {"P_POLY", true, 2, 1},      {"P_BRANGE", false, 3, 12}, {"P_BSTEP", false, 4, 12},
        {"P_PTIME", false, 5, 99},   {"P_PGLISS", true, 6, 1},   {"P_PMODE", true, 7, 1},
        {"P_WH_SENS", false, 9, 15}, {"P_WH_EGB", true, 10, 4},  {"P_WH_AMP", true, 10, 2},
        {"P_WH_PIT", true, 10, 1},   {"P_FO_SENS", false, 11, 15}, {"P_FO_EGB", true, 12, 4},
        {"P_FO_AMP", true, 12, 2},   {"P_FO_PIT", true, 12, 1},  {"P_AF_SENS", false, 13, 15},
        {"P_AF_EGB", true, 14, 4},   {"P_AF_AMP", true, 14, 2},  {"P_AF_PIT", true, 14, 1},
        {"P_BR_SENS", false, 15, 15}, {"P_BR_EGB", true, 16, 4}, {"P_BR_AMP", true, 16, 2},
        {"P_BR_PIT", true, 16, 1},   {"P_ATTN", false, 26, 7},   {"P_NLOW", false, -1, 127},
        {"P_NHI", false, -1, 127},
    };
    for (int r = 0; r < 25; ++r) {
        const PerformanceRow& row = PerformanceRowAt(r);
        const PerformanceRow& want = expected[r];
        SCOPED_TRACE(want.name);
        EXPECT_STREQ(row.name, want.name);
        EXPECT_EQ(row.isSwitch, want.isSwitch);
        EXPECT_EQ(row.functionByte, want.functionByte);
        EXPECT_EQ(row.maxOrMask, want.maxOrMask);
    }
}

}  // namespace
}  // namespace editor
