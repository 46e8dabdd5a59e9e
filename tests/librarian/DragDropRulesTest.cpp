#include "librarian/DragDropRules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/MessageBoxes.h"

namespace librarian {
namespace {

TEST(DragDropRules, TheAcceptanceTableTakesExactlyItsEightPairs) {
    using K = DragKind;
    const K kinds[] = {K::BankList, K::LibraryList, K::Buffer, K::Trash, K::LibraryLabel};
    const std::array<std::pair<K, K>, 8> accepted = {{
        {K::BankList, K::BankList},    {K::BankList, K::LibraryList}, {K::BankList, K::Trash},
        {K::LibraryList, K::BankList}, {K::LibraryList, K::Trash},    {K::Buffer, K::BankList},
        {K::Buffer, K::LibraryList},   {K::Buffer, K::Trash},
    }};
    int taken = 0;
    for (const K source : kinds) {
        for (const K target : kinds) {
            const bool listed =
                std::find(accepted.begin(), accepted.end(), std::pair{source, target}) != accepted.end();
            EXPECT_EQ(AcceptsDrop(source, target), listed) << int(source) << " on " << int(target);
            taken += AcceptsDrop(source, target);
        }
    }
    EXPECT_EQ(taken, 8);
}

TEST(DragDropRules, BankFileNamesEndInDx7OrSyxInAnyCase) {
    struct Case {
        const char* name;
        bool bank;
    };
    const Case cases[] = {
        {"a.DX7", true},  {"a.dx7", true},   {"dir.x/A.Syx", true}, {"a.syx", true},
        {"a.DXL", false}, {"a.syx.bak", false}, {"DX7", false},    {"a.DX", false},
        {"a.DX77", false}, {".SYX", false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsBankFileName(c.name), c.bank) << c.name;
}

// The drops the window tests don't reach with a mouse: an empty source, a drop point below the
// last line, a target bank out of range, the library full.
TEST(DragDropRules, DropsThatMustChangeNothing) {
    platform::RecordingBoxes boxes;
    std::array<core::Bankson, 8> bankObjects;
    std::array<core::Bankson*, 8> banks;
    for (int n = 0; n < 8; ++n) banks[n] = &bankObjects[n];
    core::Libson library;
    core::Edtson buffer;
    core::VoiceSlot used{};
    buffer.StoreVoice(used);
    bankObjects[0].Page()[1] = used;
    bankObjects[1].Page()[4] = used;
    const DropScene scene{.banks = banks, .library = library, .buffer = buffer};
    const core::BankSlotBlock before = bankObjects[1].Slots();

    const DragPlace emptyLine{.kind = DragKind::BankList, .list = 0, .line = 0};
    const DragPlace usedLine{.kind = DragKind::BankList, .list = 0, .line = 1};
    EXPECT_FALSE(DropVoice(scene, emptyLine, {DragKind::BankList, 1, 4}).accepted);
    EXPECT_FALSE(DropVoice(scene, usedLine, {DragKind::BankList, 8, 4}).accepted);
    const DropResult below = DropVoice(scene, usedLine, {DragKind::BankList, 1, -1});
    EXPECT_TRUE(below.accepted);
    EXPECT_TRUE(below.banksChanged[1]) << "only a redraw";
    EXPECT_EQ(std::memcmp(&bankObjects[1].Slots(), &before, sizeof before), 0);

    for (int page = 0; page < core::Libson::PageCount(); ++page)
        for (core::VoiceSlot& slot : library.Page(page)) slot = used;
    const DropResult full = DropVoice(scene, {DragKind::Buffer}, {DragKind::LibraryList, 4});
    EXPECT_EQ(full.warning, DropWarning::LibraryFull);
    EXPECT_FALSE(full.libraryChanged);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Library is Full !");
    EXPECT_EQ(boxes.Shown()[0].title, "Drag & Drop Warning");
}

}  // namespace
}  // namespace librarian
