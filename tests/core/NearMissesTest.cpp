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

// Named voices, each with its tag in every parameter byte (so a slot taken apart shows), put
// into slots 3, 2, 1 ... of a bank (functions travel), of a library page, or onto pages far apart
// of the whole library. A sort returns the used slots in order, each with the tag of its
// function record (the voice's own where there are none).
using Voices = std::vector<std::pair<std::string, Byte>>;
using Sorted = std::vector<std::pair<VoiceSlot, Byte>>;

Sorted UsedOf(const VoicePage& page, const FunctionBank* f) {
    Sorted used;
    for (std::size_t s = 0; s < kSlotsPerPage; ++s)
        if (page[s].IsUsed()) used.push_back({page[s], f ? (*f)[s][0] : page[s].voice[0]});
    return used;
}

TEST(NearMisses, SortsOrderOnTheTenthNameByteAndKeepEachVoiceWhole) {
    const std::pair<const char*, std::function<Sorted(const Voices&)>> sorts[] = {
        {"bank with functions",
         [](const Voices& voices) {
             Bankson bank;
             for (std::size_t i = 0; i < voices.size(); ++i) {
                 bank.Page()[3 - i] = UsedSlot(voices[i].first, voices[i].second);
                 bank.Functions()[3 - i].fill(voices[i].second);
             }
             bank.SortByName(true);
             return UsedOf(bank.Page(), &bank.Functions());
         }},
        {"library page",
         [](const Voices& voices) {
             Libson library;
             for (std::size_t i = 0; i < voices.size(); ++i)
                 library.Page(7)[3 - i] = UsedSlot(voices[i].first, voices[i].second);
             library.SortByName(7);
             return UsedOf(library.Page(7), nullptr);
         }},
        {"whole library",
         [](const Voices& voices) {
             Libson library;
             for (std::size_t i = 0; i < voices.size(); ++i)
                 library.Page(900 - 300 * int(i))[5] = UsedSlot(voices[i].first, voices[i].second);
             library.SortByName();
             return UsedOf(library.Page(0), nullptr);
         }},
    };
    const Voices cases[] = {
        {{"ABCDEFGHIa", 1}, {"ABCDEFGHIb", 2}},
        {{"ABCDEFGHIb", 3}, {"ABCDEFGHIa", 4}},
        {{"ABCDEFGHI\x7f", 5}, {"ABCDEFGHI ", 6}},
        {{"SAME", 7}, {"SAME", 8}, {"AAA", 9}},  // equal names, different voices
    };
    for (const auto& [what, sort] : sorts) {
        for (const Voices& voices : cases) {
            const Sorted sorted = sort(voices);
            ASSERT_EQ(sorted.size(), voices.size()) << what;
            std::vector<Byte> tags, placed;
            for (std::size_t k = 0; k < sorted.size(); ++k) {
                const auto& [slot, functionTag] = sorted[k];
                const Byte tag = slot.voice[0];
                const auto from = std::find_if(voices.begin(), voices.end(),
                                               [&](const auto& v) { return v.second == tag; });
                ASSERT_NE(from, voices.end()) << what;
                const VoiceSlot whole = UsedSlot(from->first, tag);
                EXPECT_EQ(std::memcmp(&slot, &whole, sizeof slot), 0) << what << ": taken apart";
                EXPECT_EQ(functionTag, tag) << what << ": function record left behind";
                if (k > 0) {
                    EXPECT_LE(NameOf(sorted[k - 1].first), NameOf(slot)) << what;
                }
                tags.push_back(tag);
                placed.push_back(voices[k].second);
            }
            EXPECT_TRUE(std::is_permutation(tags.begin(), tags.end(), placed.begin())) << what;
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
