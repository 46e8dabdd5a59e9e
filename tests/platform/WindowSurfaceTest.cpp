// A window's drawing memory made before it shows must be the memory its first frame is drawn
// in: were it made again at the first frame, the early mapping would be wasted.

#include "platform/WindowSurface.h"

#include <QBackingStore>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include "support/TestApplication.h"

namespace platform {
namespace {

class Plain : public QWidget {
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(12, 34, 56)); }
};

TEST(WindowSurface, TheFirstFrameIsDrawnInTheMemoryMadeBeforeShowing) {
    testing_support::TestApplication();
    Plain window;
    window.setFixedSize(331, 157);  // rows of an odd number of bytes: not whole pages
    PrepareWindowSurface(window);
    QBackingStore* store = window.backingStore();
    ASSERT_NE(store, nullptr);
    auto* before = dynamic_cast<QImage*>(store->paintDevice());
    ASSERT_NE(before, nullptr);
    const uchar* memory = before->constBits();
    EXPECT_EQ(before->size(), window.size() * window.devicePixelRatio());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.repaint();
    auto* after = dynamic_cast<QImage*>(store->paintDevice());
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->constBits(), memory);
    EXPECT_EQ(after->pixelColor(330, 156), QColor(12, 34, 56));
}

}  // namespace
}  // namespace platform
