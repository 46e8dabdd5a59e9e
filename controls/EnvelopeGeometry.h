#pragma once
// Layout and drag rules of the envelope display: eight values (rate 1, level 1, ... rate 4,
// level 4, interleaved) drawn as six points over the control, and how dragging a point moves
// them. No widgets here, so the sanitizer build checks it.

#include <array>

#include "controls/DisplayGeometry.h"

namespace controls {

using EnvelopeValues = std::array<int, 8>;
using EnvelopePoints = std::array<GraphPoint, 6>;

// The widest a rate segment gets: (width - 1) div 4, at least 0.
int EnvelopeQuarter(int width);

// Row of a level: the bottom row for 0, the top row for Max. A zero Max puts every level on the
// bottom row.
int EnvelopeLevelY(int level, int height, int max);

// P0 (left edge, level 4), P1..P3 (the ends of rates 1..3, each at most a quarter of the width
// after its predecessor, shorter for faster rates), P4 (start of rate 4, a quarter or less
// before the right edge, at level 3) and P5 (right edge, level 4).
EnvelopePoints EnvelopeLayout(const EnvelopeValues& v, int width, int height, int max);

// The first point P0..P5 whose hit square holds (x, y), or -1.
int PickEnvelopePoint(const EnvelopePoints& points, int x, int y, int markerSize);

// Moves point k towards pointer (x, y): each step is the pointer's distance from where the
// point stands for the current values (not where it was last painted, which lags behind the
// pointer between paints), scaled to values and clamped to 0..Max. Points 1..3 move their rate
// horizontally (right is slower) and their level vertically; point 4 moves rate 4 (right is
// faster) and the sustain level 3; points 0 and 5 move level 4. A control too narrow for a
// quarter (under 5 pixels) or too low for a step (under 3) leaves that axis alone. Returns true
// when a value changed.
bool DragEnvelopePoint(EnvelopeValues& v, int k, int x, int y, int width, int height, int max);

}  // namespace controls
