#include "midi/TfrmMidi.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QTest>

#include <algorithm>
#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "controls/TTitleBar.h"
#include "midi/CompositeBackend.h"
#include "midi/EmulatedRack.h"
#include "midi/MainWindowLink.h"
#include "midi/MidiErrors.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/ModeSwitches.h"
#include "platform/MemorySettings.h"
#include "platform/MessageBoxes.h"
#include "support/TestApplication.h"

namespace midi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A MIDI system with the devices a test lists; it records what is opened and sent.
class FakeBackend final : public Backend {
public:
    std::vector<DeviceInfo> inputs, outputs;
    std::vector<std::size_t> openedInputs, openedOutputs;
    int liveInputs = 0, liveOutputs = 0;
    std::vector<Bytes> sent;
    std::function<void()> onOpen, onSend;
    bool refuseSend = false;  // a device that went away while open

    std::vector<DeviceInfo> Inputs() override { return inputs; }
    std::vector<DeviceInfo> Outputs() override { return outputs; }

    std::unique_ptr<InputStream> OpenInput(std::size_t index, InputHandler&) override {
        struct Stream final : InputStream {
            int& live;
            explicit Stream(int& l) : live(l) { ++live; }
            ~Stream() override { --live; }
            void Start() override {}
        };
        openedInputs.push_back(index);
        if (onOpen) onOpen();
        return std::make_unique<Stream>(liveInputs);
    }

    std::unique_ptr<OutputStream> OpenOutput(std::size_t index) override {
        struct Stream final : OutputStream {
            FakeBackend& backend;
            explicit Stream(FakeBackend& b) : backend(b) { ++backend.liveOutputs; }
            ~Stream() override { --backend.liveOutputs; }
            bool Send(std::span<const std::uint8_t> bytes) override {
                if (backend.refuseSend) return false;
                backend.sent.emplace_back(bytes.begin(), bytes.end());
                if (backend.onSend) backend.onSend();
                return true;
            }
        };
        openedOutputs.push_back(index);
        if (onOpen) onOpen();
        return std::make_unique<Stream>(*this);
    }
};

class RecordingLink final : public MainWindowLink {
public:
    int CurrentBank() const override { return 0; }
    void SetGetAllBanksEnabled(bool on) override { Set(menus.getAllBanks, on); }
    void SetMemoryProtectEnabled(bool on) override { Set(menus.memoryProtect, on); }
    void SetShowSystemInfoEnabled(bool on) override { Set(menus.showSystemInfo, on); }
    void Set(bool& item, bool on) {
        item = on;
        ++calls;
    }
    ModeMenus menus{true, true, true};
    int calls = 0;
};

class TfrmMidiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::TestApplication(); }

    std::unique_ptr<TfrmMidi> Window(Backend& backend) {
        return std::make_unique<TfrmMidi>(backend, nullptr, settings);
    }

    static FakeBackend TwoInterfaces() {
        FakeBackend b;
        b.inputs = {{"In A", kTechnologyMidiPort}, {"In B", kTechnologyMidiPort}};
        b.outputs = {{"Soft Synth", kTechnologySoftwarePort},
                     {"USB MIDI A", kTechnologyMidiPort},
                     {"USB MIDI B", kTechnologyMidiPort}};
        return b;
    }

    platform::MemorySettings settings;
    platform::RecordingBoxes boxes;
};

TEST_F(TfrmMidiTest, ShowsTheDefaultsAndTheRestoredSettingsUpToTheFirstMissingValue) {
    EmulatedRack rack;
    {
        const auto w = Window(rack);
        EXPECT_EQ(w->windowTitle(), "MIDI");
        EXPECT_EQ(w->rbtDX->state(), 0);
        EXPECT_EQ(w->rbtTX->state(), 1);
        EXPECT_EQ(w->rbtTXcustom->state(), 1);
        EXPECT_EQ(w->AutoDump->state(), 1);
        EXPECT_EQ(w->tim1->text(), "100");
        EXPECT_EQ(w->PBChannel->text(), "16");
        EXPECT_EQ(w->can[7]->text(), "8");
    }
    settings.Set(platform::kMidiKey, "AD", 0);
    settings.Set(platform::kMidiKey, "DX", 1);
    settings.Set(platform::kMidiKey, "PBC", 3);  // after the missing "TX": not read
    {
        const auto w = Window(rack);
        EXPECT_EQ(w->AutoDump->state(), 0);
        EXPECT_EQ(w->rbtDX->state(), 1);
        EXPECT_EQ(w->rbtTX->state(), 1);
        EXPECT_EQ(w->PBChannel->text(), "16");
    }
    settings.Set(platform::kMidiKey, "TX", 2);
    settings.Set(platform::kMidiKey, "TXC", 1);
    {
        const auto w = Window(rack);
        EXPECT_EQ(w->rbtTX->state(), 0) << "a stored state of 2 restores the switch as off";
        EXPECT_EQ(w->rbtTXcustom->state(), 1);
        EXPECT_EQ(w->PBChannel->text(), "3");
        EXPECT_EQ(w->Settings().patchBayChannel, 3);
    }
}

TEST_F(TfrmMidiTest, EveryControlCarriesItsHintAndRange) {
    EmulatedRack rack;
    const auto w = Window(rack);
    EXPECT_EQ(w->Autodetect->toolTip(), "Auto Select Port");
    EXPECT_EQ(w->rbtTXcustom->toolTip(), "Use only with Customized TX");
    EXPECT_EQ(w->tim1->toolTip(), "Input Timer ");
    EXPECT_EQ(w->tim2->toolTip(), "Output Timer");
    EXPECT_EQ(w->PBChannel->toolTip(), "Patch Bay System Channel");
    EXPECT_EQ(w->PBCtrl->toolTip(), "Patch Bay Program Change");
    EXPECT_EQ(w->PBAutoSend->toolTip(), "Send PatchBay PC");

    const auto range = [](const controls::Tzopotlab* knob) {
        return std::pair(knob->min(), knob->max());
    };
    EXPECT_EQ(range(w->tim1), std::pair(1, 999));
    EXPECT_EQ(range(w->tim2), std::pair(1, 1000));
    EXPECT_EQ(range(w->nbTF1mod), std::pair(1, 8));
    EXPECT_EQ(range(w->PBChannel), std::pair(1, 16));
    EXPECT_EQ(range(w->PBCtrl), std::pair(1, 128));
    for (const controls::Tzopotlab* channel : w->can) EXPECT_EQ(range(channel), std::pair(1, 16));

    // Each label names its control.
    QStringList captions;
    for (const QLabel* label : w->findChildren<QLabel*>()) captions << label->text();
    for (const char* caption : {"MIDI  Input Port", "MIDI  Output Port", "Auto Select Port", "DX7",
                                "TX816", "Custom", "Auto Dump", "Input Timer ", "Output Timer",
                                "TF1 Modules", "Patch Bay System Channel", "Midi",
                                "Patch Bay Program Change", "n°", "Send PatchBay PC", "1", "8"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
}

TEST_F(TfrmMidiTest, EveryControlSitsInsideAPanelAndThePanelsAreEvenlySpaced) {
    EmulatedRack rack;
    const auto w = Window(rack);
    QList<QRect> panels;
    for (const QFrame* panel : w->findChildren<QFrame*>(QStringLiteral("panel")))
        panels << panel->geometry();
    ASSERT_EQ(panels.size(), 5);
    QWidget* client = controls::ClientArea(w.get());
    const QRect window = client->rect();
    int left = window.width(), right = left, top = window.height(), bottom = top;
    for (const QRect& p : panels) {
        left = std::min(left, p.left());
        right = std::min(right, window.right() - p.right());
        top = std::min(top, p.top());
        bottom = std::min(bottom, window.bottom() - p.bottom());
        // The nearest panel to the right on the same row is 8 pixels away.
        int nextLeft = window.width();
        for (const QRect& other : panels)
            if (other.top() == p.top() && other.left() > p.left())
                nextLeft = std::min(nextLeft, other.left());
        if (nextLeft < window.width()) {
            EXPECT_EQ(nextLeft - p.right() - 1, 8) << "gap after the panel at " << p.left();
        }
    }
    EXPECT_EQ(left, 10);
    EXPECT_EQ(right, 10);
    EXPECT_EQ(top, 8);
    EXPECT_EQ(bottom, 8);

    // Labels, knobs, switches and lists each lie inside one panel, 4 pixels clear of its edges.
    QList<QWidget*> controls;
    for (QWidget* child : w->findChildren<QWidget*>())
        if (child->objectName() != QStringLiteral("panel") &&
            (qobject_cast<QLabel*>(child) || qobject_cast<QComboBox*>(child) ||
             qobject_cast<controls::Tzografsw*>(child)))
            controls << child;
    ASSERT_GT(controls.size(), 30);
    for (const QWidget* control : controls) {
        const QRect at(control->mapTo(client, QPoint(0, 0)), control->size());
        EXPECT_TRUE(std::any_of(panels.begin(), panels.end(), [&](const QRect& p) {
            return p.adjusted(4, 4, -4, -4).contains(at);
        })) << control->metaObject()->className() << " at " << at.x() << "," << at.y() << " "
            << at.width() << "x" << at.height();
    }
}

TEST_F(TfrmMidiTest, ModeClicksFollowTheTableAndSteerTheMainWindowMenus) {
    settings.Set(platform::kMidiKey, "AD", 1);
    settings.Set(platform::kMidiKey, "DX", 1);
    settings.Set(platform::kMidiKey, "TX", 0);
    settings.Set(platform::kMidiKey, "TXC", 0);
    EmulatedRack rack;
    const auto w = Window(rack);
    RecordingLink link;
    w->SetMainWindowLink(&link);
    EXPECT_EQ(link.menus, (ModeMenus{false, false, false})) << "restored DX7 mode shows at once";

    // Custom in DX7 mode: nothing changes, the menus are not touched.
    const int calls = link.calls;
    QTest::mouseClick(w->rbtTXcustom, Qt::LeftButton);
    EXPECT_EQ(w->rbtTXcustom->state(), 0);
    EXPECT_EQ(w->rbtDX->state(), 1);
    EXPECT_EQ(link.calls, calls);

    QTest::mouseClick(w->rbtTX, Qt::LeftButton);
    EXPECT_EQ(w->rbtDX->state(), 0);
    EXPECT_EQ(w->rbtTX->state(), 1);
    EXPECT_EQ(link.menus, (ModeMenus{false, true, true}));

    // The labels act as their switches.
    QLabel* custom = nullptr;
    for (QLabel* label : w->findChildren<QLabel*>())
        if (label->text() == "Custom") custom = label;
    ASSERT_NE(custom, nullptr);
    QTest::mouseClick(custom, Qt::LeftButton);
    EXPECT_EQ(w->rbtTXcustom->state(), 1);
    EXPECT_TRUE(w->Settings().txCustom);
    EXPECT_EQ(link.menus, (ModeMenus{true, true, true}));

    QTest::mouseClick(w->AutoDump, Qt::LeftButton);
    EXPECT_EQ(w->AutoDump->state(), 0);
    EXPECT_FALSE(w->Settings().autoDump);
}

TEST_F(TfrmMidiTest, AutodetectTakesTheLowestHardwareOutputAndTheInputFromItsList) {
    FakeBackend backend = TwoInterfaces();
    const auto w = Window(backend);
    w->ListPorts();
    EXPECT_EQ(w->cmbInput->count(), 2);
    EXPECT_EQ(w->cmbOutput->count(), 3);
    EXPECT_EQ(w->cmbOutput->currentText(), "USB MIDI A");
    EXPECT_EQ(w->MidiOutput1().DeviceID(), 1);
    EXPECT_EQ(backend.openedOutputs, std::vector<std::size_t>{1});
    EXPECT_EQ(backend.openedInputs, std::vector<std::size_t>{0});
    EXPECT_TRUE(w->MidiInput1().IsRecording());
    EXPECT_EQ(w->MidiInput1().Capacity(), 5000);
    EXPECT_EQ(w->MidiInput1().SysexBufferSize(), 16000);
    EXPECT_EQ(w->MidiInput1().SysexBufferCount(), 64);
    EXPECT_TRUE(w->MidiInput1().SysexOnly());

    // Another input chosen, then autodetect: the input stays, the output is chosen again.
    w->cmbInput->setCurrentIndex(1);
    w->cmbOutput->setCurrentIndex(2);
    w->cmbOutputClick();
    EXPECT_EQ(w->cmbOutput->currentText(), "USB MIDI B");
    std::optional<int> pressedDuringOpen;
    backend.onOpen = [&] { pressedDuringOpen = w->Autodetect->state(); };
    QTest::mouseClick(w->labOutput, Qt::LeftButton);
    EXPECT_EQ(pressedDuringOpen, 1);
    EXPECT_EQ(w->Autodetect->state(), 0);
    EXPECT_EQ(w->cmbOutput->currentIndex(), 1);
    EXPECT_EQ(w->MidiInput1().ProductName(), "In B");
    EXPECT_EQ(backend.liveOutputs, 1);
    EXPECT_EQ(backend.liveInputs, 1);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(TfrmMidiTest, AListClickReopensThePortsUnderTheHourglass) {
    FakeBackend backend = TwoInterfaces();
    const auto w = Window(backend);
    w->ListPorts();
    std::vector<Qt::CursorShape> cursors;
    backend.onOpen = [&] {
        const QCursor* c = QGuiApplication::overrideCursor();
        cursors.push_back(c ? c->shape() : Qt::ArrowCursor);
    };
    w->cmbOutput->setCurrentIndex(2);
    emit w->cmbOutput->activated(2);
    EXPECT_EQ(backend.openedOutputs, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(backend.openedInputs, (std::vector<std::size_t>{0, 0}));
    EXPECT_EQ(cursors, (std::vector<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(backend.liveOutputs, 1);
    EXPECT_EQ(backend.liveInputs, 1);
    EXPECT_EQ(w->MidiOutput1().ProductName(), "USB MIDI B");
}

TEST_F(TfrmMidiTest, AReopenErrorIsShownAndLeavesThePortsClosed) {
    FakeBackend backend = TwoInterfaces();
    const auto w = Window(backend);
    w->ListPorts();
    w->cmbOutput->setCurrentIndex(2);
    backend.outputs.pop_back();  // "USB MIDI B" unplugged since the lists were filled
    w->cmbOutputClick();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].kind, platform::BoxKind::Error);
    EXPECT_EQ(boxes.Shown()[0].text, "MIDI output Device USB MIDI B not installed");
    EXPECT_EQ(backend.liveOutputs, 0);
    EXPECT_EQ(backend.liveInputs, 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(TfrmMidiTest, TheListsFollowDevicesThatComeAndGo) {
    FakeBackend backend = TwoInterfaces();
    const auto w = Window(backend);
    w->ListPorts();  // In A, USB MIDI A
    const auto entries = [](const QComboBox* list) {
        QStringList names;
        for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
        return names;
    };

    // A MIDI system stops: its ports go. Auto Select shows what it opened, among what is there.
    backend.inputs = {{"In B", kTechnologyMidiPort}};
    backend.outputs = {{"Soft Synth", kTechnologySoftwarePort}, {"USB MIDI B", kTechnologyMidiPort}};
    w->AutodetectClick();
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(entries(w->cmbInput), QStringList{"In B"});
    EXPECT_EQ(w->cmbInput->currentText(), "In B");
    EXPECT_EQ(entries(w->cmbOutput), (QStringList{"Soft Synth", "USB MIDI B"}));
    EXPECT_EQ(w->cmbOutput->currentText(), "USB MIDI B");
    EXPECT_EQ(w->MidiOutput1().ProductName(), "USB MIDI B");

    // It comes back: a list about to open shows its ports again, the chosen entries stay chosen.
    backend.inputs = {{"In A", kTechnologyMidiPort}, {"In B", kTechnologyMidiPort}};
    backend.outputs = {{"Soft Synth", kTechnologySoftwarePort}, {"USB MIDI A", kTechnologyMidiPort},
                       {"USB MIDI B", kTechnologyMidiPort}};
    QTest::mousePress(w->cmbOutput, Qt::LeftButton);
    w->cmbOutput->hidePopup();
    EXPECT_EQ(entries(w->cmbInput), (QStringList{"In A", "In B"}));
    EXPECT_EQ(w->cmbInput->currentText(), "In B");
    EXPECT_EQ(entries(w->cmbOutput), (QStringList{"Soft Synth", "USB MIDI A", "USB MIDI B"}));
    EXPECT_EQ(w->cmbOutput->currentText(), "USB MIDI B");
    EXPECT_EQ(w->cmbOutput->currentIndex(), 2);
}

TEST_F(TfrmMidiTest, TwoInterfacesOfTheSameNameAreToldApart) {
    FakeBackend backend = TwoInterfaces();
    backend.outputs[2].name = "USB MIDI A";
    const auto w = Window(backend);
    w->ListPorts();
    w->cmbOutput->setCurrentIndex(2);
    w->cmbOutputClick();
    EXPECT_EQ(backend.openedOutputs.back(), 2u);
}

TEST_F(TfrmMidiTest, PatchBayButtonIsPressedWhileItSendsTheConfiguredProgramChange) {
    FakeBackend backend = TwoInterfaces();
    const auto w = Window(backend);
    w->ListPorts();
    std::optional<int> pressedDuringSend;
    backend.onSend = [&] { pressedDuringSend = w->PBAutoSend->state(); };
    QTest::mouseClick(w->PBChannel, Qt::LeftButton);  // a left click steps down: 15
    for (int i = 0; i < 7; ++i) QTest::mouseClick(w->PBCtrl, Qt::RightButton);  // 10
    QTest::mouseClick(w->PBAutoSend, Qt::LeftButton);
    EXPECT_EQ(backend.sent, std::vector<Bytes>{(Bytes{0xCE, 10})});
    EXPECT_EQ(pressedDuringSend, 1);
    EXPECT_EQ(w->PBAutoSend->state(), 0);
}

TEST_F(TfrmMidiTest, APatchBaySendThatFailsShowsOneBoxAndReleasesTheButton) {
    FakeBackend backend = TwoInterfaces();
    const auto w = Window(backend);
    w->ListPorts();
    backend.refuseSend = true;
    QTest::mouseClick(w->PBAutoSend, Qt::LeftButton);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].kind, platform::BoxKind::Error);
    EXPECT_EQ(boxes.Shown()[0].text, MidiResultText(kResultError));
    EXPECT_EQ(w->PBAutoSend->state(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(backend.sent.empty());
}

TEST_F(TfrmMidiTest, AMachineWithOnlyTheEmulatedRackWorksWithIt) {
    FakeBackend softwareOnly;  // the loopback a Linux desktop lists first
    softwareOnly.inputs = {{"Midi Through Port-0", kTechnologySoftwarePort}};
    softwareOnly.outputs = {{"Midi Through Port-0", kTechnologySoftwarePort}};
    EmulatedRack rack;
    CompositeBackend backend({&softwareOnly, &rack});
    const auto w = Window(backend);
    w->ListPorts();
    EXPECT_EQ(w->cmbInput->count(), 2);
    EXPECT_EQ(w->cmbInput->currentText(), kEmulatedRackName);
    EXPECT_EQ(w->MidiInput1().ProductName(), kEmulatedRackName);
    EXPECT_EQ(softwareOnly.openedInputs, std::vector<std::size_t>{});
    EXPECT_EQ(w->cmbOutput->currentText(), kEmulatedRackName);
    EXPECT_EQ(w->cmbOutput->currentIndex(), 1);
    EXPECT_TRUE(w->MidiOutput1().IsOpen());
    EXPECT_TRUE(w->MidiInput1().IsRecording());

    // The patch bay button with the defaults: program 3 on channel 16.
    w->PBAutoSendClick();
    // Customized TX816 (the default) selects modules by controller 20 on that channel.
    w->SelectModule(5);
    QTest::mouseClick(w->rbtTXcustom, Qt::LeftButton);
    w->SelectModule(6);  // Custom off: nothing
    ASSERT_TRUE(rack.WaitIdle(std::chrono::seconds(5)));
    EXPECT_EQ(rack.ReceivedMessages(), (std::vector<Bytes>{{0xCF, 0x03}, {0xBF, 0x14, 0x05}}));
    EXPECT_EQ(rack.SelectedModule(), 5u);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(TfrmMidiTest, WithoutAnInputDeviceOrAHardwareOutputStartUpFails) {
    FakeBackend noInput;
    noInput.outputs = {{"USB MIDI A", kTechnologyMidiPort}};
    try {
        Window(noInput);
        ADD_FAILURE() << "the window was created without an input device";
    } catch (const EMidiInputError& e) {
        EXPECT_STREQ(e.what(), "Invalid device ID");
    }

    FakeBackend softwareOnly;
    softwareOnly.inputs = {{"In A", kTechnologyMidiPort}};
    softwareOnly.outputs = {{"Soft Synth", kTechnologySoftwarePort}};
    const auto w = Window(softwareOnly);
    try {
        w->ListPorts();
        ADD_FAILURE() << "ports listed without a hardware output";
    } catch (const EmidioutputError& e) {
        EXPECT_STREQ(e.what(), "MIDI output technology MIDI Port not installed");
    }
    EXPECT_TRUE(softwareOnly.openedOutputs.empty());
}

TEST_F(TfrmMidiTest, KnobChangesReachTheSettingsThatAreWrittenAtTheEnd) {
    EmulatedRack rack;
    const auto w = Window(rack);
    QTest::mouseClick(w->can[0], Qt::RightButton);
    QTest::mouseClick(w->tim2, Qt::LeftButton);
    EXPECT_EQ(w->ModuleChannel(0), 2);
    platform::MemorySettings written;
    w->WriteSettings(written);
    EXPECT_EQ(written.Get(platform::kMidiKey, "C1"), 2);
    EXPECT_EQ(written.Get(platform::kMidiKey, "Timer2"), 99);
    EXPECT_EQ(written.Values(platform::kMidiKey).size(), 18u);
}

TEST_F(TfrmMidiTest, EnterAndEscapeCloseTheWindow) {
    EmulatedRack rack;
    const auto w = Window(rack);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        w->show();
        ASSERT_TRUE(w->isVisible());
        QTest::keyClick(w.get(), key);
        EXPECT_FALSE(w->isVisible());
    }
}

}  // namespace
}  // namespace midi
