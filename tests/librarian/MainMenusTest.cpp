#include "librarian/MainMenus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QStringList>
#include <QWidget>

#include <gtest/gtest.h>

#include "support/TestApplication.h"

namespace librarian {
namespace {

// Every menu ends with the undo items.
QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

class MainMenusTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::TestApplication(); }
    QWidget owner_{(testing_support::TestApplication(), nullptr)};
    MainMenus menus_{&owner_};
};

TEST_F(MainMenusTest, BankMenusHaveTheirItemsInOrderWithAccessKeys) {
    EXPECT_EQ(Captions(menus_.popBank()),
              (QStringList{"Selection  &Clean", "Selection  &Reverse", "Selection  &Delete", "-",
                           "Copy  Bank -> &Library", "Copy  &Selection -> Library",
                           "Copy  Selectio&n -> Bank", "Copy &Bank -> Bank", "-", "&Find Doubles",
                           "Find by N&ame", "Sort by &Name", "-", "Undo", "Redo"}));
    EXPECT_EQ(Captions(menus_.popBank2()),
              (QStringList{"Load Bank", "Save Bank", "Save As Sysex", "-", "Delete Bank", "-",
                           "Get Bank from MIDI", "Send Bank to MIDI", "-", "Show System Info",
                           "Memory Protect ", "-", "Undo", "Redo"}));
    EXPECT_EQ(Captions(menus_.popAllBank()),
              (QStringList{"Deselect All Banks", "-", "Send Memory Protect to All ", "-",
                           "Get All Banks from MIDI", "Send All Banks to MIDI", "-",
                           "Load All Banks", "Save All Banks", "-", "Delete All Banks", "-",
                           "Copy All Banks to Library", "-", "Undo", "Redo"}));
}

TEST_F(MainMenusTest, LibraryMenusHaveTheirItemsInOrderWithAccessKeys) {
    EXPECT_EQ(Captions(menus_.popLib()),
              (QStringList{"Selection  &Clean", "Selection  &Reverse", "Selection  &Delete", "-",
                           "Copy &Selection -> Bank", "Copy  Page  -> &Bank", "-",
                           "&Find Doubles ", "Searc&h by Name", "Sort by &Name",
                           "Sort by &Markers", "-", "Undo", "Redo"}));
    EXPECT_EQ(Captions(menus_.popLib2()),
              (QStringList{"Load Library", "Save Library", "-", "Auto Import Bank",
                           "Auto Export Bank", "Import Collection...", "-", "Delete Library", "-",
                           "Undo", "Redo"}));
}

TEST_F(MainMenusTest, ItemsStayDisabledUntilACommandIsConnected) {
    QAction* load = menus_.Item(QStringLiteral("popLoadBankClick"));
    ASSERT_NE(load, nullptr);
    EXPECT_FALSE(load->isEnabled());
    int runs = 0;
    menus_.Connect(QStringLiteral("popLoadBankClick"), [&runs] { ++runs; });
    EXPECT_TRUE(load->isEnabled());
    load->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(menus_.Item(QStringLiteral("noSuchHandler")), nullptr);
}

TEST_F(MainMenusTest, ModeForbiddenItemsStayDisabledEvenWhenConnected) {
    const QString handler = QStringLiteral("GetAllBankMIDIClick");
    menus_.SetAllowedByMode(handler, false);
    menus_.Connect(handler, [] {});
    EXPECT_FALSE(menus_.Item(handler)->isEnabled());
    menus_.SetAllowedByMode(handler, true);
    EXPECT_TRUE(menus_.Item(handler)->isEnabled());
}

}  // namespace
}  // namespace librarian
