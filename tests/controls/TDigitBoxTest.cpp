#include "controls/TDigitBox.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/SevenSegment.h"

using namespace controls;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

QColor Pixel(TDigitBox& box, int x, int y) { return box.grab().toImage().pixelColor(x, y); }

// Reads the digit in each cell back from the box's pixels: a segment counts as lit when the
// middle pixel of its first stroke has the lit colour.
std::string ShownDigits(TDigitBox& box) {
    const QImage img = box.grab().toImage();
    std::string shown;
    for (unsigned cell = box.digits(); cell-- > 0;) {
        const int x = CellOriginX(box.digits(), cell);
        int mask = 0;
        for (int segment = 1; segment <= 7; ++segment) {
            const Stroke s = SegmentStrokes(segment, x, kCellOriginY)[0];
            if (img.pixelColor((s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2) == box.color1())
                mask |= 1 << (segment - 1);
        }
        char c = '?';
        for (int d = 0; d < 10; ++d)
            if (kSegmentTable[d] == mask) c = char('0' + d);
        shown += c;
    }
    return shown;
}

}  // namespace

TEST(SevenSegmentGeometry, StrokesMatchTheSegmentLayout) {
    EXPECT_EQ(SegmentStrokes(1, 0, 0)[0], (Stroke{1, 0, 10, 0}));
    EXPECT_EQ(SegmentStrokes(5, 4, 2)[2], (Stroke{6, 15, 6, 20}));  // segment 2 moved down 10
    EXPECT_EQ(SegmentStrokes(6, 0, 0)[0], (Stroke{10, 11, 10, 20}));
    EXPECT_EQ(SegmentStrokes(4, 0, 0)[2], (Stroke{2, 11, 9, 11}));
    // 7 is the top bar and both right segments; 9 has no bottom; 6 has its top bar.
    EXPECT_TRUE(SegmentLit(7, 1) && SegmentLit(7, 3) && SegmentLit(7, 6));
    EXPECT_FALSE(SegmentLit(7, 2) || SegmentLit(7, 4) || SegmentLit(7, 7));
    EXPECT_FALSE(SegmentLit(9, 7));
    EXPECT_TRUE(SegmentLit(6, 1));
}

TEST(SevenSegmentGeometry, CellsCountFromTheRight) {
    EXPECT_EQ(DigitInCell(1234, 0), 4u);
    EXPECT_EQ(DigitInCell(1234, 3), 1u);
    EXPECT_EQ(DigitInCell(1234, 4), 0u);
    EXPECT_EQ(DigitInCell(4294967295u, 9), 4u);
    EXPECT_EQ(DigitInCell(4294967295u, 10), 0u);
    EXPECT_EQ(CellOriginX(3, 0), 28);
    EXPECT_EQ(CellOriginX(3, 2), 2);
}

TEST(TDigitBoxPixels, SevenLightsTopAndRightOnlyWithLeadingZeros) {
    TDigitBox box;
    box.setDelay(0);
    box.setValue(7);
    EXPECT_EQ(ShownDigits(box), "007");
    // Units cell at x = 28, y = 2.
    EXPECT_EQ(Pixel(box, 29, 2), kRed);    // top bar starts one pixel in
    EXPECT_EQ(Pixel(box, 37, 2), kRed);
    EXPECT_EQ(Pixel(box, 38, 2), kBlack);  // end point of the stroke is not drawn
    EXPECT_EQ(Pixel(box, 38, 14), kRed);   // lower right
    EXPECT_EQ(Pixel(box, 33, 12), kBlack);  // middle
    EXPECT_EQ(Pixel(box, 33, 22), kBlack);  // bottom
    EXPECT_EQ(Pixel(box, 28, 7), kBlack);   // upper left
    // The leading zeros: top and bottom lit, middle dark.
    EXPECT_EQ(Pixel(box, 7, 2), kRed);
    EXPECT_EQ(Pixel(box, 7, 22), kRed);
    EXPECT_EQ(Pixel(box, 7, 12), kBlack);
    EXPECT_EQ(Pixel(box, 0, 0), kBlack);
}

TEST(TDigitBoxPixels, RedrawingErasesThePreviousDigits) {
    TDigitBox box;
    box.setDelay(0);
    box.setValue(888);
    box.setValue(123);
    EXPECT_EQ(ShownDigits(box), "123");
    EXPECT_EQ(Pixel(box, 7, 2), kBlack);   // a 1 has no top bar
    EXPECT_EQ(Pixel(box, 12, 7), kRed);    // but its upper right
    box.setValue(1234);
    EXPECT_EQ(ShownDigits(box), "234");
}

TEST(TDigitBoxPixels, ColoursApplyToLitAndUnlitSegments) {
    TDigitBox box;
    box.setDelay(0);
    box.setValue(1);
    box.setColor1(QColor(0, 255, 0));
    box.setColor2(QColor(0, 0, 90));
    EXPECT_EQ(ShownDigits(box), "001");
    EXPECT_EQ(Pixel(box, 38, 5), QColor(0, 255, 0));
    EXPECT_EQ(Pixel(box, 33, 2), QColor(0, 0, 90));
    EXPECT_EQ(Pixel(box, 0, 24), QColor(0, 0, 90));
}

TEST(TDigitBoxSize, DigitsAreLimitedAndFixTheSize) {
    TDigitBox box;
    EXPECT_EQ(box.size(), QSize(41, 25));
    box.setDigits(20);
    EXPECT_EQ(box.digits(), 11u);
    EXPECT_EQ(box.width(), 145);
    box.resize(300, 300);
    EXPECT_EQ(box.size(), QSize(145, 25));
    box.setDelay(0);
    box.setValue(4294967295u);
    EXPECT_EQ(ShownDigits(box), "04294967295");
}

TEST(TDigitBoxStepping, StepsOneUnitPerTickAndReportsTheArrivalOnce) {
    TDigitBox box;
    QSignalSpy values(&box, &TDigitBox::valueChanged);
    QSignalSpy reached(&box, &TDigitBox::targetReached);
    box.setTarget(3);
    EXPECT_TRUE(box.isStepping());
    EXPECT_EQ(ShownDigits(box), "000");
    std::string seen;
    while (box.isStepping()) {
        box.step();
        seen += ShownDigits(box) + " ";
    }
    EXPECT_EQ(seen, "001 002 003 ");
    EXPECT_EQ(values.count(), 3);
    EXPECT_EQ(reached.count(), 1);
    // Downwards as well.
    box.stepDown(2);
    box.step();
    box.step();
    EXPECT_EQ(box.value(), 1u);
    EXPECT_FALSE(box.isStepping());
}

TEST(TDigitBoxStepping, TheRealTimerGetsThere) {
    TDigitBox box;
    box.setDelay(1);
    QSignalSpy reached(&box, &TDigitBox::targetReached);
    box.setTarget(4);
    ASSERT_TRUE(reached.wait(5000));
    EXPECT_EQ(box.value(), 4u);
    EXPECT_EQ(reached.count(), 1);
}

TEST(TDigitBoxStepping, SettingValueToTheTargetShowsAtOnceAndStopsNextTick) {
    TDigitBox box;
    QSignalSpy reached(&box, &TDigitBox::targetReached);
    box.setTarget(5);
    box.setValue(5);
    EXPECT_EQ(ShownDigits(box), "005");
    EXPECT_TRUE(box.isStepping());
    box.step();
    EXPECT_FALSE(box.isStepping());
    EXPECT_EQ(reached.count(), 1);
}

TEST(TDigitBoxStepping, WithoutDelayEverythingIsImmediate) {
    TDigitBox box;
    box.setDelay(0);
    QSignalSpy reached(&box, &TDigitBox::targetReached);
    box.setTarget(5);
    EXPECT_EQ(box.value(), 5u);
    EXPECT_EQ(ShownDigits(box), "005");
    box.setValue(9);
    EXPECT_EQ(box.target(), 9u);
    EXPECT_FALSE(box.isStepping());
    EXPECT_EQ(reached.count(), 0);
}

TEST(TDigitBoxStepping, DroppingTheDelayJumpsToTheTarget) {
    TDigitBox box;
    box.setTarget(40);
    box.setDelay(0);
    EXPECT_EQ(box.value(), 40u);
    EXPECT_EQ(ShownDigits(box), "040");
}

TEST(TDigitBoxSignals, TargetChangingSeesTheOldTarget) {
    TDigitBox box;
    box.setTarget(2);
    std::vector<std::uint32_t> seen;
    QObject::connect(&box, &TDigitBox::targetChanging, [&] { seen.push_back(box.target()); });
    box.stepUp(5);
    box.setTarget(1);
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{2, 7}));
    EXPECT_EQ(box.target(), 1u);
}

TEST(TDigitBoxDrawing, DigitsReachTheScreenWithoutTheEventLoop) {
    TDigitBox box;
    box.setDelay(0);
    box.show();
    box.setValue(42);
    // No events processed: the surface the widget paints from already holds the digits.
    const QImage& s = box.surface();
    EXPECT_EQ(s.pixelColor(CellOriginX(3, 1), 7), kRed);       // upper left of the 4
    EXPECT_EQ(s.pixelColor(CellOriginX(3, 0) + 5, 22), kRed);  // bottom of the 2
}

TEST(TDigitBoxDefaults, RedOnBlackThreeDigitsStepping100Ms) {
    TDigitBox box;
    EXPECT_EQ(box.color1(), kRed);
    EXPECT_EQ(box.color2(), kBlack);
    EXPECT_EQ(box.digits(), 3u);
    EXPECT_EQ(box.delay(), 100);
    EXPECT_EQ(box.value(), 0u);
    EXPECT_EQ(box.target(), 0u);
    EXPECT_FALSE(box.isStepping());
    EXPECT_EQ(ShownDigits(box), "000");
}

TEST(TDigitBoxDrawing, EveryChangeIsPaintedBeforeTheSetterReturns) {
    // The progress window's thread is blocked during a transfer: no queued repaint would run.
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    TDigitBox box;
    box.setDelay(0);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    box.installEventFilter(&counter);
    box.setValue(42);
    EXPECT_EQ(counter.paints, 1);
    box.setTarget(43);
    EXPECT_EQ(counter.paints, 2);
    box.setColor1(QColor(0, 255, 0));
    box.setColor2(QColor(0, 0, 90));
    EXPECT_EQ(counter.paints, 4);
}
