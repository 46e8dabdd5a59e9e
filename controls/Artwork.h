#pragma once
// The program's pictures, drawn in code the first time they are asked for: knob filmstrips,
// two-frame lamp and push-button strips, the wallpaper tile, the trash can and the MIDI plug.
// One dark rack-hardware style. Each picture is made for a device pixel ratio (default: the
// application's) and carries it; the picture controls ask for it again at the ratio they paint
// at (AtRatio), so windows get crisp pictures at 1x and 2x whatever ratio they were given.
// Strips put their frames side by side, as the filmstrip controls expect.

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QString>

#include <functional>
#include <thread>

namespace controls::artwork {

inline constexpr int kKnobFrames = 128;      // frames of both knob strips
inline constexpr int kLargeKnobSize = 44;    // logical pixels, square frames
inline constexpr int kSmallKnobSize = 30;
inline constexpr int kLampSize = 16;
inline constexpr int kButtonSize = 36;
inline constexpr int kSmallButtonSize = 20;

// The application's device pixel ratio (1 without an application).
qreal ScreenRatio();
// The device pixel ratio of the pixels a painter really paints (a widget rendered into an
// image paints at the image's ratio, not its screen's).
qreal PaintRatio(const QPainter& p);
// `picture` drawn for `ratio` when it is one of the pictures below (or a copy of one);
// otherwise `picture` itself.
QPixmap AtRatio(const QPixmap& picture, qreal ratio);

QPixmap LargeKnobStrip(qreal ratio = ScreenRatio());   // kKnobFrames frames
QPixmap SmallKnobStrip(qreal ratio = ScreenRatio());   // kKnobFrames frames
QPixmap LampStrip(qreal ratio = ScreenRatio());        // 2 frames: off, on (red LED)
QPixmap GreenLampStrip(qreal ratio = ScreenRatio());   // 2 frames: off, on (green LED)
// 2 frames: up, pressed (with a lit ring). An optional short legend is engraved on the cap.
QPixmap PushButtonStrip(const QString& legend = {}, int size = kButtonSize,
                        qreal ratio = ScreenRatio());
QPixmap WallpaperTile(qreal ratio = ScreenRatio());    // seamless, 64 x 64
QPixmap TrashCan(qreal ratio = ScreenRatio());         // 40 x 48
QPixmap MidiPlug(qreal ratio = ScreenRatio());         // 64 x 64, five-pin DIN face
// The application icon, `pixels` square, drawn anew each call.
QImage AppIcon(int pixels);
// The window icon at the sizes title bars and task lists show.
QIcon AppIconSet();

// Draws the pictures that `asks` asks for on a helper thread while the window thread goes on:
// asking for one of them later takes the drawn picture, waiting only if it is not done yet.
// `asks` only names pictures (what it is handed back is empty). Pictures with text need the
// application object, so this is made after it and must end before it does.
class PicturesAhead {
public:
    explicit PicturesAhead(const std::function<void()>& asks);
    ~PicturesAhead();  // waits for the helper thread
    PicturesAhead(const PicturesAhead&) = delete;
    PicturesAhead& operator=(const PicturesAhead&) = delete;

private:
    std::thread drawer_;
};

// Style sheet that gives a label knob (or any value read-out) the rack look: amber digits in a
// black window with a thin frame.
inline constexpr const char* kValueLabelStyle =
    "color: #ffb040; background: #0a0a0b; border: 1px solid #3a3c42;"
    " font: bold 13px 'DejaVu Sans Mono';";

// Colours of plain panels, labels, lists and bevels that go with the pictures: near-black
// surfaces, light grey text, amber highlight. The program sets it on the application.
QPalette RackPalette();

}  // namespace controls::artwork
