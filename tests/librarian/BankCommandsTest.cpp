// The bank menus' commands and the voice click in the main window, on real bank files, the
// emulated rack and recorded file dialogs.

#include "librarian/BankCommands.h"
#include "librarian/MainDragDrop.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include "librarian/VoiceList.h"
#include <QTest>

#include <chrono>

#include "../core/PageTestData.h"
#include "MainWindowFixture.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "librarian/TfrmOption.h"
#include "midi/EmulatedRack.h"
#include "midi/TfrmMidi.h"
#include "platform/FileDialogs.h"
#include "support/TempDir.h"

namespace librarian {
namespace {

using Bytes = std::vector<core::Byte>;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using namespace std::chrono_literals;

class BankCommandsTest : public MainWindowFixture {
protected:
    // Builds the window, the options, the MIDI window (with `moduleCount` modules) and the
    // commands, as the program does.
    BankCommands& Commands(int moduleCount = 8) {
        if (!commands_) {
            for (const auto& [name, value] : std::initializer_list<std::pair<const char*, int>>{
                     {"AD", 1}, {"DX", 0}, {"TX", 1}, {"TXC", 0}, {"PBC", 16}, {"PBCT", 1},
                     {"TF1", moduleCount}})
                settings_.Set(platform::kMidiKey, name, value);
            options_ = std::make_unique<TfrmOption>(settings_);
            midi_ = std::make_unique<midi::TfrmMidi>(rack_, &Window(), settings_);
            midi_->ListPorts();
            Window().SetMidiWindow(midi_.get());
            TfrmMain::Banks banks;
            for (int n = 0; n < kBankCount; ++n) banks[n] = &banks_[n];
            commands_ = new BankCommands(Window(), banks, library_, buffer_, *options_, *midi_);
        }
        return *commands_;
    }
    void TearDown() override {
        if (midi_) midi_->ClosePorts();
        midi_.reset();
        window_.reset();  // takes the commands with it
        options_.reset();
        MainWindowFixture::TearDown();
    }
    // Runs a menu item as if chosen from the menu opened on bank `bank` (-1: the trash).
    void Choose(const char* handler, int bank) {
        SetMenuBank(bank);
        QAction* item = Window().Menus().Item(QString::fromLatin1(handler));
        ASSERT_NE(item, nullptr) << handler;
        ASSERT_TRUE(item->isEnabled()) << handler;
        item->trigger();
    }
    // The menu's bank as the window records it when a menu opens on a list or label.
    void SetMenuBank(int bank) {
        if (bank < 0) return;
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QCoreApplication::sendEvent(Window().BankLabel(bank), &open);
        Window().Menus().popBank2()->hide();
    }
    void ClickLine(VoiceListBox* list, int line, bool twice = false) {
        const QPoint at = list->LineRect(line).center();
        QTest::mouseClick(list, Qt::LeftButton, {}, at);
        if (!twice) return;
        // The rest of a double click as the window system delivers it.
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, list->mapToGlobal(at),
                                Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &doubleClick);
        QTest::mouseRelease(list, Qt::LeftButton, {}, at);
    }
    std::vector<Bytes> Received() {
        EXPECT_TRUE(rack_.WaitIdle(2s));
        return rack_.ReceivedMessages();
    }
    // The single-voice message a module receives for a packed voice on `channel`.
    static Bytes SingleVoiceMessage(const core::PackedVoice& voice, int channel) {
        core::UnpackedVoice data;
        core::UnpackVoice(voice, data);
        const Bytes header{0xF0, 0x43, core::Byte(channel - 1), 0x00, 0x01, 0x1B};
        Bytes message(header.size() + data.size() + 2);
        std::copy(header.begin(), header.end(), message.begin());
        std::copy(data.begin(), data.end(), message.begin() + std::ptrdiff_t(header.size()));
        unsigned sum = 0;
        for (core::Byte b : data) sum += b;
        message[message.size() - 2] = core::Byte((128 - sum % 128) % 128);
        message.back() = 0xF7;
        return message;
    }

    platform::RecordingDialogs dialogs_;
    midi::EmulatedRack rack_;
    std::unique_ptr<TfrmOption> options_;
    std::unique_ptr<midi::TfrmMidi> midi_;
    BankCommands* commands_ = nullptr;
};

TEST_F(BankCommandsTest, EveryBankMenuItemIsConnected) {
    Commands();
    for (const char* handler :
         {"popSelCleanClick", "popSelRrevClick", "popSelDelClick", "popCpyBLClick", "popCpySLClick",
          "popCpySBClick", "popCpyBBClick", "popFindDblClick", "popFindNameClick",
          "popSortNameClick", "popLoadBankClick", "popSaveBankClick", "SaveAsSysex1Click",
          "popDelBankClick", "DeselectAllBanks1Click", "LoadAllBanks1Click", "SaveAllBanks1Click",
          "DeleteAllBanksClick", "CopyAllBankstoLibrary1Click"})
        EXPECT_TRUE(Window().Menus().Item(QString::fromLatin1(handler))->isEnabled()) << handler;
}

TEST_F(BankCommandsTest, AClickOnABankLineSelectsLoadsNamesAndAuditionsOnItsModule) {
    Commands();
    ASSERT_TRUE(banks_[2].LoadBankFile(BankFile(3), false));
    Window().RefreshBankList(2);
    int editorRefreshes = 0;
    QObject::connect(&Window(), &TfrmMain::editBufferChanged, [&] { ++editorRefreshes; });
    rack_.ClearReceivedMessages();
    VoiceListBox* list = Window().BankList(2);
    const core::VoiceSlot slot = banks_[2].Page()[5];

    ClickLine(list, 5);
    EXPECT_TRUE(banks_[2].IsSelected(5));
    EXPECT_TRUE(list->Highlighted(5));
    EXPECT_EQ(Window().BufferLabel()->text(), list->Line(5));
    EXPECT_EQ(editorRefreshes, 1);
    EXPECT_EQ(Received(), std::vector<Bytes>{SingleVoiceMessage(slot.voice, 3)});
    const core::EditImage first = buffer_.Image(core::Edtson::Working);

    // A double click is two clicks: the selection is back as it was, the voice taken twice,
    // and with Link Buffers off the compare image now holds the same voice.
    rack_.ClearReceivedMessages();
    ClickLine(list, 7);
    ClickLine(list, 5, true);
    EXPECT_TRUE(banks_[2].IsSelected(5));
    EXPECT_TRUE(list->Highlighted(5));
    EXPECT_EQ(buffer_.Image(core::Edtson::Compare), first);
    EXPECT_EQ(buffer_.Image(core::Edtson::Working), first);
    EXPECT_EQ(Received().size(), 3u);
    EXPECT_EQ(editorRefreshes, 4);

    // An empty line: nothing at all.
    banks_[2].Page()[9].status = 0;
    Window().RefreshBankList(2);
    rack_.ClearReceivedMessages();
    ClickLine(list, 9);
    EXPECT_FALSE(banks_[2].IsSelected(9));
    EXPECT_EQ(editorRefreshes, 4);
    EXPECT_TRUE(Received().empty());
}

TEST_F(BankCommandsTest, ALibraryLineResolvesToItsPageAndSlotAndPlaysOnTheCurrentBank) {
    Commands();
    core::Bankson real;
    ASSERT_TRUE(real.LoadBankFile(BankFile(5), false));
    library_.Page(11) = real.Page();
    Window().SelectBank(6);
    Window().SetPageNumber(10);
    rack_.ClearReceivedMessages();
    ClickLine(Window().LibraryList(3), 3);
    EXPECT_TRUE(library_.IsSelected(11, 19));
    EXPECT_EQ(library_.CountSelection().selected, 1);
    EXPECT_EQ(Window().SelectedCount()->text(), "1");
    EXPECT_TRUE(Window().LibraryList(3)->Highlighted(3));
    EXPECT_EQ(Window().BufferLabel()->text(), Window().LibraryList(3)->Line(3));
    EXPECT_EQ(Received(), std::vector<Bytes>{SingleVoiceMessage(real.Page()[19].voice, 7)});
}

TEST_F(BankCommandsTest, LoadAllTakesMatchingFilesInReadingOrderUpToTheModuleCount) {
    TempDir dir;
    WriteBytes(dir / "set10.DX7", ReadBytes(BankFile(10)));
    WriteBytes(dir / "Set1.dx7", ReadBytes(BankFile(1)));
    WriteBytes(dir / "SET2.DX7", ReadBytes(BankFile(2)));
    WriteBytes(dir / "SET3.DX7", Bytes(4000, 0));  // no bank file size
    WriteBytes(dir / "SET4.SYX", ReadBytes(BankFile(4)));
    std::filesystem::create_directory(dir / "SET5.DX7");
    Commands(3);
    banks_[3].Page()[0].status = 1;
    Window().SetBankLabel(3, QStringLiteral("kept"));
    dialogs_.Answer((dir / "*.dx7").string());

    Choose("LoadAllBanks1Click", -1);

    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0], (platform::FileDialogRequest{platform::FileDialogKind::Open,
                                                                "*.DX7", 1, false}));
    core::Bankson expected;
    ASSERT_TRUE(expected.LoadBankFile(BankFile(1), false));
    EXPECT_EQ(banks_[0].VoiceName(0), expected.VoiceName(0));
    ASSERT_TRUE(expected.LoadBankFile(BankFile(2), false));
    EXPECT_EQ(banks_[1].VoiceName(31), expected.VoiceName(31));
    EXPECT_EQ(Window().BankLabel(0)->text(), "Set1");
    EXPECT_EQ(Window().BankLabel(1)->text(), "SET2");
    EXPECT_FALSE(banks_[2].Page()[0].IsUsed()) << "the bad file leaves its bank as it was";
    EXPECT_EQ(Lines(Window().BankList(2)).front(), "----------");
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "File Format Error - Abort Loading");
    EXPECT_TRUE(banks_[3].Page()[0].IsUsed()) << "beyond the module count nothing changes";
    EXPECT_EQ(Window().BankLabel(3)->text(), "kept");

    dialogs_.Answer(std::nullopt);
    Choose("LoadAllBanks1Click", -1);
    EXPECT_EQ(Window().BankLabel(0)->text(), "Set1") << "a cancel changes nothing";
}

// However a refused file comes (a bank file of no known size, a library file), the bank, its
// function records and its label stay as they were: it may hold voices not saved anywhere.
TEST_F(BankCommandsTest, ARefusedFileLeavesTheBankAndItsLabelAsTheyWereWhereverItComesFrom) {
    TempDir dir;
    WriteBytes(dir / "SHORT.DX7", Bytes(100, 0x11));
    WriteBytes(dir / "ALL.DXL", Bytes(4128320, 0));  // a whole library
    WriteBytes(dir / "ONEMORE.DX7", Bytes(4105, 0));  // one byte past a bulk dump
    Commands();
    TfrmMain::Banks banks;
    for (int n = 0; n < kBankCount; ++n) banks[n] = &banks_[n];
    MainDragDrop dragDrop(Window(), banks, library_, buffer_, *options_);
    core::Bankson fetched;
    ASSERT_TRUE(fetched.LoadBankFile(BankFile(9), false));

    enum class Route { LoadBank, LoadAll, Drop };
    const struct {
        Route route;
        const char* file;
        bool functionsMode;
        int bank;
    } rows[] = {
        {Route::LoadBank, "SHORT.DX7", false, 4}, {Route::LoadBank, "ALL.DXL", true, 4},
        {Route::LoadAll, "SHORT.DX7", true, 0},   {Route::LoadAll, "*.DXL", false, 0},
        {Route::Drop, "SHORT.DX7", true, 4},      {Route::Drop, "ONEMORE.DX7", false, 6},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.file) + " by route " + std::to_string(int(row.route)));
        // A bank as a fetch leaves it: voices and functions under no name, "MIDI New".
        core::Bankson& bank = banks_[row.bank];
        bank.Page() = fetched.Page();
        bank.Page()[3].status |= core::kStatusSelected;
        std::memset(bank.Functions().data(), 0x2A, core::kFunctionBankSize);
        const core::BankSlotBlock before = bank.Slots();
        Window().SetBankLabel(row.bank, QStringLiteral("MIDI New"));
        Window().RefreshBankList(row.bank);
        const QStringList lines = Lines(Window().BankList(row.bank));
        if (Window().FunctionsMode() != row.functionsMode) emit Window().PerformSwitch()->clicked();
        boxes_.Clear();

        const QString path = QString::fromStdString((dir / row.file).string());
        switch (row.route) {
        case Route::LoadBank:
            dialogs_.Answer(path.toStdString());
            Choose("popLoadBankClick", row.bank);
            break;
        case Route::LoadAll:
            dialogs_.Answer(path.toStdString());
            Choose("LoadAllBanks1Click", -1);
            break;
        case Route::Drop: ASSERT_TRUE(DropFiles(Window().BankList(row.bank), {path})); break;
        }

        EXPECT_EQ(boxes_.Shown(), (std::vector<platform::RecordingBoxes::Box>{
                                      {platform::BoxKind::Error, "File Error",
                                       "File Format Error - Abort Loading", false}}));
        EXPECT_EQ(std::memcmp(&bank.Slots(), &before, sizeof before), 0);
        EXPECT_EQ(Window().BankLabel(row.bank)->text(), "MIDI New");
        EXPECT_EQ(Lines(Window().BankList(row.bank)), lines);
    }
}

TEST_F(BankCommandsTest, SaveAllWritesNumberedFilesAndEachReplacedFileKeepsItsOwnBackup) {
    TempDir dir;
    WriteBytes(dir / "SET1.DX7", Bytes(4096, 1));
    WriteBytes(dir / "SET2.DX7", Bytes(4096, 2));
    Commands(2);
    ASSERT_TRUE(banks_[0].LoadBankFile(BankFile(6), false));
    ASSERT_TRUE(banks_[1].LoadBankFile(BankFile(7), false));
    Window().SelectBank(1);
    dialogs_.Answer((dir / "SET.DX7").string());

    Choose("SaveAllBanks1Click", -1);

    ASSERT_EQ(dialogs_.Shown().size(), 1u);
    EXPECT_EQ(dialogs_.Shown()[0], (platform::FileDialogRequest{platform::FileDialogKind::Save,
                                                                "SynprezFM_07", 1, false}));
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"SET1.BAK", "SET1.DX7", "SET2.BAK", "SET2.DX7"}));
    EXPECT_EQ(ReadBytes(dir / "SET1.BAK"), Bytes(4096, 1));
    EXPECT_EQ(ReadBytes(dir / "SET2.BAK"), Bytes(4096, 2));
    core::Bankson reread;
    ASSERT_TRUE(reread.LoadBankFile(dir / "SET2.DX7", false));
    EXPECT_EQ(reread.VoiceName(4), banks_[1].VoiceName(4));
    EXPECT_EQ(Window().BankLabel(0)->text(), "SET1");
    EXPECT_EQ(Window().BankLabel(1)->text(), "SET2");
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(BankCommandsTest, BankFilesGoThroughTheDialogsWithTheirFilters) {
    TempDir dir;
    Commands();
    dialogs_.Answer(BankFile(8));
    Choose("popLoadBankClick", 4);
    EXPECT_EQ(Window().BankLabel(4)->text(), "SynprezFM_08");
    EXPECT_EQ(Lines(Window().BankList(4))[0].toStdString(), banks_[4].VoiceName(0));

    dialogs_.Answer((dir / "MYBANK").string());
    Choose("popSaveBankClick", 4);
    dialogs_.Answer((dir / "MYDUMP").string());
    Choose("SaveAsSysex1Click", 4);
    dialogs_.Answer(std::nullopt);
    Choose("popSaveBankClick", 4);
    ASSERT_EQ(dialogs_.Shown().size(), 4u);
    EXPECT_EQ(dialogs_.Shown()[0], (platform::FileDialogRequest{platform::FileDialogKind::Open,
                                                                "*.DX7", 1, true}));
    EXPECT_EQ(dialogs_.Shown()[1].fileName, "SynprezFM_08");
    EXPECT_EQ(dialogs_.Shown()[2].filterIndex, 5);
    EXPECT_EQ(dialogs_.Shown()[3].fileName, "MYDUMP") << "the name follows the last save";
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"MYBANK.DX7", "MYDUMP.SYX"}));
    const Bytes dump = ReadBytes(dir / "MYDUMP.SYX");
    ASSERT_EQ(dump.size(), 4104u);
    EXPECT_EQ(dump[2], 4) << "module 5's channel";
    EXPECT_EQ(Window().BankLabel(4)->text(), "MYDUMP");

    Choose("popDelBankClick", 4);
    EXPECT_EQ(Window().BankLabel(4)->text(), "Empty");
    EXPECT_EQ(banks_[4].Name(), "MYDUMP");
    EXPECT_EQ(Lines(Window().BankList(4))[0], "----------");
}

TEST_F(BankCommandsTest, CopyBankToBankFollowsTheOptionsAndSkipsTheCurrentBank) {
    Commands();
    ASSERT_TRUE(banks_[1].LoadBankFile(BankFile(9), false));
    Window().RefreshBankList(1);
    const std::string name = banks_[1].VoiceName(0);
    Choose("popCpyBBClick", 0);  // the current bank's own menu
    EXPECT_FALSE(banks_[0].Page()[0].IsUsed());

    options_->OptionClick(OptionSwitch::Swap);
    Choose("popCpyBBClick", 1);
    EXPECT_EQ(banks_[0].VoiceName(0), name);
    EXPECT_FALSE(banks_[1].Page()[0].IsUsed());
    EXPECT_EQ(Lines(Window().BankList(0))[0].toStdString(), name);
    EXPECT_EQ(Lines(Window().BankList(1))[0], "----------");
}

TEST_F(BankCommandsTest, FindByNameSearchesForWhatTheListsShow) {
    Commands();
    core::VoicePage& page = banks_[3].Page();
    page[0] = core::test::UsedSlot("PIANO 1");
    page[1] = core::test::UsedSlot("E.PIANO");
    page[2] = core::test::UsedSlot("A\\B~C");
    page[31] = core::test::UsedSlot("OLD", 1, core::kStatusUsed | core::kStatusSelected);
    options_->SearchField()->setText(QStringLiteral("pia"));
    options_->PositionKnob()->setState(1);
    Choose("popFindNameClick", 3);
    EXPECT_TRUE(banks_[3].IsSelected(0));
    EXPECT_FALSE(banks_[3].IsSelected(1)) << "position 1 only";
    EXPECT_FALSE(banks_[3].IsSelected(31)) << "Multi Select off clears first";
    EXPECT_TRUE(Window().BankList(3)->Highlighted(0));

    options_->OptionClick(OptionSwitch::MultiSelect);
    options_->PositionKnob()->setState(0);
    options_->SearchField()->setText(Window().BankList(3)->Line(2).left(4));  // "A¥B→"
    Choose("popFindNameClick", 3);
    EXPECT_TRUE(banks_[3].IsSelected(2));
    EXPECT_TRUE(banks_[3].IsSelected(0)) << "Multi Select keeps the earlier match";
}

TEST_F(BankCommandsTest, SelectionCopyAndDeleteCommandsRefreshWhatTheyChange) {
    Commands();
    for (int n = 0; n < 2; ++n) ASSERT_TRUE(banks_[n].LoadBankFile(BankFile(12 + n), false));
    banks_[0].Page()[30].status = 0;
    banks_[0].Page()[31].status = 0;
    banks_[0].Page()[1].status |= core::kStatusSelected;
    Choose("popSelRrevClick", 0);  // now all used slots but 1 are selected
    EXPECT_FALSE(Window().BankList(0)->Highlighted(1));
    EXPECT_TRUE(Window().BankList(0)->Highlighted(2));
    Choose("popSelCleanClick", 0);
    banks_[0].Page()[1].status |= core::kStatusSelected;
    const std::string name = banks_[0].VoiceName(1);
    Choose("popCpySBClick", 0);  // the current bank itself: the voice is duplicated
    EXPECT_EQ(banks_[0].VoiceName(30), name);
    EXPECT_TRUE(Window().BankList(0)->Highlighted(30)) << "the copy keeps its selection";

    Window().LibrarySwitch()->setState(1);  // Page mode
    Window().SetPageNumber(7);
    Choose("popCpySLClick", 0);
    EXPECT_EQ(library_.VoiceName(7, 0), name);
    EXPECT_EQ(Window().UsedCount()->text(), "2") << "the two selected voices";
    Choose("CopyAllBankstoLibrary1Click", -1);  // 31 voices meet 30 free slots on page 7
    EXPECT_EQ(Window().UsedCount()->text(), QString::number(2 + 30 + 32));
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "30 Sounds Copied. Destination Page is Full !");
    EXPECT_EQ(library_.VoiceName(8, 0), banks_[1].VoiceName(0));

    Choose("popSelDelClick", 0);
    EXPECT_FALSE(banks_[0].Page()[1].IsUsed());
    EXPECT_EQ(Lines(Window().BankList(0))[1], "----------");
    Choose("DeselectAllBanks1Click", -1);
    Choose("DeleteAllBanksClick", -1);
    for (int n = 0; n < kBankCount; ++n) {
        EXPECT_EQ(Window().BankLabel(n)->text(), "Empty");
        EXPECT_EQ(Lines(Window().BankList(n))[0], "----------");
    }
    EXPECT_EQ(banks_[1].Name(), "SynprezFM_13") << "the name stays for the next save";
}

// Every bank command that may carry function records, and the voice click, in Voices and in
// Functions mode: menu bank 1, current bank 0, both real banks with function records tagged by
// bank and slot; slot 9 of bank 1 is a double of slot 2, slots 3 and 6 are selected.
TEST_F(BankCommandsTest, FunctionRecordsTravelAsTheModeAndTheOptionsSay) {
    Commands();
    core::PackedFunction empty;
    core::InitFunction(empty);
    struct Before {
        core::BankSlotBlock bank0, bank1;
        core::Edtson buffer;
    };
    using Records = core::FunctionBank;
    struct Row {
        const char* what;
        std::function<void()> run;
        // Turns the records before into those expected in Functions mode (Voices mode: none move).
        std::function<void(Records& r0, Records& r1, const Before& b)> records;
        std::function<void(bool functions, const Before& b)> check;
    };
    const auto doubles = [&](bool first, bool second, bool erase) {
        if (!options_->DoublesFirst() && first) options_->OptionClick(OptionSwitch::First);
        if (!options_->DoublesSecond() && second) options_->OptionClick(OptionSwitch::Second);
        if (options_->DoublesFirst() && !first) options_->OptionClick(OptionSwitch::First);
        if (options_->DoublesSecond() && !second) options_->OptionClick(OptionSwitch::Second);
        if (options_->DoublesDelete() != erase) options_->OptionClick(OptionSwitch::Delete);
        Choose("popFindDblClick", 1);
    };
    const auto used = [this](int bank, int slot) { return banks_[bank].Page()[slot].IsUsed(); };
    const auto none = [](Records&, Records&, const Before&) {};
    const auto clickTakes = [this](bool link) {
        return [this, link](bool f, const Before& b) {
            core::Edtson expected = b.buffer;
            expected.TakeVoice(b.bank1.page[5].voice, &b.bank1.functions[5], f, link);
            EXPECT_EQ(buffer_.Image(core::Edtson::Working), expected.Image(core::Edtson::Working));
            EXPECT_EQ(buffer_.Image(core::Edtson::Compare), expected.Image(core::Edtson::Compare));
            EXPECT_EQ(Received().size(), f ? 2u : 1u) << "the voice, then its function";
        };
    };
    const Row rows[] = {
        {"Selection Delete", [&] { Choose("popSelDelClick", 1); },
         [&](Records&, Records& r1, const Before&) { r1[3] = r1[6] = empty; },
         [&](bool, const Before&) { EXPECT_FALSE(used(1, 3)); }},
        {"Find Doubles, First and Delete", [&] { doubles(true, false, true); },
         [&](Records&, Records& r1, const Before&) { r1[2] = empty; },
         [&](bool, const Before&) { EXPECT_FALSE(used(1, 2)); EXPECT_TRUE(used(1, 9)); }},
        {"Find Doubles, Second and Delete", [&] { doubles(false, true, true); },
         [&](Records&, Records& r1, const Before&) { r1[9] = empty; },
         [&](bool, const Before&) { EXPECT_TRUE(used(1, 2)); EXPECT_FALSE(used(1, 9)); }},
        {"Find Doubles, First, selecting", [&] { doubles(true, false, false); }, none,
         [&](bool, const Before&) {
             EXPECT_TRUE(banks_[1].IsSelected(2));
             EXPECT_FALSE(banks_[1].IsSelected(9));
             EXPECT_FALSE(banks_[1].IsSelected(3)) << "the selection is cleared first";
         }},
        {"Sort by Name", [&] { Choose("popSortNameClick", 1); },
         [&](Records&, Records& r1, const Before& b) {
             core::Bankson sorted;
             sorted.Slots() = b.bank1;
             sorted.SortByName(true);
             r1 = sorted.Functions();
         },
         [&](bool, const Before&) {
             for (int s = 0; s < 31; ++s)
                 EXPECT_LE(banks_[1].VoiceName(s), banks_[1].VoiceName(s + 1)) << s;
         }},
        {"Copy Bank -> Bank, Copy",
         [&] { options_->OptionClick(OptionSwitch::Copy); Choose("popCpyBBClick", 1); },
         [&](Records& r0, Records& r1, const Before&) { r0 = r1; },
         [&](bool, const Before& b) {
             EXPECT_EQ(0, std::memcmp(&banks_[0].Page(), &b.bank1.page, core::kPageSize));
         }},
        {"Copy Bank -> Bank, Swap",
         [&] { options_->OptionClick(OptionSwitch::Swap); Choose("popCpyBBClick", 1); },
         [&](Records& r0, Records& r1, const Before&) { std::swap(r0, r1); },
         [&](bool, const Before& b) {
             EXPECT_EQ(0, std::memcmp(&banks_[1].Page(), &b.bank0.page, core::kPageSize));
         }},
        {"Delete Bank", [&] { Choose("popDelBankClick", 1); },
         [&](Records&, Records& r1, const Before&) { r1.fill(empty); },
         [&](bool, const Before&) { EXPECT_FALSE(used(1, 0)); }},
        {"Delete All Banks", [&] { Choose("DeleteAllBanksClick", -1); },
         [&](Records& r0, Records& r1, const Before&) { r0.fill(empty); r1.fill(empty); },
         [&](bool, const Before&) { EXPECT_FALSE(used(0, 0)); }},
        {"Copy Selection -> Bank, into the current bank", [&] { Choose("popCpySBClick", 1); },
         none,
         [&](bool, const Before& b) {
             EXPECT_EQ(banks_[0].Page()[30].voice, b.bank1.page[3].voice);
             EXPECT_EQ(banks_[0].Page()[31].voice, b.bank1.page[6].voice);
             for (int s = 0; s < 32; ++s)
                 EXPECT_EQ(banks_[1].Page()[s].voice, b.bank1.page[s].voice) << s;
         }},
        {"Copy Bank -> Library, every used voice",
         [&] {
             Window().LibrarySwitch()->setState(1);
             Window().SetPageNumber(4);
             Choose("popCpyBLClick", 1);
         },
         none,
         [&](bool, const Before& b) {
             for (int s = 0; s < 32; ++s)
                 EXPECT_EQ(library_.Page(4)[s].voice, b.bank1.page[s].voice) << s;
             EXPECT_TRUE(library_.IsSelected(4, 3)) << "the selection travels";
         }},
        {"voice click, Link Buffers off", [&] { ClickLine(Window().BankList(1), 5); }, none,
         clickTakes(false)},
        {"voice click, Link Buffers on",
         [&] {
             options_->OptionClick(OptionSwitch::LinkBuffers);
             ClickLine(Window().BankList(1), 5);
             options_->OptionClick(OptionSwitch::LinkBuffers);
         },
         none, clickTakes(true)},
    };
    for (const Row& row : rows) {
        for (bool functions : {false, true}) {
            SCOPED_TRACE(std::string(row.what) + (functions ? ", Functions mode" : ", Voices mode"));
            for (int n = 0; n < 2; ++n) {
                ASSERT_TRUE(banks_[n].LoadBankFile(BankFile(20 + n), false));
                for (int s = 0; s < 64; ++s) banks_[n].Functions()[s].fill(core::Byte(64 * n + s));
                Window().RefreshBankList(n);
            }
            std::copy_n(banks_[1].Page()[2].voice.begin(), core::kVoiceParameterBytes,
                        banks_[1].Page()[9].voice.begin());
            banks_[1].Page()[3].status |= core::kStatusSelected;
            banks_[1].Page()[6].status |= core::kStatusSelected;
            banks_[0].Page()[30].status = banks_[0].Page()[31].status = 0;
            library_.Clear();
            Window().LibrarySwitch()->setState(0);
            Window().SelectBank(0);
            Window().PerformSwitch()->setState(functions ? 1 : 0);
            ASSERT_EQ(Window().FunctionsMode(), functions);
            buffer_.TakeVoice(banks_[0].Page()[1].voice, &banks_[0].Functions()[1], true, true);
            rack_.ClearReceivedMessages();
            const Before before{banks_[0].Slots(), banks_[1].Slots(), buffer_};
            Records r0 = before.bank0.functions, r1 = before.bank1.functions;
            if (functions) row.records(r0, r1, before);
            row.run();
            EXPECT_EQ(banks_[0].Functions(), r0);
            EXPECT_EQ(banks_[1].Functions(), r1);
            row.check(functions, before);
        }
    }
}

}  // namespace
}  // namespace librarian

namespace librarian {
namespace {

// Load Bank of files that are no plain bank: what the reader recovered is offered, Yes loads
// its first 32 voices, No leaves the bank as it was; a plain bank and a file without voices go
// to the bank load as before (the latter with its format error).
bool SamePage(const core::VoicePage& a, const core::VoicePage& b) {
    return std::equal(a.begin(), a.end(), b.begin(), [](const core::VoiceSlot& x, const core::VoiceSlot& y) {
        return x.voice == y.voice && x.status == y.status;
    });
}

TEST_F(BankCommandsTest, LoadBankOffersTheVoicesRecoveredFromAFileThatIsNoPlainBank) {
    Commands();
    TempDir dir;
    const Bytes first = ReadBytes(BankFile(6)), second = ReadBytes(BankFile(7));
    Bytes both = first;
    both.insert(both.end(), second.begin(), second.end());
    WriteBytes(dir / "TWO.SYX", both);
    Bytes shortAfter = first;  // a bank and a short message after it
    shortAfter.insert(shortAfter.end(), {0xF0, 0x43, 0x10, 0xF7});
    WriteBytes(dir / "SHORT.SYX", shortAfter);
    WriteBytes(dir / "JUNK.SYX", Bytes(5000, 0x31));
    core::Bankson plain;
    ASSERT_TRUE(plain.LoadBankFile(BankFile(6), false));
    struct Case {
        std::string file;
        platform::BoxAnswer answer;
        const core::Bankson* expected;  // nullptr: the bank as it was
        std::string box;                // a part of the box shown
        std::string name;
    };
    const Case cases[] = {
        {"TWO.SYX", platform::BoxAnswer::Yes, &plain, "Found: 2 voice-bank dumps, 64 voices", "TWO"},
        {"TWO.SYX", platform::BoxAnswer::No, nullptr, "Load the first 32 voices recovered?", "SynprezFM_02"},
        {"SHORT.SYX", platform::BoxAnswer::Yes, &plain, "1 voice-bank dump and 1 other message, 32 voices", "SHORT"},
        {"JUNK.SYX", platform::BoxAnswer::Yes, nullptr, "File Format Error - Abort Loading", "SynprezFM_02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(banks_[3].LoadBankFile(BankFile(2), false));
        const core::VoicePage before = banks_[3].Page();
        boxes_.Clear();
        boxes_.SetAnswer(c.answer);
        dialogs_.Answer((dir / c.file).string());
        Choose("popLoadBankClick", 3);
        ASSERT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_NE(boxes_.Shown()[0].text.find(c.box), std::string::npos) << boxes_.Shown()[0].text;
        if (c.expected) {
            EXPECT_EQ(boxes_.Shown()[0].title, "Load Bank");
            EXPECT_TRUE(SamePage(banks_[3].Page(), c.expected->Page()));
            EXPECT_EQ(banks_[3].Name(), c.name);
            EXPECT_EQ(Window().BankLabel(3)->text().toStdString(), c.name);
        } else if (c.file != "JUNK.SYX") {
            EXPECT_TRUE(SamePage(banks_[3].Page(), before));
            EXPECT_EQ(banks_[3].Name(), c.name);
        }
    }
}

}  // namespace
}  // namespace librarian
