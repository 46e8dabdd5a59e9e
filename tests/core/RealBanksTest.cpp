// The 24 real-world bank files: loading, conversions and saving back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "RealBankFiles.h"
#include "VoiceRanges.h"
#include "core/Bankson.h"
#include "core/Nomsyn.h"
#include "platform/MessageBoxes.h"
#include "support/TempDir.h"

namespace core {
namespace {

using test::RealBankFiles;
using testing_support::ReadBytes;
using testing_support::TempDir;
namespace fs = std::filesystem;

// Packed bytes that carry more than one field, with the bits their fields use.
bool NoStrayBits(const PackedVoice& p) {
    for (int k = 0; k < 6; ++k) {
        const Byte* b = p.data() + 17 * k;
        if ((b[11] & ~0x0F) || (b[12] & ~0x7F) || (b[13] & ~0x1F) || (b[15] & ~0x3F)) return false;
    }
    return !(p[110] & ~0x1F) && !(p[111] & ~0x0F) && !(p[116] & ~0x7F);
}

TEST(RealBanks, EveryFileLoadsWithThirtyTwoUsedUnselectedUnmarkedSlots) {
    const std::vector<fs::path> files = RealBankFiles();
    ASSERT_EQ(files.size(), 24u);
    platform::RecordingBoxes boxes;
    for (const fs::path& file : files) {
        Bankson bank;
        ASSERT_TRUE(bank.LoadBankFile(file, false)) << file;
        EXPECT_EQ(bank.Name(), file.stem().string());
        const std::vector<Byte> bytes = ReadBytes(file);
        for (int s = 0; s < 32; ++s) {
            EXPECT_EQ(bank.Page()[s].status, kStatusUsed) << file << " slot " << s;
            EXPECT_EQ(std::memcmp(bank.Page()[s].voice.data(), bytes.data() + 6 + 128 * s, 128), 0)
                << file << " slot " << s;
        }
        EXPECT_EQ(Nomsyn::FirstFree(bank.Page(), kStatusUsed), Nomsyn::kNoSlot);
        EXPECT_EQ(Nomsyn::FirstWith(bank.Page(), kStatusSelected), Nomsyn::kNoSlot);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(RealBanks, VoicesInRangeSurvivePackingAndUnpacking) {
    int inRange = 0, total = 0;
    for (const fs::path& file : RealBankFiles()) {
        Bankson bank;
        ASSERT_TRUE(bank.LoadBankFile(file, false));
        for (int s = 0; s < 32; ++s) {
            const PackedVoice& original = bank.Page()[s].voice;
            UnpackedVoice unpacked;
            UnpackVoice(original, unpacked);
            EXPECT_EQ(std::memcmp(unpacked.data() + 145, original.data() + 118, 10), 0);
            ++total;
            if (!NoStrayBits(original) || !test::InRange(unpacked)) continue;
            ++inRange;
            PackedVoice packed;
            PackVoice(unpacked, packed);
            EXPECT_EQ(packed, original) << file << " slot " << s;
            UnpackedVoice again;
            UnpackVoice(packed, again);
            EXPECT_EQ(again, unpacked) << file << " slot " << s;
        }
    }
    EXPECT_EQ(total, 24 * 32);
    // Real banks are mostly well-formed; if this fails the range test itself is wrong.
    EXPECT_GT(inRange, total * 9 / 10) << inRange << " of " << total;
}

TEST(RealBanks, SavingAsSysexOnChannelOneGivesBackTheFile) {
    TempDir dir;
    platform::RecordingBoxes boxes;
    for (const fs::path& file : RealBankFiles()) {
        Bankson bank;
        ASSERT_TRUE(bank.LoadBankFile(file, false));
        ASSERT_EQ(bank.SaveSysexFile(dir / file.stem().string(), false, 1), 0);
        EXPECT_EQ(ReadBytes(dir / (file.stem().string() + ".SYX")), ReadBytes(file)) << file;
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(RealBanks, SavingAsDx7AndLoadingAgainGivesTheSameSlots) {
    TempDir dir;
    platform::RecordingBoxes boxes;
    for (const fs::path& file : RealBankFiles()) {
        Bankson bank;
        ASSERT_TRUE(bank.LoadBankFile(file, false));
        ASSERT_EQ(bank.SaveBankFile(dir / "bank", false), 0);
        Bankson again;
        ASSERT_TRUE(again.LoadBankFile(dir / "bank.DX7", false));
        EXPECT_EQ(std::memcmp(&again.Page(), &bank.Page(), sizeof(VoicePage)), 0) << file;
        EXPECT_EQ(again.Name(), "bank");
    }
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"bank.BAK", "bank.DX7"}));
}

TEST(RealBanks, SortingByNameKeepsEveryVoice) {
    for (const fs::path& file : RealBankFiles()) {
        Bankson bank;
        ASSERT_TRUE(bank.LoadBankFile(file, false));
        std::vector<std::string> names;
        for (int s = 0; s < 32; ++s) names.push_back(bank.VoiceName(s));
        std::vector<std::vector<Byte>> voices;
        for (const VoiceSlot& slot : bank.Page()) voices.emplace_back(slot.voice.begin(), slot.voice.end());
        bank.SortByName(false);
        std::sort(names.begin(), names.end());
        std::vector<std::vector<Byte>> sortedVoices;
        for (int s = 0; s < 32; ++s) {
            EXPECT_EQ(bank.VoiceName(s), names[s]) << file << " slot " << s;
            sortedVoices.emplace_back(bank.Page()[s].voice.begin(), bank.Page()[s].voice.end());
        }
        std::sort(voices.begin(), voices.end());
        std::sort(sortedVoices.begin(), sortedVoices.end());
        EXPECT_EQ(sortedVoices, voices) << file;
    }
}

}  // namespace
}  // namespace core
