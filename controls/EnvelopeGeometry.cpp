#include "controls/EnvelopeGeometry.h"

#include <algorithm>
#include <cstdint>

#include "controls/KnobModel.h"

namespace controls {

int EnvelopeQuarter(int width) {
    return std::max(width - 1, 0) / 4;
}

int EnvelopeLevelY(int level, int height, int max) {
    const int bottom = std::max(height - 1, 0);
    return Saturate(std::int64_t{bottom} - ScaleDiv(bottom, level, max));
}

EnvelopePoints EnvelopeLayout(const EnvelopeValues& v, int width, int height, int max) {
    const int q = EnvelopeQuarter(width);
    const int right = std::max(width - 1, 0);
    // How far a rate segment reaches: a quarter for rate 0, nothing for rate Max.
    auto span = [&](int rate) { return ScaleDiv(std::int64_t{max} - rate, q, max); };
    const int x1 = span(v[0]);
    const int x2 = Saturate(std::int64_t{x1} + span(v[2]));
    const int x3 = Saturate(std::int64_t{x2} + span(v[4]));
    const int x4 = Saturate(std::int64_t{right} - span(v[6]));
    const int level4 = EnvelopeLevelY(v[7], height, max);
    const int sustain = EnvelopeLevelY(v[5], height, max);
    return {{{0, level4},
             {x1, EnvelopeLevelY(v[1], height, max)},
             {x2, EnvelopeLevelY(v[3], height, max)},
             {x3, sustain},
             {x4, sustain},
             {right, level4}}};
}

int PickEnvelopePoint(const EnvelopePoints& points, int x, int y, int markerSize) {
    for (int k = 0; k < int(points.size()); ++k)
        if (HitsHandle(points[k], x, y, markerSize)) return k;
    return -1;
}

bool DragEnvelopePoint(EnvelopeValues& v, int k, int x, int y, int width, int height, int max) {
    if (k < 0 || k > 5) return false;
    const EnvelopeValues before = v;
    const GraphPoint p = EnvelopeLayout(v, width, height, max)[k];
    const int q = EnvelopeQuarter(width);
    const int rise = height - 2;  // the step's scale, one row short of the drawing's
    const int top = std::max(max, 0);
    auto step = [&](int index, int delta) {
        v[index] = ClampValue(std::int64_t{v[index]} + delta, 0, top);
    };
    const std::int64_t up = std::int64_t{p.y} - y;
    const std::int64_t left = std::int64_t{p.x} - x;
    if (k == 0 || k == 5) {
        if (rise > 0) step(7, ScaleDiv(max, up, rise));
    } else if (k <= 3) {
        if (q > 0) step(2 * k - 2, ScaleDiv(max, left, q));
        if (rise > 0) step(2 * k - 1, ScaleDiv(max, up, rise));
    } else {
        if (q > 0) step(6, ScaleDiv(-left, max, q));
        if (rise > 0) step(5, ScaleDiv(max, up, rise));
    }
    return v != before;
}

}  // namespace controls
