#include "editor/TfrmEdt.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>

#include <algorithm>
#include <chrono>

#include "controls/PressedWhile.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzografsw.h"
#include "controls/Tzokeyf.h"
#include "controls/Tzopotbmp.h"
#include "controls/Tzopotlab.h"
#include "controls/TTitleBar.h"
#include "core/EditBufferUndo.h"
#include "core/Edtson.h"
#include "editor/EditorName.h"
#include "editor/EditorUndo.h"
#include "librarian/VoiceNameText.h"
#include "midi/EmulatedRack.h"  // kWireByteTime
#include "midi/SysexMessages.h"
#include "platform/Clock.h"

namespace editor {
namespace {

constexpr int kPressTicks = 10;  // how long Recall and Reset light up

QString HintOf(int value) { return QStringLiteral("Val = %1").arg(value); }

controls::KnobControl* KnobOf(QWidget* control, ControlKind kind) {
    if (kind == ControlKind::LabelKnob) return static_cast<controls::Tzopotlab*>(control);
    if (kind == ControlKind::ImageKnob) return static_cast<controls::Tzopotbmp*>(control);
    return nullptr;
}

}  // namespace

TfrmEdt::TfrmEdt(core::Edtson& buffer, midi::SysexMessages* messages, QWidget* parent,
                 platform::SettingsStore& store)
    : QDialog(parent),
      buffer_(buffer),
      messages_(messages),
      queue_([this](std::size_t module, int parameter, int group, int value) {
                 messages_->SendParameterChange(parameter, module, group, value);
             },
             midi::kWireByteTime) {
    setWindowTitle(QStringLiteral("Feldra Editor"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
    sendTimer_.setSingleShot(true);
    sendTimer_.setTimerType(Qt::PreciseTimer);
    connect(&sendTimer_, &QTimer::timeout, this, [this] { FlushSends(); });

    BuildControls();
    ConnectControls();
    WatchForUndo();
    controls::WearCaptionBar(this, controls::kCaptionClose);

    EditorPlace place;
    ReadEditorPlace(place, store);
    move(place.left, place.top);
    ApplyStayOnTop(place.stayOnTop);
    Refill();
    if (place.visible) show();
}

TfrmEdt::~TfrmEdt() = default;

core::EditImage& TfrmEdt::CurrentImage() {
    return buffer_.Image(btnCompare->state() != 0 ? core::Edtson::Compare : core::Edtson::Working);
}

EditorPlace TfrmEdt::Place() const {
    return {y(), x(), isVisible(), ResteDessus->state() != 0};
}

// --- table look-ups ------------------------------------------------------------------------

int TfrmEdt::ParameterOf(const QObject* control) const {
    const auto row = std::find_if(rows_.begin(), rows_.end(),
                                  [&](const VoiceRow& r) { return r.control == control; });
    return row == rows_.end() ? -1 : int(row - rows_.begin());
}

int TfrmEdt::PerformanceRowOf(const QObject* control) const {
    const auto row = std::find(performance_.begin(), performance_.end(), control);
    return row == performance_.end() ? -1 : int(row - performance_.begin());
}

int TfrmEdt::ControlValue(int p) const {
    const auto& row = rows_[std::size_t(p)];
    if (row.kind == ControlKind::Switch) return static_cast<controls::Tzografsw*>(row.control)->state();
    return KnobOf(row.control, row.kind)->state();
}

void TfrmEdt::SetControlValue(int p, int value) {
    const auto& row = rows_[std::size_t(p)];
    if (row.kind == ControlKind::Switch) {
        static_cast<controls::Tzografsw*>(row.control)->setState(value != 0 ? 1 : 0);
        return;
    }
    auto* knob = KnobOf(row.control, row.kind);
    knob->setState(std::min(value, knob->max()));
    if (row.kind == ControlKind::ImageKnob) row.control->setToolTip(HintOf(knob->state()));
}

// --- sending ---------------------------------------------------------------------------------

void TfrmEdt::WriteAndSend(int p, int value, int group) {
    if (group == midi::kGroupVoice) {
        CurrentImage()[std::size_t(p)] = core::Byte(value);
    } else {
        const auto& row = PerformanceRowAt(p);
        CurrentImage()[core::kUnpackedVoiceSize + std::size_t(row.functionByte)] = core::Byte(value);
    }
    if (!messages_) return;
    // The module is the one current now: a bank switched while values wait keeps each value
    // on the module it was meant for.
    queue_.Post(messages_->CurrentModule(), p, group, value);
    FlushSends();
}

void TfrmEdt::FlushSends() {
    const auto next = queue_.Flush(midi::ParameterQueue::Clock::now());
    if (!next) return;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(
        *next - midi::ParameterQueue::Clock::now());
    sendTimer_.start(int(std::max<std::int64_t>(wait.count(), 0)));
}

// --- refill ----------------------------------------------------------------------------------

void TfrmEdt::Refill() {
    RefillVoice();
    RefillPerformance();
}

QString TfrmEdt::NameText() const {
    return librarian::DisplayVoiceName(
        const_cast<TfrmEdt*>(this)->CurrentImage().data() + core::kUnpackedNameOffset);
}

void TfrmEdt::RefillVoice() {
    const auto& image = CurrentImage();
    EdNomSon->setText(NameText());
    for (int p = 0; p < kVoiceParameterCount; ++p) SetControlValue(p, image[std::size_t(p)]);
    E_ALGO_NUM2->setText(QString::number(ControlValue(kAlgorithmParameter) + 1));
    for (int block = 0; block <= kPitchEnvelopeBlock; ++block)
        for (int offset = 0; offset < kEnvelopeValueCount; ++offset)
            envelopes_[std::size_t(block)]->setValue(EnvelopeValueOfOffset(offset),
                                                     image[std::size_t(block * kBlockSize + offset)]);
    for (int block = 0; block < kOperatorCount; ++block) {
        for (int offset : {16, 11, 8, 12, 9, 10})
            keyScalings_[std::size_t(block)]->setValue(KeyScalingValueOfOffset(offset),
                                                       image[std::size_t(block * kBlockSize + offset)]);
        ShowFrequency(block);
    }
}

void TfrmEdt::RefillPerformance() {
    const auto& image = CurrentImage();
    for (int r = 0; r < kPerformanceRowCount; ++r) {
        const auto& row = PerformanceRowAt(r);
        const int byte = r == kLowLimitRow    ? buffer_.LowNoteLimit()
                         : r == kHighLimitRow ? buffer_.HighNoteLimit()
                                              : image[core::kUnpackedVoiceSize + std::size_t(row.functionByte)];
        if (row.isSwitch) {
            static_cast<controls::Tzografsw*>(performance_[std::size_t(r)])
                ->setState((byte & row.maxOrMask) != 0 ? 1 : 0);
            continue;
        }
        auto* knob = static_cast<controls::Tzopotbmp*>(performance_[std::size_t(r)]);
        knob->setState(std::min(byte, row.maxOrMask));
        knob->setToolTip(HintOf(knob->state()));
        if (r == kLowLimitRow) txnotelo->setText(QString::fromStdString(NoteName(knob->state())));
        if (r == kHighLimitRow) txnotehi->setText(QString::fromStdString(NoteName(knob->state())));
    }
}

void TfrmEdt::ShowFrequency(int block) {
    const auto& image = CurrentImage();
    const std::size_t base = std::size_t(block * kBlockSize);
    const QString separator = QLocale::system().decimalPoint();
    const char sep = separator.size() == 1 && separator.at(0).unicode() < 0x80
                         ? char(separator.at(0).unicode()) : '.';
    // Shown as the module plays it: the image's bytes clamped as the knobs show them.
    frequency_[std::size_t(block)]->setText(QString::fromStdString(FrequencyText(
        std::min<int>(image[base + 17], 1), std::min<int>(image[base + 18], 31),
        std::min<int>(image[base + 19], 99), sep)));
}

void TfrmEdt::UpdateDependents(int p, int value) {
    const Dependents d = DependentsOf(p);
    if (d.frequencyBlock >= 0) ShowFrequency(d.frequencyBlock);
    if (d.keyScalingBlock >= 0)
        keyScalings_[std::size_t(d.keyScalingBlock)]->setValue(d.keyScalingValue, value);
    if (d.envelopeBlock >= 0) envelopes_[std::size_t(d.envelopeBlock)]->setValue(d.envelopeValue, value);
    if (d.algorithmNumber) E_ALGO_NUM2->setText(QString::number(value + 1));
}

// --- voice controls --------------------------------------------------------------------------

void TfrmEdt::E_OP1_COChange(QObject* sender) {
    const int p = ParameterOf(sender);
    if (p < 0) return;
    const int value = ControlValue(p);
    rows_[std::size_t(p)].control->setToolTip(HintOf(value));
    WriteAndSend(p, value, midi::kGroupVoice);
    UpdateDependents(p, value);
}

void TfrmEdt::E_OP1_R1Change(QObject* sender) {
    const int p = ParameterOf(sender);
    if (p < 0) return;
    const int value = ControlValue(p);
    WriteAndSend(p, value, midi::kGroupVoice);
    UpdateDependents(p, value);
}

void TfrmEdt::E_OP1_OSCClick(QObject* sender) {
    const int p = ParameterOf(sender);
    if (p < 0) return;
    auto* sw = static_cast<controls::Tzografsw*>(rows_[std::size_t(p)].control);
    sw->setState(sw->state() != 0 ? 0 : 1);
    WriteAndSend(p, sw->state(), midi::kGroupVoice);
    UpdateDependents(p, sw->state());
}

void TfrmEdt::E_OP1_EGChange(QObject* sender) {
    const auto it = std::find(envelopes_.begin(), envelopes_.end(), sender);
    if (it == envelopes_.end()) return;
    const int block = int(it - envelopes_.begin());
    std::array<int, kEnvelopeValueCount> values{};
    for (int i = 0; i < kEnvelopeValueCount; ++i) values[std::size_t(i)] = (*it)->value(i);
    WriteDisplayChanges(EnvelopeDragWrites(block, (*it)->pickedPoint(), values));
}

void TfrmEdt::E_OP1_KEYFChange(QObject* sender) {
    const auto it = std::find(keyScalings_.begin(), keyScalings_.end(), sender);
    if (it == keyScalings_.end()) return;
    const int block = int(it - keyScalings_.begin());
    std::array<int, kKeyScalingValueCount> values{};
    for (int i = 0; i < kKeyScalingValueCount; ++i) values[std::size_t(i)] = (*it)->value(i);
    WriteDisplayChanges(KeyScalingDragWrites(block, (*it)->pickedHandle(), values));
}

void TfrmEdt::WriteDisplayChanges(const DisplayWrites& changes) {
    // Every value is in the image (and on its knob) before anything goes out.
    for (int i = 0; i < changes.count; ++i) {
        const auto [p, value] = changes.writes[std::size_t(i)];
        SetControlValue(p, value);
        CurrentImage()[std::size_t(p)] = core::Byte(value);
    }
    for (int i = 0; i < changes.count; ++i)
        WriteAndSend(changes.writes[std::size_t(i)].parameter, changes.writes[std::size_t(i)].value,
                     midi::kGroupVoice);
}

// --- performance section -----------------------------------------------------------------------

void TfrmEdt::P_WH_SENSChange(QObject* sender) {
    const int r = PerformanceRowOf(sender);
    if (r < 0) return;
    const auto& row = PerformanceRowAt(r);
    if (row.isSwitch) {
        // The byte goes out with the next transfer of the function data, not now.
        auto* sw = static_cast<controls::Tzografsw*>(performance_[std::size_t(r)]);
        sw->setState(sw->state() != 0 ? 0 : 1);
        auto& byte = CurrentImage()[core::kUnpackedVoiceSize + std::size_t(row.functionByte)];
        byte = SwitchedByte(byte, row.maxOrMask, sw->state() != 0);
        return;
    }
    auto* knob = static_cast<controls::Tzopotbmp*>(performance_[std::size_t(r)]);
    const int value = knob->state();
    if (r == kLowLimitRow) {
        txnotelo->setText(QString::fromStdString(NoteName(value)));
        buffer_.SetLowNoteLimit(core::Byte(value));
    } else if (r == kHighLimitRow) {
        txnotehi->setText(QString::fromStdString(NoteName(value)));
        buffer_.SetHighNoteLimit(core::Byte(value));
    } else {
        WriteAndSend(r, value, midi::kGroupPerformance);
    }
    knob->setToolTip(HintOf(value));
}

// --- name and buttons ------------------------------------------------------------------------

void TfrmEdt::EdNomSonClick() {
    if (!nameEditor_) return;
    const auto typed = nameEditor_(EdNomSon->text().left(int(core::kNameSize)));
    if (!typed) return;
    auto* name = CurrentImage().data() + core::kUnpackedNameOffset;
    const auto stored = StoredName(*typed, name);
    if (!stored) return;
    std::copy(stored->begin(), stored->end(), name);
    EdNomSon->setText(NameText());
    emit nameChanged(EdNomSon->text());
    RecordEdit();
}

void TfrmEdt::btnCompareClick() {
    btnCompare->setState(btnCompare->state() != 0 ? 0 : 1);
    Refill();
}

void TfrmEdt::btnRecallClick() {
    {
        controls::PressedWhile lit(btnRecall);
        platform::WaitTicks(kPressTicks);
    }
    buffer_.RecallImage();
    btnCompare->setState(0);
    Refill();
    RecordEdit();
}

void TfrmEdt::btnResetClick() {
    {
        controls::PressedWhile lit(btnReset);
        platform::WaitTicks(kPressTicks);
    }
    buffer_.ResetImages();
    Refill();
    emit nameChanged(EdNomSon->text());
    RecordEdit();
}

void TfrmEdt::btnOptionsClick() {
    controls::PressedWhile lit(btnOptions);
    if (!optionsWindow_) return;
    optionsWindow_->show();
    optionsWindow_->raise();
    optionsWindow_->activateWindow();
}

void TfrmEdt::ResteDessusClick() { ApplyStayOnTop(ResteDessus->state() == 0); }

void TfrmEdt::ApplyStayOnTop(bool on) {
    ResteDessus->setState(on ? 1 : 0);
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown) show();  // changing the flags hides a window
}

// --- undo ------------------------------------------------------------------------------------

void TfrmEdt::WatchForUndo() {
    core::WatchEditBuffer(history_, buffer_);
    history_.Reset();

    auto* undo = new QAction(this);
    undo->setShortcut(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, &TfrmEdt::UndoEdit);
    addAction(undo);
    auto* redo = new QAction(this);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(redo, &QAction::triggered, this, &TfrmEdt::RedoEdit);
    addAction(redo);
    // A gesture ends with a release or a wheel step on any control; the step is recorded once
    // the control has handled it.
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfrmEdt::ScheduleRecord() {
    if (recordPending_) return;
    recordPending_ = true;
    QTimer::singleShot(0, this, [this] {
        recordPending_ = false;
        RecordEdit();
    });
}

void TfrmEdt::RecordEdit() {
    if (history_.Commit("Edit")) emit editRecorded();
}

void TfrmEdt::TakeBufferAsIs() { history_.Absorb(); }

void TfrmEdt::UndoEdit() {
    const core::EditImage before = CurrentImage();
    if (history_.Undo()) SendAndShow(before);
}

void TfrmEdt::RedoEdit() {
    const core::EditImage before = CurrentImage();
    if (history_.Redo()) SendAndShow(before);
}

void TfrmEdt::SendAndShow(const core::EditImage& before) {
    if (messages_) {
        for (const ParameterSend& send : ChangedParameters(before, CurrentImage()))
            queue_.Post(messages_->CurrentModule(), send.parameter, send.group, send.value);
        FlushSends();
    }
    Refill();
    emit nameChanged(EdNomSon->text());
    emit editRecorded();
}

void TfrmEdt::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace editor
