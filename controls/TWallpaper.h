#pragma once
// Panel whose area is covered by a repeated picture; the windows' background, holding their
// other controls. Without a picture it paints as a plain panel (bevels and caption).

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <vector>

namespace controls {

enum class Bevel { None, Lowered, Raised };

// Width lost on each side of the client area before the tiles: border, plus one bevel width
// for each bevel that is present.
int WallpaperInset(int borderWidth, int bevelWidth, Bevel outer, Bevel inner);

// Top-left corners of the tiles covering `inner` (columns left to right, each column top to
// bottom). The last row and column overhang and are cut by the clip. Empty for an empty tile.
std::vector<QPoint> WallpaperTiles(const QRect& inner, QSize tile);

class TWallpaper : public QWidget {
    Q_OBJECT
public:
    explicit TWallpaper(QWidget* parent = nullptr);

    const QPixmap& wallpaper() const { return wallpaper_; }
    void setWallpaper(const QPixmap& tile);  // repaints

    Bevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(Bevel b);
    Bevel bevelInner() const { return bevelInner_; }
    void setBevelInner(Bevel b);
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int w);
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int w);
    QString caption() const { return caption_; }
    void setCaption(const QString& text);

    // The rectangle the tiles cover.
    QRect tileArea() const;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap wallpaper_;
    Bevel bevelOuter_ = Bevel::None;
    Bevel bevelInner_ = Bevel::None;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
};

}  // namespace controls
