#include "librarian/MainKeys.h"

#include <gtest/gtest.h>

namespace librarian {
namespace {

TEST(MainKeys, DigitsOneToEightSelectTheirBankAndOtherDigitsDoNot) {
    for (int n = 1; n <= 8; ++n) {
        const MainKey key = MainKeyFor(QChar(u'0' + n));
        EXPECT_EQ(key.command, MainKeyCommand::SelectBank);
        EXPECT_EQ(key.bank, n - 1);
    }
    EXPECT_EQ(MainKeyFor(QChar(u'9')).command, MainKeyCommand::None);
    EXPECT_EQ(MainKeyFor(QChar(u'0')).command, MainKeyCommand::FirstPage);
}

TEST(MainKeys, LettersWorkInBothCasesExceptTheAboutBoxsCapitalI) {
    const std::pair<char16_t, MainKeyCommand> letters[] = {
        {u'p', MainKeyCommand::ToggleFunctionMode}, {u'f', MainKeyCommand::FindFirstSelected},
        {u'm', MainKeyCommand::OpenMidiConfig},     {u'o', MainKeyCommand::OpenOptions},
        {u't', MainKeyCommand::OpenMarkers},
    };
    for (auto [lower, command] : letters) {
        EXPECT_EQ(MainKeyFor(QChar(lower)).command, command);
        EXPECT_EQ(MainKeyFor(QChar(lower).toUpper()).command, command);
    }
    EXPECT_EQ(MainKeyFor(QChar(u'I')).command, MainKeyCommand::OpenAbout);
    EXPECT_EQ(MainKeyFor(QChar(u'i')).command, MainKeyCommand::None);
    EXPECT_EQ(MainKeyFor(QChar(u',')).command, MainKeyCommand::OpenAbout);
    EXPECT_EQ(MainKeyFor(QChar(u'?')).command, MainKeyCommand::OpenAbout);
    EXPECT_EQ(MainKeyFor(QChar(u'*')).command, MainKeyCommand::ToggleLibraryMode);
    for (char16_t other : {u'a', u'Z', u' ', u'/', u'='})
        EXPECT_EQ(MainKeyFor(QChar(other)).command, MainKeyCommand::None) << char(other);
}

TEST(MainKeys, PagingStaysWithinTheKnobsRange) {
    EXPECT_EQ(PageAfter(MainKeyCommand::NextPage, 994), 994);
    EXPECT_EQ(PageAfter(MainKeyCommand::NextPage, 993), 994);
    EXPECT_EQ(PageAfter(MainKeyCommand::PreviousPage, 0), 0);
    EXPECT_EQ(PageAfter(MainKeyCommand::PreviousPage, 1), 0);
    EXPECT_EQ(PageAfter(MainKeyCommand::FirstPage, 500), 0);
    EXPECT_EQ(PageAfter(MainKeyCommand::LastPage, 5), 994);
    EXPECT_EQ(PageAfter(MainKeyCommand::OpenOptions, 7), 7);
}

}  // namespace
}  // namespace librarian
