#include "controls/TWallpaper.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace controls;

namespace {

// A 30 x 30 tile: dark grey with one white pixel at (0, 0) and a red one at (29, 29).
QPixmap MarkedTile() {
    QImage img(30, 30, QImage::Format_RGB32);
    img.fill(QColor(40, 40, 40));
    img.setPixelColor(0, 0, Qt::white);
    img.setPixelColor(29, 29, Qt::red);
    return QPixmap::fromImage(img);
}

}  // namespace

TEST(WallpaperTiling, CoversTheAreaAndOverhangsAtTheEnd) {
    const auto tiles = WallpaperTiles(QRect(0, 0, 100, 50), QSize(30, 30));
    ASSERT_EQ(tiles.size(), 4u * 2u);
    EXPECT_EQ(tiles[0], QPoint(0, 0));
    EXPECT_EQ(tiles[1], QPoint(0, 30));  // down the first column first
    EXPECT_EQ(tiles.back(), QPoint(90, 30));
    EXPECT_TRUE(WallpaperTiles(QRect(0, 0, 100, 50), QSize(0, 30)).empty());
}

TEST(WallpaperTiling, InsetCountsBorderAndEachPresentBevel) {
    EXPECT_EQ(WallpaperInset(0, 1, Bevel::None, Bevel::None), 0);
    EXPECT_EQ(WallpaperInset(3, 2, Bevel::Raised, Bevel::None), 5);
    EXPECT_EQ(WallpaperInset(3, 2, Bevel::Raised, Bevel::Lowered), 7);
    EXPECT_EQ(WallpaperInset(0, 2, Bevel::None, Bevel::Lowered), 2);
    const auto tiles = WallpaperTiles(QRect(5, 5, 90, 40), QSize(30, 30));
    EXPECT_EQ(tiles.size(), 4u * 2u);
    EXPECT_EQ(tiles[0], QPoint(5, 5));
}

TEST(TWallpaperPainting, RepeatsTheTileAndCutsTheLastOnes) {
    TWallpaper panel;
    panel.resize(100, 50);
    panel.setWallpaper(MarkedTile());
    const QImage img = panel.grab().toImage();
    for (int x : {0, 30, 60, 90})
        for (int y : {0, 30}) EXPECT_EQ(img.pixelColor(x, y), QColor(Qt::white)) << x << "," << y;
    EXPECT_EQ(img.pixelColor(89, 29), QColor(Qt::red));
    EXPECT_EQ(img.pixelColor(99, 49), QColor(40, 40, 40));  // last tile cut
}

TEST(TWallpaperPainting, BordersAndBevelsShiftTheTilesInwards) {
    TWallpaper panel;
    panel.resize(100, 50);
    panel.setBevelOuter(Bevel::Raised);
    panel.setBorderWidth(2);
    panel.setWallpaper(MarkedTile());
    EXPECT_EQ(panel.tileArea(), QRect(3, 3, 94, 44));
    const QImage img = panel.grab().toImage();
    EXPECT_EQ(img.pixelColor(3, 3), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(33, 33), QColor(Qt::white));
    EXPECT_NE(img.pixelColor(96, 46), QColor(Qt::white));
    EXPECT_NE(img.pixelColor(0, 0), QColor(40, 40, 40));  // the bevel, not the tile
}

TEST(TWallpaperPainting, WithoutPictureItIsAPlainPanel) {
    TWallpaper panel;
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(10, 20, 30));
    panel.setPalette(pal);
    panel.resize(60, 40);
    const QImage img = panel.grab().toImage();
    EXPECT_EQ(img.pixelColor(30, 20), QColor(10, 20, 30));
    // A picture set later is painted; an empty one again leaves the plain panel.
    panel.setWallpaper(MarkedTile());
    EXPECT_EQ(panel.grab().toImage().pixelColor(0, 0), QColor(Qt::white));
    panel.setWallpaper(QPixmap());
    EXPECT_EQ(panel.grab().toImage().pixelColor(0, 0), QColor(10, 20, 30));
}
