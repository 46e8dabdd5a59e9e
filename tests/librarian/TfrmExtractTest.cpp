#include "librarian/TfrmExtract.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QTimer>
#include <QtTest/QTest>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "librarian/AutoBankCommands.h"
#include "librarian/VoiceNameText.h"
#include "midi/DumpProgress.h"
#include "platform/FileDialogs.h"
#include "platform/WildcardSearch.h"
#include "support/TempDir.h"
#include "tests/core/RealBankFiles.h"

namespace librarian {
namespace {

namespace fs = std::filesystem;

class CountingProgress final : public midi::DumpProgress {
public:
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void Show() override { ++shown; }
    void SetCounter(int) override {}
    void Hide() override {}
    std::vector<std::string> captions;
    int shown = 0;
};

class TfrmExtractTest : public MainWindowFixture {
protected:
    TfrmExtract& Extractor() {
        if (!extract_) extract_ = std::make_unique<TfrmExtract>(Window().SelectedCount());
        return *extract_;
    }
    AutoBankCommands& Commands() {
        if (!commands_) {
            TfrmMain::Banks banks;
            for (int n = 0; n < kBankCount; ++n) banks[n] = &banks_[n];
            commands_ = std::make_unique<AutoBankCommands>(
                Window(), banks, library_, Extractor(), progress_,
                [](int module) { return module + 3; });
            commands_->Connect();
        }
        return *commands_;
    }
    void Pick(const char* handler) {
        Commands();
        Window().Menus().Item(QString::fromLatin1(handler))->trigger();
    }
    // The extractor's Go button is clicked as soon as the window is up.
    void ClickGoWhenShown() {
        QTimer::singleShot(0, &Extractor(), [this] {
            shownModal_ = Extractor().isVisible() && Extractor().isModal();
            shownTitle_ = Extractor().windowTitle();
            QTest::mouseClick(Extractor().gswGoExtract, Qt::LeftButton);
        });
    }
    void TearDown() override {
        commands_.reset();
        extract_.reset();
        MainWindowFixture::TearDown();
    }

    platform::RecordingDialogs dialogs_;
    CountingProgress progress_;
    std::unique_ptr<TfrmExtract> extract_;
    std::unique_ptr<AutoBankCommands> commands_;
    bool shownModal_ = false;
    QString shownTitle_;
};

TEST_F(TfrmExtractTest, SwitchesAndTheirLabelsActAlikeAndTheFormatsExcludeEachOther) {
    TfrmExtract& w = Extractor();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Library  Extractor"));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
    const ExtractorSettings defaults = w.Settings();
    EXPECT_EQ(defaults.minPage, 0);
    EXPECT_EQ(defaults.maxPage, 999);
    EXPECT_FALSE(defaults.extractSelected || defaults.asSysex || defaults.withFunctions);

    QTest::mouseClick(w.AsSysexLabel, Qt::LeftButton);
    EXPECT_TRUE(w.Settings().asSysex);
    QTest::mouseClick(w.swgPerfSave, Qt::LeftButton);
    EXPECT_TRUE(w.Settings().withFunctions);
    EXPECT_FALSE(w.Settings().asSysex);
    EXPECT_EQ(w.gswAsSysex->state(), 0);
    EXPECT_EQ(w.swgPerfSave->state(), 1);
    QTest::mouseClick(w.PerfSaveLabel, Qt::LeftButton);
    EXPECT_FALSE(w.Settings().withFunctions || w.Settings().asSysex);

    // Extract Selected hides the range and quotes the main window's count.
    library_.Page(3)[4].status = core::kStatusUsed | core::kStatusSelected;
    library_.Page(8)[0].status = core::kStatusUsed | core::kStatusSelected;
    Window().RefreshLibraryLists();
    w.show();
    QTest::mouseClick(w.ExtractSelLabel, Qt::LeftButton);
    EXPECT_TRUE(w.Settings().extractSelected);
    EXPECT_EQ(w.Label4->text(), QStringLiteral(" Selected = 2"));
    EXPECT_FALSE(w.MinPage->isVisible() || w.MaxPage->isVisible() || w.Label5->isVisible());
    EXPECT_FALSE(w.MinPage->isEnabled());
    QTest::mouseClick(w.gswExtractSel, Qt::LeftButton);
    EXPECT_EQ(w.Label4->text(), QStringLiteral("From Page"));
    EXPECT_TRUE(w.MinPage->isVisible() && w.MaxPage->isEnabled() && w.Label5->isVisible());
    // The knobs may cross: nothing stops MinPage above MaxPage.
    w.MaxPage->setState(5);
    w.MinPage->setState(700);
    EXPECT_EQ(w.Settings().minPage, 700);
    EXPECT_EQ(w.Settings().maxPage, 5);
}

// The page knobs' drags pass about three pages a pixel; the wheel and the arrow keys step one
// page, a fine wheel's deltas adding up to a notch, and never past the range.
TEST_F(TfrmExtractTest, TheWheelAndTheArrowKeysStepThePageKnobsByOnePage) {
    TfrmExtract& w = Extractor();
    w.show();
    QSignalSpy changes(w.MinPage, &controls::Tzopotlab::changed);
    for (const auto& [delta, page] : {std::pair{120, 1}, {60, 1}, {60, 2}, {-360, 0}}) {
        QWheelEvent wheel(QPointF(5, 5), w.MinPage->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.MinPage, &wheel);
        EXPECT_EQ(w.Settings().minPage, page) << delta;
    }
    EXPECT_EQ(changes.count(), 3) << "half a notch changes nothing yet";
    for (const auto& [key, page] : {std::pair{Qt::Key_Up, 999}, {Qt::Key_Down, 998},
                                    {Qt::Key_Left, 997}, {Qt::Key_Right, 998}, {Qt::Key_PageUp, 998}}) {
        QTest::keyClick(w.MaxPage, key);
        EXPECT_EQ(w.Settings().maxPage, page) << key;
    }
    EXPECT_EQ(w.MaxPage->focusPolicy(), Qt::WheelFocus);
}

// The import stages the files in a bank of its own: the current bank, its function records and
// its label stay as they were, also with a function-bank dump among the files (which fills no
// page). The library then shows the first page imported.
TEST_F(TfrmExtractTest, AutoImportFromTheMenuFillsPagesFromThePageNumberAndDrawsOnce) {
    const std::vector<fs::path> real = core::test::RealBankFiles();
    ASSERT_GE(real.size(), 5u);
    testing_support::TempDir dir;
    for (int n = 0; n < 3; ++n) fs::copy_file(real[n], dir / ("bank" + std::to_string(n) + ".syx"));
    std::vector<core::Byte> functionDump = testing_support::ReadBytes(real[3]);
    functionDump[3] = core::kFunctionBankFormat;
    testing_support::WriteBytes(dir / "bank3.syx", functionDump);
    ASSERT_TRUE(banks_[2].LoadBankFile(real[4], false));
    std::memset(banks_[2].Functions().data(), 0x2A, core::kFunctionBankSize);
    const core::BankSlotBlock before = banks_[2].Slots();
    const std::string nameBefore = banks_[2].Name();
    Window().SetBankLabel(2, QStringLiteral("Mine"));
    Window().SelectBank(2);
    Window().SetPageNumber(10);
    int refreshes = 0;
    QObject::connect(&Window(), &TfrmMain::libraryRefreshed, [&] { ++refreshes; });
    dialogs_.Answer((dir / "BANK*.SYX").string());
    Pick("AutoImportBankClick");

    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0], (platform::FileDialogRequest{.kind = platform::FileDialogKind::Open,
                                                                .fileName = "*.DX7",
                                                                .filterIndex = 1,
                                                                .validate = false}));
    EXPECT_EQ(Window().PageNumber(), 10);
    EXPECT_EQ(Window().LibraryList(0)->Line(0), DisplayVoiceName(library_.Page(10)[0]));
    for (int n = 0; n < 3; ++n) EXPECT_FALSE(library_.IsPageEmpty(10 + n));
    EXPECT_TRUE(library_.IsPageEmpty(13));
    EXPECT_EQ(std::memcmp(&banks_[2].Slots(), &before, sizeof before), 0);
    EXPECT_EQ(banks_[2].Name(), nameBefore);
    EXPECT_EQ(Window().BankLabel(2)->text(), QStringLiteral("Mine"));
    EXPECT_EQ(refreshes, 1) << "the lists are drawn at the end only";
    EXPECT_EQ(progress_.captions, std::vector<std::string>{kLoadBankCaption});
    EXPECT_TRUE(boxes_.Shown().empty());

    // A cancelled dialog changes nothing.
    Window().SetPageNumber(20);
    Pick("AutoImportBankClick");
    EXPECT_EQ(Window().PageNumber(), 20);
}

TEST_F(TfrmExtractTest, AutoExportAsksTheExtractorThenTheSaveDialogOnTheBanksChannel) {
    testing_support::TempDir dir;
    library_.Page(4)[0].status = core::kStatusUsed;
    library_.Page(6)[0].status = core::kStatusUsed;
    ASSERT_TRUE(banks_[1].LoadBankFile(core::test::RealBankFiles().at(0), false));
    const core::BankSlotBlock before = banks_[1].Slots();
    Window().SelectBank(1);
    Extractor().gswAsSysexClick();
    ClickGoWhenShown();
    dialogs_.Answer((dir / "OUT.DXL").string());
    Pick("AutoExportBank1Click");

    EXPECT_TRUE(shownModal_);
    EXPECT_EQ(shownTitle_, QStringLiteral("Library  Extractor"));
    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0].kind, platform::FileDialogKind::Save);
    EXPECT_EQ(dialogs_.Shown()[0].filterIndex, platform::kSysexFilter);
    EXPECT_EQ(dialogs_.Shown()[0].fileName, library_.Name());
    EXPECT_FALSE(dialogs_.Shown()[0].validate);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"OUT4.SYX", "OUT6.SYX"}));
    core::Bankson loaded;
    ASSERT_TRUE(loaded.LoadBankFile(dir / "OUT6.SYX", false));
    core::Bankson page6;
    page6.CopyFromPage(library_.Page(6), core::kStatusUsed);
    const core::BulkDump dump = page6.MakeBulkDump(false, 4);  // module 1 is on channel 4
    std::ifstream in(dir / "OUT6.SYX", std::ios::binary);
    core::BulkDump written{};
    in.read(reinterpret_cast<char*>(written.data()), std::streamsize(written.size()));
    EXPECT_EQ(written, dump);
    ASSERT_FALSE(boxes_.Shown().empty());
    EXPECT_EQ(boxes_.Shown().back().text, "Operation Complete - 2 Files Saved");
    EXPECT_EQ(std::memcmp(&banks_[1].Slots(), &before, sizeof before), 0) << "no staging area";

    // Closed with Escape, the extractor still leads to the dialog, where cancel ends it.
    QTimer::singleShot(0, &Extractor(), [this] { QTest::keyClick(&Extractor(), Qt::Key_Escape); });
    Pick("AutoExportBank1Click");
    EXPECT_EQ(dialogs_.Shown().size(), 2u);
    EXPECT_EQ(dir.Files().size(), 2u);
}

// "Extract Selected" writes used and selected voices: free slots left selected are no voices,
// and the real ones after them still go out; a used voice not selected stays behind.
TEST_F(TfrmExtractTest, AutoExportOfTheSelectionWritesOnlyUsedSelectedVoices) {
    testing_support::TempDir dir;
    core::Bankson real;
    ASSERT_TRUE(real.LoadBankFile(core::test::RealBankFiles().at(2), false));
    for (core::VoiceSlot& slot : library_.Page(0)) slot.status = core::kStatusSelected;
    library_.Page(1) = real.Page();
    for (int s = 0; s < 5; ++s) library_.Page(1)[s].status |= core::kStatusSelected;
    Window().RefreshLibraryLists();
    Extractor().gswExtractSelClick();
    ClickGoWhenShown();
    dialogs_.Answer((dir / "SEL.DXL").string());
    Pick("AutoExportBank1Click");

    ASSERT_EQ(dir.Files(), std::vector<std::string>{"SEL0.DX7"});
    core::Bankson written;
    ASSERT_TRUE(written.LoadBankFile(dir / "SEL0.DX7", false));
    const core::Bankson empty;
    for (int s = 0; s < 32; ++s)
        EXPECT_EQ(written.Page()[s].voice, (s < 5 ? real : empty).Page()[s].voice) << s;
    EXPECT_EQ(boxes_.Shown().back().text, "Operation Complete - 1 Files Saved");
    EXPECT_EQ(library_.CountSelection().selected, 0);
    EXPECT_EQ(library_.Page(0)[31].status, core::kStatusSelected) << "no voice, left as it was";
}

}  // namespace
}  // namespace librarian
