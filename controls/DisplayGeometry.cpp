#include "controls/DisplayGeometry.h"

#include <algorithm>
#include <cstdlib>

#include "controls/KnobModel.h"

namespace controls {

int Saturate(std::int64_t v) {
    return ClampValue(v, -kFarCoordinate, kFarCoordinate);
}

int ScaleDiv(std::int64_t a, std::int64_t b, std::int64_t d) {
    if (d == 0) return 0;
    // Operands are ints or saturated results, so the product fits in 64 bits.
    return Saturate(a * b / d);
}

int MulDivRound(std::int64_t a, std::int64_t b, std::int64_t d) {
    if (d == 0) return 0;
    const std::int64_t num = a * b;
    const bool negative = (num < 0) != (d < 0);
    const std::int64_t q = (std::llabs(num) + std::llabs(d) / 2) / std::llabs(d);
    return Saturate(negative ? -q : q);
}

int HitReach(int markerSize) {
    return std::max(markerSize, 5);
}

bool HitsHandle(GraphPoint point, int x, int y, int markerSize) {
    const std::int64_t s = HitReach(markerSize);
    return std::llabs(std::int64_t{x} - point.x) <= s && std::llabs(std::int64_t{y} - point.y) <= s;
}

}  // namespace controls
