#pragma once
// One gradient picture per size, ratio, colours, layout and band count, shared by every display:
// the editor's thirteen displays render each of their two gradients once, and a colour change
// simply asks for (and renders once) another picture.

#include <QImage>
#include <QSize>

#include "controls/ColourNumber.h"

namespace controls {

// The gradient of controls/GradientBands.h, painted at device pixel ratio `ratio` (bands stay
// on whole logical pixels). Implicitly shared: copying the result is cheap.
QImage GradientPicture(QSize size, qreal ratio, ColourNumber gradient, ColourNumber background,
                       int type, int bandCount);

// How many pictures have been rendered since the program started, for tests and benchmarks.
int GradientRenderCount();

}  // namespace controls
