// "Import Collection..." in the main window: the dialogs it asks, the progress and its cancel,
// the lists redrawn and the report, with the options and report windows offscreen.

#include <QAction>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "MainWindowFixture.h"
#include "librarian/CollectionImportCommands.h"
#include "librarian/MainMenus.h"
#include "librarian/TfrmImportOptions.h"
#include "librarian/TfrmImportReport.h"
#include "midi/DumpProgress.h"
#include "platform/FileDialogs.h"
#include "support/TempDir.h"
#include "tests/core/RealBankFiles.h"

namespace librarian {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;

// Records the progress; asks to cancel from the `cancelAt`-th look on (0: never).
class CancelingProgress final : public midi::DumpProgress {
public:
    void SetCaption(const std::string& caption) override { captions.push_back(caption); }
    void Show() override { shownCancelable = cancelable; }
    void SetCounter(int count) override { counts.push_back(count); }
    void Hide() override { ++hidden; }
    void SetCancelable(bool on) override { cancelable = on; }
    bool CancelRequested() override { return cancelAt > 0 && ++looks >= cancelAt; }
    std::vector<std::string> captions;
    std::vector<int> counts;
    bool cancelable = false, shownCancelable = false;
    int hidden = 0, looks = 0, cancelAt = 0;
};

class CollectionImportCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        const auto banks = core::test::RealBankFiles();
        ASSERT_EQ(banks.size(), 24u);
        for (std::size_t b = 0; b < 6; ++b) {
            const fs::path folder = dir_ / (b < 3 ? "one" : "two");
            fs::create_directories(folder);
            fs::copy_file(banks[b], folder / banks[b].filename());
        }
        fs::copy_file(banks[0], dir_ / "two" / "again.syx");  // 32 repeats
    }
    CollectionImportCommands& Commands() {
        if (!commands_) {
            commands_ = std::make_unique<CollectionImportCommands>(
                Window(), library_, progress_,
                [this](const std::vector<fs::path>& folders) {
                    asked_.push_back(folders);
                    return answer_;
                },
                [this](const core::CollectionReport& report) { reports_.push_back(report); });
            // Every look at the clock is 50 ms later: each file redraws and looks for Esc.
            commands_->SetClock([this] { return now_ += 50; });
            commands_->Connect();
        }
        return *commands_;
    }
    void Trigger() {
        QAction* item = Window().Menus().Item(QStringLiteral("ImportCollectionClick"));
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
    }

    TempDir dir_;
    platform::RecordingDialogs dialogs_;
    CancelingProgress progress_;
    std::optional<CollectionChoices> answer_ = CollectionChoices{};
    std::vector<std::vector<fs::path>> asked_;
    std::vector<core::CollectionReport> reports_;
    std::uint32_t now_ = 0;
    std::unique_ptr<CollectionImportCommands> commands_;
};

TEST_F(CollectionImportCommandsTest, TheFolderChosenFillsFreeSlotsFromThePageShownAndReportsOnce) {
    Commands();
    Window().SetPageNumber(20);
    dialogs_.Answer(dir_.Path().string());
    Trigger();
    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0].kind, platform::FileDialogKind::Folder);
    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_EQ(asked_[0], std::vector<fs::path>{dir_.Path()});
    EXPECT_TRUE(library_.IsPageEmpty(19));
    EXPECT_EQ(library_.CountSelection().used, 6 * 32);
    core::Bankson first;
    ASSERT_TRUE(first.LoadBankFile(core::test::RealBankFiles()[0], false));
    EXPECT_EQ(library_.Page(20)[0].voice, first.Page()[0].voice);
    // The lists show what came in: page 20 is the first on screen.
    EXPECT_EQ(Window().LibraryList(0)->Line(0).toStdString().substr(0, 10).find(first.VoiceName(0).substr(0, 5)), 0u);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].repeatedSkipped, 32);
    EXPECT_EQ(reports_[0].filesRead, 7);
    EXPECT_TRUE(boxes_.Shown().empty());  // never a box per file
    EXPECT_EQ(progress_.captions, std::vector<std::string>{kImportCollectionCaption});
    EXPECT_TRUE(progress_.shownCancelable);
    EXPECT_FALSE(progress_.cancelable);
    EXPECT_EQ(progress_.hidden, 1);
    EXPECT_EQ(progress_.counts.back(), 7);

    // A cancelled folder dialog or options dialog changes nothing.
    answer_ = std::nullopt;
    dialogs_.Answer(dir_.Path().string());
    Trigger();
    Trigger();
    EXPECT_EQ(asked_.size(), 2u);
    EXPECT_EQ(reports_.size(), 1u);
    EXPECT_EQ(library_.CountSelection().used, 6 * 32);
}

TEST_F(CollectionImportCommandsTest, EscStopsAfterTheCurrentFileAndKeepsWhatCameIn) {
    progress_.cancelAt = 2;  // asked while the second file has been read
    Commands().ImportFolders({dir_.Path()});
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_TRUE(reports_[0].canceled);
    EXPECT_EQ(reports_[0].filesRead, 2);
    EXPECT_EQ(reports_[0].filesLeft, 5);
    EXPECT_EQ(library_.CountSelection().used, 64);
    EXPECT_EQ(Commands().LastReport()->voicesAdded, 64);
}

TEST_F(CollectionImportCommandsTest, OptionsDialogKeepsItsChoicesAndTheReportSavesAsText) {
    TfrmImportOptions options;
    EXPECT_EQ(options.Choices(), (CollectionChoices{true, true, false}));
    options.chkSkipKnown->setChecked(false);
    options.chkFolderMarkers->setChecked(true);
    QTimer::singleShot(0, &options, &QDialog::accept);
    EXPECT_EQ(options.Ask({dir_.Path()}), (CollectionChoices{false, true, true}));
    EXPECT_NE(options.labFolder->text().indexOf(QString::fromStdString(dir_.Path().string())), -1);
    // Cancel answers nothing and keeps the choices as they were.
    QTimer::singleShot(0, &options, [&] {
        options.chkSkipRepeated->setChecked(false);
        options.reject();
    });
    EXPECT_EQ(options.Ask({dir_.Path()}), std::nullopt);
    EXPECT_EQ(options.Choices(), (CollectionChoices{false, true, true}));

    TfrmImportReport report;
    report.ShowReport("7 files read\n");
    EXPECT_EQ(report.memReport->toPlainText(), "7 files read\n");
    EXPECT_TRUE(report.isVisible());
    dialogs_.Answer((dir_ / "report.txt").string());
    report.btnSave->click();
    EXPECT_EQ(dialogs_.Shown().back().fileName, kReportFileName);
    const std::vector<std::uint8_t> saved = ReadBytes(dir_ / "report.txt");
    EXPECT_EQ(std::string(saved.begin(), saved.end()), "7 files read\n");
}

}  // namespace
}  // namespace librarian
