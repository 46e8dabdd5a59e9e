// Which frame of the filmstrip the picture knob and the switch show, checked on their pixels.
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/Tzografsw.h"
#include "controls/Tzopotbmp.h"

using namespace controls;

namespace {

// A strip of `frames` frames of w x h, frame k filled with the colour (k, 255 - k, 77).
QPixmap NumberedStrip(int frames, int w = 6, int h = 5, qreal ratio = 1) {
    QImage img(QSize(w * frames, h) * ratio, QImage::Format_RGB32);
    for (int k = 0; k < frames; ++k) {
        QPainter p(&img);
        p.fillRect(QRectF(k * w * ratio, 0, w * ratio, h * ratio), QColor(k, 255 - k, 77));
    }
    QPixmap strip = QPixmap::fromImage(img);
    strip.setDevicePixelRatio(ratio);
    return strip;
}

// The frame a control shows, read back from its pixels (every pixel must agree).
int ShownFrame(QWidget& w) {
    const QImage img = w.grab().toImage();
    const QColor first = img.pixelColor(0, 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != first) return -1;
    return first.blue() == 77 && first.red() + first.green() == 255 ? first.red() : -2;
}

}  // namespace

TEST(FrameGeometry, FramesAreEqualSlicesOfTheStrip) {
    EXPECT_EQ(FrameWidth(600, 128), 4);
    EXPECT_EQ(FrameWidth(60, 0), 0);
    EXPECT_EQ(FrameRect(QSize(60, 30), 2, 1), QRect(30, 0, 30, 30));
}

TEST(TzopotbmpFrames, ValueChoosesTheFrameProportionally) {
    Tzopotbmp knob;
    knob.setBitmap(NumberedStrip(128));
    knob.setGlyph(128);
    knob.setMax(99);
    EXPECT_EQ(knob.size(), QSize(6, 5));  // AutoSize: one frame
    EXPECT_EQ(ShownFrame(knob), 0);
    knob.setState(50);
    EXPECT_EQ(ShownFrame(knob), 64);
    knob.setState(99);
    EXPECT_EQ(ShownFrame(knob), 127);
    // Min and Max changes repaint without touching the value.
    knob.setMax(198);
    EXPECT_EQ(knob.state(), 99);
    EXPECT_EQ(ShownFrame(knob), 64);
}

TEST(TzopotbmpFrames, GlyphOutsideOneTo256IsIgnored) {
    Tzopotbmp knob;
    knob.setGlyph(0);
    EXPECT_EQ(knob.glyph(), 1);
    knob.setGlyph(257);
    EXPECT_EQ(knob.glyph(), 1);
    knob.setGlyph(256);
    EXPECT_EQ(knob.glyph(), 256);
}

TEST(TzopotbmpFrames, DoubleResolutionStripKeepsItsLogicalSize) {
    Tzopotbmp knob;
    knob.setBitmap(NumberedStrip(4, 6, 5, 2.0));
    knob.setGlyph(4);
    knob.setMax(3);
    EXPECT_EQ(knob.size(), QSize(6, 5));
    knob.setState(2);
    EXPECT_EQ(ShownFrame(knob), 2);
}

TEST(TzografswFrames, StateIsTheFrameAndOutOfRangeBecomesZero) {
    Tzografsw sw;
    sw.setBitmap(NumberedStrip(2, 12, 10));
    sw.setGlyph(2);
    EXPECT_EQ(sw.size(), QSize(12, 10));
    EXPECT_EQ(ShownFrame(sw), 0);
    sw.setState(1);
    EXPECT_EQ(ShownFrame(sw), 1);
    sw.setState(2);
    EXPECT_EQ(sw.state(), 0);
    EXPECT_EQ(ShownFrame(sw), 0);
    sw.setState(1);
    sw.setState(-1);
    EXPECT_EQ(sw.state(), 0);
    // A state left beyond a reduced Glyph shows frame 0.
    sw.setGlyph(3);
    sw.setState(2);
    sw.setGlyph(2);
    EXPECT_EQ(sw.state(), 2);
    EXPECT_EQ(ShownFrame(sw), 0);
}

TEST(TzografswFrames, GlyphLimitIs255AndAutoSizeFollowsIt) {
    Tzografsw sw;
    sw.setBitmap(NumberedStrip(4, 8, 8));
    EXPECT_EQ(sw.size(), QSize(32, 8));  // one frame: the whole strip
    sw.setGlyph(256);
    EXPECT_EQ(sw.glyph(), 1);
    sw.setGlyph(4);
    EXPECT_EQ(sw.size(), QSize(8, 8));
    sw.setGlyph(255);
    EXPECT_EQ(sw.glyph(), 255);
    sw.setAutoSize(false);
    sw.resize(40, 40);
    sw.setGlyph(4);
    EXPECT_EQ(sw.size(), QSize(40, 40));
    sw.setAutoSize(true);
    EXPECT_EQ(sw.size(), QSize(8, 8));
}

TEST(TzografswFrames, KeepsItsOwnCopyOfTheBitmap) {
    QPixmap strip = NumberedStrip(2, 4, 4);
    Tzografsw sw;
    sw.setBitmap(strip);
    sw.setGlyph(2);
    strip.fill(Qt::white);
    EXPECT_EQ(ShownFrame(sw), 0);
}

TEST(TzografswFrames, EmptyBitmapDrawsNothingAndKeepsTheSize) {
    QWidget parent;
    parent.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(1, 2, 3));
    parent.setPalette(pal);
    auto* sw = new Tzografsw(&parent);
    sw->setGlyph(2);
    sw->setState(1);
    EXPECT_EQ(sw->size(), QSize(30, 30));
    const QImage img = parent.grab(sw->geometry()).toImage();
    EXPECT_EQ(img.pixelColor(15, 15), QColor(1, 2, 3));
}

TEST(TzografswInput, ReportsClicksButNeverChangesItself) {
    Tzografsw sw;
    sw.setGlyph(2);
    QSignalSpy clicks(&sw, &Tzografsw::clicked);
    QSignalSpy releases(&sw, &Tzografsw::mouseReleased);
    QTest::mouseClick(&sw, Qt::LeftButton);
    QTest::mouseClick(&sw, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(clicks.count(), 1);
    ASSERT_EQ(releases.count(), 2);
    EXPECT_EQ(releases[1][0].value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(releases[1][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(sw.state(), 0);
}

TEST(TzopotbmpFrames, AStripGivenByItsMakerIsDrawnAtTheFirstPaintOnly) {
    int made = 0;
    Tzopotbmp knob;
    knob.setBitmap(
        [&] {
            ++made;
            return NumberedStrip(128, 6, 5, 2);
        },
        QSize(6 * 128, 5));
    knob.setGlyph(128);
    knob.setMax(99);
    knob.setState(99);
    EXPECT_EQ(made, 0);
    EXPECT_EQ(knob.size(), QSize(6, 5));  // sized from the announced strip, before any drawing
    EXPECT_EQ(ShownFrame(knob), 127);
    EXPECT_EQ(ShownFrame(knob), 127);
    EXPECT_EQ(made, 1);
    // A picture given later replaces the one still waiting to be drawn.
    Tzopotbmp other;
    other.setBitmap([&] { return ++made, NumberedStrip(2); }, QSize(12, 5));
    other.setBitmap(NumberedStrip(128));
    other.setGlyph(128);
    EXPECT_EQ(ShownFrame(other), 0);
    EXPECT_EQ(made, 1);
}
