// The main window with the MIDI configuration window on the emulated rack: module selection,
// the modal configuration button and the bank menus' fetches.

#include "MainWindowFixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstring>

#include "controls/Tzografsw.h"
#include "librarian/BankMidiMenus.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiErrors.h"
#include "midi/TfrmDump.h"
#include "midi/TfrmMidi.h"
#include "midi/TfrmSystem.h"
#include "tests/midi/FakeBackend.h"

namespace librarian {
namespace {

using Bytes = std::vector<core::Byte>;
using namespace std::chrono_literals;

class MainWindowMidiTest : public MainWindowFixture {
protected:
    midi::TfrmMidi& Midi() {
        if (!midi_) {
            midi_ = std::make_unique<midi::TfrmMidi>(rack_, &Window(), settings_);
            midi_->ListPorts();
            Window().SetMidiWindow(midi_.get());
            midi_->SetMainWindowLink(&Window());
        }
        return *midi_;
    }
    // The bank menus' MIDI items as the program puts them there, with `moduleCount` modules and
    // the shortest Input Timer.
    void ConnectBankMidiMenus(int moduleCount) {
        for (const auto& [name, value] : std::initializer_list<std::pair<const char*, int>>{
                 {"AD", 1}, {"DX", 0}, {"TX", 1}, {"TXC", 1}, {"PBC", 16}, {"PBCT", 1},
                 {"TF1", moduleCount}, {"Timer1", 1}})
            settings_.Set(platform::kMidiKey, name, value);
        Midi();
        TfrmMain::Banks banks;
        for (int n = 0; n < kBankCount; ++n) banks[n] = &banks_[n];
        dump_ = std::make_unique<midi::TfrmDump>();
        system_ = std::make_unique<midi::TfrmSystem>();
        bankMidi_ = std::make_unique<BankMidiMenus>(Window(), banks, *midi_, *dump_, *system_);
    }
    // Runs a menu item as chosen from the menu opened on bank `bank`'s name.
    void ChooseOnBank(const char* handler, int bank) {
        QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
        QCoreApplication::sendEvent(Window().BankLabel(bank), &open);
        Window().Menus().popBank2()->hide();
        QAction* item = Window().Menus().Item(QString::fromLatin1(handler));
        ASSERT_TRUE(item && item->isEnabled()) << handler;
        item->trigger();
    }
    void TearDown() override {
        bankMidi_.reset();
        system_.reset();
        dump_.reset();
        if (midi_) midi_->ClosePorts();
        midi_.reset();
        MainWindowFixture::TearDown();
    }
    std::vector<Bytes> Received() {
        EXPECT_TRUE(rack_.WaitIdle(2s));
        return rack_.ReceivedMessages();
    }

    midi::EmulatedRack rack_;
    std::unique_ptr<midi::TfrmMidi> midi_;
    std::unique_ptr<midi::TfrmDump> dump_;
    std::unique_ptr<midi::TfrmSystem> system_;
    std::unique_ptr<BankMidiMenus> bankMidi_;
};

// A fetch that fails has written nothing: the bank keeps its voices (perhaps saved nowhere), its
// function records and its label, and one box tells what failed. "Get All" keeps what the
// modules before the failure gave and leaves the others as they were.
TEST_F(MainWindowMidiTest, AFailedFetchLeavesTheBankItsFunctionsAndItsLabelAsTheyWere) {
    ConnectBankMidiMenus(3);
    core::Bankson mine;
    ASSERT_TRUE(mine.LoadBankFile(BankFile(10), false));
    enum class Failure { Silent, VoicesOnly, Corrupt };
    const struct {
        const char* handler;
        int bank;  // the bank whose module fails
        Failure failure;
        bool functionsMode;
        const char* box;
    } rows[] = {
        {"GetBankMIDIClick", 2, Failure::Silent, false, midi::kTimeOutText},
        {"GetBankMIDIClick", 2, Failure::VoicesOnly, true, midi::kTimeOutText},
        {"GetBankMIDIClick", 5, Failure::Corrupt, true, midi::kChecksumErrorText},
        {"GetAllBankMIDIClick", 1, Failure::Silent, true, midi::kTimeOutText},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.handler) + " failing on module " + std::to_string(row.bank));
        std::array<core::BankSlotBlock, kBankCount> before;
        std::array<QStringList, kBankCount> lines;
        for (int n = 0; n < kBankCount; ++n) {
            banks_[n].Page() = mine.Page();
            std::memset(banks_[n].Functions().data(), 0x2A + n, core::kFunctionBankSize);
            before[n] = banks_[n].Slots();
            Window().SetBankLabel(n, QStringLiteral("Mine"));
            Window().RefreshBankList(n);
            lines[n] = Lines(Window().BankList(n));
            rack_.SetSilent(std::size_t(n), false);
            rack_.SetAnsweredFormats(std::size_t(n), {midi::kFormatVoiceBank, midi::kFormatFunctions});
            rack_.SetCorruptChecksum(std::size_t(n), false);
        }
        const auto failing = std::size_t(row.bank);
        switch (row.failure) {
        case Failure::Silent: rack_.SetSilent(failing, true); break;
        case Failure::VoicesOnly: rack_.SetAnsweredFormats(failing, {midi::kFormatVoiceBank}); break;
        case Failure::Corrupt: rack_.SetCorruptChecksum(failing, true); break;
        }
        if (Window().FunctionsMode() != row.functionsMode) emit Window().PerformSwitch()->clicked();
        boxes_.Clear();

        ChooseOnBank(row.handler, row.bank);

        ASSERT_EQ(boxes_.Shown().size(), 1u);
        EXPECT_EQ(boxes_.Shown()[0].title, midi::kDumpErrorTitle);
        EXPECT_EQ(boxes_.Shown()[0].text, row.box);
        for (int n = 0; n < kBankCount; ++n) {
            if (std::string(row.handler) == "GetAllBankMIDIClick" && n < row.bank) {
                core::BankImage fetched{};
                core::PageToBankImage(banks_[n].Page(), fetched);
                EXPECT_EQ(fetched, rack_.VoiceBank(std::size_t(n))) << "fetched bank " << n;
                EXPECT_EQ(Window().BankLabel(n)->text(), "MIDI New");
                continue;
            }
            EXPECT_EQ(std::memcmp(&banks_[n].Slots(), &before[n], sizeof before[n]), 0) << n;
            EXPECT_EQ(Window().BankLabel(n)->text(), "Mine") << n;
            EXPECT_EQ(Lines(Window().BankList(n)), lines[n]) << n;
        }
    }
}

TEST_F(MainWindowMidiTest, ACustomizedTx816ReceivesTheModuleSelectOfEachBankClick) {
    Midi();
    Window().show();
    QTest::mouseClick(Window().BankSwitch(3), Qt::LeftButton);
    QTest::keyClick(&Window(), '8');
    // Controller 20 on the patch bay channel (16 by default), value = module index.
    EXPECT_EQ(Received(), (std::vector<Bytes>{{0xBF, 0x14, 0x03}, {0xBF, 0x14, 0x07}}));
    EXPECT_EQ(rack_.SelectedModule(), std::optional<std::size_t>(7));
}

TEST_F(MainWindowMidiTest, WithoutTheCustomizedRackBankClicksSendNothing) {
    settings_.Set(platform::kMidiKey, "AD", 1);
    settings_.Set(platform::kMidiKey, "DX", 0);
    settings_.Set(platform::kMidiKey, "TX", 1);
    settings_.Set(platform::kMidiKey, "TXC", 0);
    Midi();
    Window().SelectBank(5);
    EXPECT_EQ(Window().CurrentBank(), 5);
    EXPECT_TRUE(Received().empty());
}

TEST_F(MainWindowMidiTest, TheMidiButtonShowsPressedWhileTheModalWindowIsOpen) {
    midi::TfrmMidi& midi = Midi();
    Window().show();
    auto* button = Window().findChild<controls::Tzografsw*>(QStringLiteral("btnMidiConf"));
    ASSERT_NE(button, nullptr);
    bool wasModal = false;
    int stateWhileOpen = -1;
    QTimer::singleShot(0, &midi, [&] {
        wasModal = midi.isModal() && midi.isVisible();
        stateWhileOpen = button->state();
        midi.reject();
    });
    QTest::keyClick(&Window(), 'm');
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(stateWhileOpen, 1);
    EXPECT_EQ(button->state(), 0);
    EXPECT_FALSE(midi.isVisible());
}

TEST_F(MainWindowMidiTest, AModuleSelectThatCannotBeSentLeavesOneBankLitAndShowsOneBox) {
    midi::testing::FakeBackend failing;
    failing.inputs = {{"Interface In", midi::kTechnologyMidiPort}};
    failing.outputs = {{"Interface Out", midi::kTechnologyMidiPort}};
    failing.refuseSend = true;
    midi::TfrmMidi midi(failing, nullptr, settings_);
    midi.ListPorts();
    Window().SetMidiWindow(&midi);
    midi.SetMainWindowLink(&Window());
    Window().show();

    // From a higher bank to a lower one and back, by switch, by name and by key: the bank
    // before it must go dark although the send fails.
    struct Click {
        int bank;
        enum { Switch, Name, Key } how;
    };
    const Click clicks[] = {{6, Click::Switch}, {3, Click::Switch}, {7, Click::Name},
                            {0, Click::Key}, {0, Click::Key}};
    std::size_t boxes = 0;
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.bank);
        switch (click.how) {
        case Click::Switch: QTest::mouseClick(Window().BankSwitch(click.bank), Qt::LeftButton); break;
        case Click::Name: QTest::mouseClick(Window().BankLabel(click.bank), Qt::LeftButton); break;
        case Click::Key: QTest::keyClick(&Window(), char('1' + click.bank)); break;
        }
        for (int n = 0; n < kBankCount; ++n) {
            EXPECT_EQ(Window().BankSwitch(n)->state(), n == click.bank ? 1 : 0) << "bank " << n;
            EXPECT_EQ(TextColour(Window().BankLabel(n)) == TextColour(Window().BankLabel(click.bank)),
                      n == click.bank) << "bank " << n;
        }
        EXPECT_EQ(Window().CurrentBank(), click.bank);
        ASSERT_EQ(boxes_.Shown().size(), ++boxes);
        EXPECT_EQ(boxes_.Shown().back().kind, platform::BoxKind::Error);
        EXPECT_EQ(boxes_.Shown().back().text, midi::MidiResultText(midi::kResultError));
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_TRUE(Window().isEnabled());
    }
    EXPECT_TRUE(failing.sent.empty());
    Window().SetMidiWindow(nullptr);
    midi.ClosePorts();
}

}  // namespace
}  // namespace librarian
