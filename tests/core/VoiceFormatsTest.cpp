#include "core/VoiceFormats.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "VoiceRanges.h"

namespace core {
namespace {

using test::kCommonMax;
using test::kOperatorMax;

UnpackedVoice VoiceWith(auto valueFor) {
    UnpackedVoice voice{};
    for (int k = 0; k < 6; ++k)
        for (int b = 0; b < 21; ++b) voice[21 * k + b] = valueFor(kOperatorMax[b]);
    for (int b = 0; b < 19; ++b) voice[126 + b] = valueFor(kCommonMax[b]);
    for (int b = 0; b < 10; ++b) voice[145 + b] = Byte("Brass 1  \x7F"[b]);
    return voice;
}

TEST(VoiceConversion, InRangeValuesSurvivePackingAndUnpacking) {
    std::mt19937 random(7);
    const UnpackedVoice limits = VoiceWith([](Byte max) { return max; });
    const UnpackedVoice zeros = VoiceWith([](Byte) { return Byte(0); });
    const UnpackedVoice randomVoice =
        VoiceWith([&](Byte max) { return Byte(std::uniform_int_distribution<int>(0, max)(random)); });
    for (const UnpackedVoice& original : {limits, zeros, randomVoice}) {
        PackedVoice packed;
        UnpackedVoice back;
        back.fill(0xEE);
        PackVoice(original, packed);
        UnpackVoice(packed, back);
        EXPECT_EQ(back, original);
    }
}

TEST(VoiceConversion, SharedBytesHoldTheirFieldsAtTheDocumentedBits) {
    UnpackedVoice u{};
    // Operator block 1 (the second block) so the block offsets are exercised too.
    Byte* op = u.data() + 21;
    op[11] = 2;  // left curve
    op[12] = 1;  // right curve
    op[13] = 5;  // rate scaling
    op[20] = 9;  // detune
    op[14] = 3;  // amplitude modulation sensitivity
    op[15] = 6;  // velocity sensitivity
    op[17] = 1;  // fixed frequency
    op[18] = 17; // coarse
    u[134] = 21; // algorithm
    u[135] = 5;  // feedback
    u[136] = 1;  // oscillator key sync
    u[141] = 1;  // LFO key sync
    u[142] = 4;  // LFO wave
    u[143] = 3;  // pitch modulation sensitivity
    u[144] = 24; // transpose
    PackedVoice p;
    PackVoice(u, p);
    EXPECT_EQ(p[17 + 11], (1 << 2) | 2);
    EXPECT_EQ(p[17 + 12], (9 << 3) | 5);
    EXPECT_EQ(p[17 + 13], (6 << 2) | 3);
    EXPECT_EQ(p[17 + 15], (17 << 1) | 1);
    EXPECT_EQ(p[110], 21);
    EXPECT_EQ(p[111], (1 << 3) | 5);
    EXPECT_EQ(p[116], (3 << 4) | (4 << 1) | 1);
    EXPECT_EQ(p[117], 24);
}

TEST(VoiceConversion, WholeByteParametersSitAtTheirDocumentedOffsets) {
    // Every packed byte holds its own offset, so a parameter taken from the wrong byte shows
    // (packing and unpacking the same wrong way would still round-trip).
    PackedVoice p;
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = Byte(i);
    UnpackedVoice u;
    UnpackVoice(p, u);
    for (int k = 0; k < 6; ++k) {
        for (int b = 0; b <= 10; ++b) EXPECT_EQ(u[21 * k + b], 17 * k + b) << k << " " << b;
        EXPECT_EQ(u[21 * k + 16], 17 * k + 14) << k;  // output level
        EXPECT_EQ(u[21 * k + 19], 17 * k + 16) << k;  // frequency fine
    }
    for (int i = 0; i < 8; ++i) EXPECT_EQ(u[126 + i], 102 + i);  // pitch envelope
    for (int i = 0; i < 4; ++i) EXPECT_EQ(u[137 + i], 112 + i);  // LFO speed ... AM depth
    for (int i = 0; i < 11; ++i) EXPECT_EQ(u[144 + i], 117 + i);  // transpose and name

    PackedFunction f;
    for (std::size_t i = 0; i < f.size(); ++i) f[i] = Byte(i);
    UnpackedFunction uf{};
    UnpackFunction(f, uf);
    for (int h = 0; h < 2; ++h) {
        EXPECT_EQ(uf[30 * h + 5], 16 * h + 2) << h;  // portamento time
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(uf[30 * h + 9 + 2 * j], (16 * h + 4 + j) & 15) << h << " " << j;
            EXPECT_EQ(uf[30 * h + 10 + 2 * j], (16 * h + 4 + j) >> 4) << h << " " << j;
        }
    }
    for (int i = 0; i < 30; ++i) EXPECT_EQ(uf[64 + i], 34 + i);  // the text
}

TEST(VoiceConversion, UnpackingMasksFieldsAndKeepsTheWaveBeyondFive) {
    PackedVoice p{};
    p[116] = 0x7F;
    p[110] = 0xFF;
    p[111] = 0x7F;
    UnpackedVoice u;
    UnpackVoice(p, u);
    EXPECT_EQ(u[141], 1);
    EXPECT_EQ(u[142], 7);
    EXPECT_EQ(u[143], 7);
    EXPECT_EQ(u[134], 31);
    EXPECT_EQ(u[135], 7);
    EXPECT_EQ(u[136], 1);
}

TEST(VoiceConversion, PackingMasksOnlyTheLowField) {
    UnpackedVoice u{};
    u[11] = 0xFF;  // low field of byte 11: masked to 2 bits
    u[12] = 0x05;  // high field: shifted unmasked
    PackedVoice p;
    PackVoice(u, p);
    EXPECT_EQ(p[11], Byte((5 << 2) + 3));
}

TEST(FunctionConversion, PitchBendStepTakesItsHighBitFromByte15) {
    PackedFunction p{};
    p[1] = 0x50;
    p[15] = 0x40;
    UnpackedFunction u{};
    UnpackFunction(p, u);
    EXPECT_EQ(u[4], 13);
    EXPECT_EQ(u[3], 0);
    PackedFunction again{};
    PackFunction(u, again);
    EXPECT_EQ(again[1], 0x50);
    EXPECT_EQ(again[15], 0x40);
}

TEST(FunctionConversion, EveryFieldOfBothHalvesRoundTrips) {
    UnpackedFunction u{};
    for (int h = 0; h < 2; ++h) {
        Byte* half = u.data() + 30 * h;
        half[2] = 1;
        half[3] = Byte(12 - h);
        half[4] = Byte(11 + h);
        half[5] = Byte(99 - h);
        half[6] = 1;
        half[7] = Byte(h);
        for (int j = 0; j < 4; ++j) {
            half[9 + 2 * j] = Byte(15 - j - h);
            half[10 + 2 * j] = Byte(j + 3 * h) & 7;
        }
        half[26] = Byte(6 + h);
    }
    for (int i = 64; i < 94; ++i) u[i] = Byte('A' + i - 64);
    PackedFunction p{};
    p[32] = 0x04;  // the one-bit flag: read into byte 61
    PackFunction(u, p);
    UnpackedFunction back{};
    UnpackFunction(p, back);
    back[61] = u[61];  // compared separately below
    EXPECT_EQ(back, u);
    UnpackedFunction flag{};
    UnpackFunction(p, flag);
    EXPECT_EQ(flag[61], 1);
    EXPECT_EQ(p[0], 64);
    EXPECT_EQ(p[14], 6);
    EXPECT_EQ(p[16 + 14], 7);
}

TEST(FunctionConversion, BytesOutsideTheFieldsKeepTheirValues) {
    UnpackedFunction u{};
    u.fill(0x0F);
    PackedFunction p;
    p.fill(0xAA);
    PackFunction(u, p);
    for (int h = 0; h < 2; ++h)
        for (int b = 8; b <= 13; ++b) EXPECT_EQ(p[16 * h + b], 0xAA) << "half " << h << " byte " << b;
    EXPECT_EQ(p[32], 0xAA);
    EXPECT_EQ(p[33], 0xAA);

    PackedFunction source{};
    UnpackedFunction into;
    into.fill(0xBB);
    UnpackFunction(source, into);
    for (int h = 0; h < 2; ++h)
        for (int b : {0, 1, 8, 17, 18, 19, 20, 21, 22, 23, 24, 25, 27, 28, 29})
            EXPECT_EQ(into[30 * h + b], 0xBB) << "half " << h << " byte " << b;
    for (int b : {60, 62, 63}) EXPECT_EQ(into[b], 0xBB) << b;
}

TEST(EmptyValues, SlotEditImageAndFunctionRecord) {
    VoiceSlot slot;
    std::memset(&slot, 0x55, sizeof slot);
    InitSlot(slot);
    for (int i = 0; i < 118; ++i) EXPECT_EQ(slot.voice[i], 0) << i;
    for (int i = 118; i < 128; ++i) EXPECT_EQ(slot.voice[i], 0x2D) << i;
    EXPECT_EQ(slot.status, 0);
    EXPECT_EQ(VoiceNameOf(slot.voice), "----------");

    EditImage image;
    image.fill(0x55);
    InitEditImage(image);
    for (int i = 0; i < 249; ++i) {
        const Byte expected = (i >= 145 && i < 155) ? 0x2D : i == 181 ? 7 : 0;
        EXPECT_EQ(image[i], expected) << i;
    }
    EXPECT_EQ(VoiceNameOf(image), "----------");

    PackedFunction function;
    function.fill(0x55);
    InitFunction(function);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(function[i], i == 14 ? 7 : 0) << i;
}

TEST(BankImage, HoldsThePackedVoicesInSlotOrderWithoutStatus) {
    VoicePage page;
    for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
        page[s].voice.fill(Byte(s));
        page[s].status = 0xFE;
    }
    BankImage image;
    PageToBankImage(page, image);
    for (std::size_t i = 0; i < kBankImageSize; ++i) ASSERT_EQ(image[i], i / 128) << i;

    VoicePage back;
    for (VoiceSlot& slot : back) InitSlot(slot);
    BankImageToPage(image, back);
    for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
        EXPECT_EQ(back[s].voice, page[s].voice);
        EXPECT_EQ(back[s].status, kStatusUsed);
    }
}

TEST(BankChecksum, MatchesTheDocumentedExamples) {
    const Byte data[] = {1, 2, 3};
    EXPECT_EQ(BankChecksum(data, 3), 0x7A);
    std::array<Byte, 4096> ones{};
    ones.fill(0x7F);
    EXPECT_EQ(BankChecksum(ones.data(), 4096), 0);
    EXPECT_EQ(BankChecksum(data, 0), 0);
    const Byte sum34[] = {0x30, 0x04};
    EXPECT_EQ(BankChecksum(sum34, 2), 0x4C);
    // Only the low seven bits of each byte count.
    const Byte highBits[] = {0xB0, 0x84};
    EXPECT_EQ(BankChecksum(highBits, 2), 0x4C);
}

}  // namespace
}  // namespace core
