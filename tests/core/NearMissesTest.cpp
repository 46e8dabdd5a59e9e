// Ties and near-misses that random pages almost never produce: names that differ only in their
// last byte, equal names on different voices, one-byte differences in the parameters, and every
// byte value in the name search.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Bankson.h"
#include "core/LibraryDoubles.h"
#include "core/Libson.h"
#include "tests/core/LibraryTestData.h"
#include "tests/core/PageTestData.h"

namespace core {
namespace {

using test::EmptyPage;
using test::NameOf;
using test::UsedSlot;

// Each voice carries its own tag in every parameter byte, so a slot taken apart shows.
struct Named {
    const char* name;
    Byte tag;
};

// The sorts over a bank (functions travel), a library page and the whole library. Each puts
// `voices` into slots 3, 2, 1, ... and returns the sorted used slots with their function tag
// (the bank's record byte 0, else the voice's tag).
using SortRun = std::function<std::vector<std::pair<VoiceSlot, Byte>>(const std::vector<Named>&)>;

std::vector<std::pair<VoiceSlot, Byte>> UsedOf(const VoicePage& page, const FunctionBank* f) {
    std::vector<std::pair<VoiceSlot, Byte>> used;
    for (std::size_t s = 0; s < kSlotsPerPage; ++s)
        if (page[s].IsUsed()) used.push_back({page[s], f ? (*f)[s][0] : page[s].voice[0]});
    return used;
}

TEST(NearMisses, SortsOrderOnTheTenthNameByteAndKeepEachVoiceWhole) {
    const std::vector<std::pair<const char*, SortRun>> sorts = {
        {"bank with functions",
         [](const std::vector<Named>& voices) {
             Bankson bank;
             for (std::size_t i = 0; i < voices.size(); ++i) {
                 const std::size_t s = 3 - i;
                 bank.Page()[s] = UsedSlot(voices[i].name, voices[i].tag);
                 bank.Functions()[s].fill(voices[i].tag);
             }
             bank.SortByName(true);
             return UsedOf(bank.Page(), &bank.Functions());
         }},
        {"library page",
         [](const std::vector<Named>& voices) {
             Libson library;
             for (std::size_t i = 0; i < voices.size(); ++i)
                 library.Page(7)[3 - i] = UsedSlot(voices[i].name, voices[i].tag);
             library.SortByName(7);
             return UsedOf(library.Page(7), nullptr);
         }},
        {"whole library",
         [](const std::vector<Named>& voices) {
             Libson library;  // the voices spread over pages far apart
             for (std::size_t i = 0; i < voices.size(); ++i)
                 library.Page(900 - 300 * int(i))[5] = UsedSlot(voices[i].name, voices[i].tag);
             library.SortByName();
             return UsedOf(library.Page(0), nullptr);
         }},
    };
    struct Case {
        std::vector<Named> voices;     // placed in reverse slot order
        std::vector<Named> expected;  // sorted
        bool tie = false;             // equal names may come either way round
    };
    const Case cases[] = {
        {{{"ABCDEFGHIa", 1}, {"ABCDEFGHIb", 2}}, {{"ABCDEFGHIa", 1}, {"ABCDEFGHIb", 2}}},
        {{{"ABCDEFGHIb", 3}, {"ABCDEFGHIa", 4}}, {{"ABCDEFGHIa", 4}, {"ABCDEFGHIb", 3}}},
        {{{"ABCDEFGHI\x7f", 5}, {"ABCDEFGHI ", 6}}, {{"ABCDEFGHI ", 6}, {"ABCDEFGHI\x7f", 5}}},
        {{{"SAME", 7}, {"SAME", 8}, {"AAA", 9}}, {{"AAA", 9}, {"SAME", 7}, {"SAME", 8}}, true},
    };
    for (const auto& [what, sort] : sorts) {
        for (const Case& c : cases) {
            const auto sorted = sort(c.voices);
            ASSERT_EQ(sorted.size(), c.expected.size()) << what;
            std::vector<Byte> tags;
            for (std::size_t k = 0; k < sorted.size(); ++k) {
                const auto& [slot, functionTag] = sorted[k];
                EXPECT_EQ(NameOf(slot), NameOf(UsedSlot(c.expected[k].name))) << what << " " << k;
                const VoiceSlot whole = UsedSlot(c.expected[k].name, slot.voice[0]);
                EXPECT_EQ(std::memcmp(&slot, &whole, sizeof slot), 0) << what << " slot taken apart";
                EXPECT_EQ(functionTag, slot.voice[0]) << what << " function left behind";
                tags.push_back(slot.voice[0]);
            }
            std::vector<Byte> expectedTags;
            for (const Named& n : c.expected) expectedTags.push_back(n.tag);
            EXPECT_TRUE(std::is_permutation(tags.begin(), tags.end(), expectedTags.begin()))
                << what;
            if (!c.tie) {
                EXPECT_EQ(tags, expectedTags) << what;
            }
        }
    }
}

// A hash under which every voice collides, so only the byte compare tells voices apart.
std::uint32_t Collide(const Byte*) { return 3u; }

TEST(NearMisses, DoublesDifferInOneParameterByteAnywhereButNotInTheName) {
    for (std::size_t position = 0; position < kSlotSize - 1; ++position) {
        const VoiceSlot a = UsedSlot("ONE", 40);
        VoiceSlot b = a;
        b.voice[position] = Byte(b.voice[position] ^ 0x01);
        const bool doubles = position >= kVoiceParameterBytes;
        const std::string what = "byte " + std::to_string(position);

        VoicePage page = EmptyPage();
        page[4] = a;
        page[20] = b;
        Nomsyn::FindDoubles(page, nullptr, {true, true, false});
        EXPECT_EQ(page[4].IsSelected(), doubles) << "page, " << what;
        EXPECT_EQ(page[20].IsSelected(), doubles) << "page, " << what;

        // Across pages and within one page, with every voice on one hash.
        for (int laterPage : {0, 1}) {
            testdata::PageSet pages(2);
            (*pages.pointers[0])[9] = a;
            (*pages.pointers[laterPage])[15] = b;
            LibraryDoublesFinder finder(2, Collide);
            finder.Run(pages.pointers, {true, true, false}, {});
            EXPECT_EQ((*pages.pointers[0])[9].IsSelected(), doubles) << "library, " << what;
            EXPECT_EQ((*pages.pointers[laterPage])[15].IsSelected(), doubles)
                << "library, " << what;
        }
    }
}

// Case pairs: ASCII letters and the Latin-1 letters (not the multiplication and division signs).
int Folded(int byte) {
    const bool upper = (byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7);
    return upper ? byte + 0x20 : byte;
}

TEST(NearMisses, NameSearchFoldsLettersOnlyOverEveryByteValue) {
    VoicePage page = EmptyPage();
    for (int nameByte = 0; nameByte < 256; ++nameByte) {
        page[0] = UsedSlot("xy", 1);
        // Zeros after the byte: no other place in the name can match the text.
        std::memset(page[0].voice.data() + kPackedNameOffset + 2, 0, kNameSize - 2);
        page[0].voice[kPackedNameOffset + 2] = Byte(nameByte);
        for (int textByte = 1; textByte < 256; ++textByte) {
            const std::string text{char('Y'), char(textByte)};
            const bool expected = Folded(nameByte) == Folded(textByte);
            EXPECT_EQ(Nomsyn::NameMatches(page[0], text, 2), expected)
                << "name byte " << nameByte << ", text byte " << textByte;
            EXPECT_EQ(Nomsyn::NameMatches(page[0], text, 0), expected)
                << "anywhere, name byte " << nameByte << ", text byte " << textByte;
        }
    }
}

}  // namespace
}  // namespace core
