// The collection import over a tree of damaged copies of the real banks: the library's bytes,
// the markers and the report's counts.

#include <gtest/gtest.h>

#include <set>

#include "core/CollectionImport.h"
#include "tests/core/BankDumps.h"

namespace core {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::ImageOf;
using test::RealDump;
using test::VoiceOf;
using testing_support::TempDir;
using testing_support::WriteBytes;

using Voices = std::vector<PackedVoice>;

Voices BankVoices(std::size_t bank, std::size_t count = kSlotsPerPage) {
    Voices voices;
    for (std::size_t s = 0; s < count; ++s) voices.push_back(VoiceOf(ImageOf(RealDump(bank)), s));
    return voices;
}

Voices Both(Voices a, const Voices& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// One file of the tree: where, its bytes, the voices it must give, and what the report says.
struct TreeFile {
    std::string path;
    Bytes bytes;
    Voices voices;
    std::string unusable;  // a part of the reason, "" when it gives voices
    std::string repaired;  // a part of the repairs, "" when it is clean
};

// The tree in the order the import reads it (natural order by path).
std::vector<TreeFile> Tree() {
    Bytes noEnd = RealDump(2);
    noEnd.pop_back();
    Bytes checksum = RealDump(3);
    checksum[4102] ^= 0x11;
    Bytes highBit = RealDump(4);
    highBit[6 + 5] |= 0x80;  // voice 1, a data byte with its high bit set
    Bytes singles;
    for (std::size_t s = 0; s < 5; ++s) {
        const Bytes one = test::SingleVoiceDump(VoiceOf(ImageOf(RealDump(5)), s), 2);
        singles.insert(singles.end(), one.begin(), one.end());
    }
    const Bytes image = [] {
        const BankImage bank = ImageOf(RealDump(6));
        return Bytes(bank.begin(), bank.end());
    }();
    const Bytes other = {0xF0, 0x41, 0x10, 0x16, 0x12, 0x00, 0xF7};  // another maker's message
    return {
        {"A/bank2.syx", RealDump(0), BankVoices(0), "", ""},
        {"A/bank10.syx", test::Joined({RealDump(1), RealDump(7)}), Both(BankVoices(1), BankVoices(7)), "", ""},
        {"A/deep/short-after.syx", test::Joined({noEnd, {0xF0, 0x43, 0x10, 0xF7}}), BankVoices(2), "",
         "no closing F7"},
        {"B/checksum.SYX", checksum, BankVoices(3), "", "recomputed"},
        {"B/copy.syx", RealDump(0), {}, "", ""},  // every voice a repeat of A/bank2.syx
        {"B/empty.syx", {}, {}, "empty", ""},
        {"B/garbage.syx", test::Joined({Bytes(37, 0x20), highBit, Bytes(5, 0x00)}), BankVoices(4), "",
         "belong to no message"},
        {"B/huge.syx", {}, {}, "too large for a voice file (17 MB)", ""},  // made sparse below
        {"B/readme.syx", Bytes(4096, 'x'), {}, "a text file", ""},
        {"C/image.dx7", image, BankVoices(6), "", ""},
        {"C/roland.syx", other, {}, "another maker", ""},
        {"C/singles.syx", singles, BankVoices(5, 5), "", ""},
        {"top.syx", RealDump(8), BankVoices(8), "", ""},
    };
}

class CollectionImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(test::RealBankFiles().size(), 24u);
        for (const TreeFile& file : Tree()) {
            fs::create_directories((dir_ / file.path).parent_path());
            WriteBytes(dir_ / file.path, file.bytes);
        }
        fs::resize_file(dir_ / "B" / "huge.syx", 17u << 20);
        fs::create_directory_symlink("..", dir_ / "A" / "deep" / "loop");
    }
    // The used slots from `page` on, in library order.
    Voices UsedFrom(int page) const {
        Voices used;
        for (int p = page; p < kLibraryPageCount; ++p)
            for (const VoiceSlot& slot : library_.Page(p))
                if (slot.IsUsed()) used.push_back(slot.voice);
        return used;
    }

    TempDir dir_;
    Libson library_;
};

TEST_F(CollectionImportTest, EveryWholeVoiceOnceWithMarkersAndOneReport) {
    // A voice the library holds already, and markers: only 1 and 3 are free, so A and B get
    // them and C gets none.
    library_.Page(0)[0] = {BankVoices(4)[9], kStatusUsed};
    for (int m = 2; m < kMarkerCount; ++m)
        if (m != 3) library_.SetMarkerName(m, "Taken");
    library_.SetMarkerName(1, "Empty");
    library_.SetMarkerName(3, "Empty");
    CollectionImport import(library_, {2, true, true, true}, platform::WalkFolders({dir_.Path()}, true));
    import.ReadAll();
    const CollectionReport& report = import.Report();

    // The expected library: every file's voices in reading order, without the voice known
    // before and without repeats (a plain set does the comparison).
    Voices expected;
    std::set<std::vector<Byte>> seen{{library_.Page(0)[0].voice.begin(), library_.Page(0)[0].voice.begin() + 118}};
    std::vector<std::string> markerOf;
    int known = 0, repeated = 0;
    for (const TreeFile& file : Tree()) {
        const Voices offered = file.path == "B/copy.syx" ? BankVoices(0) : file.voices;
        for (const PackedVoice& voice : offered) {
            if (!seen.insert({voice.begin(), voice.begin() + kVoiceParameterBytes}).second) {
                (voice == BankVoices(4)[9] ? known : repeated)++;
                continue;
            }
            expected.push_back(voice);
            markerOf.push_back(file.path.substr(0, file.path.find('/')));
        }
    }
    const Voices added = UsedFrom(2);
    ASSERT_EQ(added.size(), expected.size());
    for (std::size_t v = 0; v < expected.size(); ++v) {
        ASSERT_EQ(added[v], expected[v]) << "voice " << v;
        const VoiceSlot& slot = library_.Page(2 + int(v / 32))[v % 32];
        const int marker = markerOf[v] == "A" ? 1 : markerOf[v] == "B" ? 3 : 0;
        ASSERT_EQ(slot.status, Byte(kStatusUsed | marker << kMarkerShift)) << "voice " << v;
    }
    EXPECT_TRUE(library_.IsPageEmpty(1));
    EXPECT_EQ(library_.MarkerNameText(1), "A");
    EXPECT_EQ(library_.MarkerNameText(3), "B");
    EXPECT_EQ(report.foldersWithoutMarker, std::vector<std::string>{"C"});

    EXPECT_EQ(report.filesRead, 13);
    EXPECT_EQ(report.voicesAdded, int(expected.size()));
    EXPECT_EQ(report.knownSkipped, known);
    EXPECT_EQ(report.repeatedSkipped, repeated);
    EXPECT_EQ(known, 1);
    EXPECT_GE(repeated, 32);
    std::size_t unusable = 0, repaired = 0;
    for (const TreeFile& file : Tree()) {
        const std::string path = (dir_ / file.path).string();
        const auto has = [&](const std::vector<FileProblem>& list, const std::string& part) {
            return std::any_of(list.begin(), list.end(), [&](const FileProblem& p) {
                return p.file == path && p.text.find(part) != std::string::npos;
            });
        };
        if (!file.unusable.empty()) {
            EXPECT_TRUE(has(report.unusable, file.unusable)) << file.path;
            ++unusable;
        }
        if (!file.repaired.empty()) {
            EXPECT_TRUE(has(report.repaired, file.repaired)) << file.path;
            ++repaired;
        }
    }
    EXPECT_EQ(report.unusable.size(), unusable);
    EXPECT_EQ(report.repaired.size(), repaired);
    ASSERT_EQ(report.skippedEntries.size(), 1u);
    EXPECT_EQ(report.skippedEntries[0].path, dir_ / "A" / "deep" / "loop");
    const std::string text = CollectionReportText(report);
    EXPECT_NE(text.find("13 files read: 9 with voices, 4 with nothing usable, 3 repaired\n"), std::string::npos) << text;
}

TEST_F(CollectionImportTest, CancelKeepsWhatWasImported) {
    CollectionImport import(library_, {0, false, false, false}, platform::WalkFolders({dir_.Path()}, true));
    import.ReadNext();
    import.ReadNext();
    import.Cancel();
    EXPECT_TRUE(import.Done());
    EXPECT_EQ(UsedFrom(0), Both(BankVoices(0), Both(BankVoices(1), BankVoices(7))));
    EXPECT_TRUE(import.Report().canceled);
    EXPECT_EQ(import.Report().filesLeft, 11);
}

TEST_F(CollectionImportTest, AFullLibraryStopsAndSaysWhatWasLeft) {
    // 40 free slots from page 998 on: bank2.syx fits, bank10.syx's first 8 voices do.
    for (int p = 998; p < kLibraryPageCount; ++p)
        for (std::size_t s = 0; s < kSlotsPerPage; ++s)
            if (p == 999 && s < 24) library_.Page(p)[s] = {BankVoices(9)[s], kStatusUsed};
    CollectionImport import(library_, {998, true, true, false}, platform::WalkFolders({dir_.Path()}, true));
    import.ReadAll();
    const CollectionReport& report = import.Report();
    EXPECT_EQ(report.voicesAdded, 40);
    EXPECT_EQ(report.fullAt, (dir_ / "A" / "bank10.syx").string());
    EXPECT_EQ(report.voicesLeft, 56);
    EXPECT_EQ(report.filesLeft, 11);
    EXPECT_EQ(library_.Page(999)[31].voice, BankVoices(1)[7]);
    EXPECT_NE(CollectionReportText(report).find("56 voices of it and 11 files after it were left out"),
              std::string::npos);
}

}  // namespace
}  // namespace core
