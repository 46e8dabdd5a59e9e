#pragma once
// The one conversion between stored colour numbers (red in the low byte) and Qt colours, for
// the displays, the editor options and the librarian's lists alike.

#include <QColor>

#include "controls/ColourNumber.h"

namespace controls {

QColor ColourFromValue(ColourNumber value);
// The alpha channel is dropped: a stored colour is opaque.
ColourNumber ValueFromColour(const QColor& colour);

}  // namespace controls
