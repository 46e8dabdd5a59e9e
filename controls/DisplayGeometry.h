#pragma once
// Arithmetic shared by the envelope and keyboard scaling displays: points, the guarded integer
// scaling their layouts and drags are made of, and handle hit squares. No widgets here, so the
// sanitizer build checks it.

#include <cstdint>

namespace controls {

struct GraphPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const GraphPoint&, const GraphPoint&) = default;
};

// Coordinates are kept within ±kFarCoordinate: values set from outside are drawn unclamped,
// and a huge one must neither overflow nor reach the painter's fixed-point limits.
inline constexpr int kFarCoordinate = 1 << 20;
int Saturate(std::int64_t v);

// a * b / d truncated toward zero, the product taken before the division; 0 when d is 0
// (a zero Max or an empty extent scales everything to nothing instead of faulting).
int ScaleDiv(std::int64_t a, std::int64_t b, std::int64_t d);

// Windows-style MulDiv: a * b / d rounded to nearest, halves away from zero; 0 when d is 0.
int MulDivRound(std::int64_t a, std::int64_t b, std::int64_t d);

// Half size of a handle's hit square: the marker, but never under 5 pixels (hidden markers
// stay grabbable).
int HitReach(int markerSize);

// Whether (x, y) lies in the square point ± HitReach(markerSize), bounds included.
bool HitsHandle(GraphPoint point, int x, int y, int markerSize);

}  // namespace controls
