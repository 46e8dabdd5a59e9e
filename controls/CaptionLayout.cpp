#include "controls/CaptionLayout.h"

#include <algorithm>

#include "controls/DisplayGeometry.h"

namespace controls {

int CaptionBandCount(int nbOfColors, int width) {
    if (nbOfColors >= 2 && nbOfColors <= 256) return nbOfColors;
    return std::clamp(width, 2, 256);
}

namespace {

// Per channel: from + MulDiv(step, to - from, n - 1), the bar's colour stepping rule.
ColourNumber Step(ColourNumber from, ColourNumber to, int step, int n) {
    return MakeColourNumber(RedOf(from) + MulDivRound(step, RedOf(to) - RedOf(from), n - 1),
                            GreenOf(from) + MulDivRound(step, GreenOf(to) - GreenOf(from), n - 1),
                            BlueOf(from) + MulDivRound(step, BlueOf(to) - BlueOf(from), n - 1));
}

}  // namespace

std::vector<GradientBand> CaptionBands(int left, int width, int height, ColourNumber own,
                                       ColourNumber caption, CaptionGradient type,
                                       int nbOfColors) {
    std::vector<GradientBand> bands;
    if (width <= 0 || height <= 0) return bands;
    if (type == CaptionGradient::gtNone) {
        bands.push_back({left, 0, width, height, caption});
        return bands;
    }
    const int n = CaptionBandCount(nbOfColors, width);
    const int half = n / 2;
    bands.reserve(n);
    for (int k = 0; k < n; ++k) {
        const int a = left + MulDivRound(k, width, n);
        const int b = left + MulDivRound(k + 1, width, n);
        if (b <= a) continue;
        ColourNumber colour;
        if (type == CaptionGradient::gtLeftToRight)
            colour = Step(own, caption, k, n);
        else if (k < half)
            colour = Step(caption, own, 2 * k, n);
        else  // back from the bar's colour towards the caption colour
            colour = Step(own, caption, 2 * (k - half), n);
        bands.push_back({a, 0, b - a, height, colour});
    }
    return bands;
}

std::vector<CaptionButtonPlace> CaptionButtonPlaces(CaptionButtons buttons, int width, int height) {
    std::vector<CaptionButtonPlace> places;
    if (!(buttons & kCaptionClose)) return places;
    const int size = std::max(height - 4, 4);
    const int y = (height - size) / 2;
    int right = width - 2;
    auto add = [&](CaptionButton button, int gapAfter) {
        places.push_back({button, right - size, y, size});
        right -= size + gapAfter;
    };
    add(kCaptionClose, 4);
    const bool pair = buttons & (kCaptionMinimize | kCaptionMaximize);
    if (pair) {
        add(kCaptionMaximize, 0);
        add(kCaptionMinimize, 2);
    } else if (buttons & kCaptionHelp) {
        add(kCaptionHelp, 2);
    }
    return places;
}

int CaptionButtonAreaLeft(const std::vector<CaptionButtonPlace>& places, int width) {
    int left = width;
    for (const CaptionButtonPlace& p : places) left = std::min(left, p.x - 2);
    return left;
}

CaptionTexts CaptionTextsShown(int area, int companyWidth, int applicationWidth,
                               int captionWidth) {
    auto counted = [](int w) { return w > 0 ? w + 3 : 0; };
    const CaptionTexts present{companyWidth > 0, applicationWidth > 0, captionWidth > 0};
    if (counted(companyWidth) + counted(applicationWidth) + counted(captionWidth) <= area)
        return present;
    if (counted(applicationWidth) + counted(captionWidth) <= area)
        return {false, present.application, present.caption};
    return {false, false, present.caption};
}

int CaptionGroupLeft(CaptionAlignment alignment, bool barEnabled, int areaLeft, int areaRight,
                     int groupWidth) {
    int left = areaLeft;
    if (barEnabled && alignment == CaptionAlignment::Right)
        left = areaRight - groupWidth;
    else if (barEnabled && alignment == CaptionAlignment::Center)
        left = areaLeft + (areaRight - areaLeft - groupWidth) / 2;
    return std::max(left, areaLeft) + 3;
}

int CaptionCharsKept(int length, int available, const std::function<int(int, bool)>& widthOf) {
    if (length <= 0 || widthOf(length, false) <= available) return std::max(length, 0);
    // Widths grow with the prefix, so the longest fitting prefix is found by halving.
    int lo = 0, hi = length - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (widthOf(mid, true) <= available)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

}  // namespace controls
