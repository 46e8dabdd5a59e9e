#include "librarian/OptionSwitches.h"

#include <gtest/gtest.h>

namespace librarian {
namespace {

OptionStates Doubles(bool first, bool second) {
    OptionStates s;
    s.first = first;
    s.second = second;
    return s;
}

OptionStates Drop(bool copy, bool swap, bool addTo) {
    OptionStates s;
    s.copy = copy;
    s.swap = swap;
    s.addTo = addTo;
    return s;
}

TEST(OptionSwitches, ClicksKeepOneDropModeAndAtLeastOneDoublesSide) {
    struct Case {
        const char* what;
        OptionStates before;
        OptionSwitch clicked;
        OptionStates after;
    };
    const Case cases[] = {
        {"Second while only Second is on", Doubles(false, true), OptionSwitch::Second,
         Doubles(true, false)},
        {"First while only First is on", Doubles(true, false), OptionSwitch::First,
         Doubles(true, false)},
        {"First while only Second is on", Doubles(false, true), OptionSwitch::First,
         Doubles(true, true)},
        {"Second while both are on", Doubles(true, true), OptionSwitch::Second,
         Doubles(true, false)},
        {"First while both are on", Doubles(true, true), OptionSwitch::First,
         Doubles(false, true)},
        {"Swap", Drop(true, false, false), OptionSwitch::Swap, Drop(false, true, false)},
        {"Swap again", Drop(false, true, false), OptionSwitch::Swap, Drop(false, true, false)},
        {"Add To after a stored state with all three on", Drop(true, true, true),
         OptionSwitch::AddTo, Drop(false, false, true)},
        {"Copy after a stored state with none on", Drop(false, false, false), OptionSwitch::Copy,
         Drop(true, false, false)},
    };
    for (const Case& c : cases) {
        OptionStates s = c.before;
        ClickOption(s, c.clicked);
        EXPECT_EQ(s, c.after) << c.what;
    }
    OptionStates toggles;
    for (OptionSwitch sw : {OptionSwitch::MultiSelect, OptionSwitch::LinkBuffers, OptionSwitch::Delete})
        ClickOption(toggles, sw);
    EXPECT_TRUE(toggles.multiSelect && toggles.linkBuffers && toggles.doublesDelete);
    ClickOption(toggles, OptionSwitch::Delete);
    EXPECT_FALSE(toggles.doublesDelete);
    EXPECT_EQ(toggles.copy, true) << "toggles leave the radio group alone";
}

TEST(OptionSwitches, BrokenStoredModesAreReadInEachCommandsOwnOrder) {
    struct Case {
        OptionStates states;
        CopyMode bankCopy;
        CopyMode bankDrop;
    };
    const Case cases[] = {
        {Drop(false, false, false), CopyMode::AddTo, CopyMode::Copy},
        {Drop(true, true, true), CopyMode::Swap, CopyMode::AddTo},
        {Drop(true, false, true), CopyMode::Copy, CopyMode::AddTo},
        {Drop(false, true, false), CopyMode::Swap, CopyMode::Swap},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BankCopyMode(c.states), c.bankCopy);
        EXPECT_EQ(BankDropMode(c.states), c.bankDrop);
    }
}

TEST(OptionSwitches, StoredValuesRoundTripAndAnyNonZeroValueIsOn) {
    BaseValues values;
    EXPECT_EQ(OptionStatesFrom(values), OptionStates{}) << "the stored defaults are the window's";
    values.dropSwap = 7;
    values.doublesSecond = 0;
    const OptionStates read = OptionStatesFrom(values);
    EXPECT_TRUE(read.swap);
    EXPECT_FALSE(read.second);
    BaseValues written;
    StoreOptionStates(read, written);
    EXPECT_EQ(written.dropSwap, 1);
    EXPECT_EQ(written.doublesSecond, 0);
    EXPECT_EQ(written.dropCopy, 1);
}

}  // namespace
}  // namespace librarian
