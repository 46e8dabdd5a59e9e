// The caption bar's arithmetic without widgets: bands, buttons, text drop order, ellipsis.
#include <gtest/gtest.h>

#include "controls/CaptionLayout.h"

using namespace controls;

namespace {

std::vector<int> Reds(const std::vector<GradientBand>& bands) {
    std::vector<int> reds;
    for (const GradientBand& b : bands) reds.push_back(RedOf(b.colour));
    return reds;
}

}  // namespace

TEST(CaptionLayout, BandCountTakesTheSetCountOrOneBandPerPixel) {
    struct Case { int set, width, expected; };
    for (const Case& c : {Case{0, 100, 100}, Case{0, 1, 2}, Case{0, 256, 256}, Case{0, 257, 256},
                          Case{2, 500, 2}, Case{256, 10, 256}, Case{1, 50, 50},
                          Case{257, 50, 50}, Case{300, 600, 256}})
        EXPECT_EQ(CaptionBandCount(c.set, c.width), c.expected) << c.set << " over " << c.width;
}

TEST(CaptionLayout, LeftToRightRunsFromTheBarsColourToTheCaptionColourAndTilesTheWidth) {
    const ColourNumber caption = MakeColourNumber(255, 158, 36);
    const auto bands = CaptionBands(7, 300, 20, kColourBlack, caption, CaptionGradient::gtLeftToRight, 0);
    ASSERT_EQ(bands.size(), 256u);
    int next = 7;
    for (std::size_t k = 0; k < bands.size(); ++k) {
        ASSERT_EQ(bands[k].x, next) << k;
        ASSERT_GT(bands[k].width, 0) << k;
        EXPECT_EQ(bands[k].height, 20);
        next += bands[k].width;
    }
    EXPECT_EQ(next, 307);
    EXPECT_EQ(bands.front().colour, kColourBlack);
    EXPECT_EQ(bands.back().colour, caption) << "the last band is exactly the caption colour";
    // Band 1 of 255 steps: 158 / 255 rounds to 1, 36 / 255 to 0.
    EXPECT_EQ(bands[1].colour, MakeColourNumber(1, 1, 0));

    // Four bands: 0, 85, 170, 255 (MulDiv by 3, rounded).
    EXPECT_EQ(Reds(CaptionBands(0, 8, 1, kColourBlack, 0xFF, CaptionGradient::gtLeftToRight, 4)),
              (std::vector<int>{0, 85, 170, 255}));
    // More bands than pixels: the empty ones are left out, the colours keep their steps.
    const auto narrow = CaptionBands(0, 3, 1, kColourBlack, 0xFF, CaptionGradient::gtLeftToRight, 256);
    ASSERT_EQ(narrow.size(), 3u);
    EXPECT_EQ(narrow.back().x + narrow.back().width, 3);
    EXPECT_EQ(RedOf(narrow.back().colour), 213) << "band 213 of 256 is the one ending on the last pixel";
}

TEST(CaptionLayout, CentreToBorderAndNoneFollowTheirRules) {
    // Five bands from white at the border to black in the middle; halves round away from zero.
    EXPECT_EQ(Reds(CaptionBands(0, 10, 1, kColourBlack, 0xFF, CaptionGradient::gtCenterToBorder, 5)),
              (std::vector<int>{255, 127, 0, 128, 255}));
    EXPECT_EQ(Reds(CaptionBands(0, 4, 1, kColourBlack, 0xFF, CaptionGradient::gtCenterToBorder, 4)),
              (std::vector<int>{255, 85, 0, 170}));
    const auto none = CaptionBands(3, 40, 9, kColourBlack, 0x123456, CaptionGradient::gtNone, 0);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0], (GradientBand{3, 0, 40, 9, 0x123456}));
    EXPECT_TRUE(CaptionBands(0, 0, 9, 0, 0, CaptionGradient::gtLeftToRight, 0).empty());
}

TEST(CaptionLayout, ButtonsFollowTheWindowStyle) {
    auto kinds = [](CaptionButtons buttons) {
        std::vector<unsigned> out;
        for (const CaptionButtonPlace& p : CaptionButtonPlaces(buttons, 400, 22)) out.push_back(p.button);
        return out;
    };
    using V = std::vector<unsigned>;
    EXPECT_EQ(kinds(kNoCaptionButtons), V{});
    EXPECT_EQ(kinds(kCaptionMinimize | kCaptionMaximize), V{}) << "no system menu, no buttons";
    EXPECT_EQ(kinds(kCaptionClose), V{kCaptionClose});
    EXPECT_EQ(kinds(kCaptionClose | kCaptionMinimize),
              (V{kCaptionClose, kCaptionMaximize, kCaptionMinimize}))
        << "minimise keeps its pair's place";
    EXPECT_EQ(kinds(kCaptionClose | kCaptionHelp), (V{kCaptionClose, kCaptionHelp}));
    EXPECT_EQ(kinds(kCaptionClose | kCaptionHelp | kCaptionMinimize),
              (V{kCaptionClose, kCaptionMaximize, kCaptionMinimize}));

    const auto places = CaptionButtonPlaces(kCaptionClose | kCaptionMinimize, 400, 22);
    EXPECT_EQ(places[0], (CaptionButtonPlace{kCaptionClose, 380, 2, 18}));
    EXPECT_EQ(places[1].x + places[1].size + 4, places[0].x) << "close stands apart";
    EXPECT_EQ(places[2].x + places[2].size, places[1].x) << "the pair touches";
    EXPECT_EQ(CaptionButtonAreaLeft(places, 400), places[2].x - 2);
    EXPECT_EQ(CaptionButtonAreaLeft({}, 400), 400);
}

TEST(CaptionLayout, TextsDropCompanyFirstThenApplication) {
    struct Case { int company, application, caption; CaptionTexts expected; };
    const Case cases[] = {
        {20, 20, 20, {true, true, true}},
        {40, 30, 21, {true, true, true}},    // 43 + 33 + 24 = 100: just fits
        {40, 30, 22, {false, true, true}},   // one pixel over: the company text goes
        {0, 50, 44, {false, true, true}},    // 53 + 47 = 100
        {0, 50, 45, {false, false, true}},   // one over: only the caption, cut by its ellipsis
        {60, 60, 500, {false, false, true}},
        {30, 0, 0, {true, false, false}},
        {200, 0, 0, {false, false, false}},  // a company text alone that does not fit
        {0, 0, 0, {false, false, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CaptionTextsShown(100, c.company, c.application, c.caption), c.expected)
            << c.company << " " << c.application << " " << c.caption;
}

TEST(CaptionLayout, GroupSitsByAlignmentThenThreePixelsRight) {
    EXPECT_EQ(CaptionGroupLeft(CaptionAlignment::Left, true, 20, 220, 50), 23);
    EXPECT_EQ(CaptionGroupLeft(CaptionAlignment::Right, true, 20, 220, 50), 173);
    EXPECT_EQ(CaptionGroupLeft(CaptionAlignment::Center, true, 20, 220, 50), 98);
    EXPECT_EQ(CaptionGroupLeft(CaptionAlignment::Right, false, 20, 220, 50), 23)
        << "a disabled bar places its text at the left";
    EXPECT_EQ(CaptionGroupLeft(CaptionAlignment::Right, true, 20, 220, 500), 23)
        << "a group wider than the area starts at its left";
}

TEST(CaptionLayout, ALongCaptionKeepsWhatFitsBeforeItsEllipsis) {
    // 7 pixels a character, the ellipsis one more character.
    const auto widthOf = [](int kept, bool elided) { return 7 * (kept + (elided ? 1 : 0)); };
    EXPECT_EQ(CaptionCharsKept(10, 70, widthOf), 10) << "exactly fitting: whole";
    EXPECT_EQ(CaptionCharsKept(10, 69, widthOf), 8) << "one pixel short: 8 and the ellipsis";
    EXPECT_EQ(CaptionCharsKept(10, 63, widthOf), 8);
    EXPECT_EQ(CaptionCharsKept(10, 62, widthOf), 7);
    EXPECT_EQ(CaptionCharsKept(10, 3, widthOf), 0) << "the ellipsis alone";
    EXPECT_EQ(CaptionCharsKept(0, 3, widthOf), 0);
}
