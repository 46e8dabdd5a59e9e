#include "librarian/AutoImportExport.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/BoxTexts.h"
#include "core/Bankson.h"
#include "core/Libson.h"
#include "midi/DumpProgress.h"
#include "platform/MessageBoxes.h"
#include "platform/WildcardSearch.h"
#include "support/TempDir.h"
#include "tests/core/RealBankFiles.h"

namespace librarian {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<core::Byte>;

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The voices a file holds, as the bank load reads them.
core::VoicePage PageOf(const fs::path& file) {
    core::Bankson bank;
    EXPECT_TRUE(bank.LoadBankFile(file, false)) << file;
    return bank.Page();
}

bool SamePage(const core::VoicePage& a, const core::VoicePage& b) {
    for (std::size_t s = 0; s < a.size(); ++s)
        if (a[s].voice != b[s].voice || a[s].status != b[s].status) return false;
    return true;
}

// A distinct voice in a slot: its name carries the number.
void PutVoice(core::VoiceSlot& slot, int number, core::Byte status = core::kStatusUsed) {
    slot.voice.fill(core::Byte(number % 100));
    const std::string name = "V" + std::to_string(number);
    for (std::size_t i = 0; i < 10; ++i)
        slot.voice[core::kPackedNameOffset + i] = core::Byte(i < name.size() ? name[i] : ' ');
    slot.status = status;
}

class RecordingProgress final : public midi::DumpProgress {
public:
    void SetCaption(const std::string& caption) override { log.push_back("caption " + caption); }
    void Show() override { log.push_back("show"); }
    void SetCounter(int value) override { log.push_back("counter " + std::to_string(value)); }
    void Hide() override { log.push_back("hide"); }
    std::vector<std::string> log;
};

class AutoImportExportTest : public ::testing::Test {
protected:
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes_.Shown()) texts.push_back(box.title + "|" + box.text);
        return texts;
    }

    platform::RecordingBoxes boxes_;
    testing_support::TempDir dir_;
    core::Bankson staging_;
    core::Libson library_;
    RecordingProgress progress_;
};

TEST_F(AutoImportExportTest, AFolderOfRealBanksFillsPagesInReadingOrderAndSkipsWhatIsNoBank) {
    const std::vector<fs::path> real = core::test::RealBankFiles();
    ASSERT_EQ(real.size(), 24u);
    // Lower-case names numbered without leading zeros: only a natural order reads 2 before 10.
    for (std::size_t n = 0; n < real.size(); ++n)
        fs::copy_file(real[n], dir_ / ("set" + std::to_string(n + 1) + ".syx"));
    WriteAll(dir_ / "set5a.syx", Bytes(5000, 0));             // no bank size: load fails
    WriteAll(dir_ / "._X.SYX", Bytes(4096, 0));               // a dot-file: never read
    fs::create_directory(dir_ / "D.SYX");
    ASSERT_EQ(::mkfifo((dir_ / "F.SYX").c_str(), 0600), 0);  // reading it would hang
    fs::create_symlink(dir_ / "gone.syx", dir_ / "L.SYX");
    core::Bankson functions;
    functions.LoadBankFile(real[0], false);
    const core::BulkDump dump = functions.MakeBulkDump(true, 1);
    WriteAll(dir_ / "set7a.syx", Bytes(dump.begin(), dump.end()));  // loads, but no voice

    // The page just after the last one filled holds the user's voice; so does page 9.
    PutVoice(library_.Page(9)[3], 1);
    PutVoice(library_.Page(34)[0], 2);
    const core::VoicePage before9 = library_.Page(9), before34 = library_.Page(34);

    std::vector<int> counts;
    const ImportResult result =
        ImportBankFiles(staging_, library_, platform::FindFiles(dir_ / "*.SYX"), 10,
                        [&](int filled) { counts.push_back(filled); });

    EXPECT_EQ(result.nextPage, 34);
    EXPECT_EQ(result.pagesFilled, 24);
    EXPECT_EQ(counts.size(), 24u);
    EXPECT_EQ(counts.back(), 24);
    for (int n = 0; n < 24; ++n)
        EXPECT_TRUE(SamePage(library_.Page(10 + n), PageOf(real[n]))) << "page " << 10 + n;
    EXPECT_TRUE(SamePage(library_.Page(9), before9));
    EXPECT_TRUE(SamePage(library_.Page(34), before34)) << "a failed file erases no page";
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(core::kFileErrorTitle) + "|" +
                                                   std::string(core::kFileFormatErrorText)});
    // The staging bank ends with the last file read.
    EXPECT_EQ(staging_.Name(), "set24");
    EXPECT_TRUE(SamePage(staging_.Page(), PageOf(real[23])));
}

TEST_F(AutoImportExportTest, ImportStopsAfterPage994) {
    const std::vector<fs::path> real = core::test::RealBankFiles();
    ASSERT_GE(real.size(), 3u);
    const fs::path bad = dir_ / "bad.DX7";
    WriteAll(bad, Bytes(100, 0));
    struct Case {
        int first;
        std::vector<fs::path> files;
        int nextPage;
        std::vector<int> pageOfFile;  // per file: the page it fills, -1 none
    };
    const Case cases[] = {
        {993, {real[0], real[1], real[2]}, 995, {993, 994, -1}},
        {994, {real[0], real[1], real[2]}, 995, {994, -1, -1}},
        {994, {bad, real[1], real[2]}, 995, {-1, 994, -1}},  // the failure keeps page 994 open
        {992, {bad, bad}, 992, {-1, -1}},
    };
    for (const Case& c : cases) {
        library_.Clear();
        const ImportResult result = ImportBankFiles(staging_, library_, c.files, c.first);
        EXPECT_EQ(result.nextPage, c.nextPage) << c.first;
        for (std::size_t f = 0; f < c.files.size(); ++f) {
            if (c.pageOfFile[f] < 0) continue;
            EXPECT_TRUE(SamePage(library_.Page(c.pageOfFile[f]), PageOf(c.files[f])));
        }
        EXPECT_TRUE(library_.IsPageEmpty(995) && library_.IsPageEmpty(999));
    }
}

TEST_F(AutoImportExportTest, NumberedPathsKeepFolderAndBase) {
    EXPECT_EQ(NumberedPath("/x/MYSET.DXL", 0), fs::path("/x/MYSET0"));
    EXPECT_EQ(NumberedPath("/x/MYSET", 17), fs::path("/x/MYSET17"));
    EXPECT_EQ(NumberedPath("/x/MY.SET.DX7", 3), fs::path("/x/MY.SET3"));
}

TEST_F(AutoImportExportTest, PageRangeExportWritesEachUsedPageUnderItsNumber) {
    PutVoice(library_.Page(0)[0], 1);
    PutVoice(library_.Page(17)[5], 2);
    PutVoice(library_.Page(17)[31], 3);
    PutVoice(library_.Page(998)[1], 4);
    PutVoice(library_.Page(999)[0], 5);  // past the range's end, whatever MaxPage says
    for (int s = 0; s < 64; ++s) staging_.Functions()[s].fill(core::Byte(s));

    struct Case {
        ExtractorSettings settings;
        std::vector<std::string> files;
        std::size_t size;
    };
    const Case cases[] = {
        {{.minPage = 0, .maxPage = 999}, {"MYSET0.DX7", "MYSET17.DX7", "MYSET998.DX7"}, 4096},
        {{.minPage = 1, .maxPage = 998, .withFunctions = true}, {"MYSET17.DX7"}, 8192},
        {{.minPage = 0, .maxPage = 18, .asSysex = true}, {"MYSET0.SYX", "MYSET17.SYX"}, 4104},
        {{.minPage = 17, .maxPage = 17}, {}, 0},
        {{.minPage = 20, .maxPage = 5}, {}, 0},
    };
    for (const Case& c : cases) {
        testing_support::TempDir out;
        boxes_.Clear();
        progress_.log.clear();
        const ExportResult result =
            ExportBankFiles(staging_, library_, c.settings, out / "MYSET.DXL", 5, progress_);
        EXPECT_FALSE(result.canceled);
        EXPECT_EQ(result.filesWritten, int(c.files.size()));
        EXPECT_EQ(out.Files(), c.files);
        for (const std::string& name : c.files) {
            const int page = std::stoi(name.substr(5));
            core::Bankson expected;
            expected.Functions() = staging_.Functions();
            expected.CopyFromPage(library_.Page(page), core::kStatusUsed);
            const Bytes written = ReadAll(out / name);
            ASSERT_EQ(written.size(), c.size) << name;
            if (c.settings.asSysex) {
                const core::BulkDump dump = expected.MakeBulkDump(false, 5);
                EXPECT_EQ(written, Bytes(dump.begin(), dump.end())) << name;
            } else {
                expected.SaveBankFile(out / "expected", c.settings.withFunctions);
                EXPECT_EQ(written, ReadAll(out / "expected.DX7")) << name;
                fs::remove(out / "expected.DX7");
            }
        }
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Report|Operation Complete - " +
                                                       std::to_string(c.files.size()) +
                                                       " Files Saved"});
        EXPECT_EQ(progress_.log.front(), "caption Save Bank");
        EXPECT_EQ(progress_.log.back(), "hide");
    }
    // The staging bank holds the last group written.
    EXPECT_EQ(staging_.Name(), "MYSET17");
}

TEST_F(AutoImportExportTest, SeventySelectedVoicesGoOutInGroupsOf32AndLeaveTheSelection) {
    // Selected voices spread over pages, with unselected ones between them.
    std::vector<core::VoiceSlot> chosen;
    for (int n = 0; n < 70; ++n) {
        core::VoiceSlot& slot = library_.Page(n * 7 % 900)[n % 32];
        PutVoice(slot, n, core::kStatusUsed | core::kStatusSelected);
    }
    PutVoice(library_.Page(950)[0], 500);  // used, not selected
    for (int p = 0; p < core::kLibraryPageCount; ++p)
        for (const core::VoiceSlot& slot : library_.Page(p))
            if (slot.IsSelected()) chosen.push_back(slot);
    ASSERT_EQ(chosen.size(), 70u);

    ExtractorSettings settings{.extractSelected = true};
    const ExportResult result =
        ExportBankFiles(staging_, library_, settings, dir_ / "MYSET.DXL", 1, progress_);
    EXPECT_EQ(result.filesWritten, 3);
    EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"MYSET0.DX7", "MYSET1.DX7", "MYSET2.DX7"}));
    const core::PackedVoice emptySlot = core::Bankson().Page()[0].voice;
    for (int f = 0; f < 3; ++f) {
        core::VoicePage page = PageOf(dir_ / ("MYSET" + std::to_string(f) + ".DX7"));
        for (int s = 0; s < 32; ++s) {
            const std::size_t n = std::size_t(f * 32 + s);
            const core::PackedVoice& expected = n < chosen.size() ? chosen[n].voice : emptySlot;
            EXPECT_EQ(page[s].voice, expected) << f << "/" << s;
        }
    }
    EXPECT_EQ(library_.CountSelection().selected, 0);
    EXPECT_EQ(library_.CountSelection().used, 71) << "the voices stay in the library";
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Report|Operation Complete - 3 Files Saved"});

    // Nothing selected any more: the same settings export the page range instead.
    EXPECT_EQ(ExportBankFiles(staging_, library_, {.maxPage = 2, .extractSelected = true},
                              dir_ / "P.DX7", 1, progress_)
                  .filesWritten,
              1);
    EXPECT_TRUE(fs::exists(dir_ / "P0.DX7"));
}

TEST_F(AutoImportExportTest, AFailedSaveEndsTheExportAndKeepsTheFilesWritten) {
    PutVoice(library_.Page(0)[0], 1);
    PutVoice(library_.Page(5)[0], 2);
    PutVoice(library_.Page(9)[0], 3);
    fs::create_directory(dir_ / "B5.DX7");  // page 5's file can't be written
    const ExportResult result =
        ExportBankFiles(staging_, library_, {}, dir_ / "B.DX7", 1, progress_);
    EXPECT_TRUE(result.canceled);
    EXPECT_EQ(result.filesWritten, 1);
    EXPECT_EQ(dir_.Files(), (std::vector<std::string>{"B0.DX7", "B5.DX7"}));
    EXPECT_EQ(ReadAll(dir_ / "B0.DX7").size(), 4096u);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{
                  std::string(core::kFileErrorTitle) + "|" + std::string(core::kWriteFileErrorText),
                  std::string(kExportCanceledTitle) + "|" + kExportCanceledText}));
    EXPECT_EQ(boxes_.Shown().back().kind, platform::BoxKind::Error);
    EXPECT_EQ(progress_.log.back(), "hide");
    EXPECT_FALSE(library_.IsPageEmpty(5) || library_.IsPageEmpty(9)) << "the library keeps all";
}

TEST(ExtractorSettings, TheTwoFormatsExcludeEachOtherAndMayBothBeOff) {
    ExtractorSettings s;
    s.ToggleAsSysex();
    EXPECT_TRUE(s.asSysex);
    s.ToggleWithFunctions();
    EXPECT_TRUE(s.withFunctions);
    EXPECT_FALSE(s.asSysex);
    s.ToggleAsSysex();
    EXPECT_FALSE(s.withFunctions);
    s.ToggleAsSysex();
    EXPECT_FALSE(s.asSysex || s.withFunctions);
}

}  // namespace
}  // namespace librarian
