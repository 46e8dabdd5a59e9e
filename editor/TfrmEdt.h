#pragma once
// The voice editor: every parameter of the edit buffer's voice on its own knob or switch, the
// envelope and keyboard scaling displays of the six operators and the pitch envelope, the
// performance section, the name and the note limits. Each change is written into the current
// image at once and sent to the current module as a parameter change; the sends go through a
// latest-value-wins queue that never runs ahead of the MIDI wire.

#include <QDialog>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>

#include "core/UndoHistory.h"
#include "core/VoiceFormats.h"
#include "editor/EditorSettings.h"
#include "editor/EditorTables.h"
#include "midi/ParameterQueue.h"

class QLabel;

namespace core {
class Edtson;
}
namespace midi {
class SysexMessages;
}
namespace controls {
class Tzoadsr2;
class Tzokeyf;
class Tzografsw;
class Tzopotbmp;
class Tzopotlab;
}  // namespace controls

namespace editor {

class TfrmEdt : public QDialog {
    Q_OBJECT
public:
    // Asks for a new name, showing the current one; nothing when the user cancels.
    using NameEditor = std::function<std::optional<QString>(const QString& current)>;

    // messages may be null (nothing is sent). Reads the window's place from the settings and
    // fills the controls from the edit buffer, so a window shown at start-up shows the voice
    // it edits.
    TfrmEdt(core::Edtson& buffer, midi::SysexMessages* messages, QWidget* parent = nullptr,
            platform::SettingsStore& store = platform::Settings());
    ~TfrmEdt() override;

    // Fills every control from the current image (voice part, then performance part).
    void Refill();
    // The working image, or the compare image while Compare is on.
    core::EditImage& CurrentImage();

    void SetNameEditor(NameEditor editor) { nameEditor_ = std::move(editor); }
    // The editor options window the options button shows.
    void SetOptionsWindow(QWidget* window) { optionsWindow_ = window; }
    // The place, visibility and style written at program exit.
    EditorPlace Place() const;

    // The seven envelope displays by block (6: pitch envelope) and the six keyboard scaling
    // displays by block.
    const std::array<controls::Tzoadsr2*, 7>& EnvelopeDisplays() const { return envelopes_; }
    const std::array<controls::Tzokeyf*, kOperatorCount>& KeyScalingDisplays() const {
        return keyScalings_;
    }
    // True while parameter changes wait for the wire.
    bool SendsPending() const { return !queue_.Empty(); }

    // Handlers; each serves a family of controls and finds the control's row in a table.
    void E_OP1_COChange(QObject* sender);
    void E_OP1_R1Change(QObject* sender);
    void E_OP1_OSCClick(QObject* sender);
    void E_OP1_EGChange(QObject* sender);
    void E_OP1_KEYFChange(QObject* sender);
    void P_WH_SENSChange(QObject* sender);
    void EdNomSonClick();
    void btnCompareClick();
    void btnRecallClick();
    void btnResetClick();
    void btnOptionsClick();
    void ResteDessusClick();

    // The editor's own undo (Ctrl+Z in its window) and redo (Ctrl+Shift+Z, Ctrl+Y): one step
    // per gesture on a control (press to release, a wheel turn, a key), per name edit, Recall
    // and Reset. What a step takes back is sent to the module as parameter changes.
    void UndoEdit();
    void RedoEdit();
    // Records the changes made since the last step (the end of a gesture).
    void RecordEdit();
    // The edit buffer was changed by the librarian (a voice click, an undo there): taken as the
    // editor's starting point, not as a step of its own.
    void TakeBufferAsIs();

signals:
    // The edited voice's name changed (name edit, Reset): the main window's buffer label.
    void nameChanged(const QString& name);
    // An editor step was recorded, undone or redone: the edit buffer is not the librarian's to
    // undo any more.
    void editRecorded();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct VoiceRow {
        QWidget* control = nullptr;
        ControlKind kind = ControlKind::LabelKnob;
    };

    void BuildControls();
    void BuildOperatorColumn(int column);
    void BuildEnvelopeKnobs(QWidget* panel, int base);
    void BuildVoicePanels();
    void BuildPerformancePanel();
    void BuildButtonPanel();
    void ConnectControls();

    int ParameterOf(const QObject* control) const;
    int PerformanceRowOf(const QObject* control) const;
    int ControlValue(int p) const;
    void SetControlValue(int p, int value);
    // Writes byte p of the current image and queues its parameter change.
    void WriteAndSend(int p, int value, int group);
    // A display drag's values: all written and shown first, then sent in order.
    void WriteDisplayChanges(const DisplayWrites& changes);
    void FlushSends();
    void UpdateDependents(int p, int value);
    void RefillVoice();
    void RefillPerformance();
    void ShowFrequency(int block);
    QString NameText() const;
    void ApplyStayOnTop(bool on);
    void WatchForUndo();
    void ScheduleRecord();
    // After the history put back a step: the module is sent what changed, the controls refill.
    void SendAndShow(const core::EditImage& before);

    core::Edtson& buffer_;
    midi::SysexMessages* messages_;
    midi::ParameterQueue queue_;
    QTimer sendTimer_;
    NameEditor nameEditor_;
    QWidget* optionsWindow_ = nullptr;
    core::UndoHistory history_;
    bool recordPending_ = false;

    std::array<VoiceRow, kVoiceParameterCount> rows_{};
    std::array<QWidget*, kPerformanceRowCount> performance_{};
    std::array<controls::Tzoadsr2*, 7> envelopes_{};
    std::array<controls::Tzokeyf*, kOperatorCount> keyScalings_{};
    std::array<QLabel*, kOperatorCount> frequency_{};  // by block
    std::array<controls::Tzografsw*, kOperatorCount> bypass_{};
    QLabel* E_ALGO_NUM2 = nullptr;
    QLabel* EdNomSon = nullptr;
    QLabel* txnotelo = nullptr;
    QLabel* txnotehi = nullptr;
    controls::Tzografsw* btnCompare = nullptr;
    controls::Tzografsw* btnRecall = nullptr;
    controls::Tzografsw* btnReset = nullptr;
    controls::Tzografsw* btnOptions = nullptr;
    controls::Tzografsw* ResteDessus = nullptr;
};

}  // namespace editor
