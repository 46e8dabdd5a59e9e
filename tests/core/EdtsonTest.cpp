#include "core/Edtson.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

namespace core {
namespace {

// A packed voice with every whole-byte parameter distinct and the given name.
PackedVoice MakeVoice(Byte seed, const char* name) {
    PackedVoice voice{};
    for (std::size_t i = 0; i < kPackedNameOffset; ++i) voice[i] = Byte((seed + i) % 100);
    // Shared bytes must hold in-range fields to survive unpacking and packing.
    for (std::size_t k = 0; k < 6; ++k) {
        voice[17 * k + 11] = 0x0F & seed;
        voice[17 * k + 12] = Byte(((seed % 15) << 3) | 5);
        voice[17 * k + 13] = 0x1F & seed;
        voice[17 * k + 15] = Byte(((seed % 32) << 1) | 1);
    }
    voice[110] = seed % 32;
    voice[111] = 0x0F & seed;
    voice[116] = Byte(((seed % 8) << 4) | 0x0B);
    for (std::size_t i = 0; i < kNameSize; ++i) voice[kPackedNameOffset + i] = Byte(name[i]);
    return voice;
}

PackedFunction MakeFunction(Byte seed) {
    PackedFunction function{};
    InitFunction(function);
    function[2] = seed;       // portamento time, half 0
    function[14] = seed % 8;  // attenuation
    function[40] = 'X';       // inside the text
    return function;
}

bool IsEmptyImage(const EditImage& image) {
    EditImage empty;
    InitEditImage(empty);
    return image == empty;
}

TEST(Edtson, StartsAndResetsWithTwoEmptyImagesAndKeepsTheNoteLimits) {
    Edtson buffer;
    EXPECT_TRUE(IsEmptyImage(buffer.Image(Edtson::Working)));
    EXPECT_TRUE(IsEmptyImage(buffer.Image(Edtson::Compare)));
    EXPECT_EQ(buffer.Image(Edtson::Working)[181], 7);
    EXPECT_EQ(VoiceNameOf(buffer.Image(Edtson::Working)), "----------");

    buffer.SetHighNoteLimit(100);
    buffer.SetLowNoteLimit(20);
    buffer.TakeVoice(MakeVoice(3, "ABCDEFGHIJ"), nullptr, false, true);
    buffer.Image(Edtson::Compare)[5] = 42;
    buffer.ResetImages();
    EXPECT_TRUE(IsEmptyImage(buffer.Image(Edtson::Working)));
    EXPECT_TRUE(IsEmptyImage(buffer.Image(Edtson::Compare)));
    EXPECT_EQ(buffer.HighNoteLimit(), 100);
    EXPECT_EQ(buffer.LowNoteLimit(), 20);
}

TEST(Edtson, WithoutLinkTheCompareImageKeepsThePreviousEditAndRecallBringsItBack) {
    Edtson buffer;
    const PackedVoice a = MakeVoice(1, "VOICE A   ");
    const PackedVoice b = MakeVoice(2, "VOICE B   ");
    EXPECT_EQ(buffer.TakeVoice(a, nullptr, false, false), "VOICE A   ");
    buffer.Image(Edtson::Working)[0] = 77;  // an edit of A
    const EditImage editedA = buffer.Image(Edtson::Working);
    EXPECT_EQ(buffer.TakeVoice(b, nullptr, false, false), "VOICE B   ");

    EditImage expectedB = editedA;
    UnpackVoice(b, std::span<Byte, kUnpackedVoiceSize>(expectedB.data(), kUnpackedVoiceSize));
    EXPECT_EQ(buffer.Image(Edtson::Working), expectedB);
    EXPECT_EQ(buffer.Image(Edtson::Compare), editedA);

    buffer.RecallImage();
    EXPECT_EQ(buffer.Image(Edtson::Working), editedA);
}

TEST(Edtson, WithLinkBothImagesHoldTheVoiceSoRecallUndoesEveryEdit) {
    Edtson buffer;
    buffer.TakeVoice(MakeVoice(9, "LINKED    "), nullptr, false, true);
    const EditImage taken = buffer.Image(Edtson::Working);
    EXPECT_EQ(buffer.Image(Edtson::Compare), taken);
    buffer.Image(Edtson::Working)[10] = 1;
    buffer.Image(Edtson::Working)[200] = 1;
    buffer.RecallImage();
    EXPECT_EQ(buffer.Image(Edtson::Working), taken);
}

TEST(Edtson, FunctionRecordTravelsOnlyWithFunctions) {
    Edtson buffer;
    const PackedFunction first = MakeFunction(33);
    buffer.TakeVoice(MakeVoice(1, "FIRST     "), &first, true, true);
    UnpackedFunction expected{};
    const EditImage& working = buffer.Image(Edtson::Working);
    std::copy(working.begin() + kUnpackedVoiceSize, working.end(), expected.begin());
    EXPECT_EQ(expected[5], 33);
    EXPECT_EQ(expected[26], 33 % 8);
    EXPECT_EQ(expected[64 + 6], 'X');
    // Linked: the compare image got the same function block.
    EXPECT_TRUE(std::equal(working.begin() + kUnpackedVoiceSize, working.end(),
                           buffer.Image(Edtson::Compare).begin() + kUnpackedVoiceSize));

    // Without functions (even when a record is passed) the function block stays.
    const PackedFunction second = MakeFunction(50);
    buffer.TakeVoice(MakeVoice(2, "SECOND    "), &second, false, true);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(),
                           buffer.Image(Edtson::Working).begin() + kUnpackedVoiceSize));
    EXPECT_EQ(VoiceNameOf(buffer.Image(Edtson::Working)), "SECOND    ");
    // With functions but no record given: nothing to unpack, the block stays too.
    buffer.TakeVoice(MakeVoice(3, "THIRD     "), nullptr, true, false);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(),
                           buffer.Image(Edtson::Working).begin() + kUnpackedVoiceSize));
}

TEST(Edtson, StoringMakesTheSlotUsedUnselectedUnmarkedWithThePackedVoice) {
    Edtson buffer;
    const PackedVoice voice = MakeVoice(17, "STORED    ");
    buffer.TakeVoice(voice, nullptr, false, false);
    VoicePage page{};
    for (auto& slot : page) InitSlot(slot);
    page[4].status = Byte((5 << kMarkerShift) | kStatusSelected | kStatusUsed);
    buffer.StoreVoice(page, 4, false);
    EXPECT_EQ(page[4].voice, voice);
    EXPECT_EQ(page[4].status, kStatusUsed);
    EXPECT_EQ(page[3].status, 0);
    EXPECT_EQ(page[5].status, 0);

    VoiceSlot scratch{};
    scratch.status = 0xFF;
    buffer.StoreVoice(scratch);
    EXPECT_EQ(scratch.voice, voice);
    EXPECT_EQ(scratch.status, kStatusUsed);

    // Slot numbers outside the page touch nothing.
    const VoicePage before = page;
    buffer.StoreVoice(page, 32, false);
    buffer.StoreVoice(page, -1, false);
    EXPECT_EQ(std::memcmp(&before, &page, sizeof page), 0);
}

TEST(Edtson, StoringWithFunctionsPacksIntoTheBankRecordAndKeepsTheOtherBytes) {
    Edtson buffer;
    const PackedFunction function = MakeFunction(60);
    buffer.TakeVoice(MakeVoice(4, "FUNC      "), &function, true, false);
    VoicePage page{};
    FunctionBank functions{};
    for (auto& record : functions) std::iota(record.begin(), record.end(), Byte(0x10));
    const FunctionBank before = functions;

    buffer.StoreVoice(page, 7, true, &functions);
    PackedFunction expected = before[7];
    PackFunction(
        std::span<const Byte, kUnpackedFunctionSize>(
            buffer.Image(Edtson::Working).data() + kUnpackedVoiceSize, kUnpackedFunctionSize),
        expected);
    EXPECT_EQ(functions[7], expected);
    EXPECT_EQ(functions[7][2], 60);
    EXPECT_EQ(functions[7][8], before[7][8]);    // not a packed field
    EXPECT_EQ(functions[7][32], before[7][32]);  // the flag is never written back
    for (std::size_t n = 0; n < functions.size(); ++n) {
        if (n == 7) continue;
        EXPECT_EQ(functions[n], before[n]) << n;
    }

    // Without functions, or with no function bank behind the page, the records stay.
    FunctionBank untouched = before;
    buffer.StoreVoice(page, 8, false, &untouched);
    EXPECT_EQ(untouched, before);
    buffer.StoreVoice(page, 9, true, nullptr);
    EXPECT_EQ(page[9].status, kStatusUsed);
}

}  // namespace
}  // namespace core
