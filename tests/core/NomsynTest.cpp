#include "core/Nomsyn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "LiteralLibraryAlgorithms.h"
#include "PageTestData.h"

namespace core {
namespace {

using test::EmptyPage;
using test::NameOf;
using test::UsedSlot;

std::vector<int> SelectedSlots(const VoicePage& page) {
    std::vector<int> slots;
    for (int s = 0; s < 32; ++s)
        if (page[s].status & kStatusSelected) slots.push_back(s);
    return slots;
}

std::vector<int> UsedSlots(const VoicePage& page) {
    std::vector<int> slots;
    for (int s = 0; s < 32; ++s)
        if (page[s].status & kStatusUsed) slots.push_back(s);
    return slots;
}

// Function bank whose record n is filled with n + 1, to see which records moved or emptied.
FunctionBank NumberedFunctions() {
    FunctionBank bank;
    for (std::size_t n = 0; n < bank.size(); ++n) bank[n].fill(Byte(n + 1));
    return bank;
}

bool IsEmptyFunction(const PackedFunction& f) {
    PackedFunction empty;
    InitFunction(empty);
    return f == empty;
}

TEST(PageSelection, OnlyUsedSlotsAreClearedOrInverted) {
    VoicePage page = EmptyPage();
    page[0] = UsedSlot("A", 1, kStatusUsed | kStatusSelected);
    page[1] = UsedSlot("B");
    page[2].status = kStatusSelected;  // free but selected: left alone
    Nomsyn::InvertSelection(page);
    EXPECT_EQ(SelectedSlots(page), (std::vector<int>{1, 2}));
    Nomsyn::ClearSelection(page);
    EXPECT_EQ(SelectedSlots(page), (std::vector<int>{2}));
    EXPECT_TRUE(Nomsyn::IsSelected(page, 2));
    EXPECT_FALSE(Nomsyn::IsSelected(page, 1));
    EXPECT_FALSE(Nomsyn::IsSelected(page, 32));
    EXPECT_FALSE(Nomsyn::IsSelected(page, -1));
}

TEST(PageSelection, MarkersSelectAndAreSet) {
    VoicePage page = EmptyPage();
    page[0] = UsedSlot("A", 1, kStatusUsed | (3 << 2));
    page[1] = UsedSlot("B", 1, kStatusUsed);
    page[2].status = 3 << 2;  // free slot carrying marker 3: not selected
    page[3] = UsedSlot("C", 1, kStatusUsed | (3 << 2));
    Nomsyn::SelectByMarker(page, 3);
    EXPECT_EQ(SelectedSlots(page), (std::vector<int>{0, 3}));
    page[1].status |= kStatusSelected;
    Nomsyn::SetMarker(page, 5);
    EXPECT_EQ(page[0].status, 5 * 4 + 1);
    EXPECT_EQ(page[1].status, 5 * 4 + 1);
    EXPECT_EQ(page[3].status, 5 * 4 + 1);
    EXPECT_EQ(page[2].status, 3 << 2);
    Nomsyn::SelectByMarker(page, 0);
    EXPECT_TRUE(SelectedSlots(page).empty());
}

TEST(PageSelection, ClearSelectedEmptiesSlotsAndOptionallyTheirFunctions) {
    VoicePage page = EmptyPage();
    page[4] = UsedSlot("A", 1, kStatusUsed | kStatusSelected);
    page[6] = UsedSlot("B");
    FunctionBank functions = NumberedFunctions();
    const FunctionBank before = functions;
    VoicePage copy = page;
    Nomsyn::ClearSelected(copy, nullptr);
    EXPECT_EQ(UsedSlots(copy), (std::vector<int>{6}));
    EXPECT_EQ(NameOf(copy[4]), "----------");

    Nomsyn::ClearSelected(page, &functions);
    EXPECT_EQ(UsedSlots(page), (std::vector<int>{6}));
    EXPECT_TRUE(IsEmptyFunction(functions[4]));
    for (std::size_t n = 0; n < functions.size(); ++n)
        if (n != 4) {
            EXPECT_EQ(functions[n], before[n]) << n;
        }
}

TEST(PageSlots, FirstFreeFirstWithAndCopyToFirstFree) {
    VoicePage page = EmptyPage();
    EXPECT_EQ(Nomsyn::FirstWith(page, kStatusUsed), Nomsyn::kNoSlot);
    EXPECT_EQ(Nomsyn::FirstFree(page, kStatusUsed), 0);
    page[0] = UsedSlot("A");
    page[1].status = 4;  // free, marked
    page[2] = UsedSlot("B", 1, kStatusUsed | kStatusSelected);
    EXPECT_EQ(Nomsyn::FirstFree(page, kStatusUsed), 1);
    EXPECT_EQ(Nomsyn::FirstFree(page, 0xFF), 3);
    EXPECT_EQ(Nomsyn::FirstWith(page, kStatusSelected), 2);
    EXPECT_EQ(Nomsyn::FirstWith(page, 4), 1);

    const VoiceSlot moving = UsedSlot("MOVED", 9, kStatusUsed | kStatusSelected | (7 << 2));
    ASSERT_TRUE(Nomsyn::CopyToFirstFree(moving, page));
    EXPECT_EQ(page[1].voice, moving.voice);
    EXPECT_EQ(page[1].status, moving.status);

    for (VoiceSlot& slot : page) slot = UsedSlot("FULL");
    const VoicePage full = page;
    EXPECT_FALSE(Nomsyn::CopyToFirstFree(moving, page));
    EXPECT_EQ(std::memcmp(&page, &full, sizeof page), 0);
    EXPECT_EQ(Nomsyn::FirstFree(page, kStatusUsed), Nomsyn::kNoSlot);
}

TEST(PageSlots, FillFreeFromSelectedTakesSelectedVoicesInOrder) {
    VoicePage source = EmptyPage();
    source[3] = UsedSlot("S3", 3, kStatusUsed | kStatusSelected | (2 << 2));
    source[5] = UsedSlot("S5", 5);
    source[7] = UsedSlot("S7", 7, kStatusUsed | kStatusSelected);
    source[9].status = kStatusSelected;  // a selected free slot is taken too
    source[11] = UsedSlot("S11", 11, kStatusUsed | kStatusSelected);

    VoicePage destination = EmptyPage();
    for (VoiceSlot& slot : destination) slot = UsedSlot("D");
    InitSlot(destination[1]);
    destination[2].status = 2 << 2;  // free but marked: not filled
    InitSlot(destination[4]);
    InitSlot(destination[6]);

    EXPECT_EQ(Nomsyn::FillFreeFromSelected(destination, source), 3);
    EXPECT_EQ(NameOf(destination[1]), "S3        ");
    EXPECT_EQ(destination[1].status, kStatusUsed | kStatusSelected | (2 << 2));
    EXPECT_EQ(NameOf(destination[4]), "S7        ");
    EXPECT_EQ(destination[6].status, kStatusSelected);
    EXPECT_EQ(destination[2].status, 2 << 2);
    EXPECT_EQ(source[3].status, kStatusUsed | (2 << 2));
    EXPECT_EQ(source[7].status, kStatusUsed);
    EXPECT_EQ(source[9].status, 0);
    EXPECT_EQ(source[11].status, kStatusUsed | kStatusSelected);  // no room left for it
}

TEST(PageSort, ByNameIsCaseSensitiveAndPutsFreeSlotsLast) {
    VoicePage page = EmptyPage();
    page[1] = UsedSlot("B");
    page[4] = UsedSlot("a");
    page[30] = UsedSlot("A");
    FunctionBank functions = NumberedFunctions();
    Nomsyn::SortByName(page, &functions);
    EXPECT_EQ(NameOf(page[0]), "A         ");
    EXPECT_EQ(NameOf(page[1]), "B         ");
    EXPECT_EQ(NameOf(page[2]), "a         ");
    EXPECT_EQ(UsedSlots(page), (std::vector<int>{0, 1, 2}));
    // Function records moved with their voices.
    EXPECT_EQ(functions[0][0], 31);
    EXPECT_EQ(functions[1][0], 2);
    EXPECT_EQ(functions[2][0], 5);
    // Records beyond the 32 slots never move.
    EXPECT_EQ(functions[40][0], 41);
}

TEST(PageSort, ByNameOrdersAFullPageOfRandomNames) {
    std::mt19937 random(3);
    VoicePage page = EmptyPage();
    std::vector<std::string> names;
    for (int s = 0; s < 32; ++s) {
        if (s % 5 == 2) continue;  // leave some free slots between them
        std::string name;
        for (int c = 0; c < 10; ++c) name += char(std::uniform_int_distribution<int>(0x20, 0x7F)(random));
        page[s] = UsedSlot(name);
        names.push_back(name);
    }
    Nomsyn::SortByName(page, nullptr);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return std::memcmp(a.data(), b.data(), 10) < 0;
    });
    for (std::size_t s = 0; s < 32; ++s) {
        if (s < names.size())
            EXPECT_EQ(NameOf(page[s]), names[s]) << s;
        else
            EXPECT_FALSE(page[s].IsUsed()) << s;
    }
}

TEST(PageSort, ByMarkerKeepsUsedSlotsBeforeFreeOnes) {
    VoicePage page = EmptyPage();
    const int markers[] = {3, 0, 2, -1, 1, -1, 0, 31};  // -1: free slot
    for (int s = 0; s < 8; ++s) {
        if (markers[s] < 0) {
            page[s].status = 5 << 2;  // free, yet carrying a marker
            continue;
        }
        page[s] = UsedSlot(std::to_string(s), 1, Byte(kStatusUsed | (markers[s] << 2)));
    }
    FunctionBank functions = NumberedFunctions();
    Nomsyn::SortByMarker(page, &functions);
    const int expected[] = {0, 0, 1, 2, 3, 31};
    for (int s = 0; s < 6; ++s) {
        EXPECT_TRUE(page[s].IsUsed()) << s;
        EXPECT_EQ(page[s].Marker(), expected[s]) << s;
        // The record that came with the voice: its old slot is the voice's name.
        EXPECT_EQ(functions[s][0], std::stoi(NameOf(page[s])) + 1) << s;
    }
    for (int s = 6; s < 32; ++s) EXPECT_FALSE(page[s].IsUsed()) << s;
}

// The page doubles search written out plainly (an emptied slot is no longer used, so it
// matches nothing further), with the function records of every matching pair.
void ReferenceDoubles(VoicePage& page, FunctionBank* functions, DoublesOptions o) {
    for (VoiceSlot& slot : page)
        if (literal::IsUsed(slot)) slot.status &= ~2;
    for (int i = 0; i <= 30; ++i) {
        for (int j = i + 1; j <= 31; ++j) {
            if (!literal::SameVoice(page[i], page[j])) continue;
            if (functions && o.erase && o.first) InitFunction((*functions)[i]);
            if (functions && o.erase && o.second) InitFunction((*functions)[j]);
            literal::MarkPair(page[i], page[j], o);
        }
    }
}

VoicePage ThreeIdentical() {
    VoicePage page = EmptyPage();
    page[2] = UsedSlot("ONE", 7);
    page[5] = UsedSlot("TWO", 7, kStatusUsed | kStatusSelected);  // selection is cleared first
    page[9] = UsedSlot("THREE", 7);
    page[11] = UsedSlot("OTHER", 8);
    return page;
}

TEST(PageDoubles, FirstSecondAndBothSelectTheDocumentedSlots) {
    struct Case {
        bool first, second;
        std::vector<int> selected;
    };
    for (const Case& c : {Case{true, false, {2, 5}}, Case{false, true, {5, 9}},
                          Case{true, true, {2, 5, 9}}, Case{false, false, {}}}) {
        VoicePage page = ThreeIdentical();
        Nomsyn::FindDoubles(page, nullptr, {c.first, c.second, false});
        EXPECT_EQ(SelectedSlots(page), c.selected) << c.first << c.second;
        EXPECT_EQ(UsedSlots(page), (std::vector<int>{2, 5, 9, 11}));
    }
}

TEST(PageDoubles, DeleteEmptiesTheMarkedCopiesAndTheirFunctions) {
    struct Case {
        bool first, second;
        std::vector<int> used;
        std::vector<int> emptiedFunctions;
    };
    for (const Case& c : {Case{true, false, {9, 11}, {2, 5}}, Case{false, true, {2, 11}, {5, 9}},
                          Case{true, true, {9, 11}, {2, 5}}}) {
        VoicePage page = ThreeIdentical();
        FunctionBank functions = NumberedFunctions();
        Nomsyn::FindDoubles(page, &functions, {c.first, c.second, true});
        EXPECT_EQ(UsedSlots(page), c.used) << c.first << c.second;
        std::vector<int> emptied;
        for (int n = 0; n < 64; ++n)
            if (IsEmptyFunction(functions[n])) emptied.push_back(n);
        EXPECT_EQ(emptied, c.emptiedFunctions) << c.first << c.second;
    }
}

TEST(PageDoubles, VoicesDifferingOnlyInNameAreDoublesOtherBytesCount) {
    VoicePage page = EmptyPage();
    page[0] = UsedSlot("NAME ONE", 4);
    page[1] = UsedSlot("NAME TWO", 4);
    page[2] = UsedSlot("NAME ONE", 4);
    page[2].voice[117] = 5;  // differs in the last parameter byte
    Nomsyn::FindDoubles(page, nullptr, {false, true, false});
    EXPECT_EQ(SelectedSlots(page), (std::vector<int>{1}));
}

TEST(PageDoubles, AnEmptiedSlotNeverTakesAUsedVoiceWithIt) {
    // Slots 0 and 1 are identical; slot 2 is a used voice whose parameters are all zero, like
    // the bytes of an emptied slot. Deleting both copies of the pair must leave slot 2 alone.
    VoicePage page = EmptyPage();
    page[0] = UsedSlot("PAIR", 3);
    page[1] = UsedSlot("PAIR", 3);
    page[2] = UsedSlot("ZEROES", 0);
    FunctionBank functions = NumberedFunctions();
    Nomsyn::FindDoubles(page, &functions, {true, true, true});
    EXPECT_EQ(UsedSlots(page), (std::vector<int>{2}));
    EXPECT_EQ(NameOf(page[2]), "ZEROES    ");
    EXPECT_EQ(functions[2][0], 3);
    EXPECT_TRUE(IsEmptyFunction(functions[0]));
    EXPECT_TRUE(IsEmptyFunction(functions[1]));
}

TEST(PageDoubles, MatchesThePlainAlgorithmOnRandomPages) {
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        VoicePage page = EmptyPage();
        for (VoiceSlot& slot : page) {
            const int kind = std::uniform_int_distribution<int>(0, 4)(random);
            if (kind == 4) continue;  // free
            slot = UsedSlot("V" + std::to_string(round), Byte(kind == 3 ? 0 : kind));
            slot.status = Byte(std::uniform_int_distribution<int>(0, 255)(random) | kStatusUsed);
        }
        const int bits = round % 8;
        const DoublesOptions options{bool(bits & 1), bool(bits & 2), bool(bits & 4)};
        VoicePage expected = page;
        FunctionBank expectedFunctions = NumberedFunctions();
        ReferenceDoubles(expected, &expectedFunctions, options);
        FunctionBank functions = NumberedFunctions();
        Nomsyn::FindDoubles(page, &functions, options);
        ASSERT_EQ(std::memcmp(&page, &expected, sizeof page), 0) << "round " << round;
        ASSERT_EQ(functions, expectedFunctions) << "round " << round;
    }
}

VoicePage SearchPage() {
    VoicePage page = EmptyPage();
    page[0] = UsedSlot("PIANO 1");
    page[1] = UsedSlot("IAN");
    page[2] = UsedSlot("piano 2", 1, kStatusUsed | (4 << 2));
    page[3].status = 0;  // free slot named "----------"
    page[4] = UsedSlot("ABCDEFGHIJ");
    page[5] = UsedSlot("\xC9tude");  // Latin-1 capital E acute
    return page;
}

TEST(NameSearch, PositionRuleAndCaseInsensitiveCompare) {
    struct Case {
        std::string text;
        int position;
        std::vector<int> selected;
    };
    const Case cases[] = {
        {"ia", 2, {0, 2}},
        {"NO", 0, {0, 2}},
        {"ian", 1, {1}},
        {"hij", 8, {4}},
        {"j", 10, {4}},
        {"hijk", 8, {}},         // would run past the end of the name
        {"ABCDEFGHIJ", 0, {4}},  // ten characters fit at the start only
        {"ABCDEFGHIJ", 1, {4}},
        {"BCDEFGHIJ", 0, {4}},
        {"--", 0, {}},           // free slots never match
        {"\xE9TUDE", 1, {5}},
        {"abc", 11, {}},         // no such position
        {"abc", -1, {}},
    };
    for (const Case& c : cases) {
        VoicePage page = SearchPage();
        const int count = Nomsyn::SearchByName(page, c.text, c.position);
        EXPECT_EQ(SelectedSlots(page), c.selected) << c.text << " at " << c.position;
        EXPECT_EQ(count, int(c.selected.size())) << c.text << " at " << c.position;
    }
}

TEST(NameSearch, EmptyTextSelectsEveryUsedSlotAndLongTextNone) {
    VoicePage page = SearchPage();
    for (int position : {0, 1, 10}) {
        VoicePage all = page;
        EXPECT_EQ(Nomsyn::SearchByName(all, "", position), 5) << position;
        EXPECT_EQ(SelectedSlots(all), (std::vector<int>{0, 1, 2, 4, 5})) << position;
    }
    // Eleven characters in a heap block of exactly eleven bytes, no terminator after them: a
    // read beyond the text is reported by the sanitizer build.
    const auto eleven = std::make_unique<char[]>(11);
    std::memcpy(eleven.get(), "ABCDEFGHIJK", 11);
    VoicePage none = page;
    for (int position = 0; position <= 10; ++position)
        EXPECT_EQ(Nomsyn::SearchByName(none, std::string_view(eleven.get(), 11), position), 0)
            << position;
    EXPECT_TRUE(SelectedSlots(none).empty());
    // A text with a zero byte ends there, as the program's texts do.
    EXPECT_EQ(Nomsyn::SearchByName(none, std::string_view("PIANO\0XYZ", 9), 1), 2);
}

TEST(NameSearch, AddsToTheSelectionWithoutClearingIt) {
    VoicePage page = SearchPage();
    page[1].status |= kStatusSelected;
    EXPECT_EQ(Nomsyn::SearchByName(page, "piano", 1), 2);
    EXPECT_EQ(SelectedSlots(page), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(page[2].Marker(), 4);
}

}  // namespace
}  // namespace core
