#include "librarian/WindowPlacement.h"

#include <gtest/gtest.h>

namespace librarian {
namespace {

const QSize kMainWindow(931, 758);
const QPoint kDefault(241, 166);

TEST(WindowPlacement, AStoredPlaceOnAScreenIsKept) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1080)};
    EXPECT_EQ(ReachablePlace(QPoint(50, 60), kMainWindow, screens, kDefault), QPoint(50, 60));
    // Mostly beyond the right edge, but its top edge can still be taken hold of.
    EXPECT_EQ(ReachablePlace(QPoint(1800, 900), kMainWindow, screens, kDefault), QPoint(1800, 900));
    // On a second screen to the left of the first.
    const QList<QRect> two{QRect(0, 0, 1920, 1080), QRect(-1280, 0, 1280, 1024)};
    EXPECT_EQ(ReachablePlace(QPoint(-1200, 40), kMainWindow, two, kDefault), QPoint(-1200, 40));
}

TEST(WindowPlacement, APlaceOutOfReachGivesWayToTheDefault) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1080)};
    // Left on a monitor that is gone.
    EXPECT_EQ(ReachablePlace(QPoint(2500, 100), kMainWindow, screens, kDefault), kDefault);
    EXPECT_EQ(ReachablePlace(QPoint(-1200, 40), kMainWindow, screens, kDefault), kDefault);
    // The top edge above the screen: the window could never be dragged.
    EXPECT_EQ(ReachablePlace(QPoint(100, -500), kMainWindow, screens, kDefault), kDefault);
    // Only a sliver of the top edge on the screen.
    EXPECT_EQ(ReachablePlace(QPoint(1900, 100), kMainWindow, screens, kDefault), kDefault);
}

TEST(WindowPlacement, WithoutAnyKnownScreenTheStoredPlaceStands) {
    EXPECT_EQ(ReachablePlace(QPoint(5000, 5000), kMainWindow, {}, kDefault), QPoint(5000, 5000));
}

}  // namespace
}  // namespace librarian
