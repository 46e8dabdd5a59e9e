// The main window with the MIDI configuration window on the emulated rack: module selection
// and the modal configuration button.

#include "MainWindowFixture.h"

#include <QTest>
#include <QTimer>

#include <chrono>

#include "controls/Tzografsw.h"
#include "midi/EmulatedRack.h"
#include "midi/MidiErrors.h"
#include "midi/TfrmMidi.h"
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
    void TearDown() override {
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
};

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
