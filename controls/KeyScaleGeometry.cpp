#include "controls/KeyScaleGeometry.h"

#include <algorithm>
#include <cstdint>

#include "controls/KnobModel.h"

namespace controls {

KeyScaleLayout KeyScaleGeometry(const KeyScaleValues& k, int width, int height, int max,
                                int rubberSize, bool rubberEnabled) {
    KeyScaleLayout l;
    width = std::max(width, 0);
    l.rubber = rubberEnabled ? std::clamp(rubberSize, 0, width / 2) : 0;
    l.areaWidth = width - 2 * l.rubber;
    l.e = std::max(l.areaWidth - 1, 0);
    l.c = std::max(height - 1, 0);
    l.levelY = Saturate(std::int64_t{l.c} - ScaleDiv(l.c, k[ksLevel], max));
    l.breakX = Saturate(std::int64_t{ScaleDiv(l.e, k[ksBreakPoint], max)} + l.rubber);
    l.points = {{{l.rubber, l.levelY},
                 {l.rubber + l.e, l.levelY},
                 {l.breakX, 0},
                 {l.breakX, l.c},
                 {l.breakX, l.levelY}}};
    return l;
}

bool IsArcCurve(int code) {
    return code != 0 && code != 3;
}

GraphPoint StraightCurveEnd(const KeyScaleLayout& l, int code, int depth, bool rightSide, int max) {
    const GraphPoint p4 = l.points[khCrossing];
    // A drawing area under 3 pixels has no half to slope over; one pixel stands in for it.
    const int half = std::max(l.e / 2, 1);
    const std::int64_t length = std::int64_t{ScaleDiv(std::int64_t{max} - depth, l.e, max)} + half;
    std::int64_t slope = ScaleDiv(depth, l.c, half);
    if (code == 3) slope = -slope;
    const std::int64_t x = rightSide ? p4.x + length : p4.x - length;
    return {Saturate(x), Saturate(std::int64_t{p4.y} + ScaleDiv(slope, length, max))};
}

CurveArc ArcCurve(const KeyScaleLayout& l, int code, int depth, bool rightSide, int max,
                  int expCoeff) {
    const GraphPoint p4 = l.points[khCrossing];
    const std::int64_t k = ScaleDiv(std::int64_t{max} - depth, expCoeff, 1);
    const int reach = Saturate(std::max<std::int64_t>(k + 20, 0));
    const int xl = Saturate(std::int64_t{p4.x} - reach);
    const int xr = Saturate(std::int64_t{p4.x} + reach);
    const int tall = Saturate(3 * std::int64_t{l.c});
    CurveArc a;
    a.left = xl;
    a.width = xr - xl;
    a.height = tall;
    // Every arc is the 135-degree stretch from a corner of its box to the box's edge middle at
    // P4; the corner is where the arc points at, from the crossing, counterclockwise.
    a.spanDegrees = 135;
    if (code == 2) {  // rising: the ellipse stands on P4
        a.top = Saturate(std::int64_t{p4.y} - tall);
        if (rightSide) {
            a.startDegrees = 270;
            a.start = p4;
            a.end = {xr, a.top};
        } else {
            a.startDegrees = 135;
            a.start = {xl, a.top};
            a.end = p4;
        }
    } else {  // falling: the ellipse hangs from P4
        a.top = p4.y;
        const int bottom = Saturate(std::int64_t{p4.y} + tall);
        if (rightSide) {
            a.startDegrees = 315;
            a.start = {xr, bottom};
            a.end = p4;
        } else {
            a.startDegrees = 90;
            a.start = p4;
            a.end = {xl, bottom};
        }
    }
    return a;
}

int PickKeyScaleHandle(const KeyScaleLayout& l, int x, int y, int width, int height, int markerSize,
                       bool rubberEnabled) {
    for (int h = khCrossing; h >= khLevelLeft; --h)
        if (HitsHandle(l.points[h], x, y, markerSize)) return h;
    if (rubberEnabled && y >= 0 && y < height) {
        if (x >= 0 && x < l.rubber) return khLeftStrip;
        if (x >= width - l.rubber && x < width) return khRightStrip;
    }
    return -1;
}

namespace {

// Depth for a pointer `distance` pixels from the level line when the side has `room` pixels.
int DepthFor(std::int64_t distance, int room, int max) {
    if (room <= 0) return distance > 0 ? max : 0;
    return ScaleDiv(distance, max, room);
}

}  // namespace

bool DragKeyScaleHandle(KeyScaleValues& k, int h, int x, int y, int width, int height, int max,
                        int rubberSize, bool rubberEnabled) {
    if (h < khLevelLeft || h > khRightStrip) return false;
    const KeyScaleValues before = k;
    const KeyScaleLayout l = KeyScaleGeometry(k, width, height, max, rubberSize, rubberEnabled);
    const int top = std::max(max, 0);
    auto set = [&](int index, std::int64_t v) { k[index] = ClampValue(v, 0, top); };
    if (h == khLeftStrip || h == khRightStrip) {
        const int curve = h == khLeftStrip ? ksLeftCurve : ksRightCurve;
        const int depth = h == khLeftStrip ? ksLeftDepth : ksRightDepth;
        const int yl = l.levelY;
        if (y > yl) {
            if (k[curve] == 3) k[curve] = 0;
            if (k[curve] == 2) k[curve] = 1;
            set(depth, DepthFor(std::int64_t{y} - yl, height - yl - 2, max));
        } else {
            if (k[curve] == 0) k[curve] = 3;
            if (k[curve] == 1) k[curve] = 2;
            set(depth, DepthFor(std::int64_t{yl} - y, yl, max));
        }
        return k != before;
    }
    const GraphPoint p = l.points[h];
    if ((h == khLevelLeft || h == khLevelRight || h == khCrossing) && height > 0)
        set(ksLevel, std::int64_t{k[ksLevel]} + ScaleDiv(max, std::int64_t{p.y} - y, height));
    // Over the drawing area's width, strips or none, so the handle follows the pointer.
    if ((h == khBreakTop || h == khBreakBottom || h == khCrossing) && l.areaWidth > 0)
        set(ksBreakPoint,
            std::int64_t{k[ksBreakPoint]} + ScaleDiv(std::int64_t{x} - p.x, max, l.areaWidth));
    return k != before;
}

}  // namespace controls
