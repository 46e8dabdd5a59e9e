#include "controls/KnobModel.h"

#include <gtest/gtest.h>

using namespace controls;

TEST(KnobArithmetic, DragOverPartOfTheRangeDropsTheFraction) {
    // Range 0..99 over 50 pixels, starting at 0: the origin is the press point.
    const int origin = DragOrigin(100, 0, 0, 99, 50);
    EXPECT_EQ(origin, 100);
    EXPECT_EQ(DragValue(origin, 75, 0, 0, 99, 50), 49);  // 25 * 99 / 50 = 49.5
    EXPECT_EQ(DragValue(origin, 50, 0, 0, 99, 50), 99);
    EXPECT_EQ(DragValue(origin, 0, 0, 0, 99, 50), 99);   // beyond the range: clamped
    EXPECT_EQ(DragValue(origin, 130, 0, 0, 99, 50), 0);  // below: clamped to Min
}

TEST(KnobArithmetic, DragStartsFromTheCurrentValue) {
    // The page knob: 0..994 over 200 pixels, at 500. The origin carries the value's share.
    const int origin = DragOrigin(10, 500, 0, 994, 200);
    EXPECT_EQ(origin, 10 + 500 * 200 / 994);
    EXPECT_EQ(DragValue(origin, 10, 500, 0, 994, 200), 497);  // truncation loses a little
    EXPECT_EQ(DragValue(origin, 9, 500, 0, 994, 200), 501);
}

TEST(KnobArithmetic, DegenerateRangesNeverDivideByZero) {
    EXPECT_EQ(DragOrigin(40, 5, 5, 5, 15), 40);
    EXPECT_EQ(DragValue(40, 0, 5, 5, 5, 15), 5);
    EXPECT_EQ(DragValue(40, 0, 7, 0, 10, 0), 7);  // no cursor range: the value stays
    EXPECT_EQ(KnobFrameIndex(5, 5, 5, 128), 0);
    EXPECT_EQ(KnobFrameIndex(3, 0, 10, 0), 0);
}

TEST(KnobArithmetic, FrameIndexSpreadsTheRangeOverTheFrames) {
    EXPECT_EQ(KnobFrameIndex(0, 0, 99, 128), 0);
    EXPECT_EQ(KnobFrameIndex(50, 0, 99, 128), 64);  // 50 * 128 / 99
    EXPECT_EQ(KnobFrameIndex(99, 0, 99, 128), 127);  // 128 limited to the last frame
    EXPECT_EQ(KnobFrameIndex(1, 0, 1, 2), 1);
    // An offset range: -7..7 on 15 frames.
    EXPECT_EQ(KnobFrameIndex(-7, -7, 7, 15), 0);
    EXPECT_EQ(KnobFrameIndex(0, -7, 7, 15), 7);
    EXPECT_EQ(KnobFrameIndex(7, -7, 7, 15), 14);
    // A value below Min (set before Min was raised) takes the absolute value.
    EXPECT_EQ(KnobFrameIndex(0, 10, 20, 10), 10 - 1);
}

TEST(KnobArithmetic, ShiftStepIsATenthOfMaxButNeverNothing) {
    EXPECT_EQ(StepSize(99, false), 1);
    EXPECT_EQ(StepSize(99, true), 9);
    EXPECT_EQ(StepSize(994, true), 99);
    EXPECT_EQ(StepSize(7, true), 1);
}

TEST(KnobModelClicks, ButtonCombinationsStepThenJump) {
    KnobModel m(99, 50);
    m.setState(40);
    // Right held, left clicked: down one, then at the right release up to Max.
    m.pressRight();
    m.pressLeft(0);
    EXPECT_TRUE(m.releaseLeft(0, false));
    EXPECT_EQ(m.state(), 39);
    EXPECT_TRUE(m.releaseRight(false));
    EXPECT_EQ(m.state(), 99);
    // Left held, right clicked: up one (Shift: 9), then at the left release down to Min.
    m.setState(40);
    m.pressLeft(0);
    m.pressRight();
    m.releaseRight(true);
    EXPECT_EQ(m.state(), 49);
    m.releaseLeft(0, false);
    EXPECT_EQ(m.state(), 0);
    // The right-pressed flag outlives the release: a following plain left click is cleared
    // by its own press.
    m.pressLeft(0);
    m.releaseLeft(0, false);
    EXPECT_EQ(m.state(), 0);
    EXPECT_FALSE(m.rightPressed());
}

TEST(KnobModelClicks, MovesFireOnlyWithAlwayDetectAndOnlyWhileDragging) {
    KnobModel m(99, 50);
    EXPECT_FALSE(m.move(10));  // no press yet
    EXPECT_EQ(m.state(), 0);
    m.pressLeft(100);
    EXPECT_TRUE(m.move(90));
    EXPECT_EQ(m.state(), 19);
    m.setAlwayDetect(false);
    EXPECT_FALSE(m.move(80));
    EXPECT_EQ(m.state(), 39);
    EXPECT_TRUE(m.releaseLeft(70, false));  // the release computes from its own position
    EXPECT_EQ(m.state(), 59);
    EXPECT_FALSE(m.dragging());
    EXPECT_FALSE(m.moved());
}

TEST(KnobModelKeys, KeysFireWhenTheUnclampedValueDiffers) {
    KnobModel m(99, 5);
    EXPECT_FALSE(m.key(KnobKey::End, false));  // already at Min
    EXPECT_TRUE(m.key(KnobKey::PageDown, false));  // -1 differs, clamps back to 0
    EXPECT_EQ(m.state(), 0);
    EXPECT_TRUE(m.key(KnobKey::PageUp, true));
    EXPECT_EQ(m.state(), 9);
    EXPECT_TRUE(m.key(KnobKey::Home, false));
    EXPECT_EQ(m.state(), 99);
    EXPECT_TRUE(m.key(KnobKey::PageUp, false));  // at Max still fires
    EXPECT_EQ(m.state(), 99);
    EXPECT_FALSE(m.key(KnobKey::Home, false));
    EXPECT_FALSE(m.key(KnobKey::None, false));
}

TEST(KnobModelState, SettingClampsAndReportsRealChangesOnly) {
    KnobModel m(100, 15);
    EXPECT_TRUE(m.setState(250));
    EXPECT_EQ(m.state(), 100);
    EXPECT_FALSE(m.setState(100));
    EXPECT_FALSE(m.setState(300));  // clamps to the value it already has
    // Min and Max are stored without re-clamping.
    m.setMax(50);
    EXPECT_EQ(m.state(), 100);
}

TEST(KnobArithmetic, LargeValuesOnANarrowRangeStayPutWithoutMovement) {
    // 2e9 on a range of one over 1000 pixels: the origin lies 2e12 pixels away, far beyond an
    // int. A press and a release on the same spot must give the value back, not wrap around.
    KnobModel m(2000000000, 1000);
    m.setMin(1999999999);
    m.setState(2000000000);
    m.pressLeft(40);
    m.move(40);
    EXPECT_EQ(m.state(), 2000000000);
    // The widest range with the biggest cursor range: no overflow either way.
    KnobModel wide(INT32_MAX, INT32_MAX);
    wide.setMin(INT32_MIN);
    wide.setState(INT32_MAX);
    wide.pressLeft(-30000);
    wide.move(30000);
    // Origin 1073711823; 60000 pixels down: (1073711823 - 30000) * (2^32 - 1) / (2^31 - 1).
    EXPECT_EQ(wide.state(), 2147363646);
}
