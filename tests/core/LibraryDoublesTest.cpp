#include "core/LibraryDoubles.h"

#include <gtest/gtest.h>

#include <string>

#include "core/Libson.h"
#include "tests/core/LibraryTestData.h"
#include "tests/core/LiteralLibraryAlgorithms.h"

namespace core {
namespace {

using testdata::LibraryShape;
using testdata::PageSet;

std::string Describe(DoublesOptions o) {
    return std::string("first=") + (o.first ? "1" : "0") + " second=" + (o.second ? "1" : "0") +
           " erase=" + (o.erase ? "1" : "0");
}

std::vector<DoublesOptions> AllOptionCombinations() {
    std::vector<DoublesOptions> all;
    for (int bits = 0; bits < 8; ++bits)
        all.push_back({bool(bits & 1), bool(bits & 2), bool(bits & 4)});
    return all;
}

// Runs the fast search and the pairwise one on copies of the same pages; the bytes must agree.
void ExpectSameAsPairwise(
    const PageSet& original, DoublesOptions options, const std::string& what,
    LibraryDoublesFinder::ParameterHash hash = LibraryDoublesFinder::HashParameters) {
    PageSet fast(original), pairwise(original);
    LibraryDoublesFinder finder(original.owned.size(), hash);
    finder.Run(fast.pointers, options, {});
    literal::FindDoubles(pairwise.pointers, options);
    ASSERT_TRUE(fast.SameBytes(pairwise)) << what << " " << Describe(options);
}

TEST(LibraryDoubles, MatchesThePairwiseSearchOnRandomLibraries) {
    const LibraryShape shapes[] = {
        {1.0, 40, 0.1, 0.02},  // full, many repeats across pages
        {1.0, 600, 0.0, 0.0},  // full, mostly pairs and singles
        {1.0, 3, 0.5, 0.05},   // full, huge groups, repeats within pages
        {0.5, 30, 0.3, 0.05},  // half full
        {0.05, 5, 0.5, 0.2},   // nearly empty
        {0.002, 2, 0.0, 0.5},  // one or two voices
        {0.0, 1, 0.0, 0.0},    // empty
    };
    std::mt19937 random(20261208);
    for (int round = 0; round < 6; ++round) {
        for (std::size_t k = 0; k < std::size(shapes); ++k) {
            PageSet pages(1 + random() % 48);
            testdata::FillPages(random, pages.pointers, shapes[k]);
            for (DoublesOptions options : AllOptionCombinations())
                ExpectSameAsPairwise(
                    pages, options,
                    "round " + std::to_string(round) + " shape " + std::to_string(k));
        }
    }
}

TEST(LibraryDoubles, VoicesWithEqualHashesAreStillToldApart) {
    const LibraryDoublesFinder::ParameterHash poorHashes[] = {
        [](const Byte*) { return 7u; },
        [](const Byte* parameters) { return std::uint32_t(parameters[0] & 1); },
    };
    std::mt19937 random(99);
    for (auto hash : poorHashes) {
        for (int round = 0; round < 4; ++round) {
            PageSet pages(1 + random() % 12);
            testdata::FillPages(random, pages.pointers, {0.8, 20, 0.2, 0.1});
            for (DoublesOptions options : AllOptionCombinations())
                ExpectSameAsPairwise(pages, options, "round " + std::to_string(round), hash);
        }
    }
}

TEST(LibraryDoubles, EraseWithBothTakesTheFirstPartnerOnALaterPageBeforeOneOnItsOwnPage) {
    PageSet pages(6);
    for (VoicePage* page : pages.pointers) Nomsyn::InitPage(*page);
    PackedVoice voice{};
    voice[3] = 42;
    for (auto [page, slot] : {std::pair{0, 1}, {0, 2}, {5, 0}}) {
        (*pages.pointers[page])[slot].voice = voice;
        (*pages.pointers[page])[slot].status = kStatusUsed;
    }
    LibraryDoublesFinder finder(6);
    finder.Run(pages.pointers, {true, true, true}, {});
    // (0,1) meets (5,0) first, so both go; (0,2) has no partner left.
    EXPECT_FALSE((*pages.pointers[0])[1].IsUsed());
    EXPECT_TRUE((*pages.pointers[0])[2].IsUsed());
    EXPECT_FALSE((*pages.pointers[5])[0].IsUsed());
}

TEST(LibraryDoubles, ThreeCopiesAcrossPagesFollowTheFirstAndSecondRules) {
    // Copies at library positions 2, 37 and 1000 (pages 0, 1 and 31).
    const std::pair<int, int> at[] = {{0, 2}, {1, 5}, {31, 8}};
    struct Case {
        DoublesOptions options;
        bool used[3];
        bool selected[3];
    };
    const Case cases[] = {
        {{true, false, false}, {true, true, true}, {true, true, false}},
        {{false, true, false}, {true, true, true}, {false, true, true}},
        {{true, true, false}, {true, true, true}, {true, true, true}},
        {{true, false, true}, {false, false, true}, {false, false, false}},
        {{false, true, true}, {true, false, false}, {false, false, false}},
        {{false, false, true}, {true, true, true}, {false, false, false}},
    };
    for (const Case& c : cases) {
        Libson library;
        PackedVoice voice{};
        voice[100] = 7;
        for (int k = 0; k < 3; ++k) {
            library.Page(at[k].first)[at[k].second].voice = voice;
            library.Page(at[k].first)[at[k].second].status = kStatusUsed | kStatusSelected;
        }
        library.FindDoubles(c.options);
        for (int k = 0; k < 3; ++k) {
            const VoiceSlot& slot = library.Page(at[k].first)[at[k].second];
            EXPECT_EQ(slot.IsUsed(), c.used[k]) << Describe(c.options) << " copy " << k;
            EXPECT_EQ(slot.IsSelected(), c.selected[k]) << Describe(c.options) << " copy " << k;
        }
    }
}

TEST(LibraryDoubles, WholeLibrarySearchMatchesPairwiseAndReportsEveryPage) {
    std::mt19937 random(7);
    Libson original;
    testdata::FillPages(random, testdata::PagesOf(original), {0.05, 100, 0.2, 0.03});

    for (DoublesOptions options : AllOptionCombinations()) {
        Libson fast, pairwise;
        testdata::CopyPages(original, fast);
        testdata::CopyPages(original, pairwise);
        std::vector<std::pair<int, int>> reports;
        fast.FindDoubles(options, [&](int done, int total) { reports.emplace_back(done, total); });
        literal::FindDoubles(testdata::PagesOf(pairwise), options);
        for (int p = 0; p < original.PageCount(); ++p)
            ASSERT_EQ(std::memcmp(&fast.Page(p), &pairwise.Page(p), kPageSize), 0)
                << "page " << p << " " << Describe(options);
        ASSERT_EQ(reports.size(), 1000u);
        for (int i = 0; i < 1000; ++i) EXPECT_EQ(reports[i], std::pair(i + 1, 1000));
    }
}

TEST(LibraryDoubles, PageFormComparesOnlyWithinThePage) {
    Libson library;
    PackedVoice voice{};
    voice[0] = 99;
    for (auto [page, slot] : {std::pair{3, 0}, {3, 4}, {4, 0}}) {
        library.Page(page)[slot].voice = voice;
        library.Page(page)[slot].status = kStatusUsed;
    }
    library.Page(4)[1] = library.Page(4)[0];
    library.Page(4)[1].status = kStatusUsed | kStatusSelected;
    library.FindDoubles(3, {false, true, false});
    EXPECT_FALSE(library.IsSelected(3, 0));
    EXPECT_TRUE(library.IsSelected(3, 4));
    EXPECT_FALSE(library.IsSelected(4, 0));
    EXPECT_TRUE(library.IsSelected(4, 1));  // outside the page searched: untouched
}

}  // namespace
}  // namespace core
