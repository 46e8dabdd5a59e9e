// The displays' background gradient as bands, without widgets.
#include <gtest/gtest.h>

#include "controls/GradientBands.h"

using namespace controls;

namespace {

// Every pixel along the stepping axis belongs to exactly one band, and bands span the control.
void ExpectTiled(const std::vector<GradientBand>& bands, int w, int h, bool alongX) {
    int next = 0;
    for (const GradientBand& b : bands) {
        ASSERT_EQ(alongX ? b.x : b.y, next);
        ASSERT_GT(alongX ? b.width : b.height, 0);
        EXPECT_EQ(alongX ? b.height : b.width, alongX ? h : w);
        next += alongX ? b.width : b.height;
    }
    EXPECT_EQ(next, alongX ? w : h);
}

}  // namespace

TEST(GradientBands, AutomaticCountIsOneBandPerPixel) {
    const auto bands = GradientBands(140, 100, kColourNavy, kColourBlack, 0, 0);
    EXPECT_EQ(bands.size(), 140u);
    ExpectTiled(bands, 140, 100, true);
    EXPECT_EQ(GradientBands(300, 10, kColourNavy, kColourBlack, 0, 0).size(), 256u);
    EXPECT_TRUE(IsGradientBandCount(0));
    EXPECT_TRUE(IsGradientBandCount(2));
    EXPECT_TRUE(IsGradientBandCount(256));
    EXPECT_FALSE(IsGradientBandCount(1));
    EXPECT_FALSE(IsGradientBandCount(257));
    EXPECT_FALSE(IsGradientBandCount(300));
}

TEST(GradientBands, LayoutsOrderAndMirrorTheColours) {
    const ColourNumber a = MakeColourNumber(0, 100, 200);  // GradientColor
    const ColourNumber b = MakeColourNumber(255, 0, 50);   // Color
    struct Case {
        int type;
        bool alongX;
        ColourNumber first, second;  // the two bands of a two-band gradient
    } cases[] = {
        // The middle colour halves toward zero: 0 + 255 / 2 = 127, 100 - 100 / 2 = 50.
        {0, true, a, MakeColourNumber(127, 50, 125)},
        // Exchanged: 255 + (0 - 255) / 2 = 128.
        {1, true, b, MakeColourNumber(128, 50, 125)},
        {2, false, a, MakeColourNumber(127, 50, 125)},
        {3, false, b, MakeColourNumber(128, 50, 125)},
        // Mirrored halves: start colour, then the middle colour in the second half.
        {4, true, b, a},
        {5, true, a, b},
        {6, false, b, a},  // the editor's envelope layout: background at the borders
        {7, false, a, b},
    };
    for (const Case& c : cases) {
        const auto bands = GradientBands(40, 30, a, b, c.type, 2);
        ASSERT_EQ(bands.size(), 2u) << c.type;
        ExpectTiled(bands, 40, 30, c.alongX);
        EXPECT_EQ(bands[0].colour, c.first) << c.type;
        EXPECT_EQ(bands[1].colour, c.second) << c.type;
    }
}

TEST(GradientBands, BandsStepByRoundedShares) {
    // Red 0 -> 255 over 4 bands per half, left to right, 16 pixels: each band 2 pixels.
    const auto bands = GradientBands(16, 4, MakeColourNumber(0, 0, 0), MakeColourNumber(255, 0, 0), 0, 8);
    ASSERT_EQ(bands.size(), 8u);
    const int reds[] = {0, 32, 64, 95, 127, 159, 191, 223};  // MulDiv(k, 127, 4), then 127 + MulDiv(k, 128, 4)
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(RedOf(bands[k].colour), reds[k]) << k;
        EXPECT_EQ(bands[k].width, 2) << k;
    }
    // Falling channels round away from zero too: 255 -> 128 in the first half.
    const auto down = GradientBands(16, 4, MakeColourNumber(255, 0, 0), 0, 0, 8);
    EXPECT_EQ(RedOf(down[1].colour), 255 - 32);  // MulDiv(1, -127, 4) = -31.75 -> -32
}

TEST(GradientBands, OddSizesAndSurplusBandsStillTile) {
    for (int type = 0; type < kGradientTypes; ++type) {
        for (int n : {0, 2, 3, 64, 256}) {
            for (int extent : {1, 2, 5, 99, 134}) {
                const bool alongX = type == 0 || type == 1 || type == 4 || type == 5;
                const auto bands = GradientBands(extent, extent + 1, kColourNavy, kColourSilver, type, n);
                const int w = extent, h = extent + 1;
                ExpectTiled(bands, w, h, alongX);
            }
        }
    }
    EXPECT_TRUE(GradientBands(0, 10, kColourNavy, 0, 0, 64).empty());
    // An unknown layout draws as left to right.
    EXPECT_EQ(GradientBands(20, 5, kColourNavy, 0, 9, 4), GradientBands(20, 5, kColourNavy, 0, 0, 4));
}
