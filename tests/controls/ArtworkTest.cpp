// The drawn pictures: sizes, frame counts, and that states really look different.
#include "controls/Artwork.h"

#include <gtest/gtest.h>

#include "controls/ArtworkPainting.h"
#include "controls/TWallpaper.h"
#include "controls/Tzografsw.h"

using namespace controls;
using namespace controls::artwork;

namespace {

QImage Frame(const QPixmap& strip, int frames, int k) {
    const int w = strip.width() / frames;
    return strip.toImage().copy(k * w, 0, w, strip.height());
}

double Brightness(const QImage& img) {
    double sum = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            sum += c.alphaF() * (c.redF() + c.greenF() + c.blueF());
        }
    return sum;
}

}  // namespace

TEST(Artwork, StripsHaveTheirFramesAtEitherRatio) {
    for (qreal ratio : {1.0, 2.0}) {
        const QPixmap large = LargeKnobStrip(ratio);
        EXPECT_EQ(large.devicePixelRatio(), ratio);
        EXPECT_EQ(large.size(), QSize(kLargeKnobSize * kKnobFrames, kLargeKnobSize) * ratio);
        EXPECT_EQ(SmallKnobStrip(ratio).size(), QSize(kSmallKnobSize * kKnobFrames, kSmallKnobSize) * ratio);
        EXPECT_EQ(LampStrip(ratio).size(), QSize(2 * kLampSize, kLampSize) * ratio);
        EXPECT_EQ(PushButtonStrip({}, 24, ratio).size(), QSize(48, 24) * ratio);
        EXPECT_EQ(WallpaperTile(ratio).deviceIndependentSize(), QSizeF(64, 64));
        EXPECT_EQ(TrashCan(ratio).deviceIndependentSize(), QSizeF(40, 48));
        EXPECT_EQ(MidiPlug(ratio).deviceIndependentSize(), QSizeF(64, 64));
    }
}

TEST(Artwork, KnobPointerSweeps270DegreesAndEveryFrameDiffers) {
    EXPECT_DOUBLE_EQ(detail::KnobAngle(0), -135);
    EXPECT_DOUBLE_EQ(detail::KnobAngle(0.5), 0);
    EXPECT_DOUBLE_EQ(detail::KnobAngle(1), 135);
    const QPixmap strip = SmallKnobStrip(1);
    for (int k = 1; k < kKnobFrames; k += 7)
        EXPECT_NE(Frame(strip, kKnobFrames, k - 1), Frame(strip, kKnobFrames, k)) << k;
    // At the middle the pointer stands straight up: light pixels above the centre line.
    const QImage mid = Frame(strip, kKnobFrames, kKnobFrames / 2);
    EXPECT_GT(mid.pixelColor(15, 8).lightness(), 180);
    EXPECT_LT(mid.pixelColor(15, 22).lightness(), 120);
}

TEST(Artwork, LitFramesAreBrighterThanUnlit) {
    const QPixmap lamp = LampStrip(1);
    EXPECT_GT(Brightness(Frame(lamp, 2, 1)), 1.3 * Brightness(Frame(lamp, 2, 0)));
    const QPixmap green = GreenLampStrip(1);
    const QColor centre = Frame(green, 2, 1).pixelColor(kLampSize / 2, kLampSize / 2);
    EXPECT_GT(centre.green(), centre.red());
    const QPixmap button = PushButtonStrip(QStringLiteral("OK"), kButtonSize, 1);
    EXPECT_NE(Frame(button, 2, 0), Frame(button, 2, 1));
}

TEST(Artwork, WallpaperTileIsDarkAndOpaque) {
    const QImage tile = WallpaperTile(1).toImage();
    for (int y = 0; y < tile.height(); y += 5)
        for (int x = 0; x < tile.width(); x += 5) {
            const QColor c = tile.pixelColor(x, y);
            EXPECT_EQ(c.alpha(), 255);
            EXPECT_LT(c.lightness(), 60);
        }
}

TEST(Artwork, PalettePutsLightTextOnDarkSurfaces) {
    const QPalette pal = RackPalette();
    EXPECT_LT(pal.color(QPalette::Window).lightness(), 60);
    EXPECT_GT(pal.color(QPalette::WindowText).lightness(), 160);
    EXPECT_LT(pal.color(QPalette::Base).lightness(), 30);
}

namespace {

// What `w` shows when rendered at device pixel ratio `ratio`.
QImage RenderedAt(QWidget& w, qreal ratio) {
    QImage img(w.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::transparent);
    w.render(&img, QPoint(), QRegion(), QWidget::DrawChildren);  // no window background
    return img;
}

}  // namespace

TEST(ArtworkRatio, APictureIsFoundAgainAtAnotherRatio) {
    const QPixmap lamp = LampStrip(1);
    const QPixmap copy = lamp;  // a copy is still the same picture
    EXPECT_EQ(AtRatio(copy, 2).toImage(), LampStrip(2).toImage());
    EXPECT_EQ(AtRatio(copy, 2).devicePixelRatio(), 2);
    EXPECT_EQ(AtRatio(lamp, 1).cacheKey(), lamp.cacheKey());
    // Any other pixmap, or a drawn one changed afterwards, is left as it is.
    QPixmap own(8, 8);
    own.fill(Qt::blue);
    EXPECT_EQ(AtRatio(own, 2).cacheKey(), own.cacheKey());
    QPixmap changed = LampStrip(1);
    changed.fill(Qt::blue);
    EXPECT_EQ(AtRatio(changed, 2).devicePixelRatio(), 1);
}

TEST(ArtworkRatio, ControlsGivenOneXPicturesPaintCrispAtTwoX) {
    // A window gives its controls the pictures made for its screen; rendered at 2x they must
    // show the pictures drawn for 2x, not the 1x ones enlarged.
    Tzografsw lamp;
    lamp.setBitmap(LampStrip(1));
    lamp.setGlyph(2);
    lamp.setState(1);
    const QImage lit = LampStrip(2).toImage().copy(2 * kLampSize, 0, 2 * kLampSize, 2 * kLampSize);
    EXPECT_EQ(RenderedAt(lamp, 2).convertToFormat(QImage::Format_ARGB32_Premultiplied),
              lit.convertToFormat(QImage::Format_ARGB32_Premultiplied));

    TWallpaper panel;
    panel.resize(64, 64);
    panel.setWallpaper(WallpaperTile(1));
    const QImage tile = WallpaperTile(2).toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(RenderedAt(panel, 2).convertToFormat(QImage::Format_RGB32), tile);
    // And at 1x they still show the 1x pictures pixel for pixel.
    EXPECT_EQ(RenderedAt(panel, 1).convertToFormat(QImage::Format_RGB32),
              WallpaperTile(1).toImage().convertToFormat(QImage::Format_RGB32));
}

// Pictures drawn ahead on the helper thread (text included) are the very pictures the window
// thread would draw, handed out once and then kept; asking while the orders are taken draws
// nothing.
TEST(ArtworkAhead, PicturesDrawnAheadEqualThoseDrawnHereAndAreKept) {
    const QString legend = QStringLiteral("AHD");
    const qreal ratio = 1.5;  // a ratio no other test asks for
    QPixmap askedWhileOrdering;
    {
        const PicturesAhead ahead([&] {
            askedWhileOrdering = PushButtonStrip(legend, kButtonSize, ratio);
            PushButtonStrip(legend, kButtonSize, ratio);  // asked twice: drawn once
            TrashCan(ratio);
        });
        EXPECT_TRUE(askedWhileOrdering.isNull());
    }
    const QPixmap button = PushButtonStrip(legend, kButtonSize, ratio);
    EXPECT_EQ(PushButtonStrip(legend, kButtonSize, ratio).cacheKey(), button.cacheKey());
    EXPECT_EQ(button.devicePixelRatio(), ratio);
    EXPECT_EQ(AtRatio(button, 2).toImage(), PushButtonStrip(legend, kButtonSize, 2).toImage());

    // The same strip drawn on this thread, frame by frame as the cache draws strips.
    QImage here(QSize(2 * kButtonSize, kButtonSize) * ratio, QImage::Format_ARGB32_Premultiplied);
    here.setDevicePixelRatio(ratio);
    here.fill(Qt::transparent);
    {
        QPainter p(&here);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        for (int frame = 0; frame < 2; ++frame) {
            p.save();
            p.translate(frame * kButtonSize, 0);
            p.setClipRect(QRect(0, 0, kButtonSize, kButtonSize));
            detail::PaintPushButton(p, kButtonSize, legend, frame == 1);
            p.restore();
        }
    }
    EXPECT_EQ(button.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), here);
    EXPECT_EQ(TrashCan(ratio).deviceIndependentSize(), QSizeF(40, 48));
}
