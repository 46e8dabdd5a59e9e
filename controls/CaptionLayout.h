#pragma once
// The caption bar's arithmetic without widgets: its gradient bands, which buttons it carries and
// where, which of its three texts stay when room runs short, where the text group sits and how
// much of the window caption survives before its ellipsis. controls/TTitleBar.h paints from it.

#include <functional>
#include <vector>

#include "controls/ColourNumber.h"
#include "controls/GradientBands.h"

namespace controls {

enum class CaptionGradient { gtNone, gtLeftToRight, gtCenterToBorder };
enum class CaptionAlignment { Left, Right, Center };

// The caption buttons a window's style asks for.
enum CaptionButton : unsigned {
    kNoCaptionButtons = 0,
    kCaptionClose = 1,      // present with the system menu
    kCaptionMinimize = 2,
    kCaptionMaximize = 4,
    kCaptionHelp = 8,
};
using CaptionButtons = unsigned;

// Band count of a caption `width` pixels wide: `nbOfColors` when it is 2..256, otherwise (0,
// or a value the bar refused) one band per pixel, at least 2 and at most 256.
int CaptionBandCount(int nbOfColors, int width);

// The bands filling [left, left + width) x [0, height). `own` is the bar's Color, `caption` the
// desktop's caption colour. Left to right runs own -> caption with the last band exactly
// `caption`; centre to border runs caption -> own over the first half and back; gtNone is
// plain `caption`. Bands with no pixels (more bands than pixels) are left out.
std::vector<GradientBand> CaptionBands(int left, int width, int height, ColourNumber own,
                                       ColourNumber caption, CaptionGradient type,
                                       int nbOfColors);

struct CaptionButtonPlace {
    CaptionButton button = kNoCaptionButtons;
    int x = 0;
    int y = 0;
    int size = 0;
    friend bool operator==(const CaptionButtonPlace&, const CaptionButtonPlace&) = default;
};

// Button squares of a caption `width` x `height`, from the right: close, then maximise and
// minimise as a pair when either is on (a pair keeps both places so the buttons never shift),
// then help when neither of them is on. Without close (no system menu) there are no buttons.
std::vector<CaptionButtonPlace> CaptionButtonPlaces(CaptionButtons buttons, int width, int height);

// Left edge of the button area: `width` less the buttons and a 2-pixel gap; `width` without
// buttons.
int CaptionButtonAreaLeft(const std::vector<CaptionButtonPlace>& places, int width);

struct CaptionTexts {
    bool company = false;
    bool application = false;
    bool caption = false;
    friend bool operator==(const CaptionTexts&, const CaptionTexts&) = default;
};

// Which texts are drawn in a text area `area` pixels wide. A width of 0 means the text is
// absent (empty or disabled); every present one counts its width + 3. All fit: all drawn;
// otherwise the company text goes, and when application + caption still do not fit only the
// caption stays (cut by its ellipsis).
CaptionTexts CaptionTextsShown(int area, int companyWidth, int applicationWidth,
                               int captionWidth);

// Left edge of the text group `groupWidth` wide in [areaLeft, areaRight): placed by the
// alignment (at the left when the bar is disabled), then 3 pixels to the right.
int CaptionGroupLeft(CaptionAlignment alignment, bool barEnabled, int areaLeft, int areaRight,
                     int groupWidth);

// How many leading characters of a `length`-character caption stay in `available` pixels.
// `widthOf(kept, elided)` measures the first `kept` characters, followed by the ellipsis when
// `elided`. All of them when the whole text fits; otherwise the most that fit with the
// ellipsis (0: the ellipsis alone).
int CaptionCharsKept(int length, int available, const std::function<int(int, bool)>& widthOf);

}  // namespace controls
