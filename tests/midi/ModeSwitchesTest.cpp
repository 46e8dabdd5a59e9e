#include "midi/ModeSwitches.h"

#include <gtest/gtest.h>

namespace midi {
namespace {

TEST(ApplyModeClick, FollowsTheModeTable) {
    MidiSettings s;  // TX816 and Custom on
    EXPECT_EQ(MenusFor(s), (ModeMenus{true, true, true}));

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Dx7));
    EXPECT_TRUE(s.dx7);
    EXPECT_FALSE(s.tx816);
    EXPECT_FALSE(s.txCustom);
    EXPECT_EQ(MenusFor(s), (ModeMenus{false, false, false}));

    EXPECT_FALSE(ApplyModeClick(s, ModeSwitch::Custom));
    EXPECT_TRUE(s.dx7 && !s.tx816 && !s.txCustom);

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Tx816));
    EXPECT_FALSE(s.dx7);
    EXPECT_TRUE(s.tx816);
    EXPECT_FALSE(s.txCustom) << "TX816 leaves Custom as it was";
    EXPECT_EQ(MenusFor(s), (ModeMenus{false, true, true}));

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Custom));
    EXPECT_TRUE(s.txCustom);
    EXPECT_EQ(MenusFor(s), (ModeMenus{true, true, true}));

    // A TX816 click with Custom on keeps "Get All Banks" usable: the customized rack still
    // selects its modules.
    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::Tx816));
    EXPECT_EQ(MenusFor(s), (ModeMenus{true, true, true}));

    EXPECT_TRUE(ApplyModeClick(s, ModeSwitch::AutoDump));
    EXPECT_FALSE(s.autoDump);
    EXPECT_TRUE(s.tx816 && s.txCustom && !s.dx7);
}

}  // namespace
}  // namespace midi
