#pragma once
// The displays' background gradient as a list of solid bands: two colours, one of eight
// layouts, a band count. The Qt side (controls/GradientCache.h) paints and caches them. No
// widgets here, so the sanitizer build checks it.

#include <vector>

#include "controls/ColourNumber.h"

namespace controls {

// Layouts 0..7 (the displays' GradientType values): left to right, right to left, top to
// bottom, bottom to top, then mirrored halves horizontally from the centre or the border, then
// vertically from the centre or the border.
inline constexpr int kGradientTypes = 8;

// Band counts a display accepts: 0 (one band per pixel, up to 256) or 2..256.
bool IsGradientBandCount(int n);

struct GradientBand {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    ColourNumber colour = 0;
    friend bool operator==(const GradientBand&, const GradientBand&) = default;
};

// Bands covering width x height from `gradient` (the display's GradientColor) and `background`
// (its Color). Along the stepping axis the extent is split into halves (extent div 2 pixels,
// then the rest) taking bandCount div 2 bands and the remainder; the first half runs start to
// middle, the second middle to end, each band's colour stepping by MulDiv. Empty bands (more
// bands than pixels) are left out. An unknown type draws as type 0.
std::vector<GradientBand> GradientBands(int width, int height, ColourNumber gradient,
                                        ColourNumber background, int type, int bandCount);

}  // namespace controls
