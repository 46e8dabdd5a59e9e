#include "core/Libson.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>

#include "core/FatalError.h"
#include "platform/MessageBoxes.h"
#include "tests/core/LibraryTestData.h"
#include "tests/core/LiteralLibraryAlgorithms.h"

namespace core {
namespace {

using platform::BoxKind;
using platform::RecordingBoxes;
using testdata::CopyPages;
using testdata::PagesOf;

void FillRandomly(Libson& library, unsigned seed, const testdata::LibraryShape& shape) {
    std::mt19937 random(seed);
    testdata::FillPages(random, PagesOf(library), shape);
}

bool SamePages(const Libson& a, const Libson& b) {
    for (int p = 0; p < a.PageCount(); ++p)
        if (std::memcmp(&a.Page(p), &b.Page(p), kPageSize) != 0) return false;
    return true;
}

VoiceSlot UsedSlot(Byte tag, Byte status = kStatusUsed) {
    VoiceSlot slot;
    InitSlot(slot);
    slot.voice[0] = tag;
    slot.status = status;
    return slot;
}

// Also on the memory the program makes ready ahead, on a helper thread, before the library.
TEST(Libson, StartsEmptyAndClearRestoresThatState) {
    for (bool readyAhead : {true, false}) {
    if (readyAhead) Libson::PrepareMemoryAhead();
    Libson library;
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(library.Name(), "Empty");
        for (int m = 0; m < kMarkerCount; ++m) {
            EXPECT_EQ(library.MarkerNameText(m), "Empty");
            const MarkerName& field = *library.MarkerNames()[m];
            EXPECT_EQ(field[5], 0);
        }
        EXPECT_EQ(library.CountSelection().used, 0);
        EXPECT_EQ(library.FirstSelectedPage(), -1);
        VoiceSlot empty;
        InitSlot(empty);
        for (int p = 0; p < library.PageCount(); ++p) {
            EXPECT_TRUE(library.IsPageEmpty(p));
            for (const VoiceSlot& slot : library.Page(p))
                ASSERT_EQ(std::memcmp(&slot, &empty, kSlotSize), 0);
        }
        FillRandomly(library, 1, {0.5, 10, 0.1, 0.1});
        library.SetMarkerName(4, "Brass");
        library.Clear();
    }
    }
}

TEST(Libson, PageNumbersOutsideTheLibraryTouchNothing) {
    RecordingBoxes boxes;
    Libson library, before;
    FillRandomly(library, 2, {0.7, 10, 0.1, 0.1});
    CopyPages(library, before);
    EXPECT_THROW(library.Page(1000), std::out_of_range);
    EXPECT_THROW(library.Page(-1), std::out_of_range);
    VoicePage destination;
    Nomsyn::InitPage(destination);
    for (int page : {-1, 1000, 5000}) {
        library.ClearPage(page);
        library.ClearSelected(page);
        library.ClearSelection(page);
        library.InvertSelection(page);
        library.SelectByMarker(page, 1);
        library.SetMarker(page, 1);
        library.SortByName(page);
        library.SortByMarker(page);
        library.FindDoubles(page, {true, true, true});
        EXPECT_EQ(library.SearchByName(page, "", 0), 0);
        EXPECT_EQ(library.FillFromSelection(destination, page), 0);
        EXPECT_EQ(library.VoiceName(page, 0), "");
        EXPECT_FALSE(library.IsSelected(page, 0));
        EXPECT_TRUE(library.IsPageEmpty(page));
    }
    EXPECT_EQ(library.VoiceName(0, 32), "");
    EXPECT_EQ(library.MarkerNameText(32), "");
    library.SetMarkerName(-1, "X");
    library.SetMarkerName(32, "X");
    EXPECT_TRUE(SamePages(library, before));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(Libson, LibraryWideSelectionOperationsActOnEveryPageLikeThePageForms) {
    Libson original;
    FillRandomly(original, 3, {0.6, 20, 0.1, 0.1});
    struct Operation {
        const char* name;
        std::function<void(Libson&)> whole;
        std::function<void(Libson&, int)> page;
    };
    const Operation operations[] = {
        {"ClearSelected", [](Libson& l) { l.ClearSelected(); },
         [](Libson& l, int p) { l.ClearSelected(p); }},
        {"ClearSelection", [](Libson& l) { l.ClearSelection(); },
         [](Libson& l, int p) { l.ClearSelection(p); }},
        {"InvertSelection", [](Libson& l) { l.InvertSelection(); },
         [](Libson& l, int p) { l.InvertSelection(p); }},
        {"SelectByMarker", [](Libson& l) { l.SelectByMarker(7); },
         [](Libson& l, int p) { l.SelectByMarker(p, 7); }},
        {"SetMarker", [](Libson& l) { l.SetMarker(9); },
         [](Libson& l, int p) { l.SetMarker(p, 9); }},
        {"SearchByName", [](Libson& l) { l.SearchByName("a", 0); },
         [](Libson& l, int p) { l.SearchByName(p, "a", 0); }},
        {"ClearPage",
         [](Libson& l) {
             for (int p = 0; p < 1000; ++p) l.ClearPage(p);
         },
         [](Libson& l, int p) { Nomsyn::InitPage(l.Page(p)); }},
    };
    for (const Operation& operation : operations) {
        Libson whole, byPage;
        CopyPages(original, whole);
        CopyPages(original, byPage);
        operation.whole(whole);
        for (int p = 0; p < byPage.PageCount(); ++p) operation.page(byPage, p);
        EXPECT_TRUE(SamePages(whole, byPage)) << operation.name;
        EXPECT_FALSE(SamePages(whole, original)) << operation.name << " changed nothing";
    }
    Libson searched;
    CopyPages(original, searched);
    int expected = 0;
    for (int p = 0; p < original.PageCount(); ++p)
        expected += Nomsyn::SearchByName(original.Page(p), "A", 0);
    EXPECT_GT(expected, 0);
    EXPECT_EQ(searched.SearchByName("a", 0), expected);
}

TEST(Libson, CountsConsiderUsedSlotsOnlyAndMarkersUpTo31) {
    Libson library;
    library.Page(0)[0].status = kStatusUsed | kStatusSelected | (3 << kMarkerShift);
    library.Page(0)[1].status = kStatusUsed | (3 << kMarkerShift);
    library.Page(10)[5].status = kStatusUsed | kStatusSelected | (31 << kMarkerShift);
    library.Page(20)[6].status = kStatusUsed | (32 << kMarkerShift);  // from a foreign file
    library.Page(20)[7].status = kStatusUsed | kStatusSelected | (63 << kMarkerShift);
    library.Page(30)[0].status = kStatusSelected | (3 << kMarkerShift);  // free: never counted
    library.Page(999)[31].status = kStatusUsed;

    const Libson::SelectionCount count = library.CountSelection();
    EXPECT_EQ(count.used, 6);
    EXPECT_EQ(count.selected, 3);
    const std::array<int, kMarkerCount> markers = library.CountByMarker();
    std::array<int, kMarkerCount> expected{};
    expected[0] = 1;
    expected[3] = 2;
    expected[31] = 1;
    EXPECT_EQ(markers, expected);

    EXPECT_EQ(library.FirstSelectedPage(), 0);
    EXPECT_EQ(library.LastSelectedPage(), 20);
    library.ClearSelection();
    EXPECT_EQ(library.FirstSelectedPage(), -1);  // the free selected slot doesn't count
    EXPECT_EQ(library.LastSelectedPage(), -1);
    EXPECT_TRUE(library.Page(30)[0].IsSelected());
    EXPECT_FALSE(library.IsPageEmpty(999));
    EXPECT_TRUE(library.IsPageEmpty(30));
}

TEST(Libson, CopyIntoLibraryFillsFreeSlotsInLibraryOrderAndWarnsWhenFull) {
    RecordingBoxes boxes;
    Libson library;
    for (int p = 0; p < library.PageCount(); ++p)
        for (VoiceSlot& slot : library.Page(p)) slot.status = kStatusUsed;
    // Three free slots left: (3, 31), (500, 0) - which carries a marker - and (999, 2).
    library.Page(3)[31].status = 0;
    library.Page(500)[0].status = 5 << kMarkerShift;
    library.Page(999)[2].status = kStatusSelected;

    VoicePage source;
    Nomsyn::InitPage(source);
    source[1] = UsedSlot(11, kStatusUsed | kStatusSelected);
    source[4] = UsedSlot(44, kStatusUsed);
    source[6] = UsedSlot(66, kStatusUsed | kStatusSelected | (2 << kMarkerShift));
    source[9] = UsedSlot(99, kStatusUsed | kStatusSelected);

    EXPECT_EQ(library.CopyIntoLibrary(source, kStatusSelected), 3);
    EXPECT_EQ(std::memcmp(&library.Page(3)[31], &source[1], kSlotSize), 0);
    EXPECT_EQ(std::memcmp(&library.Page(500)[0], &source[6], kSlotSize), 0);
    EXPECT_EQ(std::memcmp(&library.Page(999)[2], &source[9], kSlotSize), 0);
    EXPECT_TRUE(boxes.Shown().empty());  // everything found room, though the library is full now

    EXPECT_EQ(library.CopyIntoLibrary(source, kStatusUsed), 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0],
              (RecordingBoxes::Box{BoxKind::Warning, "Copy Warning",
                                   "0 Sounds Copied. Destination Bank is Full !", false}));
    EXPECT_FALSE(library.CopyToFirstFree(source[4]));

    library.Page(700)[8].status = 0;
    boxes.Clear();
    EXPECT_EQ(library.CopyIntoLibrary(source, kStatusUsed), 1);
    EXPECT_EQ(library.Page(700)[8].voice[0], 11);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "1 Sounds Copied. Destination Bank is Full !");

    library.Page(2)[0].status = 0;
    EXPECT_TRUE(library.CopyToFirstFree(source[9]));
    EXPECT_EQ(std::memcmp(&library.Page(2)[0], &source[9], kSlotSize), 0);
}

TEST(Libson, CopyingALibraryPageIntoTheLibraryCopiesEachChosenVoiceOnce) {
    RecordingBoxes boxes;
    Libson library;
    library.Page(0)[0] = UsedSlot(1);
    library.Page(0)[2] = UsedSlot(2);
    EXPECT_EQ(library.CopyIntoLibrary(library.Page(0), kStatusUsed), 2);
    EXPECT_EQ(library.Page(0)[1].voice[0], 1);
    EXPECT_EQ(library.Page(0)[3].voice[0], 2);
    EXPECT_EQ(library.CountSelection().used, 4);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(Libson, FillFromSelectionTakesSelectedVoicesInLibraryOrder) {
    Libson library;
    const std::pair<int, int> selected[] = {{2, 30}, {2, 31}, {40, 0}, {41, 3}, {900, 9}};
    for (int k = 0; k < 5; ++k)
        library.Page(selected[k].first)[selected[k].second] =
            UsedSlot(Byte(k + 1), kStatusUsed | kStatusSelected | (4 << kMarkerShift));

    VoicePage bank;
    for (VoiceSlot& slot : bank) slot = UsedSlot(200);
    bank[5].status = 0;
    bank[6].status = 1 << kMarkerShift;  // free but marked: not filled
    bank[20].status = 0;

    EXPECT_EQ(library.FillFromSelection(bank), 2);
    EXPECT_EQ(bank[5].voice[0], 1);
    EXPECT_EQ(bank[5].status, kStatusUsed | kStatusSelected | (4 << kMarkerShift));
    EXPECT_EQ(bank[6].voice[0], 200);
    EXPECT_EQ(bank[20].voice[0], 2);
    EXPECT_FALSE(library.IsSelected(2, 30));
    EXPECT_FALSE(library.IsSelected(2, 31));
    EXPECT_EQ(library.CountSelection().selected, 3);

    // Within one library page: only that page's selected slots are taken.
    bank[5].status = 0;
    bank[20].status = 0;
    EXPECT_EQ(library.FillFromSelection(bank, 41), 1);
    EXPECT_EQ(bank[5].voice[0], 4);
    EXPECT_EQ(bank[20].status, 0);
    EXPECT_TRUE(library.IsSelected(40, 0));
}

TEST(Libson, FillingALibraryPageFromTheSelectionTakesEachSelectedVoiceOnce) {
    // A copy arrives selected; it must not be taken again for the next free slot, whether the
    // destination page comes before the selection, after it, or is the page searched.
    for (int destination : {0, 9, 5}) {
        Libson library;
        library.Page(5)[2] = UsedSlot(1, kStatusUsed | kStatusSelected);
        library.Page(5)[3] = UsedSlot(2, kStatusUsed | kStatusSelected);
        const int filled = destination == 5 ? library.FillFromSelection(library.Page(5), 5)
                                            : library.FillFromSelection(library.Page(destination));
        EXPECT_EQ(filled, 2) << destination;
        EXPECT_EQ(library.Page(destination)[0].voice[0], 1) << destination;
        EXPECT_EQ(library.Page(destination)[1].voice[0], 2) << destination;
        EXPECT_EQ(library.CountSelection().used, 4) << destination;
        EXPECT_EQ(library.CountSelection().selected, 2) << destination;  // the copies
    }
}

// The sorted library must hold the same slots and the same sequence of sort keys as the
// library sorted by the plain Shell sort (which leaves the order of equal keys open).
template <class Key>
void ExpectSortedLikeShellSort(const Libson& sorted, Libson& reference, Key key) {
    std::multiset<std::string> slotsSorted, slotsReference;
    for (int p = 0; p < sorted.PageCount(); ++p) {
        for (int s = 0; s < 32; ++s) {
            const VoiceSlot& a = sorted.Page(p)[s];
            const VoiceSlot& b = reference.Page(p)[s];
            ASSERT_EQ(key(a), key(b)) << "position " << p * 32 + s;
            slotsSorted.insert(std::string(reinterpret_cast<const char*>(&a), kSlotSize));
            slotsReference.insert(std::string(reinterpret_cast<const char*>(&b), kSlotSize));
        }
    }
    EXPECT_TRUE(slotsSorted == slotsReference);
}

TEST(Libson, LibraryWideSortsGiveTheShellSortOrder) {
    const testdata::LibraryShape shapes[] = {
        {0.6, 200, 0.2, 0.05}, {1.0, 30, 0.3, 0.0}, {0.01, 5, 0.0, 0.0}};
    unsigned seed = 10;
    for (const auto& shape : shapes) {
        Libson original;
        FillRandomly(original, seed++, shape);
        // Names that differ only in case or in their last byte.
        original.Page(7)[3].voice[kPackedNameOffset] = 'a';
        original.Page(8)[3].voice[kPackedNameOffset] = 'A';

        Libson byName, byNameReference;
        CopyPages(original, byName);
        CopyPages(original, byNameReference);
        byName.SortByName();
        literal::ShellSort(PagesOf(byNameReference), literal::NamesOutOfOrder);
        ExpectSortedLikeShellSort(byName, byNameReference, [](const VoiceSlot& slot) {
            return slot.IsUsed() ? "u" + VoiceNameOf(slot.voice) : std::string("free");
        });

        Libson byMarker, byMarkerReference;
        CopyPages(original, byMarker);
        CopyPages(original, byMarkerReference);
        byMarker.SortByMarker();
        literal::ShellSort(PagesOf(byMarkerReference), literal::MarkersOutOfOrder);
        ExpectSortedLikeShellSort(byMarker, byMarkerReference, [](const VoiceSlot& slot) {
            return slot.IsUsed() ? slot.Marker() : 99;
        });
    }
}

TEST(Libson, PageSortsLeaveTheOtherPagesAlone) {
    Libson library, before;
    FillRandomly(library, 5, {0.5, 40, 0.0, 0.0});
    CopyPages(library, before);
    library.SortByName(12);
    library.SortByMarker(13);
    for (int p = 0; p < library.PageCount(); ++p) {
        if (p == 12 || p == 13) continue;
        ASSERT_EQ(std::memcmp(&library.Page(p), &before.Page(p), kPageSize), 0) << p;
    }
    VoicePage expected = before.Page(12);
    Nomsyn::SortByName(expected, nullptr);
    EXPECT_EQ(std::memcmp(&library.Page(12), &expected, kPageSize), 0);
}

TEST(Libson, MarkerNamesKeepTenBytesAndEndShorterNamesWithZero) {
    Libson library;
    library.SetMarkerName(0, "Strings");
    library.SetMarkerName(1, "Percussion!");  // 11 characters
    EXPECT_EQ(library.MarkerNameText(0), "Strings");
    EXPECT_EQ(library.MarkerNameText(1), "Percussion");
    const MarkerName& strings = *library.MarkerNames()[0];
    EXPECT_EQ(strings[7], 0);
    EXPECT_EQ(strings[9], 0);
    (*library.MarkerNames()[31])[0] = 'Z';
    EXPECT_EQ(library.MarkerNameText(31), "Zmpty");
}

TEST(Libson, RunningOutOfMemoryShowsTheFatalBoxAndEndsThroughFatalError) {
    // Fail the first allocation, one in the middle of the pages, the first marker name, the
    // last marker name and the sorter's and doubles finder's working memory.
    for (int failing : {0, 1, 517, 999, 1000, 1031, 1032, 1033}) {
        for (auto answer : {platform::BoxAnswer::Ok, platform::BoxAnswer::Cancel}) {
            RecordingBoxes boxes;
            boxes.SetAnswer(answer);
            int allocations = 0;
            auto probe = [&](std::size_t) { return allocations++ == failing; };
            EXPECT_THROW(Libson library(probe), FatalError) << failing;
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0], (RecordingBoxes::Box{BoxKind::Error, "Fatal Error",
                                                             "Alloc Lib Memory", true}));
            EXPECT_EQ(allocations, failing + 1) << "allocation stops at the first failure";
        }
    }
    int allocations = 0;
    Libson library([&](std::size_t) { return ++allocations > 2000; });
    EXPECT_EQ(allocations, 1034);
}

}  // namespace
}  // namespace core
