// The envelope and keyboard scaling displays' layouts and drags, without widgets.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <numbers>

#include "controls/EnvelopeGeometry.h"
#include "controls/KeyScaleGeometry.h"

using namespace controls;

namespace {

EnvelopeValues Flat(int v) {
    EnvelopeValues e;
    e.fill(v);
    return e;
}

// Where an arc's angle meets its ellipse, rounded to whole pixels.
GraphPoint OnEllipse(const CurveArc& a, int degrees) {
    const double t = degrees * std::numbers::pi / 180.0;
    const double cx = a.left + a.width / 2.0, cy = a.top + a.height / 2.0;
    return {int(std::lround(cx + a.width / 2.0 * std::cos(t))),
            int(std::lround(cy - a.height / 2.0 * std::sin(t)))};
}

}  // namespace

TEST(DisplayArithmetic, RoundingAndGuards) {
    EXPECT_EQ(MulDivRound(1, 3, 2), 2);    // 1.5 rounds away from zero
    EXPECT_EQ(MulDivRound(1, -3, 2), -2);
    EXPECT_EQ(MulDivRound(1, -2, 3), -1);  // -0.67
    EXPECT_EQ(MulDivRound(5, 7, 0), 0);
    EXPECT_EQ(ScaleDiv(-7, 1, 2), -3);     // truncation toward zero
    EXPECT_EQ(ScaleDiv(5, 7, 0), 0);
    EXPECT_EQ(ScaleDiv(INT_MAX, INT_MAX, 1), kFarCoordinate);
    EXPECT_EQ(HitReach(0), 5);
    EXPECT_EQ(HitReach(7), 7);
}

TEST(EnvelopeLayout, EvenValuesOnTheEditorsSize) {
    const EnvelopePoints p = EnvelopeLayout(Flat(49), 140, 100, 99);
    EXPECT_EQ(EnvelopeQuarter(140), 34);
    const EnvelopePoints expected{{{0, 50}, {17, 50}, {34, 50}, {51, 50}, {122, 50}, {139, 50}}};
    EXPECT_EQ(p, expected);
}

TEST(EnvelopeLayout, RatesSetTheSegmentLengths) {
    struct Case {
        int rate;
        int x1;     // end of rate 1 when its rate is `rate`
        int x4;     // start of rate 4 when its rate is `rate`
    } cases[] = {
        {99, 0, 139},  // fastest: no length at all
        {0, 34, 105},  // slowest: a full quarter
        {98, 0, 139},  // one short of Max: 34 / 99 truncates away
        {96, 1, 138},
    };
    for (const Case& c : cases) {
        EnvelopeValues v = Flat(49);
        v[0] = c.rate;
        v[6] = c.rate;
        const EnvelopePoints p = EnvelopeLayout(v, 140, 100, 99);
        EXPECT_EQ(p[1].x, c.x1) << c.rate;
        EXPECT_EQ(p[2].x, c.x1 + 17) << c.rate;
        EXPECT_EQ(p[4].x, c.x4) << c.rate;
    }
    EnvelopeValues v = Flat(0);
    v[1] = 99;  // level 1 at Max: the top row; level 0: the bottom row
    const EnvelopePoints p = EnvelopeLayout(v, 140, 100, 99);
    EXPECT_EQ(p[1].y, 0);
    EXPECT_EQ(p[2].y, 99);
}

TEST(EnvelopePicking, FirstSquareWinsAndBoundsCount) {
    EnvelopeValues v = Flat(49);
    v[0] = 99;  // P1 on P0
    const EnvelopePoints p = EnvelopeLayout(v, 140, 100, 99);
    EXPECT_EQ(PickEnvelopePoint(p, 0, 50, 3), 0);
    EXPECT_EQ(PickEnvelopePoint(p, 22, 55, 3), 2);   // P2 (17, 50): reach 5, corner included
    EXPECT_EQ(PickEnvelopePoint(p, 23, 50, 3), -1);  // one pixel beyond
    EXPECT_EQ(PickEnvelopePoint(p, 24, 50, 7), 2);   // a larger marker reaches further
    EXPECT_EQ(PickEnvelopePoint(p, 70, 20, 3), -1);
}

TEST(EnvelopeDrag, TwoMovesToOnePlaceStepOnce) {
    // A second move before any repaint must not add the same step again: the step is measured
    // from the point as the current values place it.
    EnvelopeValues v = Flat(49);
    EXPECT_TRUE(DragEnvelopePoint(v, 1, 17, 30, 140, 100, 99));
    EXPECT_EQ(v[1], 69);  // 99 * 20 / 98
    EXPECT_FALSE(DragEnvelopePoint(v, 1, 17, 30, 140, 100, 99));
    EXPECT_EQ(v[1], 69);
    EXPECT_EQ(EnvelopeLayout(v, 140, 100, 99)[1].y, 30);
}

TEST(EnvelopeDrag, EachPointMovesItsOwnValues) {
    struct Case {
        int k, x, y;
        EnvelopeValues expected;
    } cases[] = {
        // Right by 10 makes rate 1 slower (smaller), up by 10 raises level 1.
        {1, 27, 40, {20, 59, 49, 49, 49, 49, 49, 49}},
        {3, 51, 60, {49, 49, 49, 49, 49, 39, 49, 49}},
        // Point 4: right makes rate 4 faster; vertical moves the sustain level 3.
        {4, 132, 50, {49, 49, 49, 49, 49, 49, 78, 49}},
        {0, 70, 0, {49, 49, 49, 49, 49, 49, 49, 99}},   // clamped at Max; x ignored
        {5, 0, 300, {49, 49, 49, 49, 49, 49, 49, 0}},   // clamped at 0
        {-1, 0, 0, Flat(49)},
    };
    for (const Case& c : cases) {
        EnvelopeValues v = Flat(49);
        DragEnvelopePoint(v, c.k, c.x, c.y, 140, 100, 99);
        EXPECT_EQ(v, c.expected) << c.k;
    }
}

TEST(EnvelopeDrag, DegenerateSizesAndRangesStayInside) {
    struct Size {
        int w, h, max;
    } sizes[] = {{4, 2, 99}, {5, 3, 99}, {1, 1, 99}, {0, 0, 99}, {140, 100, 0}, {140, 100, -5}};
    for (const Size& s : sizes) {
        for (int fill : {0, 49, 99}) {
            EnvelopeValues v = Flat(std::max(0, std::min(fill, s.max)));
            for (const GraphPoint& p : EnvelopeLayout(v, s.w, s.h, s.max)) {
                EXPECT_GE(p.x, 0);
                EXPECT_LE(p.x, std::max(s.w - 1, 0));
                EXPECT_GE(p.y, 0);
                EXPECT_LE(p.y, std::max(s.h - 1, 0));
            }
            for (int k = 0; k < 6; ++k) {
                DragEnvelopePoint(v, k, -50, -50, s.w, s.h, s.max);
                DragEnvelopePoint(v, k, 500, 500, s.w, s.h, s.max);
                for (int x : v) {
                    EXPECT_GE(x, 0);
                    EXPECT_LE(x, std::max(s.max, 0));
                }
            }
        }
    }
    // Values from outside are drawn as they are, however large.
    EnvelopeValues huge = Flat(INT_MAX);
    huge[1] = INT_MIN;
    const EnvelopePoints p = EnvelopeLayout(huge, 140, 100, 99);
    EXPECT_EQ(p[1].y, kFarCoordinate);
}

TEST(KeyScaleLayout, EditorsSizeWithNarrowStrips) {
    const KeyScaleLayout l = KeyScaleGeometry({99, 0, 39, 0, 0, 0}, 140, 100, 99, 3, true);
    EXPECT_EQ(l.areaWidth, 134);
    EXPECT_EQ(l.levelY, 0);
    EXPECT_EQ(l.breakX, 55);  // 133 * 39 div 99 + 3
    EXPECT_EQ(l.points[khLevelRight], (GraphPoint{136, 0}));
    EXPECT_EQ(KeyScaleGeometry({0, 0, 0, 0, 0, 0}, 140, 100, 99, 3, true).levelY, 99);
    // Strips disabled: the drawing area is the whole width.
    const KeyScaleLayout plain = KeyScaleGeometry({0, 0, 99, 0, 0, 0}, 140, 100, 99, 3, false);
    EXPECT_EQ(plain.rubber, 0);
    EXPECT_EQ(plain.breakX, 139);
}

TEST(KeyScalePicking, CrossingFirstThenStrips) {
    const KeyScaleLayout l = KeyScaleGeometry({49, 0, 49, 0, 0, 0}, 140, 100, 99, 3, true);
    ASSERT_EQ(l.points[khCrossing], (GraphPoint{68, 50}));  // 133 * 49 div 99 + 3
    struct Case {
        int x, y;
        bool strips;
        int expected;
    } cases[] = {
        {68, 50, true, khCrossing},
        {73, 55, true, khCrossing},   // corner of the reach, included
        {74, 50, true, -1},           // one pixel beyond
        {68, 2, true, khBreakTop},
        {68, 99, true, khBreakBottom},
        {3, 50, true, khLevelLeft},   // the level-line end overlaps the left strip: the handle wins
        {1, 20, true, khLeftStrip},
        {3, 20, true, -1},            // first column of the drawing area
        {137, 20, true, khRightStrip},
        {136, 20, true, -1},
        {1, 20, false, -1},
    };
    for (const Case& c : cases) {
        const KeyScaleLayout at = KeyScaleGeometry({49, 0, 49, 0, 0, 0}, 140, 100, 99, 3, c.strips);
        EXPECT_EQ(PickKeyScaleHandle(at, c.x, c.y, 140, 100, 3, c.strips), c.expected)
            << c.x << "," << c.y;
    }
}

TEST(KeyScaleDrag, StripsSetDirectionAndDepth) {
    // Level 49 puts the line on row 50 of a 100-high control.
    struct Case {
        int h, curve, y;
        int expectedCurve, expectedDepth;
    } cases[] = {
        {khLeftStrip, 3, 75, 0, 51},   // below: rising straight turns falling; 25 * 99 / 48
        {khLeftStrip, 2, 75, 1, 51},   // rising arc turns falling arc
        {khLeftStrip, 0, 75, 0, 51},   // already falling: stays
        {khLeftStrip, 1, 51, 1, 2},    // one row below
        {khRightStrip, 0, 25, 3, 49},  // above: falling turns rising; 25 * 99 / 50
        {khRightStrip, 1, 50, 2, 0},   // on the line counts as above
        {khRightStrip, 3, -40, 3, 99}, // beyond the top: clamped
    };
    for (const Case& c : cases) {
        KeyScaleValues k{49, 0, 49, 0, 40, 40};
        const int curve = c.h == khLeftStrip ? ksLeftCurve : ksRightCurve;
        const int depth = c.h == khLeftStrip ? ksLeftDepth : ksRightDepth;
        k[curve] = c.curve;
        DragKeyScaleHandle(k, c.h, 1, c.y, 140, 100, 99, 3, true);
        EXPECT_EQ(k[curve], c.expectedCurve) << c.curve << " at " << c.y;
        EXPECT_EQ(k[depth], c.expectedDepth) << c.curve << " at " << c.y;
        EXPECT_EQ(k[c.h == khLeftStrip ? ksRightDepth : ksLeftDepth], 40);
    }
}

TEST(KeyScaleDrag, HandlesFollowThePointerWithoutRunningAway) {
    KeyScaleValues k{49, 0, 39, 0, 0, 0};
    // Break point handle: 34 pixels right of 55 is 34 * 99 / 134 = 25 values.
    EXPECT_TRUE(DragKeyScaleHandle(k, khBreakTop, 89, 0, 140, 100, 99, 3, true));
    EXPECT_EQ(k[ksBreakPoint], 64);
    EXPECT_FALSE(DragKeyScaleHandle(k, khBreakTop, 89, 0, 140, 100, 99, 3, true));
    // The crossing moves both; the level line ends move only the level.
    DragKeyScaleHandle(k, khCrossing, 88 - 67, 50 - 20, 140, 100, 99, 3, true);
    EXPECT_EQ(k[ksLevel], 49 + 19);       // 99 * 20 div 100
    EXPECT_EQ(k[ksBreakPoint], 64 - 49);  // -67 * 99 div 134
    const KeyScaleValues before = k;
    DragKeyScaleHandle(k, khLevelRight, 0, 200, 140, 100, 99, 3, true);
    EXPECT_EQ(k[ksLevel], 0);
    EXPECT_EQ(k[ksBreakPoint], before[ksBreakPoint]);
}

TEST(KeyScaleDrag, DegenerateCasesNeverDivideByZero) {
    struct Case {
        KeyScaleValues k;
        int h, x, y, w, h2, max, expectedIndex, expected;
    } cases[] = {
        // Level line on the top row, pointer above it: any distance is the full depth.
        {{99, 0, 0, 0, 0, 0}, khLeftStrip, 1, -5, 140, 100, 99, ksLeftDepth, 99},
        {{99, 0, 0, 0, 7, 0}, khLeftStrip, 1, 0, 140, 100, 99, ksLeftDepth, 0},
        // Lowest level (bottom row), pointer below it.
        {{0, 3, 0, 0, 0, 0}, khLeftStrip, 1, 140, 140, 100, 99, ksLeftDepth, 99},
        {{0, 3, 0, 0, 0, 0}, khLeftStrip, 1, 140, 140, 100, 99, ksLeftCurve, 0},
        // One row above the bottom: no room below (H - yL - 2 = 0).
        {{1, 0, 0, 0, 0, 0}, khRightStrip, 139, 99, 140, 100, 99, ksRightDepth, 99},
        // Width exactly two strips: no drawing area, the break point stays.
        {{49, 0, 49, 0, 0, 0}, khBreakTop, 5, 0, 6, 100, 99, ksBreakPoint, 49},
        // Max 0: everything is 0.
        {{0, 0, 0, 0, 0, 0}, khCrossing, 500, -500, 140, 100, 0, ksLevel, 0},
        {{0, 0, 0, 0, 0, 0}, khLeftStrip, 1, 500, 140, 100, 0, ksLeftDepth, 0},
        // Two pixels high: the lowest level is row 1.
        {{0, 0, 0, 0, 0, 0}, khLeftStrip, 1, 5, 140, 2, 99, ksLeftDepth, 99},
    };
    for (const Case& c : cases) {
        KeyScaleValues k = c.k;
        DragKeyScaleHandle(k, c.h, c.x, c.y, c.w, c.h2, c.max, 3, true);
        EXPECT_EQ(k[c.expectedIndex], c.expected) << "handle " << c.h << " at " << c.x << "," << c.y;
    }
    // Tiny controls lay out inside themselves.
    for (int w : {0, 1, 4, 6, 7}) {
        const KeyScaleLayout l = KeyScaleGeometry({99, 0, 99, 0, 99, 99}, w, 2, 99, 3, true);
        EXPECT_GE(l.areaWidth, 0);
        EXPECT_LE(2 * l.rubber + l.areaWidth, std::max(w, 0));
        for (const GraphPoint& p : l.points) {
            EXPECT_GE(p.x, 0);
            EXPECT_LE(p.x, std::max(w - 1, 0));
            EXPECT_LE(p.y, 1);
        }
        for (int code : {0, 3}) StraightCurveEnd(l, code, 99, true, 99);  // half would be 0
    }
}

TEST(KeyScaleCurves, StraightLinesByDepth) {
    // 140 x 100, strips 3: e = 133, half = 66, c = 99; crossing at (68, 50).
    const KeyScaleLayout l = KeyScaleGeometry({49, 0, 49, 0, 0, 0}, 140, 100, 99, 3, true);
    const int x0 = l.points[khCrossing].x;
    struct Case {
        int code, depth;
        bool right;
        GraphPoint end;
    } cases[] = {
        {0, 0, true, {x0 + 199, 50}},    // flat, one and a half areas long
        {0, 99, true, {x0 + 66, 148}},   // full depth: half an area, drops 148 * 66 / 99 = 98
        {3, 99, false, {x0 - 66, -48}},  // rising to the left
        {0, 50, false, {x0 - 131, 149}}, // 49 * 133 / 99 + 66 long, 75 * 131 / 99 down
    };
    for (const Case& c : cases)
        EXPECT_EQ(StraightCurveEnd(l, c.code, c.depth, c.right, 99), c.end) << c.code << "/" << c.depth;
}

TEST(KeyScaleCurves, ArcsRunFromTheCrossingToTheirCorner) {
    // The editor's ExpCoeff 1 with depth 99: k = 0, so the arc box is 40 pixels wide.
    const KeyScaleLayout l = KeyScaleGeometry({49, 0, 49, 0, 0, 0}, 140, 100, 99, 3, true);
    const GraphPoint p4 = l.points[khCrossing];
    struct Case {
        int code;
        bool right;
        GraphPoint far;  // the end away from the crossing
    } cases[] = {
        {2, false, {p4.x - 20, p4.y - 297}},  // rising: the box's top corners
        {2, true, {p4.x + 20, p4.y - 297}},
        {1, false, {p4.x - 20, p4.y + 297}},  // falling: the bottom corners
        {1, true, {p4.x + 20, p4.y + 297}},
        {7, true, {p4.x + 20, p4.y + 297}},   // any other code falls like 1
    };
    for (const Case& c : cases) {
        const CurveArc a = ArcCurve(l, c.code, 99, c.right, 99, 1);
        EXPECT_EQ(a.width, 40);
        EXPECT_EQ(a.height, 297);
        // Counterclockwise from start to end, as the angles place them on the ellipse: the
        // corner's direction meets the ellipse, the crossing lies on it.
        const GraphPoint first = OnEllipse(a, a.startDegrees);
        const GraphPoint last = OnEllipse(a, a.startDegrees + a.spanDegrees);
        const bool startsAtCrossing = first == p4;
        EXPECT_TRUE(startsAtCrossing || last == p4) << c.code << (c.right ? " right" : " left");
        const GraphPoint corner = startsAtCrossing ? a.end : a.start;
        EXPECT_EQ(corner, c.far) << c.code << (c.right ? " right" : " left");
        EXPECT_EQ(startsAtCrossing ? a.start : a.end, p4);
        // The other angle points at the corner from the box's centre.
        const GraphPoint towards = startsAtCrossing ? last : first;
        EXPECT_EQ(towards.x > p4.x, c.right);
        EXPECT_EQ(towards.y < p4.y, c.code == 2);
    }
    // Shallower depth, wider arc: (99 - 40) * 10 + 20 each side.
    EXPECT_EQ(ArcCurve(l, 1, 40, true, 99, 10).width, 2 * (59 * 10 + 20));
}
