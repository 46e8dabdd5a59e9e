#include "librarian/LibraryCommands.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>

#include "MainWindowFixture.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "librarian/LibrarianOptions.h"
#include "librarian/TNameForm.h"
#include "librarian/TfrmTypes.h"
#include "librarian/VoiceNameText.h"
#include "platform/FileDialogs.h"
#include "platform/QtFileDialogs.h"
#include "support/TempDir.h"
#include "tests/core/RealBankFiles.h"

namespace librarian {
namespace {

// Whole slots, voice and status.
bool SameSlot(const core::VoiceSlot& a, const core::VoiceSlot& b) {
    return a.voice == b.voice && a.status == b.status;
}

// What the progress window was asked to show.
class RecordingProgress final : public midi::DumpProgress {
public:
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void Show() override { ++shown; }
    void SetCounter(int count) override { counts.push_back(count); }
    void Hide() override { ++hidden; }
    std::vector<std::string> captions;
    std::vector<int> counts;
    int shown = 0;
    int hidden = 0;
};

class LibraryCommandsTest : public MainWindowFixture {
protected:
    LibraryCommands& Commands() {
        if (!commands_) {
            TfrmMain::Banks banks;
            for (int n = 0; n < kBankCount; ++n) banks[n] = &banks_[n];
            commands_ = std::make_unique<LibraryCommands>(Window(), banks, library_, options_);
            commands_->Connect();
            commands_->SetProgress(&progress_);
        }
        return *commands_;
    }

    // Every item of the two library menus but the auto commands, as the user picks it.
    void Pick(const char* handler) {
        Commands();
        QAction* item = Window().Menus().Item(QString::fromLatin1(handler));
        ASSERT_NE(item, nullptr) << handler;
        ASSERT_TRUE(item->isEnabled()) << handler;
        item->trigger();
    }

    // The real banks, one a page from `firstPage` on; returns how many.
    int ImportRealBanks(int firstPage) {
        int page = firstPage;
        for (const auto& file : core::test::RealBankFiles()) {
            core::Bankson bank;
            EXPECT_TRUE(bank.LoadBankFile(file, false)) << file;
            bank.CopyToPage(library_.Page(page++), core::kStatusUsed);
        }
        return page - firstPage;
    }

    void SetPageMode(bool on) {
        if (Window().PageMode() != on) emit Window().LibrarySwitch()->clicked();
    }

    int SelectedOnPages(int first, int last) {
        int count = 0;
        for (int p = first; p <= last; ++p)
            for (int s = 0; s < 32; ++s)
                count += library_.Page(p)[s].IsUsed() && library_.IsSelected(p, s);
        return count;
    }

    void TearDown() override {
        commands_.reset();
        MainWindowFixture::TearDown();
    }

    FixedLibrarianOptions options_;
    RecordingProgress progress_;
    platform::RecordingDialogs dialogs_;
    std::unique_ptr<LibraryCommands> commands_;
};

TEST_F(LibraryCommandsTest, FindersShowTheFirstOrLastSelectedPageOrStayPut) {
    struct Case {
        std::vector<int> selectedPages;
        int first, last;  // page numbers after each finder, from page 5
    };
    const Case cases[] = {
        {{12, 700}, 12, 700},
        {{998}, 994, 994},  // 994 shows pages 994-999
        {{}, 5, 5},
        {{0, 999}, 0, 994},
    };
    for (const Case& c : cases) {
        library_.Clear();
        for (int p : c.selectedPages)
            library_.Page(p)[9].status = core::kStatusUsed | core::kStatusSelected;
        // A selected slot that is not used does not count.
        library_.Page(3)[0].status = core::kStatusSelected;
        TfrmMain& w = Window();
        w.SetPageNumber(5);
        emit w.FirstSelectedFinder()->clicked();
        EXPECT_EQ(w.PageNumber(), c.first);
        EXPECT_EQ(w.PageKnob()->text(), QString::number(c.first)) << "the knob agrees";
        w.SetPageNumber(5);
        emit w.LastSelectedFinder()->clicked();
        EXPECT_EQ(w.PageNumber(), c.last);
        EXPECT_EQ(w.LastSelectedFinder()->state(), 0);
    }
}

TEST_F(LibraryCommandsTest, DeleteLibraryAsksInLibraryModeAndClearsOnlyThePageInPageMode) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    library_.SetMarkerName(2, "Bass");
    Window().LibraryLabel()->setText(QStringLiteral("Mine"));
    const QStringList shown = Lines(Window().LibraryList(0));

    boxes_.SetAnswer(platform::BoxAnswer::Cancel);
    Pick("btnDelLibClick");
    const platform::RecordingBoxes::Box question{platform::BoxKind::Question, "Confirm Delete",
                                                 "Delete All Library ?", true};
    EXPECT_EQ(boxes_.Shown(), std::vector{question});
    EXPECT_EQ(library_.CountSelection().used, 768);
    EXPECT_EQ(library_.MarkerNameText(2), "Bass");
    EXPECT_EQ(Lines(Window().LibraryList(0)), shown);
    EXPECT_EQ(Window().LibraryLabel()->text(), QStringLiteral("Mine"));

    SetPageMode(true);
    Window().SetPageNumber(3);
    boxes_.Clear();
    Pick("btnDelLibClick");
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_TRUE(library_.IsPageEmpty(3));
    EXPECT_EQ(library_.CountSelection().used, 768 - 32);
    EXPECT_EQ(Window().UsedCount()->text(), QStringLiteral("736"));
    EXPECT_EQ(Window().LibraryLabel()->text(), QStringLiteral("Mine"));

    SetPageMode(false);
    boxes_.SetAnswer(platform::BoxAnswer::Ok);
    Pick("btnDelLibClick");
    EXPECT_EQ(library_.CountSelection().used, 0);
    EXPECT_EQ(library_.MarkerNameText(2), "Empty");
    EXPECT_EQ(Window().LibraryLabel()->text(), QStringLiteral("Empty"));
    EXPECT_EQ(Window().UsedCount()->text(), QStringLiteral("0"));
}

TEST_F(LibraryCommandsTest, CopySelectionFillsTheBankAndLeavesTheRestSelected) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    std::vector<core::VoiceSlot> chosen;
    for (int p : {4, 9})
        for (int s = 0; s < 20; ++s) {
            library_.Page(p)[s].status |= core::kStatusSelected;
            chosen.push_back(library_.Page(p)[s]);
        }
    Window().SelectBank(5);
    Pick("mnpCopySel1Click");
    EXPECT_TRUE(boxes_.Shown().empty());
    for (int s = 0; s < 32; ++s) EXPECT_TRUE(SameSlot(banks_[5].Page()[s], chosen[s])) << s;
    EXPECT_EQ(library_.CountSelection().selected, 8);
    EXPECT_EQ(SelectedOnPages(9, 9), 8);
    EXPECT_EQ(Lines(Window().BankList(5)).front(), DisplayVoiceName(chosen[0]));
    EXPECT_EQ(Window().SelectedCount()->text(), QStringLiteral("8"));

    banks_[5].ClearVoices();
    Pick("mnpCopySel1Click");
    for (int s = 0; s < 8; ++s) EXPECT_TRUE(SameSlot(banks_[5].Page()[s], chosen[32 + s])) << s;
    EXPECT_FALSE(banks_[5].Page()[8].IsUsed());
    EXPECT_EQ(library_.CountSelection().selected, 0);
}

// The scope of the commands that fill the bank from the library and sort by marker: Page mode
// takes page P's selection only; Library mode sorts across every page.
TEST_F(LibraryCommandsTest, CopySelectionAndSortByMarkersKeepToTheirScope) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    for (int p : {4, 9})
        for (int s = 0; s < 3; ++s) library_.Page(p)[s].status |= core::kStatusSelected;
    const core::VoiceSlot first9 = library_.Page(9)[0];
    Window().SelectBank(5);
    SetPageMode(true);
    Window().SetPageNumber(9);
    Pick("mnpCopySel1Click");
    EXPECT_EQ(banks_[5].Page()[0].voice, first9.voice);
    EXPECT_FALSE(banks_[5].Page()[3].IsUsed()) << "three voices of page 9 only";
    EXPECT_EQ(SelectedOnPages(4, 4), 3);
    EXPECT_EQ(SelectedOnPages(9, 9), 0);

    // Markers far apart: the whole library is one sequence, marker 0 first.
    library_.Page(2)[3].status = core::kStatusUsed | (7 << 2);
    library_.Page(20)[3].status = core::kStatusUsed | (1 << 2);
    library_.Page(21)[8].status = core::kStatusUsed | (1 << 2);
    SetPageMode(false);
    Pick("mnpTriTypeLib1Click");
    std::vector<int> markers;
    for (int p = 0; p < 24; ++p)
        for (int s = 0; s < 32; ++s) markers.push_back(library_.Page(p)[s].Marker());
    EXPECT_TRUE(std::is_sorted(markers.begin(), markers.end()));
    EXPECT_EQ(markers.back(), 7);
    EXPECT_EQ(markers[markers.size() - 2], 1);
}

TEST_F(LibraryCommandsTest, CopyPageGoesToTheCurrentBankInEitherModeUntilItIsFull) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    Window().SetPageNumber(7);
    banks_[0].Page()[0] = library_.Page(1)[0];
    Pick("mnpCopyLibPage1Click");
    EXPECT_TRUE(SameSlot(banks_[0].Page()[0], library_.Page(1)[0])) << "a used slot stays";
    for (int s = 1; s < 32; ++s)
        EXPECT_TRUE(SameSlot(banks_[0].Page()[s], library_.Page(7)[s - 1])) << s;
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "31 Sounds Copied. Destination Bank is Full !");
    EXPECT_EQ(Lines(Window().BankList(0)).back(), DisplayVoiceName(library_.Page(7)[30]));
}

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

TEST_F(LibraryCommandsTest, NameSearchOverRealBanksSelectsEveryMatchAndOnlyThem) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    library_.Page(20)[0].status |= core::kStatusSelected;  // cleared: Multi Select is off
    options_.searchText = "pIa";
    Pick("mnpFinOccLib1Click");
    int matches = 0;
    for (int p = 0; p < 24; ++p)
        for (int s = 0; s < 32; ++s) {
            const bool named = Lower(library_.VoiceName(p, s)).find("pia") != std::string::npos;
            matches += named;
            EXPECT_EQ(library_.IsSelected(p, s), named) << library_.VoiceName(p, s);
        }
    EXPECT_GE(matches, 20);
    EXPECT_TRUE(library_.IsSelected(0, 0)) << "PIANO   3";
    EXPECT_EQ(Window().SelectedCount()->text(), QString::number(matches));

    // Page mode: position 1 on page 0 only, added to what is selected.
    options_.multiSelect = true;
    options_.searchText = "syn";
    options_.searchPosition = 1;
    SetPageMode(true);
    Pick("mnpFinOccLib1Click");
    int added = 0;
    for (int s = 0; s < 32; ++s) added += Lower(library_.VoiceName(0, s)).rfind("syn", 0) == 0;
    EXPECT_GT(added, 0);
    EXPECT_EQ(library_.CountSelection().selected, matches + added - 1) << "SYNPIA.3-D was already";
}

TEST_F(LibraryCommandsTest, SortsThroughTheMenuOrderTheWholeLibraryOrOnePage) {
    ASSERT_EQ(ImportRealBanks(10), 24);
    library_.Page(12)[3].status = core::kStatusUsed | (7 << 2);
    library_.Page(30)[3].status = core::kStatusUsed | (1 << 2);
    SetPageMode(true);
    Window().SetPageNumber(30);
    Pick("mnpTriTypeLib1Click");
    EXPECT_EQ(library_.Page(30)[31].Marker(), 1) << "one page: marker 1 after the 0s";
    EXPECT_EQ(library_.Page(12)[3].Marker(), 7) << "other pages stay";

    SetPageMode(false);
    Pick("mnpTriAlphaLib1Click");
    EXPECT_EQ(library_.CountSelection().used, 768);
    for (int g = 1; g < 768; ++g) {
        const std::string before = library_.VoiceName((g - 1) / 32, (g - 1) % 32);
        const std::string name = library_.VoiceName(g / 32, g % 32);
        EXPECT_LE(static_cast<unsigned char>(before[0]), static_cast<unsigned char>(name[0]));
        ASSERT_TRUE(library_.Page(g / 32)[g % 32].IsUsed()) << g;
    }
    EXPECT_TRUE(library_.IsPageEmpty(24)) << "used voices first, free slots after";
    EXPECT_EQ(Lines(Window().LibraryList(0)).front(),
              DisplayVoiceName(library_.Page(Window().PageNumber())[0]));
}

TEST_F(LibraryCommandsTest, FindDoublesOverTheWholeLibraryShowsItsProgress) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    ASSERT_EQ(ImportRealBanks(500), 24);
    library_.Page(600)[0].status = core::kStatusUsed | core::kStatusSelected;  // cleared first
    Pick("mnpFindDblLibClick");
    EXPECT_EQ(SelectedOnPages(500, 523), 768) << "every later twin";
    EXPECT_FALSE(library_.IsSelected(600, 0));
    EXPECT_EQ(progress_.captions, std::vector<std::string>{"Find Doubles"});
    ASSERT_FALSE(progress_.counts.empty());
    EXPECT_EQ(progress_.counts.front(), 1);
    EXPECT_EQ(progress_.counts.back(), 1000);
    EXPECT_TRUE(std::is_sorted(progress_.counts.begin(), progress_.counts.end()));
    EXPECT_EQ(progress_.shown, 1);
    EXPECT_EQ(progress_.hidden, 1);
    EXPECT_EQ(Window().SelectedCount()->text(),
              QString::number(library_.CountSelection().selected));

    // Page mode: within the page only, without the progress window.
    options_.doubles = {.first = false, .second = true, .erase = true};
    library_.Page(501)[4] = library_.Page(501)[9];
    SetPageMode(true);
    Window().SetPageNumber(501);
    Pick("mnpFindDblLibClick");
    EXPECT_FALSE(library_.Page(501)[9].IsUsed());
    EXPECT_TRUE(library_.Page(501)[4].IsUsed());
    EXPECT_EQ(SelectedOnPages(500, 500), 32) << "other pages keep their selection";
    EXPECT_EQ(progress_.hidden, 1);
}

TEST(ThrottledProgress, PassesOnTheFirstCountThenOnlyAfterTheIntervalAndAlwaysTheLast) {
    std::uint32_t now = 0;
    std::vector<int> shown;
    ThrottledProgress progress([&shown](int count) { shown.push_back(count); }, 40,
                               [&now] { return now; });
    const std::pair<std::uint32_t, int> calls[] = {
        {0, 1}, {39, 2}, {40, 3}, {41, 4}, {79, 5}, {80, 6}, {81, 999}, {82, 1000}};
    for (const auto& [time, count] : calls) {
        now = time;
        progress(count, 1000);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 3, 6, 1000}));
}

TEST_F(LibraryCommandsTest, SelectionCommandsActInTheirScope) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    for (int p : {0, 1}) library_.Page(p)[2].status |= core::kStatusSelected;
    SetPageMode(true);
    Window().SetPageNumber(1);
    Pick("mnpSelLibInv1Click");
    EXPECT_EQ(SelectedOnPages(1, 1), 31);
    Pick("mnpClearLibSel1Click");
    EXPECT_EQ(library_.CountSelection().used, 768 - 31);
    SetPageMode(false);
    Pick("mnpSelLibInv1Click");
    EXPECT_EQ(library_.CountSelection().selected, 768 - 31 - 1);
    Pick("mnpSelLibClear1Click");
    EXPECT_EQ(library_.CountSelection().selected, 0);
    EXPECT_EQ(Window().SelectedCount()->text(), QStringLiteral("0"));
}

TEST_F(LibraryCommandsTest, CancelledDialogsChangeNothing) {
    ASSERT_EQ(ImportRealBanks(0), 24);
    dialogs_.Answer(std::nullopt);
    dialogs_.Answer(std::nullopt);
    Pick("btnLoadLibClick");
    Pick("btnSaveLibClick");
    ASSERT_EQ(dialogs_.Shown().size(), 2u);
    EXPECT_EQ(dialogs_.Shown()[0].kind, platform::FileDialogKind::Open);
    EXPECT_EQ(dialogs_.Shown()[0].fileName, "*.DXL");
    EXPECT_EQ(dialogs_.Shown()[0].filterIndex, platform::kLibraryFilter);
    EXPECT_EQ(dialogs_.Shown()[1].kind, platform::FileDialogKind::Save);
    EXPECT_EQ(dialogs_.Shown()[1].fileName, "Empty") << "the library's name is proposed";
    EXPECT_EQ(dialogs_.Shown()[1].filterIndex, platform::kLibraryFilter);
    EXPECT_EQ(Window().LibraryLabel()->text(), QStringLiteral("_______________"));
    EXPECT_EQ(library_.CountSelection().used, 768);
}

// "Load Library" of what is no library: a bank file has no whole page and is refused; a file of
// another size than a library's loads only when the user answers Yes (No is the default).
TEST_F(LibraryCommandsTest, LoadLibraryRefusesAFileWithoutAPageAndAsksAboutAnOddSize) {
    using Box = platform::RecordingBoxes::Box;
    const Box refused{platform::BoxKind::Error, "File Error", "File Format Error - Abort Loading",
                      false};
    const Box question{platform::BoxKind::Question, "Library File Read Warning",
                       "File is not the Size of a Library - Load Anyway ?", true};
    testing_support::TempDir dir;
    // Two pages of real voices, then marker names "Mark 0".."Mark 31".
    core::Bankson real;
    ASSERT_TRUE(real.LoadBankFile(BankFile(11), false));
    std::vector<core::Byte> twoPages;
    for (int p = 0; p < 2; ++p) {
        const auto* page = reinterpret_cast<const core::Byte*>(&real.Page());
        twoPages.insert(twoPages.end(), page, page + core::kPageSize);
    }
    for (int m = 0; m < core::kMarkerCount; ++m) {
        std::string name = "Mark " + std::to_string(m);
        name.resize(core::kNameSize, '\0');
        twoPages.insert(twoPages.end(), name.begin(), name.end());
    }
    std::vector<core::Byte> odd = twoPages;
    odd.push_back(0);  // one byte more than a library of two pages
    testing_support::WriteBytes(dir / "TWO.DXL", twoPages);
    testing_support::WriteBytes(dir / "ODD.DXL", odd);
    const struct {
        std::string file;
        platform::BoxAnswer answer;
        std::vector<Box> boxes;
        bool loads;
    } rows[] = {
        {BankFile(3), platform::BoxAnswer::Yes, {refused}, false},
        {(dir / "ODD.DXL").string(), platform::BoxAnswer::Ok, {question}, false},  // the default
        {(dir / "ODD.DXL").string(), platform::BoxAnswer::No, {question}, false},
        {(dir / "ODD.DXL").string(), platform::BoxAnswer::Yes, {question}, true},
        {(dir / "TWO.DXL").string(), platform::BoxAnswer::No, {}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file + " answered " + std::to_string(int(row.answer)));
        library_.Clear();
        library_.SetMarkerName(4, "Pads");
        ImportRealBanks(0);
        library_.SaveLibraryFile(dir / "MINE.DXL");  // named MINE, as the user's library
        Window().LibraryLabel()->setText(QStringLiteral("MINE"));
        Window().RefreshLibraryLists();
        const QStringList shown = Lines(Window().LibraryList(0));
        core::Libson before;
        ASSERT_TRUE(before.LoadLibraryFile(dir / "MINE.DXL"));
        boxes_.Clear();
        boxes_.SetAnswer(row.answer);
        dialogs_.Answer(row.file);

        Pick("btnLoadLibClick");

        EXPECT_EQ(boxes_.Shown(), row.boxes);
        if (!row.loads) {
            for (int p = 0; p < core::Libson::PageCount(); ++p)
                ASSERT_EQ(std::memcmp(&library_.Page(p), &before.Page(p), core::kPageSize), 0) << p;
            EXPECT_EQ(library_.MarkerNameText(4), "Pads");
            EXPECT_EQ(library_.Name(), "MINE");
            EXPECT_EQ(Window().LibraryLabel()->text(), QStringLiteral("MINE"));
            EXPECT_EQ(Lines(Window().LibraryList(0)), shown);
            continue;
        }
        EXPECT_EQ(std::memcmp(&library_.Page(1), &real.Page(), core::kPageSize), 0);
        EXPECT_EQ(std::memcmp(&library_.Page(2), &before.Page(2), core::kPageSize), 0);
        EXPECT_EQ(library_.MarkerNameText(4), "Mark 4");
        EXPECT_EQ(Window().LibraryLabel()->text(),
                  QString::fromStdString(std::filesystem::path(row.file).stem().string()));
    }
}

TEST_F(LibraryCommandsTest, ALibraryWithMarkersGoesThroughTheRealDialogAndComesBack) {
    testing_support::TempDir dir;
    platform::QtFileDialogs qtDialogs;
    platform::SetDialogs(&qtDialogs);
    const auto typeIntoNextDialog = [](const std::filesystem::path& path) {
        QTimer::singleShot(0, [path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QString::fromStdString(path.string()));
            static_cast<QDialog*>(dialog)->accept();
        });
    };

    ASSERT_EQ(ImportRealBanks(0), 24);
    library_.Page(3)[4].status = core::kStatusUsed | core::kStatusSelected | (9 << 2);
    library_.SetMarkerName(9, "Strings 10");
    library_.SetMarkerName(1, "Bass");
    TNameForm nameForm;
    TfrmTypes markers(library_, Window(), options_, nameForm);
    Commands().SetMarkersWindow(&markers);

    typeIntoNextDialog(dir / "MYLIB");
    Pick("btnSaveLibClick");
    EXPECT_EQ(std::filesystem::file_size(dir / "MYLIB.DXL"), core::kLibraryFileSize);
    EXPECT_EQ(Window().LibraryLabel()->text(), QStringLiteral("MYLIB"));

    Pick("btnDelLibClick");  // answered OK
    EXPECT_EQ(Lines(markers.listType())[9], QStringLiteral("Empty"));
    markers.HighlightMarker(5);

    typeIntoNextDialog(dir / "MYLIB.DXL");
    Pick("btnLoadLibClick");
    platform::SetDialogs(&dialogs_);
    EXPECT_EQ(Window().LibraryLabel()->text(), QStringLiteral("MYLIB"));
    EXPECT_EQ(library_.CountSelection().used, 768);
    EXPECT_EQ(library_.Page(3)[4].status, core::kStatusUsed | core::kStatusSelected | (9 << 2));
    EXPECT_EQ(Lines(markers.listType())[9], QStringLiteral("Strings 10"));
    EXPECT_EQ(Lines(markers.listType())[1], QStringLiteral("Bass"));
    EXPECT_EQ(Lines(markers.listStat())[9], QStringLiteral("1"));
    EXPECT_EQ(markers.HighlightedMarker(), 0) << "a loaded library starts at marker 0";
    EXPECT_EQ(Window().SelectedCount()->text(), QStringLiteral("1"));
}

}  // namespace
}  // namespace librarian
