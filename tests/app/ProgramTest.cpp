// The program's start-up and shutdown in this process, on the emulated rack.

#include "app/Program.h"
#include "app/RunGuarded.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include "librarian/VoiceList.h"
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>

#include <gtest/gtest.h>

#include "controls/TTitleBar.h"
#include "controls/Tzografsw.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "editor/TfrmEdt.h"
#include "librarian/TfrmExtract.h"
#include "librarian/TfrmMain.h"
#include "librarian/TfrmOption.h"
#include "librarian/TfrmTypes.h"
#include "midi/EmulatedRack.h"
#include "midi/TfrmDump.h"
#include "midi/TfrmMidi.h"
#include "midi/TfrmSystem.h"
#include "platform/MemorySettings.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"
#include "support/TestApplication.h"

namespace app {
namespace {

using namespace std::chrono_literals;
using Names = std::vector<std::string>;

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::TestApplication(); }

    platform::RecordingBoxes boxes_;
    platform::MemorySettings settings_;
    midi::EmulatedRack rack_;
};

TEST_F(ProgramTest, FirstStartComesUpOnTheEmulatedRackWithoutAnyBox) {
    Program program(rack_, settings_);
    program.Start();
    librarian::TfrmMain& main = program.MainWindow();
    EXPECT_TRUE(main.isVisible());
    EXPECT_EQ(main.pos(), QPoint(241, 166));
    EXPECT_EQ(program.MidiWindow().cmbOutput->currentText(), QString(midi::kEmulatedRackName));
    EXPECT_EQ(program.MidiWindow().cmbInput->currentText(), QString(midi::kEmulatedRackName));
    EXPECT_TRUE(boxes_.Shown().empty());

    // The ports are open: the customized rack (the default) hears the module select.
    QTest::keyClick(&main, '2');
    ASSERT_TRUE(rack_.WaitIdle(2s));
    EXPECT_EQ(rack_.SelectedModule(), std::optional<std::size_t>(1));
    EXPECT_TRUE(settings_.Writes().empty()) << "nothing is written before the close";
}

// The editor is made at start-up over the edit buffer, shown by a right click on the buffer
// label, renames the label, and its place and visibility are what is written at exit.
TEST_F(ProgramTest, TheEditorShowsTheBufferAndItsPlaceIsWrittenAtExit) {
    {
        Program program(rack_, settings_);
        program.Start();
        editor::TfrmEdt& editor = program.EditorWindow();
        EXPECT_FALSE(editor.isVisible());
        EXPECT_EQ(editor.pos(), QPoint(206, 278));
        program.EditBuffer().Image(0)[134] = 21;
        QLabel* buffer = program.MainWindow().BufferLabel();
        QTest::mouseClick(buffer, Qt::RightButton);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.findChild<QLabel*>(QStringLiteral("E_ALGO_NUM2"))->text(), QStringLiteral("22"));
        // A voice loaded by the main window shows at once.
        program.EditBuffer().Image(0)[134] = 30;
        emit program.MainWindow().editBufferChanged();
        EXPECT_EQ(editor.findChild<QLabel*>(QStringLiteral("E_ALGO_NUM2"))->text(), QStringLiteral("31"));
        editor.SetNameEditor([](const QString&) { return QStringLiteral("EDITED"); });
        QTest::mouseClick(editor.findChild<QLabel*>(QStringLiteral("EdNomSon")), Qt::LeftButton);
        EXPECT_EQ(buffer->text(), QStringLiteral("EDITED    "));
        editor.move(300, 200);
        program.MainWindow().close();
    }
    EXPECT_EQ(settings_.Get(platform::kEditorOptionsKey, "EDX"), 200);
    EXPECT_EQ(settings_.Get(platform::kEditorOptionsKey, "EDY"), 300);
    EXPECT_EQ(settings_.Get(platform::kEditorOptionsKey, "EVI"), 1);
    EXPECT_EQ(settings_.Get(platform::kEditorOptionsKey, "GRN"), 64);
    Program again(rack_, settings_);
    EXPECT_TRUE(again.EditorWindow().isVisible());
    EXPECT_EQ(again.EditorWindow().pos(), QPoint(300, 200));
}

TEST_F(ProgramTest, RestoredMidiModesSetTheMainWindowsMenuItemsFromTheStart) {
    settings_.Set(platform::kMidiKey, "AD", 1);
    settings_.Set(platform::kMidiKey, "DX", 1);
    settings_.Set(platform::kMidiKey, "TX", 0);
    Program program(rack_, settings_);
    librarian::MainMenus& menus = program.MainWindow().Menus();
    for (const char* item : {"GetAllBankMIDIClick", "MemoryProtectOffClick", "ShowSystemInfoClick",
                             "GetBankMIDIClick"})
        menus.Connect(QString::fromLatin1(item), [] {});
    EXPECT_FALSE(menus.Item(QStringLiteral("GetAllBankMIDIClick"))->isEnabled());
    EXPECT_FALSE(menus.Item(QStringLiteral("MemoryProtectOffClick"))->isEnabled());
    EXPECT_FALSE(menus.Item(QStringLiteral("ShowSystemInfoClick"))->isEnabled());
    EXPECT_TRUE(menus.Item(QStringLiteral("GetBankMIDIClick"))->isEnabled());
}

// The real start-up puts the main window on screen before the other windows are made; once it
// returns everything is as after the plain start, settings read and written alike.
TEST_F(ProgramTest, TheMainWindowPaintsFirstThenEveryOtherWindowIsMade) {
    settings_.Set(platform::kBaseKey, "MBX", 70);
    settings_.Set(platform::kBaseKey, "MBY", 40);
    settings_.Set(platform::kBaseKey, "PER", 0);
    settings_.Set(platform::kBaseKey, "PAG", 1);
    settings_.Set(platform::kBaseKey, "OBX", 300);
    settings_.Set(platform::kBaseKey, "OBY", 200);
    settings_.Set(platform::kBaseKey, "OBO", 1);
    {
        Program program(rack_, settings_, Program::Creation::MainWindowFirst);
        const qsizetype alone = QApplication::topLevelWidgets().size();
        struct PaintCount : QObject {
            qsizetype windowsAtFirstPaint = -1;
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint && windowsAtFirstPaint < 0)
                    windowsAtFirstPaint = QApplication::topLevelWidgets().size();
                return false;
            }
        } paints;
        program.MainWindow().installEventFilter(&paints);
        ASSERT_TRUE(program.StartMainWindowFirst());
        program.MainWindow().removeEventFilter(&paints);
        EXPECT_EQ(paints.windowsAtFirstPaint, alone) << "painted before any other window was made";
        EXPECT_GT(QApplication::topLevelWidgets().size(), alone + 5);
        EXPECT_EQ(program.MainWindow().pos(), QPoint(40, 70));
        EXPECT_TRUE(program.OptionsWindow().isVisible());
        EXPECT_EQ(program.OptionsWindow().pos(), QPoint(200, 300));
        EXPECT_EQ(program.MidiWindow().cmbOutput->currentText(), QString(midi::kEmulatedRackName));
        QTest::keyClick(&program.MainWindow(), '3');
        ASSERT_TRUE(rack_.WaitIdle(2s));
        EXPECT_EQ(rack_.SelectedModule(), std::optional<std::size_t>(2));
        program.MainWindow().close();
    }
    EXPECT_EQ(settings_.WrittenNames(platform::kBaseKey).size(), 22u);
    EXPECT_EQ(settings_.Get(platform::kBaseKey, "OBO"), 1);
    EXPECT_EQ(settings_.Get(platform::kBaseKey, "PAG"), 1);
}

TEST_F(ProgramTest, ClosingTheMainWindowWritesBaseMidiAndEditorKeysInOrder) {
    {
        Program program(rack_, settings_);
        program.Start();
        program.MainWindow().move(50, 60);
        QTest::keyClick(&program.MainWindow(), 'p');
        program.MainWindow().close();
    }
    std::vector<std::string> keys;
    for (const auto& [key, name] : settings_.Writes())
        if (keys.empty() || keys.back() != key) keys.push_back(key);
    EXPECT_EQ(keys, (Names{"Base", "Midi", "EdtOpt"}));
    EXPECT_EQ(settings_.WrittenNames(platform::kBaseKey),
              (Names{"MBX", "MBY", "OBX", "OBY", "TBX", "TBY", "PER", "PAG", "OBO", "TBO", "MSL",
                     "LBU", "CPY", "SWP", "ADD", "DF1", "DF2", "DEL",
                     "AUD", "AUDN", "AUDV", "AUDL"}));
    EXPECT_EQ(settings_.WrittenNames(platform::kMidiKey),
              (Names{"AD", "PBC", "PBCT", "DX", "TX", "TXC", "TF1", "Timer1", "Timer2", "C1", "C2",
                     "C3", "C4", "C5", "C6", "C7", "C8", "AUDIO"}));
    EXPECT_EQ(settings_.WrittenNames(platform::kEditorOptionsKey),
              (Names{"EDX", "EDY", "EVI", "SOT", "SVL", "FSU", "GRE", "SHMK", "CLM", "CLB", "CLG",
                     "CLS", "GRN", "GRM", "SZMK"}));
    const platform::MemorySettings& stored = settings_;
    EXPECT_EQ(stored.Get(platform::kBaseKey, "MBX"), 60);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "MBY"), 50);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "PER"), 1);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "PAG"), 0);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "CPY"), 1);
    EXPECT_EQ(stored.Get(platform::kMidiKey, "TXC"), 1);
    EXPECT_EQ(stored.Get(platform::kEditorOptionsKey, "EDY"), 206);

    // The next start finds the window where it was left, in the same mode.
    Program again(rack_, settings_);
    EXPECT_EQ(again.MainWindow().pos(), QPoint(50, 60));
    EXPECT_TRUE(again.MainWindow().FunctionsMode());
}

TEST_F(ProgramTest, TheMarkersWindowOpensWhereItWasLeftAndIsStoredAtTheClose) {
    settings_.Set(platform::kBaseKey, "TBX", 120);
    settings_.Set(platform::kBaseKey, "TBY", 90);
    settings_.Set(platform::kBaseKey, "TBO", 1);
    {
        Program program(rack_, settings_);
        program.Start();
        librarian::TfrmTypes& markers = program.MarkersWindow();
        EXPECT_TRUE(markers.isVisible());
        EXPECT_EQ(markers.pos(), QPoint(90, 120));
        // Every library command is connected, and "t" raises the window.
        for (const char* item : {"mnpSelLibClear1Click", "mnpFindDblLibClick", "btnLoadLibClick",
                                 "btnSaveLibClick", "btnDelLibClick", "mnpTriTypeLib1Click"})
            EXPECT_TRUE(program.MainWindow().Menus().Item(QString::fromLatin1(item))->isEnabled())
                << item;
        markers.hide();
        QTest::keyClick(&program.MainWindow(), 't');
        EXPECT_TRUE(markers.isVisible());
        markers.move(70, 80);
        program.MainWindow().close();
    }
    const platform::MemorySettings& stored = settings_;
    EXPECT_EQ(stored.Get(platform::kBaseKey, "TBX"), 80);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "TBY"), 70);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "TBO"), 1);
}

TEST_F(ProgramTest, AnOptionsWindowLeftOpenIsStoredAndOpensAgainAfterTheMainWindow) {
    {
        Program program(rack_, settings_);
        program.Start();
        EXPECT_FALSE(program.OptionsWindow().isVisible());
        QTest::keyClick(&program.MainWindow(), 'o');
        program.OptionsWindow().move(300, 320);
        program.OptionsWindow().OptionClick(librarian::OptionSwitch::Swap);
        program.MainWindow().close();
    }
    const platform::MemorySettings& stored = settings_;
    EXPECT_EQ(stored.Get(platform::kBaseKey, "OBO"), 1);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "OBX"), 320);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "OBY"), 300);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "CPY"), 0);
    EXPECT_EQ(stored.Get(platform::kBaseKey, "SWP"), 1);

    Program again(rack_, settings_);
    EXPECT_FALSE(again.OptionsWindow().isVisible()) << "not before the main window";
    again.Start();
    EXPECT_TRUE(again.OptionsWindow().isVisible());
    EXPECT_EQ(again.OptionsWindow().pos(), QPoint(300, 320));
    EXPECT_TRUE(again.OptionsWindow().Swap());
}

TEST_F(ProgramTest, ThePressOfADragIsTheVoiceClickAndTheDropCarriesItsNewSelection) {
    Program program(rack_, settings_);
    program.Start();
    librarian::TfrmMain& main = program.MainWindow();
    ASSERT_TRUE(program.Bank(0).LoadBankFile(
        std::string(MONDRAL_SHARED_DIR) + "/banks/SynprezFM_16.syx", false));
    main.RefreshBankList(0);
    QSignalSpy editorTold(&main, &librarian::TfrmMain::editBufferChanged);
    librarian::VoiceListBox* from = main.BankList(0);
    librarian::VoiceListBox* to = main.BankList(1);
    const QPoint pressAt = from->LineRect(3).center();
    const QPoint dropAt = from->mapFromGlobal(
        to->mapToGlobal(to->LineRect(10).center()));

    QTest::mousePress(from, Qt::LeftButton, {}, pressAt);
    EXPECT_TRUE(program.Bank(0).Page()[3].IsSelected()) << "clicked at the press";
    EXPECT_EQ(editorTold.count(), 1);
    QTest::mouseMove(from, pressAt + QPoint(0, QApplication::startDragDistance() + 1));
    QTest::mouseMove(from, dropAt);
    QTest::mouseRelease(from, Qt::LeftButton, {}, dropAt);

    const core::VoiceSlot& source = program.Bank(0).Page()[3];
    const core::VoiceSlot& copy = program.Bank(1).Page()[10];
    EXPECT_TRUE(source.IsSelected()) << "the release clicks nothing";
    EXPECT_EQ(copy.voice, source.voice);
    EXPECT_EQ(copy.status, source.status);
    EXPECT_EQ(main.BufferLabel()->text(), main.BankList(1)->Line(10));
    EXPECT_EQ(editorTold.count(), 1);

    // The buffer on the trash: emptied, and the editor told so.
    QLabel* buffer = main.BufferLabel();
    const QPoint trashAt = buffer->mapFromGlobal(
        main.TrashPicture()->mapToGlobal(main.TrashPicture()->rect().center()));
    QTest::mousePress(buffer, Qt::LeftButton, {}, buffer->rect().center());
    QTest::mouseMove(buffer, buffer->rect().center() + QPoint(QApplication::startDragDistance() + 1, 0));
    QTest::mouseMove(buffer, trashAt);
    QTest::mouseRelease(buffer, Qt::LeftButton, {}, trashAt);
    const core::Edtson empty;
    EXPECT_EQ(program.EditBuffer().Image(core::Edtson::Working), empty.Image(core::Edtson::Working));
    EXPECT_EQ(buffer->text(), QStringLiteral("----------"));
    EXPECT_EQ(editorTold.count(), 2);
    EXPECT_TRUE(boxes_.Shown().empty());
}

// The bank menus' MIDI items run their commands from the start, against the listed rack.
TEST_F(ProgramTest, BankMidiItemsFetchFromTheRack) {
    Program program(rack_, settings_);
    program.Start();
    librarian::TfrmMain& main = program.MainWindow();
    librarian::MainMenus& menus = main.Menus();
    for (const char* item : {"GetBankMIDIClick", "SendBankMIDIClick", "GetAllBankMIDIClick",
                             "SendAllBankstoMIDIClick", "ShowSystemInfoClick",
                             "MemoryProtectOffClick", "AllMIDIProtect1Click"})
        EXPECT_TRUE(menus.Item(QString::fromLatin1(item))->isEnabled()) << item;
    EXPECT_FALSE(program.DumpWindow().isVisible());
    EXPECT_EQ(program.DumpWindow().windowTitle(), "Dump");

    menus.Item(QStringLiteral("GetBankMIDIClick"))->trigger();  // no menu bank: the current one
    EXPECT_EQ(main.BankLabel(0)->text(), "MIDI New");
    EXPECT_EQ(main.BankList(0)->Line(5),
              QString::fromStdString(program.Bank(0).VoiceName(5)));
    core::BankImage fetched{};
    core::PageToBankImage(program.Bank(0).Page(), fetched);
    EXPECT_EQ(fetched, rack_.VoiceBank(0));

    menus.Item(QStringLiteral("GetAllBankMIDIClick"))->trigger();
    for (int bank = 0; bank < 8; ++bank) EXPECT_EQ(main.BankLabel(bank)->text(), "MIDI New");
    EXPECT_FALSE(program.DumpWindow().isVisible());
    EXPECT_TRUE(boxes_.Shown().empty());
}

// "Show System Info" on a bank label: the module is routed before its request goes out (the
// patch bay passes only the routed module's reply), and the window opens filled; when the
// module does not answer only the error box shows.
TEST_F(ProgramTest, ShowSystemInfoRoutesTheModuleFirstAndOpensOnlyOnAReply) {
    Program program(rack_, settings_);
    program.Start();
    librarian::TfrmMain& main = program.MainWindow();
    midi::TfrmSystem& system = program.SystemWindow();
    rack_.SetBattery(3, 25);
    for (bool silent : {false, true}) {
        SCOPED_TRACE(silent ? "silent module" : "answering module");
        rack_.SetSilent(3, silent);
        QTest::keyClick(&main, '1');  // module 0 routed
        ASSERT_TRUE(rack_.WaitIdle(2s));
        boxes_.Clear();
        QString shownTitle, shownBattery;
        QTimer closer;  // reads and closes the window if it opens
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QApplication::activeModalWidget() != &system) return;
            shownTitle = system.windowTitle();
            shownBattery = system.labBattSys->text();
            system.reject();
        });
        closer.start(10);
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QCoreApplication::sendEvent(main.BankLabel(3), &open);
        main.Menus().popBank2()->hide();
        main.Menus().Item(QStringLiteral("ShowSystemInfoClick"))->trigger();
        closer.stop();
        EXPECT_EQ(rack_.SelectedModule(), std::optional<std::size_t>(3));
        EXPECT_EQ(shownTitle, silent ? QString() : QStringLiteral("Info Module 4"));
        EXPECT_EQ(shownBattery, silent ? QString() : QStringLiteral("2.5 V"));
        EXPECT_EQ(boxes_.Shown().size(), silent ? 1u : 0u);
    }
}

// The memory-protect items show the protection the program last set on the modules they act
// on: a check mark, or a note while it set none since start (the rack's own state is unknown).
TEST_F(ProgramTest, MemoryProtectItemsShowTheProtectionLastSet) {
    Program program(rack_, settings_);
    program.Start();
    librarian::TfrmMain& main = program.MainWindow();
    librarian::MainMenus& menus = main.Menus();
    QAction* one = menus.Item(QStringLiteral("MemoryProtectOffClick"));
    QAction* all = menus.Item(QStringLiteral("AllMIDIProtect1Click"));
    const QString unknown = QStringLiteral(" (state unknown)");
    // Each step opens a menu as the user does (right-click on a bank's name label or on the
    // trash), looks at the item, then picks it or not.
    const struct {
        QWidget* on;
        QAction* item;
        QString text;
        bool checkable, checked, pick;
    } steps[] = {
        {main.BankLabel(3), one, "Memory Protect " + unknown, false, false, true},
        {main.BankLabel(3), one, "Memory Protect ", true, false, true},
        {main.BankLabel(3), one, "Memory Protect ", true, true, false},
        {main.BankLabel(2), one, "Memory Protect " + unknown, false, false, false},
        {main.TrashPicture(), all, "Send Memory Protect to All " + unknown, false, false, true},
        {main.TrashPicture(), all, "Send Memory Protect to All ", true, false, true},
        {main.BankLabel(7), one, "Memory Protect ", true, true, true},
        {main.TrashPicture(), all, "Send Memory Protect to All ", true, false, false},
    };
    int step = 0;
    for (const auto& s : steps) {
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2), s.on->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(s.on, &request);
        for (QMenu* menu : {menus.popBank2(), menus.popAllBank()}) menu->hide();
        EXPECT_EQ(s.item->text(), s.text) << step;
        EXPECT_EQ(s.item->isCheckable(), s.checkable) << step;
        EXPECT_EQ(s.item->isChecked(), s.checked) << step++;
        if (s.pick) s.item->trigger();
    }
    ASSERT_TRUE(rack_.WaitIdle(2s));
    EXPECT_FALSE(rack_.MemoryProtected(7));
    EXPECT_TRUE(rack_.MemoryProtected(3));
}

TEST_F(ProgramTest, AutoImportAndExportRunInTheProgramWithItsProgressAndExtractorWindows) {
    platform::RecordingDialogs dialogs;
    Program program(rack_, settings_);
    program.Start();
    const std::string banks = std::string(MONDRAL_SHARED_DIR) + "/banks";
    dialogs.Answer(banks + "/SynprezFM_0?.syx");
    program.MainWindow().Menus().Item(QStringLiteral("AutoImportBankClick"))->trigger();
    EXPECT_EQ(program.MainWindow().PageNumber(), 0) << "the first page imported";
    EXPECT_FALSE(program.Library().IsPageEmpty(8));
    EXPECT_TRUE(program.Library().IsPageEmpty(9));
    EXPECT_EQ(program.Bank(0).Name(), "") << "the import stages in a bank of its own";
    EXPECT_FALSE(program.DumpWindow().isVisible());

    // The export's extractor is the program's own window; cancelled at the dialog.
    bool extractorShown = false;
    QTimer::singleShot(0, &program.ExtractorWindow(), [&] {
        extractorShown = program.ExtractorWindow().isVisible();
        program.ExtractorWindow().gswGoExtractClick();
    });
    program.MainWindow().Menus().Item(QStringLiteral("AutoExportBank1Click"))->trigger();
    EXPECT_TRUE(extractorShown);
    ASSERT_EQ(dialogs.Shown().size(), 2u);
    EXPECT_EQ(dialogs.Shown()[1].kind, platform::FileDialogKind::Save);
    EXPECT_TRUE(boxes_.Shown().empty());
}

// Pages that already hold voices keep them; the files' voices only take the free slots.
TEST_F(ProgramTest, AutoImportKeepsTheVoicesAlreadyOnItsPages) {
    platform::RecordingDialogs dialogs;
    Program program(rack_, settings_);
    program.Start();
    core::Libson& library = program.Library();
    const std::string banks = std::string(MONDRAL_SHARED_DIR) + "/banks";
    core::Bankson user;
    ASSERT_TRUE(user.LoadBankFile(banks + "/SynprezFM_20.syx", false));
    const std::pair<int, int> placed[] = {{0, 0}, {0, 31}, {3, 7}};  // page, slot
    for (auto [page, slot] : placed) {
        library.Page(page)[slot] = user.Page()[slot];
        library.Page(page)[slot].status = core::kStatusUsed | core::kStatusSelected | (5 << 2);
    }
    const core::VoicePage before0 = library.Page(0), before3 = library.Page(3);
    dialogs.Answer(banks + "/SynprezFM_0?.syx");
    program.MainWindow().Menus().Item(QStringLiteral("AutoImportBankClick"))->trigger();
    EXPECT_TRUE(library.Page(0)[1].IsUsed()) << "the import ran";
    for (auto [page, slot] : placed) {
        const core::VoiceSlot& was = (page == 0 ? before0 : before3)[slot];
        EXPECT_EQ(library.Page(page)[slot].voice, was.voice) << page << "/" << slot;
        EXPECT_EQ(library.Page(page)[slot].status, was.status) << page << "/" << slot;
    }
}

TEST_F(ProgramTest, RunSearchByNameSearchesTheLibraryAndShowsTheFirstPageFound) {
    Program program(rack_, settings_);
    core::Libson& library = program.Library();
    for (int page : {40, 600}) {
        core::VoiceSlot& slot = library.Page(page)[3];
        slot.status = core::kStatusUsed;
        std::copy_n("ORGAN 1   ", 10, slot.voice.begin() + core::kPackedNameOffset);
    }
    library.Page(2)[0].status = core::kStatusUsed | core::kStatusSelected;  // Multi Select off
    program.OptionsWindow().SearchField()->setText(QStringLiteral("organ"));
    program.OptionsWindow().btnAutoSearchNameClick();
    EXPECT_EQ(library.CountSelection().selected, 2);
    EXPECT_TRUE(library.IsSelected(40, 3));
    EXPECT_EQ(program.MainWindow().PageNumber(), 40);
}

TEST_F(ProgramTest, ClosingTheMainWindowEndsTheLoopEvenWithTheMidiWindowOpen) {
    Program program(rack_, settings_);
    program.Start();
    QTimer guard;  // a loop that does not end fails instead of hanging
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    guard.start(20000);
    bool midiWindowWasOpen = false;
    QTimer::singleShot(0, &program.MainWindow(), [&] {
        QTimer::singleShot(0, &program.MainWindow(), [&] {
            midiWindowWasOpen = program.MidiWindow().isVisible();
            program.MainWindow().close();  // as the desktop session's end does
        });
        program.MainWindow().btnMidiConfClick();
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(midiWindowWasOpen);
    EXPECT_FALSE(program.MidiWindow().isVisible());
    EXPECT_EQ(settings_.Writes().size(), 22u + 18u + 15u) << "each key written once";
}

TEST_F(ProgramTest, TheCaptionsCloseButtonClosesTheMainWindowWritingItsSettings) {
    Program program(rack_, settings_);
    program.Start();
    librarian::TfrmMain& main = program.MainWindow();
    auto* bar = main.findChild<controls::TTitleBar*>(QStringLiteral("TitleBar1"),
                                                     Qt::FindDirectChildrenOnly);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Buttons(), controls::kCaptionClose | controls::kCaptionMinimize);
    QPoint close;
    for (const controls::CaptionButtonPlace& p :
         controls::CaptionButtonPlaces(bar->Buttons(), bar->width(), bar->height()))
        if (p.button == controls::kCaptionClose) close = QPoint(p.x + p.size / 2, p.y + p.size / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, close);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, close);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(settings_.Writes().size(), 22u + 18u + 15u);
    EXPECT_EQ(static_cast<const platform::MemorySettings&>(settings_).Get(platform::kBaseKey, "MBX"),
              main.y());
}

TEST_F(ProgramTest, TheAboutBoxOpensOverTheMainWindowFocusedSoEscapeClosesIt) {
    Program program(rack_, settings_);
    program.Start();
    librarian::TfrmMain& main = program.MainWindow();
    main.move(100, 40);
    auto* about = main.findChild<QWidget*>(QStringLiteral("frmInfo"));
    ASSERT_NE(about, nullptr) << "the about box belongs to the main window";
    EXPECT_TRUE(about->isWindow());
    main.btnInfosClick();
    ASSERT_TRUE(about->isVisible());
    EXPECT_EQ(about->geometry().center(), main.geometry().center());
    ASSERT_TRUE(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(main.isVisible());
}

TEST_F(ProgramTest, AKeyThatCannotBeWrittenIsSkippedAndTheNextIsStillWritten) {
    settings_.RefuseKey(platform::kBaseKey);
    {
        Program program(rack_, settings_);
        program.Start();
        program.MainWindow().close();
    }
    EXPECT_TRUE(settings_.WrittenNames(platform::kBaseKey).empty());
    EXPECT_EQ(settings_.WrittenNames(platform::kMidiKey).size(), 18u);
    EXPECT_EQ(settings_.WrittenNames(platform::kEditorOptionsKey).size(), 15u);
}

// A MIDI system without any device.
class NoDevices final : public midi::Backend {
public:
    std::vector<midi::DeviceInfo> Inputs() override { return {}; }
    std::vector<midi::DeviceInfo> Outputs() override { return {}; }
    std::unique_ptr<midi::InputStream> OpenInput(std::size_t, midi::InputHandler&) override {
        return nullptr;
    }
    std::unique_ptr<midi::OutputStream> OpenOutput(std::size_t) override { return nullptr; }
};

TEST_F(ProgramTest, AnErrorAtStartUpIsShownAndEndsWithAFailureStatus) {
    NoDevices none;
    bool reachedTheLoop = false;
    const int status = RunGuarded([&] {
        Program program(none, settings_);
        program.Start();
        reachedTheLoop = true;
        return 0;
    });
    EXPECT_EQ(status, kFailureStatus);
    EXPECT_FALSE(reachedTheLoop);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].kind, platform::BoxKind::Error);
    EXPECT_EQ(boxes_.Shown()[0].title, "Mondral");
    EXPECT_FALSE(boxes_.Shown()[0].text.empty());
    EXPECT_TRUE(settings_.Writes().empty());
}

TEST_F(ProgramTest, AFatalErrorEndsWithAFailureStatusAfterItsOwnBoxOnly) {
    const int status = RunGuarded([] {
        core::Libson library([](std::size_t) { return true; });
        return 0;
    });
    EXPECT_EQ(status, kFailureStatus);
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].title, "Fatal Error");
    EXPECT_EQ(boxes_.Shown()[0].text, "Alloc Lib Memory");
}

TEST_F(ProgramTest, AStepThatEndsNormallyGivesItsOwnStatus) {
    EXPECT_EQ(RunGuarded([] { return 0; }), 0);
    EXPECT_TRUE(boxes_.Shown().empty());
}

}  // namespace
}  // namespace app
