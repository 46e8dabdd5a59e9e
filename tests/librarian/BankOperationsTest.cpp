#include "librarian/BankOperations.h"

#include <array>
#include <cstring>

#include <gtest/gtest.h>

#include "../core/PageTestData.h"
#include "librarian/VoiceClick.h"
#include "platform/MessageBoxes.h"

namespace librarian {
namespace {

using core::test::NameOf;
using core::test::UsedSlot;
using std::filesystem::path;

bool Same(const core::VoicePage& a, const core::VoicePage& b) {
    return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

// Fills `count` slots of the bank from `first` on with distinct used voices.
void Fill(core::Bankson& bank, int first, int count, char tag) {
    for (int i = first; i < first + count; ++i)
        bank.Page()[i] = UsedSlot(std::string(1, tag) + std::to_string(i), core::Byte(i + 1));
}

TEST(BankOperations, SaveAllPutsTheNumberBeforeTheExtensionSoEachFileHasItsOwnBackup) {
    EXPECT_EQ(SaveAllPaths("/d/SET", 2), (std::vector<path>{"/d/SET1", "/d/SET2"}));
    EXPECT_EQ(SaveAllPaths("/d/SET.DX7", 3),
              (std::vector<path>{"/d/SET1.DX7", "/d/SET2.DX7", "/d/SET3.DX7"}));
    EXPECT_EQ(SaveAllPaths("/d/my.set.dx7", 1), (std::vector<path>{"/d/my.set1.dx7"}));
    EXPECT_EQ(SaveAllPaths("/d/SET", 8).back(), path("/d/SET8"));
}

class BanksAndLibrary : public ::testing::Test {
protected:
    std::array<core::Bankson, 8> banks;
    std::array<core::Bankson*, 8> pointers{};
    core::Libson library;
    platform::RecordingBoxes boxes;
    void SetUp() override {
        for (int i = 0; i < 8; ++i) {
            pointers[i] = &banks[i];
            Fill(banks[i], 0, 2, char('A' + i));
        }
    }
    int UsedOn(int page) const {
        int used = 0;
        for (const core::VoiceSlot& slot : library.Page(page)) used += slot.IsUsed();
        return used;
    }
};

TEST_F(BanksAndLibrary, CopyAllInPageModeLeavesOutTheBanksPastPage999WithOneWarning) {
    CopyAllBanksToLibrary(pointers, library, true, 994);
    for (int page = 994; page <= 999; ++page) {
        EXPECT_EQ(UsedOn(page), 2) << page;
        EXPECT_EQ(NameOf(library.Page(page)[0]).substr(0, 2), std::string(1, char('A' + page - 994)) + "0");
    }
    EXPECT_EQ(library.CountSelection().used, 12) << "banks 7 and 8 written nowhere";
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].kind, platform::BoxKind::Warning);
    EXPECT_EQ(boxes.Shown()[0].title, "Copy Warning");
    EXPECT_EQ(boxes.Shown()[0].text, "2 Banks not Copied. The Library ends with Page 999 !");

    boxes.Clear();
    CopyAllBanksToLibrary(pointers, library, true, 992);
    EXPECT_TRUE(boxes.Shown().empty()) << "pages 992-999 all exist";
    EXPECT_EQ(UsedOn(999), 4);
}

TEST_F(BanksAndLibrary, CopyAllFillsTheFreeSlotsOfEachBanksPageOrTheLibraryInOrder) {
    library.Page(3)[0] = UsedSlot("KEEP");
    CopyAllBanksToLibrary(pointers, library, true, 3);
    EXPECT_EQ(NameOf(library.Page(3)[0]), "KEEP      ");
    EXPECT_EQ(NameOf(library.Page(3)[1]), "A0        ");
    for (int page = 4; page <= 10; ++page) EXPECT_EQ(UsedOn(page), 2) << page;
    EXPECT_EQ(UsedOn(11), 0);

    core::Libson fresh;
    CopyAllBanksToLibrary(pointers, fresh, false, 500);
    EXPECT_EQ(NameOf(fresh.Page(0)[15]), "H1        ") << "library mode ignores the page";
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(BanksAndLibrary, CopyBankToBankSwapsCopiesOrAddsAsTheModeSays) {
    core::Bankson& source = banks[0];
    core::Bankson& destination = banks[1];
    Fill(source, 0, 20, 'S');
    Fill(destination, 0, 20, 'D');
    source.Functions()[0].fill(7);
    destination.Functions()[0].fill(9);

    CopyBankToBank(source, destination, CopyMode::AddTo, true);
    int used = 0;
    for (const core::VoiceSlot& slot : destination.Page()) used += slot.IsUsed();
    EXPECT_EQ(used, 32);
    EXPECT_EQ(NameOf(destination.Page()[20]), "S0        ");
    EXPECT_EQ(NameOf(destination.Page()[31]), "S11       ");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "12 Sounds Copied. Destination Page is Full !");
    EXPECT_EQ(destination.Functions()[0][0], 9) << "Add To takes no function records";

    const core::VoicePage before = source.Page();
    const core::VoicePage otherBefore = destination.Page();
    CopyBankToBank(source, destination, CopyMode::Swap, false);
    EXPECT_TRUE(Same(source.Page(), otherBefore));
    EXPECT_TRUE(Same(destination.Page(), before));
    EXPECT_EQ(source.Functions()[0][0], 7) << "in Voices mode the records stay";
    CopyBankToBank(source, destination, CopyMode::Swap, true);
    EXPECT_EQ(source.Functions()[0][0], 9);
    EXPECT_EQ(destination.Functions()[0][0], 7);

    CopyBankToBank(source, destination, CopyMode::Copy, false);
    EXPECT_TRUE(Same(destination.Page(), source.Page()));
    EXPECT_EQ(destination.Functions()[0][0], 7);
    CopyBankToBank(source, destination, CopyMode::Copy, true);
    EXPECT_EQ(destination.Functions()[0][0], 9);

    const core::VoicePage same = source.Page();
    CopyBankToBank(source, source, CopyMode::AddTo, false);
    EXPECT_TRUE(Same(source.Page(), same));
}

TEST_F(BanksAndLibrary, NameSearchReplacesOrAddsToTheSelection) {
    core::Bankson& bank = banks[0];
    bank.Page()[0] = UsedSlot("PIANO 1");
    bank.Page()[1] = UsedSlot("E.PIANO");
    bank.Page()[2] = UsedSlot("BRASS");
    EXPECT_EQ(SearchBankByName(bank, "piano", 0, false), 2);
    EXPECT_EQ(SearchBankByName(bank, "BRA", 1, false), 1);
    EXPECT_FALSE(bank.IsSelected(0));
    EXPECT_TRUE(bank.IsSelected(2));
    EXPECT_EQ(SearchBankByName(bank, "PIANO", 3, true), 1);
    EXPECT_TRUE(bank.IsSelected(1));
    EXPECT_FALSE(bank.IsSelected(0)) << "position 3 only";
    EXPECT_TRUE(bank.IsSelected(2)) << "Multi Select keeps the earlier matches";
}

TEST(VoiceClickLogic, LibraryLinesResolveToTheirPageAndSlot) {
    EXPECT_EQ(LibraryLineSlot(3, 3, 10), (LibraryLine{11, 19}));
    EXPECT_EQ(LibraryLineSlot(0, 0, 994), (LibraryLine{994, 0}));
    EXPECT_EQ(LibraryLineSlot(11, 15, 994), (LibraryLine{999, 31}));
    EXPECT_EQ(LibraryLineSlot(10, 15, 0), (LibraryLine{5, 15}));
}

}  // namespace
}  // namespace librarian
