// The caption bar on a window: client coordinates kept, buttons acting on release inside, the
// window following the pointer where the window system refuses to move it (offscreen).
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "controls/TTitleBar.h"

using namespace controls;

namespace {

// Counts the close requests a window gets.
struct CloseCounter : QObject {
    int closes = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) ++closes;
        return false;
    }
};

void Mouse(QWidget* target, QEvent::Type type, QPoint local, QPoint global) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), QPointF(global),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Press at `from` and release at `to`, both in the bar's coordinates.
void Click(TTitleBar* bar, QPoint from, QPoint to) {
    Mouse(bar, QEvent::MouseButtonPress, from, bar->mapToGlobal(from));
    Mouse(bar, QEvent::MouseMove, to, bar->mapToGlobal(to));
    Mouse(bar, QEvent::MouseButtonRelease, to, bar->mapToGlobal(to));
}

QPoint Centre(const TTitleBar* bar, CaptionButton button) {
    for (const CaptionButtonPlace& p : CaptionButtonPlaces(bar->Buttons(), bar->width(), bar->height()))
        if (p.button == button) return {p.x + p.size / 2, p.y + p.size / 2};
    return {bar->width() - 10, bar->height() / 2};  // where close would be
}

}  // namespace

TEST(TTitleBar, WearingItKeepsEveryControlsClientPlaceAndGrowsTheWindow) {
    QWidget window(nullptr, Qt::Dialog);
    window.setWindowTitle(QStringLiteral("Probe"));
    window.setFixedSize(200, 100);
    auto* shown = new QLabel(QStringLiteral("x"), &window);
    shown->setGeometry(10, 20, 30, 12);
    auto* hidden = new QLabel(QStringLiteral("y"), &window);
    hidden->hide();
    auto* menu = new QMenu(&window);
    TTitleBar* bar = WearCaptionBar(&window, kCaptionClose);
    const int h = TTitleBar::CaptionHeight();

    EXPECT_EQ(shown->geometry(), QRect(10, 20, 30, 12));
    EXPECT_EQ(shown->mapTo(&window, QPoint(0, 0)), QPoint(11, 21 + h));
    EXPECT_EQ(ClientArea(&window)->geometry(), QRect(1, 1 + h, 200, 100));
    EXPECT_EQ(window.size(), QSize(202, 100 + h + 2));
    EXPECT_EQ(bar->geometry(), QRect(1, 1, 200, h));
    EXPECT_EQ(bar->objectName(), QStringLiteral("TitleBar1"));
    EXPECT_EQ(menu->parent(), &window) << "popups stay with the window";
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.windowType(), Qt::Dialog) << "the window keeps its kind";
    window.show();
    EXPECT_TRUE(shown->isVisible());
    EXPECT_FALSE(hidden->isVisible()) << "a hidden control stays hidden";
    EXPECT_EQ(ClientArea(shown), shown) << "a widget wearing no bar is its own client";
}

TEST(TTitleBar, ButtonsActOnReleaseInsideThemOnly) {
    QWidget window;
    window.setFixedSize(300, 80);
    TTitleBar* bar = WearCaptionBar(&window, kCaptionClose | kCaptionMinimize);
    CloseCounter counter;
    window.installEventFilter(&counter);
    window.show();
    const QPoint close = Centre(bar, kCaptionClose);

    Click(bar, close, close + QPoint(-40, 0));
    EXPECT_TRUE(window.isVisible()) << "released outside: nothing";
    EXPECT_EQ(counter.closes, 0);
    Click(bar, Centre(bar, kCaptionMaximize), Centre(bar, kCaptionMaximize));
    EXPECT_FALSE(window.isMaximized()) << "the style leaves maximise off";
    Click(bar, Centre(bar, kCaptionMinimize), Centre(bar, kCaptionMinimize));
    EXPECT_TRUE(window.isMinimized());
    window.showNormal();
    Click(bar, close, close);
    EXPECT_EQ(counter.closes, 1) << "closing goes through the window's close";
    EXPECT_FALSE(window.isVisible());
}

TEST(TTitleBar, AWindowWithoutSystemMenuHasNoButtonsAndMovesByItsCaption) {
    QWidget window(nullptr, Qt::Tool);
    window.setFixedSize(120, 50);
    TTitleBar* bar = WearCaptionBar(&window, kNoCaptionButtons);
    window.move(100, 100);
    window.show();
    const QPoint start = window.pos();

    // Where a close button would be, the press grabs the caption instead.
    const QPoint at = Centre(bar, kCaptionClose);
    Click(bar, at, at);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), start);

    // Offscreen the window system refuses to move it; the window follows the pointer.
    const QPoint from(30, bar->height() / 2);
    const QPoint global = bar->mapToGlobal(from);
    Mouse(bar, QEvent::MouseButtonPress, from, global);
    Mouse(bar, QEvent::MouseMove, from + QPoint(30, 20), global + QPoint(30, 20));
    Mouse(bar, QEvent::MouseMove, from + QPoint(31, 22), global + QPoint(31, 22));
    Mouse(bar, QEvent::MouseButtonRelease, from, global + QPoint(31, 22));
    EXPECT_EQ(window.pos(), start + QPoint(31, 22));
    Mouse(bar, QEvent::MouseMove, from, global + QPoint(80, 80));
    EXPECT_EQ(window.pos(), start + QPoint(31, 22)) << "released: the window stays";
}

TEST(TTitleBar, RefusedBandCountsAreIgnored) {
    QWidget window;
    TTitleBar* bar = WearCaptionBar(&window, kCaptionClose);
    bar->SetNbOfColors(16);
    for (int refused : {1, 257, 300, -2}) {
        bar->SetNbOfColors(refused);
        EXPECT_EQ(bar->NbOfColors(), 16) << refused;
    }
    bar->SetNbOfColors(0);
    EXPECT_EQ(bar->NbOfColors(), 0);
}
