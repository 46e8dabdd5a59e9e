#pragma once
// The modal "MIDI" configuration window. It owns the two MIDI ports and the message senders, so
// it lives for the whole run: created at start-up (reading the "Midi" settings), its ports are
// listed and opened before the window loop and closed after it. The message and dump code reads
// the settings it edits at the moment of use; nothing is applied when the window closes.

#include <QDialog>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiBackend.h"
#include "midi/MidiSettings.h"
#include "midi/WakeSignal.h"
#include "platform/SettingsStore.h"

class QComboBox;
class QLabel;
class QSocketNotifier;

namespace controls {
class Tzografsw;
class Tzopotlab;
class TWallpaper;
}  // namespace controls

namespace midi {

class Backend;
class DumpEngine;
class MainWindowLink;
class SysexMessages;
class TMidiInput;
class TMidiOutput;
enum class ModeSwitch;

class TfrmMidi : public QDialog {
    Q_OBJECT
public:
    // Creates the ports on the backend's devices (with no input device this throws the input
    // port's "Invalid device ID") and reads the settings from the store.
    explicit TfrmMidi(Backend& backend, QWidget* parent = nullptr,
                      platform::SettingsStore& store = platform::Settings());
    ~TfrmMidi() override;

    // The main window: its current bank and the menu items the modes steer. Setting it applies
    // the menu state of the current modes at once, so restored modes show from the start.
    void SetMainWindowLink(MainWindowLink* link);

    // Fills both lists in device order and opens the ports with the output chosen automatically;
    // the input is the first interface listed (the first device when there is none).
    // Port errors are thrown (at start-up they end the program).
    void ListPorts();
    // Selects both ports (the output automatically, or from its list) and opens them; throws
    // port errors.
    void OpenPorts(bool autodetect);
    // Closes the input, then the output.
    void ClosePorts();
    // Opens the audio output the settings name for the MIDI system's sound (the emulated
    // rack's), closing the one open; none where there is no sound or no such output.
    void OpenAudio();
    // What the rack sounds through now ("" when nothing).
    std::string AudioDescription() const;

    // The MIDI channel 1-16 of module 0-7.
    int ModuleChannel(std::size_t module) const { return settings_.ModuleChannel(module); }
    // Customized TX816 only: selects the module by controller 20 on the patch bay channel.
    void SelectModule(std::size_t module);
    // The same for a bank switch: a send error is shown in one error box instead of thrown, so
    // the click that caused it completes.
    void SelectModuleShowingErrors(std::size_t module);

    const MidiSettings& Settings() const { return settings_; }
    SysexMessages& Messages() { return *messages_; }
    // The bank transfers, reading these settings and using these ports.
    DumpEngine& Dump() { return *dump_; }
    TMidiInput& MidiInput1() { return *input_; }
    TMidiOutput& MidiOutput1() { return *output_; }

    // Stores the settings under the "Midi" key (the main window calls it when it closes).
    void WriteSettings(platform::SettingsStore& store = platform::Settings()) const;

    // The user's actions, also reachable by tests.
    void cmbInputClick();
    void cmbOutputClick();
    void AutodetectClick();
    void ModeClick(ModeSwitch clicked);
    void PBAutoSendClick();
    void cmbAudioClick(int choice);

    // Controls, named as the program refers to them.
    QComboBox* cmbInput = nullptr;
    QComboBox* cmbOutput = nullptr;
    QComboBox* cmbAudio = nullptr;  // "JACK", "System Default", "Off"
    controls::Tzografsw* Autodetect = nullptr;
    controls::Tzografsw* rbtDX = nullptr;
    controls::Tzografsw* rbtTX = nullptr;
    controls::Tzografsw* rbtTXcustom = nullptr;
    controls::Tzografsw* AutoDump = nullptr;
    controls::Tzopotlab* tim1 = nullptr;
    controls::Tzopotlab* tim2 = nullptr;
    controls::Tzopotlab* nbTF1mod = nullptr;
    std::array<controls::Tzopotlab*, kModuleCount> can{};
    controls::Tzopotlab* PBChannel = nullptr;
    controls::Tzopotlab* PBCtrl = nullptr;
    controls::Tzografsw* PBAutoSend = nullptr;
    QLabel* labInput = nullptr;   // "MIDI  Input Port"
    QLabel* labOutput = nullptr;  // "MIDI  Output Port"

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildControls();
    void ShowSettings();
    void ApplyMenus();
    void ReopenFromLists();
    // Refills both lists with the devices there are now (a JACK server that stopped or came
    // back, an interface plugged in or out), keeping each list's chosen entry where it remains.
    void RefreshLists();
    void SelectOutputFromList();
    // Runs a user action; a port error is shown in an error box.
    template <typename Action>
    void Guarded(Action action);

    MidiSettings settings_;
    Backend& backend_;
    // Declared before the ports, whose hooks raise them, so they outlive them.
    WakeSignal inputWake_;
    WakeSignal outputWake_;
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
    std::unique_ptr<TMidiInput> input_;
    std::unique_ptr<TMidiOutput> output_;
    std::unique_ptr<AudioStream> audio_;
    std::unique_ptr<SysexMessages> messages_;
    std::unique_ptr<DumpEngine> dump_;
    MainWindowLink* link_ = nullptr;
    controls::TWallpaper* wallpaper_ = nullptr;
    std::map<QObject*, ModeSwitch> modeLabels_;
};

}  // namespace midi
