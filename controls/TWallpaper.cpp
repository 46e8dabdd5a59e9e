#include "controls/TWallpaper.h"

#include <QPainter>

#include "controls/Artwork.h"

namespace controls {

int WallpaperInset(int borderWidth, int bevelWidth, Bevel outer, Bevel inner) {
    int inset = borderWidth;
    if (outer != Bevel::None) inset += bevelWidth;
    if (inner != Bevel::None) inset += bevelWidth;
    return inset;
}

std::vector<QPoint> WallpaperTiles(const QRect& inner, QSize tile) {
    std::vector<QPoint> tiles;
    if (tile.width() <= 0 || tile.height() <= 0 || inner.width() < 0 || inner.height() < 0)
        return tiles;
    const int columns = inner.width() / tile.width() + 1;
    const int rows = inner.height() / tile.height() + 1;
    tiles.reserve(static_cast<std::size_t>(columns) * rows);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r)
            tiles.emplace_back(inner.left() + c * tile.width(), inner.top() + r * tile.height());
    return tiles;
}

TWallpaper::TWallpaper(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAutoFillBackground(true);
}

void TWallpaper::setWallpaper(const QPixmap& tile) {
    wallpaper_ = tile;
    update();
}

void TWallpaper::setBevelOuter(Bevel b) { bevelOuter_ = b; update(); }
void TWallpaper::setBevelInner(Bevel b) { bevelInner_ = b; update(); }
void TWallpaper::setBevelWidth(int w) { bevelWidth_ = w; update(); }
void TWallpaper::setBorderWidth(int w) { borderWidth_ = w; update(); }
void TWallpaper::setCaption(const QString& text) { caption_ = text; update(); }

QRect TWallpaper::tileArea() const {
    const int inset = WallpaperInset(borderWidth_, bevelWidth_, bevelOuter_, bevelInner_);
    return rect().adjusted(inset, inset, -inset, -inset);
}

namespace {

// One bevel ring `width` pixels wide just inside r; raised is light at top left.
void DrawBevel(QPainter& p, QRect r, int width, Bevel bevel, const QPalette& pal) {
    if (bevel == Bevel::None) return;
    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(QPalette::Dark);
    const QColor topLeft = bevel == Bevel::Raised ? light : dark;
    const QColor bottomRight = bevel == Bevel::Raised ? dark : light;
    for (int i = 0; i < width; ++i) {
        const QRect ring = r.adjusted(i, i, -i, -i);
        p.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), topLeft);
        p.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), topLeft);
        p.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), bottomRight);
        p.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), bottomRight);
    }
}

}  // namespace

void TWallpaper::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The plain panel: bevels and caption.
    DrawBevel(p, rect(), bevelWidth_, bevelOuter_, palette());
    const int o = WallpaperInset(borderWidth_, bevelWidth_, bevelOuter_, Bevel::None);
    DrawBevel(p, rect().adjusted(o, o, -o, -o), bevelWidth_, bevelInner_, palette());
    if (!caption_.isEmpty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(rect(), Qt::AlignCenter, caption_);
    }
    if (wallpaper_.isNull()) return;
    const QSize tile = wallpaper_.deviceIndependentSize().toSize();
    if (tile.width() <= 0 || tile.height() <= 0) return;
    const QRect area = tileArea();
    const QPixmap picture = artwork::AtRatio(wallpaper_, artwork::PaintRatio(p));
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const QPoint& at : WallpaperTiles(area, tile))
        p.drawPixmap(QRect(at, tile), picture);
    p.restore();
}

}  // namespace controls
