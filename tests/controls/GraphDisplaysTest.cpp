// The envelope and keyboard scaling displays driven by synthetic mouse events and rendered.
#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "controls/ColourValue.h"
#include "controls/GradientCache.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzokeyf.h"

using namespace controls;

namespace {

const QColor kLine = ColourFromValue(0x808040);
const QColor kMark = ColourFromValue(kColourAqua);
const QColor kBlack(0, 0, 0);

// A display set up as the editor places it.
template <typename Display>
void LikeTheEditor(Display& d, int type) {
    d.resize(140, 100);
    d.setGradientEnabled(true);
    d.setGradientColor(ColourFromValue(4210688));
    d.setGradientNbOfColors(64);
    d.setGradientType(type);
    d.setMarkerColor(kMark);
    d.setLineColor(kLine);
}

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

}  // namespace

TEST(GraphDisplays, ColourNumbersKeepRedInTheLowByte) {
    EXPECT_EQ(ColourFromValue(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColourFromValue(0x404000), QColor(0, 0x40, 0x40));
    EXPECT_EQ(ValueFromColour(QColor(1, 2, 3, 4)), 0x030201u);
    Tzoadsr2 env;
    EXPECT_EQ(ValueFromColour(env.lineColor()), 0x808000u);
    EXPECT_EQ(ValueFromColour(env.gradientColor()), 0x800000u);
    EXPECT_EQ(ValueFromColour(env.markerColor()), 0xFFFF00u);
    Tzokeyf keys;
    EXPECT_EQ(ValueFromColour(keys.rubberColor()), 0xC0C0C0u);
    EXPECT_EQ(keys.size(), QSize(100, 80));
    EXPECT_EQ(keys.gradientType(), Tzokeyf::grkVertCenterToBorder);
    EXPECT_EQ(env.value(0), 49);
    EXPECT_EQ(keys.value(5), 0);
}

TEST(Tzoadsr2, TwoMovesBeforeAPaintLandOnThePointer) {
    Tzoadsr2 env;
    env.resize(140, 100);
    QSignalSpy spy(&env, &Tzoadsr2::changed);
    QTest::mousePress(&env, Qt::LeftButton, {}, QPoint(17, 50));
    EXPECT_EQ(env.pickedPoint(), 1);
    // No event processing between the moves: no paint happens.
    QTest::mouseMove(&env, QPoint(17, 30));
    QTest::mouseMove(&env, QPoint(17, 30));
    EXPECT_EQ(env.value(1), 69);
    EXPECT_EQ(env.points()[1].y, 30);
    QTest::mouseRelease(&env, Qt::LeftButton, {}, QPoint(17, 30));
    EXPECT_EQ(env.value(1), 69);
    EXPECT_EQ(spy.count(), 3);  // two moves and the release
    EXPECT_EQ(env.pickedPoint(), 1);  // kept for the owner's handler
    EXPECT_FALSE(env.dragging());
}

TEST(Tzoadsr2, MissesAndQuietDragsReportAsTheyShould) {
    Tzoadsr2 env;
    env.resize(140, 100);
    QSignalSpy spy(&env, &Tzoadsr2::changed);
    QTest::mousePress(&env, Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_EQ(env.pickedPoint(), -1);
    QTest::mouseMove(&env, QPoint(17, 50));
    QTest::mouseRelease(&env, Qt::LeftButton, {}, QPoint(17, 50));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(env.values(), (EnvelopeValues{49, 49, 49, 49, 49, 49, 49, 49}));

    env.setAlwayDetect(false);
    QTest::mousePress(&env, Qt::LeftButton, {}, QPoint(139, 50));
    EXPECT_EQ(env.pickedPoint(), 5);
    QTest::mouseMove(&env, QPoint(139, 40));
    QTest::mouseMove(&env, QPoint(139, 30));
    EXPECT_EQ(spy.count(), 0);
    QTest::mouseRelease(&env, Qt::LeftButton, {}, QPoint(139, 30));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(env.value(7), 69);

    // The right button picks nothing and changes nothing.
    QTest::mousePress(&env, Qt::RightButton, {}, QPoint(17, 50));
    EXPECT_EQ(env.pickedPoint(), 5);
}

TEST(Tzokeyf, StripDragThatFlipsTheCurveReportsIt) {
    Tzokeyf keys;
    keys.resize(140, 100);
    keys.setRubberSize(3);
    keys.setValue(ksLevel, 49);
    keys.setValue(ksLeftCurve, 3);
    QSignalSpy spy(&keys, &Tzokeyf::changed);
    QTest::mousePress(&keys, Qt::LeftButton, {}, QPoint(1, 20));
    EXPECT_EQ(keys.pickedHandle(), khLeftStrip);
    QTest::mouseMove(&keys, QPoint(1, 75));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(keys.value(ksLeftCurve), 0);
    QTest::mouseRelease(&keys, Qt::LeftButton, {}, QPoint(1, 75));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(keys.value(ksLeftDepth), 51);
    EXPECT_EQ(keys.pickedHandle(), khLeftStrip);

    // Without strips the same press picks nothing and nothing moves.
    keys.setRubberEnabled(false);
    QTest::mousePress(&keys, Qt::LeftButton, {}, QPoint(1, 20));
    EXPECT_EQ(keys.pickedHandle(), -1);
    QTest::mouseMove(&keys, QPoint(1, 30));
    QTest::mouseRelease(&keys, Qt::LeftButton, {}, QPoint(1, 30));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(keys.value(ksLeftDepth), 51);
}

TEST(GraphDisplays, ThirteenDisplaysRenderEachGradientOnce) {
    std::vector<std::unique_ptr<GraphDisplay>> displays;
    for (int i = 0; i < 7; ++i) {
        auto env = std::make_unique<Tzoadsr2>();
        LikeTheEditor(*env, Tzoadsr2::gr2VertCenterToBorder);
        displays.push_back(std::move(env));
    }
    for (int i = 0; i < 6; ++i) {
        auto keys = std::make_unique<Tzokeyf>();
        LikeTheEditor(*keys, Tzokeyf::grkVertBorderToCenter);
        keys->setRubberSize(3);
        displays.push_back(std::move(keys));
    }
    // A colour no other test uses, so the shared cache starts without these pictures.
    for (auto& d : displays) d->setColor(QColor(1, 2, 3));
    int before = GradientRenderCount();
    std::vector<QImage> first;
    for (auto& d : displays) first.push_back(d->render());
    EXPECT_EQ(GradientRenderCount() - before, 2);  // 140 x 100 and the strips' 134 x 100
    for (auto& d : displays) d->render();
    EXPECT_EQ(GradientRenderCount() - before, 2);

    // A new background colour: each gradient rendered once more, and every display shows it.
    for (auto& d : displays) d->setColor(QColor(3, 2, 1));
    before = GradientRenderCount();
    for (std::size_t i = 0; i < displays.size(); ++i) {
        const QImage now = displays[i]->render();
        // The envelope's layout has the background colour at the borders, the keyboard
        // display's at the centre.
        const QPoint probe = i < 7 ? QPoint(70, 0) : QPoint(70, 50);
        EXPECT_EQ(At(now, probe.x(), probe.y()), QColor(3, 2, 1)) << i;
        EXPECT_EQ(At(first[i], probe.x(), probe.y()), QColor(1, 2, 3)) << i;
    }
    EXPECT_EQ(GradientRenderCount() - before, 2);

    // Band counts outside 0 and 2..256 are ignored.
    displays[0]->setGradientNbOfColors(300);
    displays[0]->setGradientNbOfColors(1);
    EXPECT_EQ(displays[0]->gradientNbOfColors(), 64);
    displays[0]->setGradientNbOfColors(0);
    EXPECT_EQ(displays[0]->gradientNbOfColors(), 0);
}

TEST(Tzoadsr2, DrawsEnvelopeGuidesAndMarkersAtBothRatios) {
    Tzoadsr2 env;
    env.resize(140, 100);
    env.setLineColor(kLine);
    env.setMarkerColor(kMark);
    const int values[] = {49, 99, 49, 70, 49, 30, 49, 0};  // level 3 on row 69, level 4 on 99
    for (int i = 0; i < 8; ++i) env.setValue(i, values[i]);
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = env.render(ratio);
        ASSERT_EQ(image.size(), QSize(140, 100) * ratio);
        auto at = [&](int x, int y) { return At(image, int(x * ratio), int(y * ratio)); };
        EXPECT_EQ(at(86, 69), kLine) << ratio;   // the sustain segment
        EXPECT_EQ(at(86, 68), kBlack) << ratio;
        EXPECT_EQ(at(51 + 3, 69), kMark) << ratio;  // P3's marker frame, right side
        EXPECT_EQ(at(51 + 4, 69), kLine) << ratio;
        EXPECT_EQ(at(80, 99), kMark) << ratio;   // dotted level-4 guide: even pixels
        EXPECT_EQ(at(81, 99), kBlack) << ratio;
        EXPECT_EQ(at(51, 81), kMark) << ratio;   // dotted guide down from P3
        EXPECT_EQ(at(51, 80), kBlack) << ratio;
        EXPECT_EQ(at(86, 85), kBlack) << ratio;  // under the curve, not filled
        if (ratio == 2.0) {
            EXPECT_EQ(At(image, 2 * 86 + 1, 2 * 69 + 1), kLine);
        }
    }
    env.setFillEnabled(true);
    env.setShowVLines(false);
    env.setMarkerSize(0);
    const QImage filled = env.render();
    EXPECT_EQ(At(filled, 86, 85), kLine);
    EXPECT_EQ(At(filled, 51 + 3, 66), kBlack);  // no marker
    EXPECT_EQ(At(filled, 20, 99 - 0), kLine);   // the filled shape's bottom edge
}

TEST(Tzokeyf, CurvesStayOffTheStripsAndArcsBendTheRightWay) {
    Tzokeyf keys;
    keys.resize(140, 100);
    keys.setRubberSize(3);
    keys.setExpCoeff(1);
    keys.setLineColor(kLine);
    keys.setMarkerColor(kMark);
    keys.setValue(ksLevel, 49);       // row 50
    keys.setValue(ksBreakPoint, 49);  // column 68
    keys.setValue(ksLeftCurve, 0);    // flat to the left, far past the strip
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = keys.render(ratio);
        auto at = [&](int x, int y) { return At(image, int(x * ratio), int(y * ratio)); };
        EXPECT_EQ(at(1, 3), ColourFromValue(kColourSilver)) << ratio;  // hatch rows
        EXPECT_EQ(at(1, 1), kBlack) << ratio;
        EXPECT_EQ(at(138, 7), ColourFromValue(kColourSilver)) << ratio;
        EXPECT_EQ(at(1, 50), kBlack) << ratio;  // the curve is clipped off the strip
        EXPECT_EQ(at(20, 50), kLine) << ratio;
        EXPECT_EQ(at(68, 20), kMark) << ratio;  // dotted break point guide, even offset
        EXPECT_EQ(at(68, 21), kBlack) << ratio;
    }
    // Arcs of depth 99 span 20 pixels each side of the crossing; column 78 is half way.
    auto litRows = [&](int code) {
        keys.setValue(ksRightCurve, code);
        keys.setValue(ksRightDepth, 99);
        const QImage image = keys.render();
        std::vector<int> rows;
        for (int y = 0; y < 100; ++y)
            if (At(image, 78, y) != kBlack && y != 50) rows.push_back(y);
        return rows;
    };
    const std::vector<int> falling = litRows(1);
    ASSERT_FALSE(falling.empty());
    EXPECT_GT(falling.front(), 50);
    const std::vector<int> rising = litRows(2);
    ASSERT_FALSE(rising.empty());
    EXPECT_LT(rising.back(), 50);
}

TEST(GraphDisplays, DegenerateSizesRenderAndDrag) {
    struct Size {
        int w, h, max;
    } sizes[] = {{4, 2, 99}, {6, 100, 99}, {1, 1, 99}, {140, 100, 0}};
    for (const Size& s : sizes) {
        Tzoadsr2 env;
        Tzokeyf keys;
        keys.setRubberSize(3);
        for (GraphDisplay* d : {static_cast<GraphDisplay*>(&env), static_cast<GraphDisplay*>(&keys)}) {
            d->resize(s.w, s.h);
            d->setMax(s.max);
            d->setGradientEnabled(true);
            EXPECT_EQ(d->render(2.0).size(), QSize(s.w, s.h) * 2);
            QTest::mousePress(d, Qt::LeftButton, {}, QPoint(0, 0));
            QTest::mouseMove(d, QPoint(-20, -20));
            QTest::mouseRelease(d, Qt::LeftButton, {}, QPoint(30, 300));
        }
        for (int i = 0; i < 8; ++i) {
            EXPECT_GE(env.value(i), 0);
            EXPECT_LE(env.value(i), std::max(s.max, 49));
        }
    }
}

TEST(GraphDisplays, HintFlagSilencesTheTooltip) {
    Tzokeyf keys;
    keys.setToolTip(QStringLiteral("Level"));
    keys.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&keys));
    const auto askForHint = [&] {
        QHelpEvent e(QEvent::ToolTip, QPoint(50, 40), keys.mapToGlobal(QPoint(50, 40)));
        QApplication::sendEvent(&keys, &e);
    };
    askForHint();
    EXPECT_TRUE(QToolTip::isVisible());
    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
    keys.setShowHint(false);
    askForHint();
    EXPECT_FALSE(QToolTip::isVisible());
}
