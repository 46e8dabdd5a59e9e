#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "core/Bankson.h"
#include "core/Libson.h"
#include "platform/MessageBoxes.h"
#include "support/TempDir.h"
#include "tests/core/LibraryTestData.h"
#include "tests/core/LiteralLibraryAlgorithms.h"
#include "tests/core/RealBankFiles.h"
#include "tests/core/ShortReadFile.h"

namespace core {
namespace {

namespace fs = std::filesystem;
using platform::BoxKind;
using platform::RecordingBoxes;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using Bytes = std::vector<Byte>;

const RecordingBoxes::Box kReadError{BoxKind::Error, "File Error",
                                     "Read File Error - Abort Loading", false};
const RecordingBoxes::Box kWriteError{BoxKind::Error, "File Error",
                                      "Write File Error - Abort Saving", false};
const RecordingBoxes::Box kTooBig{BoxKind::Warning, "Library File Read Warning",
                                  "File is bigger than Library...", false};
const RecordingBoxes::Box kFormatError{BoxKind::Error, "File Error",
                                       "File Format Error - Abort Loading", false};
const RecordingBoxes::Box kNotLibrarySize{BoxKind::Question, "Library File Read Warning",
                                          "File is not the Size of a Library - Load Anyway ?", true};

void FillRandomly(Libson& library, unsigned seed) {
    std::mt19937 random(seed);
    testdata::FillPages(random, testdata::PagesOf(library), {0.7, 300, 0.1, 0.05});
    for (int m = 0; m < kMarkerCount; ++m)
        library.SetMarkerName(m, std::string(std::size_t(m % 11), char('a' + m % 26)));
}

// The file image of a library: pages, then the marker name fields.
Bytes ImageOf(Libson& library) {
    Bytes image;
    for (int p = 0; p < library.PageCount(); ++p) {
        const auto* bytes = reinterpret_cast<const Byte*>(&library.Page(p));
        image.insert(image.end(), bytes, bytes + kPageSize);
    }
    for (MarkerName* field : library.MarkerNames())
        image.insert(image.end(), field->begin(), field->end());
    return image;
}

// A file of `pages` whole pages, each slot's first byte telling its page, then marker names
// "F0".."F31" and `extra` further bytes.
Bytes LibraryFileOf(std::size_t pages, std::size_t extra = 0) {
    Bytes file;
    for (std::size_t p = 0; p < pages; ++p) {
        VoicePage page;
        for (VoiceSlot& slot : page) {
            InitSlot(slot);
            slot.voice[0] = Byte(p % 251);
            slot.voice[1] = Byte(p / 251);
            slot.status = kStatusUsed | (5 << kMarkerShift);
        }
        const auto* bytes = reinterpret_cast<const Byte*>(&page);
        file.insert(file.end(), bytes, bytes + kPageSize);
    }
    for (int m = 0; m < kMarkerCount; ++m) {
        std::string name = "F" + std::to_string(m);
        name.resize(kNameSize, '\0');
        file.insert(file.end(), name.begin(), name.end());
    }
    file.insert(file.end(), extra, Byte(0xEE));
    return file;
}

TEST(LibraryFile, SavedAndReloadedByteForByteWithSelectionsMarkersAndNames) {
    RecordingBoxes boxes;
    TempDir dir;
    Libson library;
    FillRandomly(library, 42);
    library.SetMarkerName(3, "TenLetters");
    const Bytes image = ImageOf(library);

    ASSERT_TRUE(library.SaveLibraryFile(dir / "MYLIB"));
    EXPECT_EQ(library.Name(), "MYLIB");
    const Bytes file = ReadBytes(dir / "MYLIB.DXL");
    EXPECT_EQ(file.size(), 4128320u);
    EXPECT_TRUE(file == image);

    Libson reloaded;
    ASSERT_TRUE(reloaded.LoadLibraryFile(dir / "MYLIB.DXL"));
    EXPECT_TRUE(ImageOf(reloaded) == image);
    EXPECT_EQ(reloaded.Name(), "MYLIB");
    EXPECT_EQ(reloaded.MarkerNameText(3), "TenLetters");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(LibraryFile, SaveNamesTheLibraryAfterTheFileAndKeepsABackupBesideIt) {
    RecordingBoxes boxes;
    TempDir dir;
    Libson library;
    library.Page(0)[0].status = kStatusUsed;
    ASSERT_TRUE(library.SaveLibraryFile(dir / "voices.library"));
    EXPECT_EQ(library.Name(), "voices");
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"voices.library"}));
    const Bytes first = ReadBytes(dir / "voices.library");

    library.Page(0)[1].status = kStatusUsed;
    ASSERT_TRUE(library.SaveLibraryFile(dir / "voices.library"));
    EXPECT_EQ(ReadBytes(dir / "voices.BAK"), first);
    const Bytes second = ReadBytes(dir / "voices.library");
    EXPECT_EQ(second, ImageOf(library));

    // A further save replaces the older backup.
    library.Page(0)[2].status = kStatusUsed;
    ASSERT_TRUE(library.SaveLibraryFile(dir / "voices.library"));
    EXPECT_EQ(ReadBytes(dir / "voices.BAK"), second);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"voices.BAK", "voices.library"}));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(LibraryFile, SavingOverASymbolicLinkKeepsTheContentItShowedAsTheBackup) {
    RecordingBoxes boxes;
    TempDir dir;
    const Bytes old = LibraryFileOf(1);
    WriteBytes(dir / "real.DXL", old);
    fs::create_symlink(dir / "real.DXL", dir / "LINK.DXL");
    Libson library;
    ASSERT_TRUE(library.SaveLibraryFile(dir / "LINK.DXL"));
    EXPECT_FALSE(fs::is_symlink(dir / "LINK.BAK"));
    EXPECT_EQ(ReadBytes(dir / "LINK.BAK"), old);
    EXPECT_TRUE(ReadBytes(dir / "LINK.DXL") == ImageOf(library));
    EXPECT_EQ(ReadBytes(dir / "real.DXL"), old);
}

TEST(LibraryFile, UnwritablePlacesShowTheWriteErrorAndChangeNothing) {
    RecordingBoxes boxes;
    TempDir dir;
    Libson library;
    library.Page(9)[9].status = kStatusUsed;
    const Bytes image = ImageOf(library);
    fs::create_directory(dir / "TAKEN.DXL");  // a directory where the file should go

    for (const fs::path& path : {dir / "missing" / "LIB", dir / "TAKEN", fs::path("/proc/LIB")}) {
        boxes.Clear();
        EXPECT_FALSE(library.SaveLibraryFile(path)) << path;
        EXPECT_EQ(boxes.Shown(), std::vector{kWriteError}) << path;
        EXPECT_EQ(library.Name(), "Empty");
        EXPECT_TRUE(ImageOf(library) == image);
    }
    EXPECT_TRUE(fs::is_directory(dir / "TAKEN.DXL"));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"TAKEN.DXL"}));
}

struct LoadCase {
    std::size_t pages;     // whole pages in the file
    std::size_t extra;     // bytes after the marker names
    std::size_t replaced;  // library pages the load replaces
    bool asks;             // not a library's size: loaded only when the user says Yes
    bool tooBig;
};

TEST(LibraryFile, LoadsWholePagesAsFarAsTheyGoAndTheMarkerNamesAfterThem) {
    const LoadCase cases[] = {
        {1, 0, 1, false, false},        // 320 + 4128
        {2, 0, 2, false, false},        // 320 + 2 x 4128
        {1000, 0, 1000, false, false},  // 4 128 320
        {1003, 0, 1000, true, true},    // 4 128 320 + 3 x 4128
        {3, 4127, 3, true, false},      // a part page after the names is not a page
        {1, 1, 1, true, false},         // one byte more than a one-page library
    };
    for (const LoadCase& c : cases) {
        RecordingBoxes boxes;
        boxes.SetAnswer(platform::BoxAnswer::Yes);
        TempDir dir;
        WriteBytes(dir / "LIB.DXL", LibraryFileOf(c.pages, c.extra));
        Libson library;
        for (int p = 0; p < library.PageCount(); ++p)
            library.Page(p)[0].voice[5] = 77;  // previous contents

        EXPECT_TRUE(library.LoadLibraryFile(dir / "LIB.DXL")) << c.pages;
        std::vector<RecordingBoxes::Box> expected;
        if (c.asks) expected.push_back(kNotLibrarySize);
        if (c.tooBig) expected.push_back(kTooBig);
        EXPECT_EQ(boxes.Shown(), expected) << c.pages << " pages and " << c.extra;
        for (int p = 0; p < library.PageCount(); ++p) {
            const VoiceSlot& slot = library.Page(p)[31];
            if (std::size_t(p) < c.replaced) {
                ASSERT_EQ(slot.voice[0] + 251 * slot.voice[1], p) << c.pages;
                ASSERT_EQ(slot.status, kStatusUsed | (5 << kMarkerShift));
                ASSERT_EQ(library.Page(p)[0].voice[5], 0);
            } else {
                ASSERT_EQ(slot.status, 0) << "page " << p << " of a " << c.pages << "-page file";
                ASSERT_EQ(library.Page(p)[0].voice[5], 77);
            }
        }
        EXPECT_EQ(library.MarkerNameText(0), "F0");
        EXPECT_EQ(library.MarkerNameText(31), "F31");
        EXPECT_EQ(library.Name(), "LIB");
        EXPECT_EQ(library.CountByMarker()[5], int(c.replaced * 32));
    }
}

// Without one whole page a file is no library (a bank file, say): refused before anything
// is read. A file that can't be opened shows the read error. Nothing changes, whatever the
// answer to a question would be.
TEST(LibraryFile, FilesWithoutAWholePageOrUnreadableAreRefusedAndChangeNothing) {
    TempDir dir;
    WriteBytes(dir / "EMPTY.DXL", {});
    WriteBytes(dir / "SHORT.DXL", Bytes(319, 0x41));
    WriteBytes(dir / "NAMES.DXL", LibraryFileOf(0));
    WriteBytes(dir / "BANK.SYX", Bytes(4104, 0x41));
    WriteBytes(dir / "ALMOST.DXL", Bytes(320 + 4127, 0x41));
    std::vector<std::pair<fs::path, RecordingBoxes::Box>> files = {
        {dir / "EMPTY.DXL", kFormatError},  {dir / "SHORT.DXL", kFormatError},
        {dir / "NAMES.DXL", kFormatError},  {dir / "BANK.SYX", kFormatError},
        {dir / "ALMOST.DXL", kFormatError}, {dir / "missing.DXL", kReadError},
        {dir.Path(), kReadError}};
    // 4096 bytes announced: no whole page either.
    if (const auto shortRead = test::ShortReadFile()) files.emplace_back(*shortRead, kFormatError);
    for (const auto& [path, box] : files) {
        RecordingBoxes boxes;
        boxes.SetAnswer(platform::BoxAnswer::Yes);
        Libson library;
        library.Page(0)[0].status = kStatusUsed;
        library.SetMarkerName(0, "Keep");
        const Bytes image = ImageOf(library);
        EXPECT_FALSE(library.LoadLibraryFile(path)) << path;
        EXPECT_EQ(boxes.Shown(), std::vector{box}) << path;
        EXPECT_EQ(library.Name(), "Empty");
        EXPECT_TRUE(ImageOf(library) == image) << path;
    }
}

TEST(LibraryFile, TheNameDropsTheLastFourCharactersOfTheFileName) {
    RecordingBoxes boxes;
    TempDir dir;
    const std::pair<const char*, const char*> names[] = {{"LIB.DXL", "LIB"},
                                                         {"MYLIBRARY", "MYLIB"},
                                                         {"AB", ""},
                                                         {"ABCD", ""},
                                                         {"voices.dxl", "voices"}};
    for (auto [file, name] : names) {
        WriteBytes(dir / file, LibraryFileOf(1));
        Libson library;
        ASSERT_TRUE(library.LoadLibraryFile(dir / file));
        EXPECT_EQ(library.Name(), name) << file;
    }
}

TEST(LibraryFile, AllRealBanksGoIntoLibraryPagesAndSurviveASaveAndReload) {
    RecordingBoxes boxes;
    const std::vector<fs::path> banks = test::RealBankFiles();
    ASSERT_EQ(banks.size(), 24u);

    Libson library;
    std::vector<PackedVoice> voices;
    for (const fs::path& path : banks) {
        Bankson bank;
        ASSERT_TRUE(bank.LoadBankFile(path, false)) << path;
        for (const VoiceSlot& slot : bank.Page()) voices.push_back(slot.voice);
        EXPECT_EQ(library.CopyIntoLibrary(bank.Page(), kStatusUsed), 32);
    }
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(library.CountSelection().used, 24 * 32);
    for (std::size_t v = 0; v < voices.size(); ++v) {
        const VoiceSlot& slot = library.Page(int(v / 32))[v % 32];
        ASSERT_EQ(slot.voice, voices[v]) << v;
        ASSERT_EQ(slot.status, kStatusUsed);
    }
    EXPECT_TRUE(library.IsPageEmpty(24));

    // Doubles across the real banks: the fast search agrees with the pairwise one.
    Libson pairwise;
    testdata::CopyPages(library, pairwise);
    library.FindDoubles({true, false, false});
    literal::FindDoubles(testdata::PagesOf(pairwise), {true, false, false});
    for (int p = 0; p < 24; ++p)
        EXPECT_EQ(std::memcmp(&library.Page(p), &pairwise.Page(p), kPageSize), 0) << p;
    library.SearchByName("piano", 0);
    library.SetMarker(2);

    TempDir dir;
    ASSERT_TRUE(library.SaveLibraryFile(dir / "SYNPREZ"));
    Libson reloaded;
    ASSERT_TRUE(reloaded.LoadLibraryFile(dir / "SYNPREZ.DXL"));
    EXPECT_TRUE(ImageOf(reloaded) == ImageOf(library));
    EXPECT_GT(reloaded.CountByMarker()[2], 0);
}

}  // namespace
}  // namespace core
