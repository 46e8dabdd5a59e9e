#include "controls/ColourValue.h"

namespace controls {

QColor ColourFromValue(ColourNumber value) {
    return QColor(RedOf(value), GreenOf(value), BlueOf(value));
}

ColourNumber ValueFromColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return MakeColourNumber(rgb.red(), rgb.green(), rgb.blue());
}

}  // namespace controls
