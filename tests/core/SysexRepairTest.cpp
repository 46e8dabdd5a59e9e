// The repair reader on real banks damaged on purpose: what comes back, and what it says.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/SysexRepair.h"
#include "core/Libson.h"
#include "tests/core/BankDumps.h"
#include "tests/core/VoiceRanges.h"

namespace core {
namespace {

using core::Byte;
using core::BankImage;
using test::Bytes;
using test::ImageOf;
using test::Joined;
using test::kDataStart;
using test::RealDump;

constexpr std::size_t kChecksumAt = kDataStart + core::kBankImageSize;  // 4102

std::string Hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02Xh", value);
    return text;
}

// Every note in reading order: "m2 v5: text" for voice 5 of message 2, "file: text".
std::vector<std::string> AllNotes(const FileReading& reading) {
    std::vector<std::string> all;
    for (std::size_t m = 0; m < reading.messages.size(); ++m)
        for (const RepairNote& note : reading.messages[m].notes)
            all.push_back("m" + std::to_string(m + 1) +
                          (note.voice ? " v" + std::to_string(note.voice) : "") + ": " + note.text);
    for (const RepairNote& note : reading.fileNotes)
        all.push_back("file" + (note.voice ? " v" + std::to_string(note.voice) : "") + ": " + note.text);
    return all;
}

void FixChecksum(Bytes& dump) {
    dump[kChecksumAt] = core::BankChecksum(dump.data() + kDataStart, core::kBankImageSize);
}

// The image with slot `slot`'s unpacked voice changed by `change`.
BankImage WithVoice(BankImage image, std::size_t slot, const std::function<void(core::UnpackedVoice&)>& change) {
    core::UnpackedVoice unpacked;
    core::UnpackVoice(test::VoiceOf(image, slot), unpacked);
    change(unpacked);
    core::PackedVoice packed;
    core::PackVoice(unpacked, packed);
    std::copy(packed.begin(), packed.end(), image.begin() + slot * core::kPackedVoiceSize);
    return image;
}

BankImage EmptyAfter(BankImage image, std::size_t voices) {
    core::VoiceSlot empty;
    core::InitSlot(empty);
    for (std::size_t s = voices; s < core::kSlotsPerPage; ++s)
        std::copy(empty.voice.begin(), empty.voice.end(), image.begin() + s * core::kPackedVoiceSize);
    return image;
}

struct MessyCase {
    std::string name;
    Bytes bytes;
    std::vector<BankImage> banks;
    std::vector<int> channels;
    std::vector<std::string> notes;
};

std::vector<MessyCase> MessyCases() {
    const Bytes a = RealDump(0), b = RealDump(1);
    const BankImage imageA = ImageOf(a), imageB = ImageOf(b);
    const Bytes withoutF7(a.begin(), a.end() - 1);
    std::vector<MessyCase> cases;

    cases.push_back({"real dump", a, {imageA}, {1}, {}});
    cases.push_back({"two dumps, bytes between", Joined({a, {0x00, 0x31, 0x90}, b}), {imageA, imageB}, {1, 1},
                     {"file: bytes 4104-4106 (3 bytes) belong to no message: skipped"}});
    cases.push_back({"F7 missing before the next dump", Joined({withoutF7, b}), {imageA, imageB}, {1, 1},
                     {"m1: no closing F7"}});
    cases.push_back({"F7 missing at the end", withoutF7, {imageA}, {1}, {"m1: no closing F7"}});
    cases.push_back({"checksum and F7 missing", Bytes(a.begin(), a.end() - 2), {imageA}, {1},
                     {"m1: no closing F7", "m1: checksum missing: computed"}});
    {
        Bytes broken = a;
        broken[kChecksumAt] ^= 0x01;
        cases.push_back({"checksum broken", broken, {imageA}, {1},
                         {"m1: checksum " + Hex(broken[kChecksumAt]) + " wrong (the data give " +
                          Hex(a[kChecksumAt]) + "): recomputed"}});
    }
    {
        Bytes channel = a;
        channel[2] = 0x05;
        cases.push_back({"channel 6", channel, {imageA}, {6}, {}});
    }
    {
        // High bits on a parameter byte and on a name byte that then reads as F7.
        Bytes original = a;
        original[kDataStart + 2 * 128 + 118] = 0x77;  // 'w'
        FixChecksum(original);
        Bytes high = original;
        high[kDataStart + 0] |= 0x80;
        high[kDataStart + 2 * 128 + 118] |= 0x80;
        cases.push_back({"high bits set", high, {ImageOf(original)}, {1},
                         {"m1 v1: byte 0: high bit cleared (" + Hex(high[kDataStart]) + " -> " +
                              Hex(original[kDataStart]) + ")",
                          "m1 v3: byte 118: high bit cleared (F7h -> 77h)"}});
    }
    {
        Bytes clocked = a;
        clocked.insert(clocked.begin() + kDataStart + 3000, 0xFE);
        clocked.insert(clocked.begin() + kDataStart + 100, 0xF8);
        cases.push_back({"real-time bytes inside", clocked, {imageA}, {1},
                         {"m1: 2 real-time bytes inside the message removed"}});
    }
    cases.push_back({"cut short, then a dump", Joined({Bytes(a.begin(), a.begin() + kDataStart + 1000), b}),
                     {EmptyAfter(imageA, 7), imageB}, {1, 1},
                     {"m1: no closing F7", "m1: cut short after 1000 data bytes: voices 8-32 missing, left empty"}});
    {
        // Cut short where the F7 of the 20th single voice after it stands exactly where the
        // bank's own F7 would: still a cut, and the single voices stay single voices.
        Bytes cut(a.begin(), a.begin() + kDataStart + 838);
        for (std::size_t s = 0; s < 25; ++s) {
            const Bytes one = test::SingleVoiceDump(test::VoiceOf(imageB, s), 1);
            cut.insert(cut.end(), one.begin(), one.end());
        }
        EXPECT_EQ(cut[kChecksumAt + 1], 0xF7);  // the case is what it says
        BankImage singles = EmptyAfter(imageB, 25);
        cases.push_back({"cut short, F7 of a later message where the end would be", cut,
                         {EmptyAfter(imageA, 6), singles}, {1, 1},
                         {"m1: no closing F7", "m1: cut short after 838 data bytes: voices 7-32 missing, left empty"}});
    }
    {
        Bytes singles;
        for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) {
            const Bytes one = test::SingleVoiceDump(test::VoiceOf(imageA, s), 3);
            singles.insert(singles.end(), one.begin(), one.end());
        }
        const Bytes extra = test::SingleVoiceDump(test::VoiceOf(imageB, 4), 9);
        BankImage second = EmptyAfter(imageB, 0);
        std::copy_n(imageB.begin() + 4 * 128, 128, second.begin());
        cases.push_back({"33 single voices", Joined({singles, extra}), {imageA, second}, {3, 9}, {}});
    }
    {
        // Voice 4: OP6 output level 120, OP6 detune field 15, LFO wave field 7.
        Bytes wild = a;
        Byte* voice = wild.data() + kDataStart + 3 * 128;
        voice[14] = 120;
        voice[12] = Byte((voice[12] & 0x07) | (15 << 3));
        voice[116] = Byte((voice[116] & 0x71) | (7 << 1));
        FixChecksum(wild);
        const BankImage limited = WithVoice(imageA, 3, [](core::UnpackedVoice& u) {
            u[16] = 99;
            u[20] = 14;
            u[142] = 5;
        });
        const std::string v4 = "m1 v4: ";
        cases.push_back({"ranges exceeded", wild, {limited}, {1},
                         {v4 + "OP6 output level 120 above its range: 99",
                          v4 + "OP6 detune 15 above its range: 14", v4 + "LFO wave 7 above its range: 5"}});
    }
    {
        Bytes stray = a;
        stray[kDataStart + 110] |= 0x40;
        FixChecksum(stray);
        cases.push_back({"bits outside the fields", stray, {imageA}, {1},
                         {"m1 v1: byte 110: bits outside its parameters cleared (" +
                          Hex(stray[kDataStart + 110]) + " -> " + Hex(a[kDataStart + 110]) + ")"}});
    }
    cases.push_back({"other makers and parameter changes", Joined({{0xF0, 0x7E, 0x00, 0x06, 0x01, 0xF7},
                                                                   {0xF0, 0x43, 0x10, 0x01, 0x02, 0x63, 0xF7}, a}),
                     {imageA}, {1},
                     {"m1: a message of another maker (ID 7Eh): skipped",
                      "m2: not a bulk dump (sub-status 10h): skipped"}});
    {
        Bytes functions = a;
        functions[3] = 0x02;
        cases.push_back({"function bank only", functions, {}, {}, {"m1: function data, no voices: not written"}});
    }
    cases.push_back({"header cut short", {0xF0, 0x43, 0x00}, {}, {}, {"m1: cut short inside its header: skipped"}});
    cases.push_back({"no message at all", Bytes(50, 0x31), {}, {},
                     {"file: bytes 0-49 (50 bytes) belong to no message: skipped"}});
    cases.push_back({"bank image", Bytes(a.begin() + kDataStart, a.begin() + kChecksumAt), {imageA}, {1}, {}});
    {
        Bytes image(a.begin() + kDataStart, a.begin() + kChecksumAt);
        image.resize(8192, 0x11);
        cases.push_back({"bank image with functions", image, {imageA}, {1},
                         {"file: the function bank after the voices is not written"}});
    }
    return cases;
}

TEST(SysexRepair, MessyFilesGiveBackWhatIsRecoverableAndSayWhatChanged) {
    ASSERT_EQ(core::test::RealBankFiles().size(), 24u);
    for (const MessyCase& c : MessyCases()) {
        SCOPED_TRACE(c.name);
        const FileReading reading = ReadVoiceFile(c.bytes);
        ASSERT_EQ(reading.banks.size(), c.banks.size());
        for (std::size_t i = 0; i < c.banks.size(); ++i) {
            EXPECT_TRUE(reading.banks[i].image == c.banks[i]) << "bank " << i;
            EXPECT_EQ(reading.banks[i].channel, c.channels[i]) << "bank " << i;
        }
        EXPECT_EQ(AllNotes(reading), c.notes);
        EXPECT_EQ(reading.HasVoices(), !c.banks.empty());
    }
}

TEST(SysexRepair, ReportsKindChecksumAndVoiceCounts) {
    Bytes broken = RealDump(2);
    broken[kChecksumAt] ^= 0x10;
    const Bytes single = test::SingleVoiceDump(test::VoiceOf(ImageOf(RealDump(3)), 0), 16);
    const FileReading reading = ReadVoiceFile(Joined({broken, single}));
    EXPECT_EQ(reading.kind, FileKind::kSysex);
    ASSERT_EQ(reading.messages.size(), 2u);
    EXPECT_EQ(reading.messages[0].kind, MessageKind::kVoiceBank);
    EXPECT_EQ(reading.messages[0].checksum, ChecksumState::kWrong);
    EXPECT_EQ(reading.messages[0].voiceNames.size(), 32u);
    EXPECT_EQ(reading.messages[1].kind, MessageKind::kSingleVoice);
    EXPECT_EQ(reading.messages[1].checksum, ChecksumState::kGood);
    EXPECT_EQ(reading.messages[1].channel, 16);
    EXPECT_EQ(reading.voiceCount, 33);
    EXPECT_EQ(reading.repairedVoices, 0);
    EXPECT_EQ(ReadVoiceFile(Bytes(core::kLibraryFileSize, 0)).kind, FileKind::kLibrary);
}

// Whatever the input, every voice that comes out is one the instrument reads as it stands:
// 7-bit bytes, no bits outside the fields, every parameter in range.
TEST(SysexRepair, AnyInputGivesCleanVoices) {
    const Bytes a = RealDump(5);
    std::mt19937 random(20);
    int voices = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes bytes;
        const int pieces = 1 + int(random() % 4);
        for (int p = 0; p < pieces; ++p) {
            const std::size_t from = random() % a.size(), length = random() % (a.size() - from + 1);
            if (random() % 2) bytes.insert(bytes.end(), a.begin(), a.begin() + kDataStart);
            bytes.insert(bytes.end(), a.begin() + std::ptrdiff_t(from), a.begin() + std::ptrdiff_t(from + length));
        }
        for (int d = int(random() % 40); d > 0 && !bytes.empty(); --d) bytes[random() % bytes.size()] = Byte(random());
        const FileReading reading = ReadVoiceFile(bytes);
        for (const RepairedBank& bank : reading.banks) {
            for (std::size_t s = 0; s < core::kSlotsPerPage; ++s) {
                const core::PackedVoice voice = test::VoiceOf(bank.image, s);
                core::UnpackedVoice unpacked;
                core::UnpackVoice(voice, unpacked);
                core::PackedVoice again;
                core::PackVoice(unpacked, again);
                ASSERT_TRUE(again == voice) << "round " << round;
                ASSERT_TRUE(core::test::InRange(unpacked)) << "round " << round;
                for (Byte byte : voice) ASSERT_LT(byte, 0x80) << "round " << round;
            }
            voices += bank.voiceCount;
        }
    }
    EXPECT_GT(voices, 1000);  // the damage left plenty to read
}

}  // namespace
}  // namespace core
