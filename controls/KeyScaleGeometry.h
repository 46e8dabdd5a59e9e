#pragma once
// Layout and drag rules of the keyboard scaling display: six values (output level, left curve,
// break point, right curve, left depth, right depth) drawn as a level line, a break point line
// and two curves from their crossing, between two hatched side strips that set the depths.
// No widgets here, so the sanitizer build checks it.

#include <array>

#include "controls/DisplayGeometry.h"

namespace controls {

using KeyScaleValues = std::array<int, 6>;

enum KeyScaleValue { ksLevel, ksLeftCurve, ksBreakPoint, ksRightCurve, ksLeftDepth, ksRightDepth };

// Handles as picked: the five points, then the two strips.
enum KeyScaleHandle {
    khLevelLeft,   // P0: left end of the level line
    khLevelRight,  // P1: right end of the level line
    khBreakTop,    // P2: top end of the break point line
    khBreakBottom, // P3: bottom end of the break point line
    khCrossing,    // P4: where the two lines cross
    khLeftStrip,
    khRightStrip,
};

struct KeyScaleLayout {
    int rubber = 0;     // width of each side strip
    int areaWidth = 0;  // width of the drawing area between the strips (0: nothing to draw)
    int e = 0;          // last column of the drawing area, counted from its left edge
    int c = 0;          // bottom row
    int levelY = 0;
    int breakX = 0;
    std::array<GraphPoint, 5> points{};  // P0..P4
};

// The strips are RubberSize wide when enabled, but never more than half the control each, so
// the drawing area is never negative.
KeyScaleLayout KeyScaleGeometry(const KeyScaleValues& k, int width, int height, int max,
                                int rubberSize, bool rubberEnabled);

// Curve codes 0 and 3 are straight lines, any other an elliptical arc; 2 and 3 rise away from
// the break point, the others fall.
bool IsArcCurve(int code);

// Far end of a straight curve from P4 on one side: its length shrinks from one and a half
// drawing areas (depth 0, flat) to half an area (depth Max, a drop or rise of the full height).
// It may end outside the control; the painter clips it.
GraphPoint StraightCurveEnd(const KeyScaleLayout& layout, int code, int depth, bool rightSide,
                            int max);

// An elliptical arc from P4: bounding box, start angle and counterclockwise span in degrees
// (0 at three o'clock, parametric on the ellipse as QPainter takes them), and its two end
// points. Its width is (Max - depth) * expCoeff + 20 pixels each side of P4, its height three
// control heights: deeper is steeper.
struct CurveArc {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int startDegrees = 0;
    int spanDegrees = 0;
    GraphPoint start;
    GraphPoint end;
};
CurveArc ArcCurve(const KeyScaleLayout& layout, int code, int depth, bool rightSide, int max,
                  int expCoeff);

// Handle under (x, y): P4, P3, P2, P1, P0 in that order (the crossing wins where squares
// overlap), then with strips enabled the left and right strip; -1 for none.
int PickKeyScaleHandle(const KeyScaleLayout& layout, int x, int y, int width, int height,
                       int markerSize, bool rubberEnabled);

// Moves handle h towards pointer (x, y), each step the pointer's distance from where the handle
// stands for the current values. The level-line handles and the crossing move the level, the
// break-line handles and the crossing the break point (over the drawing area's width). A strip
// sets its side's depth from the pointer's distance to the level line, relative to the room
// above or below it, and turns the curve rising above the line or falling below it; with no
// room on that side any distance is the full depth. Results are clamped to 0..Max. Returns
// true when a value changed.
bool DragKeyScaleHandle(KeyScaleValues& k, int h, int x, int y, int width, int height, int max,
                        int rubberSize, bool rubberEnabled);

}  // namespace controls
