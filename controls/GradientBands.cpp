#include "controls/GradientBands.h"

#include <algorithm>

#include "controls/DisplayGeometry.h"

namespace controls {

bool IsGradientBandCount(int n) {
    return n == 0 || (n >= 2 && n <= 256);
}

namespace {

struct Channels {
    int r, g, b;
};

Channels Split(ColourNumber c) {
    return {RedOf(c), GreenOf(c), BlueOf(c)};
}

// One half: n bands over len pixels from p0, colours from `from` towards `to`.
void AddHalf(std::vector<GradientBand>& out, bool alongX, int across, int p0, int len, int n,
             Channels from, Channels to) {
    for (int k = 0; k < n; ++k) {
        const int a = p0 + MulDivRound(k, len, n);
        const int b = p0 + MulDivRound(k + 1, len, n);
        if (b <= a) continue;
        const ColourNumber colour = MakeColourNumber(from.r + MulDivRound(k, to.r - from.r, n),
                                                     from.g + MulDivRound(k, to.g - from.g, n),
                                                     from.b + MulDivRound(k, to.b - from.b, n));
        if (alongX)
            out.push_back({a, 0, b - a, across, colour});
        else
            out.push_back({0, a, across, b - a, colour});
    }
}

}  // namespace

std::vector<GradientBand> GradientBands(int width, int height, ColourNumber gradient,
                                        ColourNumber background, int type, int bandCount) {
    std::vector<GradientBand> bands;
    if (width <= 0 || height <= 0) return bands;
    if (type < 0 || type >= kGradientTypes) type = 0;
    const bool alongX = type == 0 || type == 1 || type == 4 || type == 5;
    const bool swapped = type == 1 || type == 3 || type == 4 || type == 6;
    const Channels a = Split(swapped ? background : gradient);
    const Channels b = Split(swapped ? gradient : background);
    Channels start = a, middle = b, end = a;
    if (type < 4) {
        end = b;
        middle = {a.r + (b.r - a.r) / 2, a.g + (b.g - a.g) / 2, a.b + (b.b - a.b) / 2};
    }
    const int extent = alongX ? width : height;
    const int across = alongX ? height : width;
    int n = bandCount;
    if (n == 0) n = std::max(std::min(extent, 256), 2);
    n = std::clamp(n, 2, 256);
    const int n1 = n / 2;
    const int len1 = extent / 2;
    bands.reserve(n);
    AddHalf(bands, alongX, across, 0, len1, n1, start, middle);
    // The first half's last band ends on its last pixel, so the second half starts there.
    AddHalf(bands, alongX, across, len1, extent - len1, n - n1, middle, end);
    return bands;
}

}  // namespace controls
