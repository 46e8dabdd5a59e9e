#pragma once
// Painting of single pictures in logical pixels; Artwork assembles them into strips and
// caches them per device pixel ratio.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

namespace controls::artwork::detail {

// A knob of `size` with its pointer at fraction t (0 = fully left, 1 = fully right) of the
// 270 degree sweep.
void PaintKnob(QPainter& p, int size, double t);
// A round LED in a bezel; `hue` is the lit colour.
void PaintLamp(QPainter& p, int size, const QColor& hue, bool on);
// A square rack push button; pressed shows the cap down and its indicator lit.
void PaintPushButton(QPainter& p, int size, const QString& legend, bool pressed);
// A dark brushed-metal texture that repeats without seams, in device pixels.
QImage WallpaperTexture(int devicePixels);
void PaintTrashCan(QPainter& p, int width, int height);
void PaintMidiPlug(QPainter& p, int size);
// The program's icon: a rounded rack panel with the eight module lamps and a large knob.
void PaintAppIcon(QPainter& p, int size);

// Pointer angle in degrees, clockwise from straight up, for fraction t of the sweep.
double KnobAngle(double t);

}  // namespace controls::artwork::detail
