// The knobs driven by synthetic mouse and key events.
#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include "controls/Tzopotbmp.h"
#include "controls/Tzopotlab.h"

using namespace controls;

namespace {

// A vertical drag of `pixels` upwards (negative: downwards), left button.
template <typename Knob>
void DragUp(Knob& knob, int pixels, int steps = 1) {
    const QPoint start(10, 100);
    QTest::mousePress(&knob, Qt::LeftButton, {}, start);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(&knob, start - QPoint(0, pixels * i / steps));
    QTest::mouseRelease(&knob, Qt::LeftButton, {}, start - QPoint(0, pixels));
}

}  // namespace

TEST(Tzopotlab, StartsAsAZeroCaptionWithItsDefaults) {
    Tzopotlab lab;
    EXPECT_EQ(lab.text(), "0");
    EXPECT_EQ(lab.max(), 100);
    EXPECT_EQ(lab.cursorRange(), 15);
    EXPECT_TRUE(lab.alwayDetect());
    EXPECT_EQ(lab.mouvement(), Mouvement::posVertical);
}

TEST(Tzopotlab, DragShowsTruncatedValueAndFiresOnEveryMove) {
    Tzopotlab lab;
    lab.resize(40, 200);
    lab.setMax(99);
    lab.setCursorRange(50);
    QSignalSpy spy(&lab, &Tzopotlab::changed);
    DragUp(lab, 25, 5);
    EXPECT_EQ(lab.state(), 49);
    EXPECT_EQ(lab.text(), "49");
    EXPECT_EQ(spy.count(), 5 + 1);  // five moves and the release

    lab.setState(0);
    DragUp(lab, 80);
    EXPECT_EQ(lab.text(), "99");
}

TEST(Tzopotlab, WithoutAlwayDetectOnlyTheReleaseFires) {
    Tzopotlab lab;
    lab.resize(40, 200);
    lab.setMax(99);
    lab.setCursorRange(50);
    lab.setAlwayDetect(false);
    QSignalSpy spy(&lab, &Tzopotlab::changed);
    DragUp(lab, 30, 3);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(lab.state(), 59);
}

TEST(Tzopotlab, HorizontalDragFollowsXAndLeftRaises) {
    Tzopotlab lab;
    lab.resize(200, 40);
    lab.setMax(99);
    lab.setCursorRange(50);
    lab.setMouvement(Mouvement::posHorizontal);
    QTest::mousePress(&lab, Qt::LeftButton, {}, QPoint(100, 10));
    QTest::mouseMove(&lab, QPoint(100, 0));  // vertical travel is ignored
    EXPECT_EQ(lab.state(), 0);
    QTest::mouseMove(&lab, QPoint(90, 0));
    EXPECT_EQ(lab.state(), 19);
    QTest::mouseRelease(&lab, Qt::LeftButton, {}, QPoint(90, 0));
    EXPECT_EQ(lab.text(), "19");
}

TEST(Tzopotlab, PlainClicksStepAndAlwaysFire) {
    Tzopotlab lab;
    lab.setMax(99);
    QSignalSpy spy(&lab, &Tzopotlab::changed);
    QTest::mouseClick(&lab, Qt::LeftButton);  // at Min: stays, still fires
    EXPECT_EQ(lab.state(), 0);
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(&lab, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(lab.text(), "9");
    QTest::mouseClick(&lab, Qt::RightButton);
    EXPECT_EQ(lab.state(), 10);
    QTest::mouseClick(&lab, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(lab.state(), 1);
    EXPECT_EQ(spy.count(), 4);
}

TEST(Tzopotlab, OtherButtonClickedWhileHoldingJumpsToTheEnds) {
    Tzopotlab lab;
    lab.setMax(99);
    lab.setState(50);
    QTest::mousePress(&lab, Qt::RightButton);
    QTest::mouseClick(&lab, Qt::LeftButton);
    EXPECT_EQ(lab.state(), 49);
    QTest::mouseRelease(&lab, Qt::RightButton);
    EXPECT_EQ(lab.state(), 99);

    QTest::mousePress(&lab, Qt::LeftButton);
    QTest::mouseClick(&lab, Qt::RightButton);
    EXPECT_EQ(lab.state(), 99);  // up one, clamped
    QTest::mouseRelease(&lab, Qt::LeftButton);
    EXPECT_EQ(lab.state(), 0);
}

TEST(Tzopotlab, SettingFromCodeClampsAndNeverFires) {
    Tzopotlab lab;
    QSignalSpy spy(&lab, &Tzopotlab::changed);
    lab.setState(150);
    EXPECT_EQ(lab.text(), "100");
    lab.setMin(10);
    lab.setState(-5);
    EXPECT_EQ(lab.text(), "10");
    EXPECT_EQ(spy.count(), 0);
}

TEST(Tzopotlab, DegenerateRangeAndCursorRangeDoNotCrash) {
    Tzopotlab lab;
    lab.setMax(0);  // Max = Min
    DragUp(lab, 20);
    EXPECT_EQ(lab.state(), 0);
    lab.setMax(10);
    lab.setState(4);
    lab.setCursorRange(0);
    DragUp(lab, 20, 2);
    EXPECT_EQ(lab.state(), 4);
}

TEST(Tzopotbmp, KeysStepJumpAndFireAsTheValueWouldChange) {
    Tzopotbmp knob;
    knob.setMax(99);
    QSignalSpy spy(&knob, &Tzopotbmp::changed);
    QTest::keyClick(&knob, Qt::Key_End);  // at Min already
    EXPECT_EQ(spy.count(), 0);
    QTest::keyClick(&knob, Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(knob.state(), 9);
    QTest::keyClick(&knob, Qt::Key_PageDown);
    EXPECT_EQ(knob.state(), 8);
    QTest::keyClick(&knob, Qt::Key_Home);
    EXPECT_EQ(knob.state(), 99);
    QTest::keyClick(&knob, Qt::Key_PageUp);  // past Max: clamped, still fires
    EXPECT_EQ(knob.state(), 99);
    QTest::keyClick(&knob, Qt::Key_A);
    EXPECT_EQ(spy.count(), 4);
}

TEST(Tzopotbmp, PressTakesFocusAndDragsLikeTheLabel) {
    QWidget window;
    auto* other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    auto* knob = new Tzopotbmp(&window);
    knob->setGeometry(0, 0, 30, 200);
    knob->setAutoSize(false);
    knob->setMax(99);
    knob->setCursorRange(50);
    window.show();
    other->setFocus();
    QApplication::setActiveWindow(&window);
    QTest::mousePress(knob, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(knob->hasFocus());
    QTest::mouseRelease(knob, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(knob->state(), 1);
    DragUp(*knob, 25);
    EXPECT_EQ(knob->state(), 49);  // from 1 the origin carries 1 * 50 / 99 = 0 pixels
}

TEST(Tzopotbmp, DefaultsAreATwoValueKnob) {
    Tzopotbmp knob;
    EXPECT_EQ(knob.max(), 1);
    EXPECT_EQ(knob.cursorRange(), 5);
    EXPECT_EQ(knob.glyph(), 1);
    EXPECT_TRUE(knob.autoSize());
    EXPECT_EQ(knob.focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    EXPECT_EQ(knob.size(), QSize(30, 30));
}

TEST(Tzopotlab, MiddleButtonChangesNothing) {
    Tzopotlab lab;
    EXPECT_EQ(lab.size(), QSize(30, 30));
    lab.setState(50);
    QSignalSpy spy(&lab, &Tzopotlab::changed);
    QTest::mouseClick(&lab, Qt::MiddleButton);
    EXPECT_EQ(lab.state(), 50);
    EXPECT_EQ(spy.count(), 0);
}

TEST(Tzopotbmp, ShowHintDecidesWhetherTheHintAppears) {
    Tzopotbmp knob;
    knob.setToolTip(QStringLiteral("Feedback"));
    knob.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&knob));
    const auto askForHint = [&] {
        QHelpEvent e(QEvent::ToolTip, QPoint(2, 2), knob.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&knob, &e);
    };
    askForHint();
    EXPECT_TRUE(QToolTip::isVisible());
    QToolTip::hideText();  // the tip fades out on a timer
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
    knob.setShowHint(false);
    askForHint();
    EXPECT_FALSE(QToolTip::isVisible());
}
