#include "midi/TfrmMidi.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSocketNotifier>

#include <algorithm>
#include <exception>
#include <vector>

#include "controls/Artwork.h"
#include "controls/DialogHabits.h"
#include "controls/PanelParts.h"
#include "controls/TWallpaper.h"
#include "controls/PressedWhile.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "controls/TTitleBar.h"
#include "midi/DumpEngine.h"
#include "midi/MainWindowLink.h"
#include "midi/MidiBackend.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/MidiSettingsStore.h"
#include "midi/ModeSwitches.h"
#include "midi/SysexMessages.h"
#include "midi/WakeSignal.h"
#include "platform/BusyCursor.h"
#include "platform/Clock.h"
#include "platform/MessageBoxes.h"

namespace midi {
namespace {

// Title of the error box a port error is shown in: the application's.
constexpr const char* kErrorTitle = "Mondral";

constexpr int kPortBufferCapacity = 5000;
constexpr int kSysexBufferSize = 16000;
constexpr int kSysexBufferCount = 64;
constexpr int kHardwareMidiPort = 1;  // technology code of a MIDI interface
constexpr int kPatchBayPressTicks = 20;

constexpr int kWindowWidth = 520;
constexpr int kWindowHeight = 318;

using controls::panel::kCaptionStyle;
using controls::panel::kHeadingStyle;
const char* const kListStyle =
    "QComboBox { color: #e0e4ea; background: #1a1d22; border: 1px solid #4a505a;"
    " padding: 2px 6px; }"
    "QComboBox QAbstractItemView { color: #e0e4ea; background: #1a1d22;"
    " selection-background-color: #6a3a10; }";

QLabel* Caption(QWidget* parent, const char* text, int x, int y, const char* style = kCaptionStyle) {
    return controls::panel::Caption(parent, QString::fromUtf8(text), x, y, style);
}

controls::Tzopotlab* Knob(QWidget* parent, KnobRange range, int cursorRange, int x, int y,
                          int width = 40) {
    return controls::panel::LabelKnob(parent, range.min, range.max, cursorRange,
                                      QRect(x, y, width, 20));
}

void SetHint(QWidget* control, QLabel* caption, const char* hint) {
    controls::panel::SetHint(control, caption, QString::fromUtf8(hint));
}

using controls::panel::Lamp;

controls::Tzografsw* PushButton(QWidget* parent, int x, int y) {
    return controls::panel::SmallPushButton(parent, x, y);
}

// The first device that is an interface (or the emulated rack), else the first of all.
int FirstInterface(const std::vector<DeviceInfo>& devices, int listed) {
    for (int id = 0; id < listed && id < int(devices.size()); ++id)
        if (devices[id].technology == kTechnologyMidiPort) return id;
    return 0;
}


}  // namespace

TfrmMidi::TfrmMidi(Backend& backend, QWidget* parent, platform::SettingsStore& store)
    : QDialog(parent),
      backend_(backend),
      input_(std::make_unique<TMidiInput>(backend)),
      output_(std::make_unique<TMidiOutput>(backend)) {
    input_->SetCapacity(kPortBufferCapacity);
    input_->SetSysexBufferSize(kSysexBufferSize);
    input_->SetSysexBufferCount(kSysexBufferCount);
    input_->SetSysexOnly(true);
    // The ports' notices arrive on the MIDI thread; they are handled here, on the window thread.
    // The MIDI thread only raises a signal (no allocation, no lock); its notifier runs the
    // port's HandleNotices here.
    auto watch = [this](WakeSignal& signal, auto handle) {
        auto& notifier = notifiers_.emplace_back(
            std::make_unique<QSocketNotifier>(signal.Handle(), QSocketNotifier::Read));
        connect(notifier.get(), &QSocketNotifier::activated, this, [&signal, handle] {
            signal.Clear();
            handle();
        });
    };
    input_->SetNoticeHook(inputWake_.Hook());
    output_->SetNoticeHook(outputWake_.Hook());
    watch(inputWake_, [this] { input_->HandleNotices(); });
    watch(outputWake_, [this] { output_->HandleNotices(); });
    messages_ = std::make_unique<SysexMessages>(*output_, settings_, [this]() -> std::size_t {
        const int bank = link_ ? link_->CurrentBank() : 0;
        return bank >= 0 && bank < int(kModuleCount) ? std::size_t(bank) : 0;
    });
    dump_ = std::make_unique<DumpEngine>(*messages_, *input_, settings_);
    dump_->SetBusyFactory([] { return std::make_shared<platform::BusyCursor>(); });

    setWindowTitle("MIDI");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(kWindowWidth, kWindowHeight);
    BuildControls();
    controls::WearCaptionBar(this, controls::kCaptionClose);

    ReadMidiSettings(settings_, store);
    ShowSettings();
}

TfrmMidi::~TfrmMidi() = default;

void TfrmMidi::BuildControls() {
    wallpaper_ = new controls::TWallpaper(this);
    wallpaper_->setGeometry(rect());
    wallpaper_->setWallpaper(controls::artwork::WallpaperTile());
    QWidget* w = wallpaper_;
    // Recessed panels group the controls, like the fronts of rack units; 8 pixels apart.
    for (const QRect& r : {QRect(10, 8, 500, 90), QRect(10, 106, 120, 128),
                           QRect(138, 106, 160, 128), QRect(306, 106, 204, 128),
                           QRect(10, 242, 500, 68)}) {
        controls::panel::Group(w, r);
    }

    // Ports.
    labInput = Caption(w, "MIDI  Input Port", 20, 16, kHeadingStyle);
    labOutput = Caption(w, "MIDI  Output Port", 270, 16, kHeadingStyle);
    for (QLabel* label : {labInput, labOutput}) {
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
    }
    cmbInput = new QComboBox(w);
    cmbInput->setGeometry(20, 36, 230, 24);
    cmbOutput = new QComboBox(w);
    cmbOutput->setGeometry(270, 36, 230, 24);
    for (QComboBox* list : {cmbInput, cmbOutput}) {
        list->setStyleSheet(kListStyle);
        list->setFocusPolicy(Qt::NoFocus);  // Enter and Esc stay with the window
        list->installEventFilter(this);     // a list about to open shows the devices of now
    }
    connect(cmbInput, &QComboBox::activated, this, [this] { cmbInputClick(); });
    connect(cmbOutput, &QComboBox::activated, this, [this] { cmbOutputClick(); });
    Autodetect = PushButton(w, 20, 68);
    SetHint(Autodetect, Caption(w, "Auto Select Port", 48, 70), "Auto Select Port");
    connect(Autodetect, &controls::Tzografsw::clicked, this, [this] { AutodetectClick(); });
    // Where the emulated rack sounds, beside the ports it is played through.
    Caption(w, "Audio", 270, 70);
    cmbAudio = new QComboBox(w);
    cmbAudio->setGeometry(320, 66, 180, 24);
    cmbAudio->addItems({QStringLiteral("JACK"), QStringLiteral("System Default"), QStringLiteral("Off")});
    cmbAudio->setStyleSheet(kListStyle);
    cmbAudio->setFocusPolicy(Qt::NoFocus);
    connect(cmbAudio, &QComboBox::activated, this, [this](int index) { cmbAudioClick(index); });

    // Instrument modes: a lamp and its label, both clickable.
    const auto modeRow = [&](controls::Tzografsw*& lamp, const char* text, ModeSwitch mode, int y) {
        lamp = Lamp(w, 20, y);
        QLabel* label = Caption(w, text, 44, y);
        label->installEventFilter(this);
        label->setCursor(Qt::PointingHandCursor);
        modeLabels_[label] = mode;
        connect(lamp, &controls::Tzografsw::clicked, this, [this, mode] { ModeClick(mode); });
        return label;
    };
    modeRow(rbtDX, "DX7", ModeSwitch::Dx7, 116);
    modeRow(rbtTX, "TX816", ModeSwitch::Tx816, 142);
    SetHint(rbtTXcustom, modeRow(rbtTXcustom, "Custom", ModeSwitch::Custom, 168),
            "Use only with Customized TX");
    modeRow(AutoDump, "Auto Dump", ModeSwitch::AutoDump, 206);

    // Timers.
    tim1 = Knob(w, kInputTimerRange, 200, 242, 122, 48);
    SetHint(tim1, Caption(w, "Input Timer ", 146, 124), "Input Timer ");
    tim2 = Knob(w, kOutputTimerRange, 200, 242, 162, 48);
    SetHint(tim2, Caption(w, "Output Timer", 146, 164), "Output Timer");

    // Patch bay.
    Caption(w, "Patch Bay System Channel", 314, 112, kHeadingStyle);
    PBChannel = Knob(w, kChannelRange, 80, 356, 132);
    SetHint(PBChannel, Caption(w, "Midi", 314, 134), "Patch Bay System Channel");
    Caption(w, "Patch Bay Program Change", 314, 158, kHeadingStyle);
    PBCtrl = Knob(w, kProgramRange, 200, 356, 178);
    SetHint(PBCtrl, Caption(w, "n°", 314, 180), "Patch Bay Program Change");
    PBAutoSend = PushButton(w, 314, 206);
    SetHint(PBAutoSend, Caption(w, "Send PatchBay PC", 342, 208), "Send PatchBay PC");
    connect(PBAutoSend, &controls::Tzografsw::clicked, this, [this] { PBAutoSendClick(); });

    // The modules taking part, and each module's channel under its number.
    Caption(w, "TF1 Modules", 20, 254);
    nbTF1mod = Knob(w, kModuleCountRange, 60, 20, 278, 52);
    for (std::size_t m = 0; m < kModuleCount; ++m) {
        const int x = 134 + int(m) * 47;
        QLabel* number = Caption(w, std::to_string(m + 1).c_str(), x, 254);
        number->setFixedWidth(36);
        number->setAlignment(Qt::AlignCenter);
        can[m] = Knob(w, kChannelRange, 80, x, 278, 36);
    }

    // A knob change only updates the setting it shows; it is used at its next use.
    const auto follow = [this](controls::Tzopotlab* knob, int& setting) {
        connect(knob, &controls::Tzopotlab::changed, this,
                [knob, &setting] { setting = knob->state(); });
    };
    follow(tim1, settings_.inputTimerTicks);
    follow(tim2, settings_.outputTimerTicks);
    follow(nbTF1mod, settings_.moduleCount);
    for (std::size_t m = 0; m < kModuleCount; ++m) follow(can[m], settings_.moduleChannels[m]);
    follow(PBChannel, settings_.patchBayChannel);
    follow(PBCtrl, settings_.patchBayProgram);
}

void TfrmMidi::ShowSettings() {
    rbtDX->setState(settings_.dx7);
    rbtTX->setState(settings_.tx816);
    rbtTXcustom->setState(settings_.txCustom);
    AutoDump->setState(settings_.autoDump);
    tim1->setState(settings_.inputTimerTicks);
    tim2->setState(settings_.outputTimerTicks);
    nbTF1mod->setState(settings_.moduleCount);
    for (std::size_t m = 0; m < kModuleCount; ++m) can[m]->setState(settings_.moduleChannels[m]);
    PBChannel->setState(settings_.patchBayChannel);
    PBCtrl->setState(settings_.patchBayProgram);
    cmbAudio->setCurrentIndex(settings_.audioOutput);
}

void TfrmMidi::SetMainWindowLink(MainWindowLink* link) {
    link_ = link;
    ApplyMenus();
}

void TfrmMidi::ApplyMenus() {
    if (!link_) return;
    const ModeMenus menus = MenusFor(settings_);
    link_->SetGetAllBanksEnabled(menus.getAllBanks);
    link_->SetMemoryProtectEnabled(menus.memoryProtect);
    link_->SetShowSystemInfoEnabled(menus.showSystemInfo);
}

void TfrmMidi::ListPorts() {
    cmbInput->clear();
    cmbOutput->clear();
    for (int id = 0; id < input_->DeviceCount(); ++id) {
        input_->SetDeviceID(id);
        cmbInput->addItem(QString::fromStdString(input_->ProductName()));
    }
    for (int id = 0; id < output_->DeviceCount(); ++id) {
        output_->SetDeviceID(id);
        cmbOutput->addItem(QString::fromStdString(output_->ProductName()));
    }
    // The first input is often a loopback that no instrument answers on ("Midi Through" on
    // Linux): listen to the first interface instead, as the output is chosen.
    cmbInput->setCurrentIndex(FirstInterface(backend_.Inputs(), cmbInput->count()));
    cmbOutput->setCurrentIndex(0);
    OpenPorts(true);
}

void TfrmMidi::OpenPorts(bool autodetect) {
    // Entries are in device order, so an entry's index is its device id; the name is checked
    // as well, so that two interfaces of the same name are told apart and a device list that
    // changed since the lists were filled still finds the named device (or reports it missing).
    const auto select = [](auto& port, const QComboBox* list) {
        const std::string name = list->currentText().toStdString();
        const int id = list->currentIndex();
        if (id >= 0 && id < port.DeviceCount()) {
            port.SetDeviceID(id);
            if (port.ProductName() == name) return;
        }
        port.SetProductName(name);
    };
    select(*input_, cmbInput);
    if (autodetect) {
        output_->SetTechnology(kHardwareMidiPort);
        cmbOutput->setCurrentIndex(output_->DeviceID());
    } else {
        select(*output_, cmbOutput);
    }
    output_->Open();
    // A keyboard on the input plays the emulated rack when the rack is the output.
    input_->SetThru(output_->IsOpen() ? backend_.KeyboardThruFor(std::size_t(output_->DeviceID())) : nullptr);
    input_->Open();
    input_->Start();
}

void TfrmMidi::OpenAudio() {
    audio_.reset();
    AudioRenderer* sound = backend_.Sound();
    if (!sound) return;
    audio_ = backend_.OpenAudio(static_cast<AudioChoice>(settings_.audioOutput), *sound);
    cmbAudio->setToolTip(QString::fromStdString(AudioDescription()));
}

std::string TfrmMidi::AudioDescription() const { return audio_ ? audio_->Description() : std::string(); }

void TfrmMidi::cmbAudioClick(int choice) {
    settings_.audioOutput = std::clamp(choice, 0, 2);
    OpenAudio();
}

void TfrmMidi::RefreshLists() {
    const auto refill = [](QComboBox* list, const std::vector<DeviceInfo>& devices) {
        QStringList names;
        for (const DeviceInfo& device : devices) names << QString::fromStdString(device.name);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i) shown << list->itemText(i);
        if (names == shown) return;
        const QString chosen = list->currentText();
        const int index = list->currentIndex();
        list->clear();
        list->addItems(names);
        // The same entry where two devices share a name; none when the chosen one has gone.
        list->setCurrentIndex(index >= 0 && index < names.size() && names[index] == chosen
                                  ? index
                                  : int(names.indexOf(chosen)));
    };
    refill(cmbInput, backend_.Inputs());
    refill(cmbOutput, backend_.Outputs());
}

void TfrmMidi::ClosePorts() {
    input_->Close();
    output_->Close();
}

void TfrmMidi::SelectModule(std::size_t module) { messages_->SelectModule(module); }

void TfrmMidi::WriteSettings(platform::SettingsStore& store) const {
    WriteMidiSettings(settings_, store);
}

template <typename Action>
void TfrmMidi::Guarded(Action action) {
    try {
        action();
    } catch (const std::exception& e) {
        platform::ShowError(kErrorTitle, e.what());
    }
}

void TfrmMidi::SelectModuleShowingErrors(std::size_t module) {
    Guarded([this, module] { SelectModule(module); });
}

void TfrmMidi::ReopenFromLists() {
    Guarded([this] {
        platform::BusyCursor busy;
        ClosePorts();
        OpenPorts(false);
    });
}

void TfrmMidi::cmbInputClick() { ReopenFromLists(); }

void TfrmMidi::cmbOutputClick() { ReopenFromLists(); }

void TfrmMidi::AutodetectClick() {
    Guarded([this] {
        controls::PressedWhile pressed(Autodetect);
        ClosePorts();
        RefreshLists();  // the output is chosen among the devices of now, and shown in them
        if (cmbInput->currentIndex() < 0)  // the chosen input has gone: as at start-up
            cmbInput->setCurrentIndex(FirstInterface(backend_.Inputs(), cmbInput->count()));
        OpenPorts(true);
    });
}

void TfrmMidi::ModeClick(ModeSwitch clicked) {
    if (!ApplyModeClick(settings_, clicked)) return;
    ShowSettings();
    ApplyMenus();
}

void TfrmMidi::PBAutoSendClick() {
    Guarded([this] {
        controls::PressedWhile pressed(PBAutoSend);
        messages_->SendPatchBayProgram(settings_.patchBayChannel - 1, settings_.patchBayProgram);
        platform::WaitTicks(kPatchBayPressTicks);
    });
}

void TfrmMidi::keyPressEvent(QKeyEvent* e) {
    if (!controls::AcceptOrRejectByKey(*this, *e)) QDialog::keyPressEvent(e);
}

void TfrmMidi::showEvent(QShowEvent* e) {
    controls::CentreOnScreen(*this);
    QDialog::showEvent(e);
}

bool TfrmMidi::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress && (watched == cmbInput || watched == cmbOutput))
        RefreshLists();  // and the list opens as usual
    if (e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        if (watched == labInput || watched == labOutput) {
            AutodetectClick();
            return true;
        }
        if (const auto mode = modeLabels_.find(watched); mode != modeLabels_.end()) {
            ModeClick(mode->second);
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

}  // namespace midi
