// The editor window's controls and where they sit: six operator columns across the top, the
// pitch envelope, the voice-wide section, the performance section and the name, limits and
// buttons along the bottom.

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "controls/Artwork.h"
#include "controls/TWallpaper.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzografsw.h"
#include "controls/Tzokeyf.h"
#include "controls/Tzopotbmp.h"
#include "controls/Tzopotlab.h"
#include "editor/EditorDisplays.h"
#include "editor/TfrmEdt.h"

namespace editor {
namespace {

namespace art = controls::artwork;

constexpr int kWindowWidth = 966;
constexpr int kWindowHeight = 599;
constexpr int kColumnPitch = 159;
constexpr int kColumnWidth = 155;
constexpr int kMargin = 6;
constexpr int kTopHeight = 396;
constexpr int kBottomTop = kMargin + kTopHeight + 4;
constexpr int kBottomHeight = kWindowHeight - kBottomTop - kMargin;
constexpr int kKnobPitch = 36;
constexpr int kDisplayWidth = 140;
constexpr int kDisplayHeight = 100;

const char* const kPanelStyle =
    "QFrame#panel { background: rgba(0, 0, 0, 110); border: 1px solid #3a3f47; border-radius: 6px; }";
const char* const kHeadingStyle =
    "color: #e8a040; background: transparent; font: bold 12px 'DejaVu Sans';";
const char* const kSmallCaptionStyle =
    "color: #b8bcc4; background: transparent; font: 9px 'DejaVu Sans';";
const char* const kTinyCaptionStyle =
    "color: #b8bcc4; background: transparent; font: 8px 'DejaVu Sans';";
const char* const kNameStyle =
    "color: #ffb040; background: #0a0a0b; border: 1px solid #3a3c42;"
    " font: bold 16px 'DejaVu Sans Mono';";

QFrame* Panel(QWidget* parent, int x, int y, int w, int h) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("panel"));
    panel->setStyleSheet(kPanelStyle);
    panel->setGeometry(x, y, w, h);
    return panel;
}

// A caption centred on x over the width w.
QLabel* Caption(QWidget* parent, const char* text, int x, int y, int w,
                const char* style = kSmallCaptionStyle) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setStyleSheet(style);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(x, y, w, 14);
    return label;
}

QLabel* Heading(QWidget* parent, const char* text, int x, int y) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setStyleSheet(kHeadingStyle);
    label->adjustSize();
    label->move(x, y);
    return label;
}

QLabel* Readout(QWidget* parent, const QString& name, const QString& text, int x, int y, int w,
                int h = 18) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(art::kValueLabelStyle);
    label->setGeometry(x, y, w, h);
    return label;
}

// Drag about one pixel a step, at least 50 pixels for the whole range.
int DragRange(int max) { return std::max(50, max); }

controls::Tzopotlab* LabelKnob(QWidget* parent, const std::string& name, int max, int x, int y,
                               int w) {
    auto* knob = new controls::Tzopotlab(parent);
    knob->setObjectName(QString::fromStdString(name));
    knob->setMax(max);
    knob->setCursorRange(DragRange(max));
    knob->setAlignment(Qt::AlignCenter);
    knob->setStyleSheet(QString::fromLatin1(art::kValueLabelStyle) +
                        QStringLiteral(" font-size: 11px;"));
    knob->setGeometry(x, y, w, 18);
    knob->setCursor(Qt::SizeVerCursor);
    return knob;
}

controls::Tzopotbmp* ImageKnob(QWidget* parent, const std::string& name, int max, int x, int y,
                               bool large = false) {
    auto* knob = new controls::Tzopotbmp(parent);
    knob->setObjectName(QString::fromStdString(name));
    // The strips are drawn when the editor is first painted, not while it is made hidden.
    const int size = large ? art::kLargeKnobSize : art::kSmallKnobSize;
    knob->setBitmap([large] { return large ? art::LargeKnobStrip() : art::SmallKnobStrip(); },
                    QSize(size * art::kKnobFrames, size));
    knob->setGlyph(art::kKnobFrames);
    knob->setMax(max);
    knob->setCursorRange(DragRange(max));
    knob->move(x, y);
    knob->setCursor(Qt::SizeVerCursor);
    return knob;
}

controls::Tzografsw* Lamp(QWidget* parent, const std::string& name, int x, int y,
                          bool green = false) {
    auto* lamp = new controls::Tzografsw(parent);
    lamp->setObjectName(QString::fromStdString(name));
    lamp->setGlyph(2);
    lamp->setBitmap(green ? art::GreenLampStrip() : art::LampStrip());
    lamp->move(x, y);
    return lamp;
}

controls::Tzografsw* Button(QWidget* parent, const char* name, const char* legend, int x, int y) {
    auto* button = new controls::Tzografsw(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGlyph(2);
    button->setBitmap(art::PushButtonStrip(QString::fromLatin1(legend), art::kButtonSize));
    button->move(x, y);
    return button;
}

}  // namespace

void TfrmEdt::BuildControls() {
    setFixedSize(kWindowWidth, kWindowHeight);
    auto* wallpaper = new controls::TWallpaper(this);
    wallpaper->setWallpaper(art::WallpaperTile());
    wallpaper->setGeometry(0, 0, kWindowWidth, kWindowHeight);
    for (int column = 1; column <= kOperatorCount; ++column) BuildOperatorColumn(column);
    BuildVoicePanels();
    BuildPerformancePanel();
    BuildButtonPanel();
}

void TfrmEdt::BuildOperatorColumn(int column) {
    const int block = BlockOfColumn(column);
    const int base = block * kBlockSize;
    auto* panel = Panel(this, kMargin + (column - 1) * kColumnPitch, kMargin, kColumnWidth, kTopHeight);
    const auto name = [&](int offset) { return VoiceParameterName(base + offset); };
    const auto prefix = "E_OP" + std::to_string(column) + "_";
    const auto add = [&](int offset, QWidget* control) {
        rows_[std::size_t(base + offset)] = {control, VoiceParameterControl(base + offset).kind};
    };
    const auto max = [&](int offset) { return kOperatorControls[std::size_t(offset)].max; };

    Heading(panel, ("OP " + std::to_string(column)).c_str(), 8, 4);
    frequency_[std::size_t(block)] = Readout(panel, QString::fromStdString(prefix + "FREQ"),
                                             QStringLiteral("0.000000"), 44, 4, 80);
    auto* bypass = Lamp(panel, prefix + "BYPASS", 131, 5, true);
    bypass->setState(1);
    bypass->setToolTip(QStringLiteral("Operator on"));
    bypass_[std::size_t(block)] = bypass;

    auto* eg = MakeEnvelopeDisplay(panel, QString::fromStdString(prefix + "EG"), block);
    eg->setGeometry(7, 26, kDisplayWidth, kDisplayHeight);
    envelopes_[std::size_t(block)] = eg;
    BuildEnvelopeKnobs(panel, base);

    auto* keyf = MakeKeyScalingDisplay(panel, QString::fromStdString(prefix + "KEYF"), block);
    keyf->setGeometry(7, 172, kDisplayWidth, kDisplayHeight);
    keyScalings_[std::size_t(block)] = keyf;
    // Break point, depths and curves under the keyboard scaling.
    static constexpr const char* kScaleCaptions[] = {"BP", "LD", "RD", "LC", "RC"};
    for (int i = 0; i < 5; ++i) {
        add(8 + i, LabelKnob(panel, name(8 + i), max(8 + i), 7 + i * 28, 276, 27));
        Caption(panel, kScaleCaptions[i], 7 + i * 28, 295, 27);
    }

    const auto imageKnob = [&](int offset, int slot, int y) {
        add(offset, ImageKnob(panel, name(offset), max(offset), 9 + slot * kKnobPitch, y));
        Caption(panel, kOperatorControls[std::size_t(offset)].caption, 9 + slot * kKnobPitch - 3,
                y + art::kSmallKnobSize, kKnobPitch);
    };
    imageKnob(13, 0, 310);
    imageKnob(14, 1, 310);
    imageKnob(15, 2, 310);
    imageKnob(16, 3, 310);
    imageKnob(18, 0, 352);
    imageKnob(19, 1, 352);
    imageKnob(20, 2, 352);
    auto* osc = Lamp(panel, name(17), 9 + 3 * kKnobPitch + 7, 359);
    osc->setToolTip(QStringLiteral("Fixed frequency"));
    add(17, osc);
    Caption(panel, "Fixed", 9 + 3 * kKnobPitch - 3, 352 + art::kSmallKnobSize, kKnobPitch);
}

void TfrmEdt::BuildEnvelopeKnobs(QWidget* panel, int base) {
    // Rates and levels in two rows of four under the envelope.
    Caption(panel, "R", 2, 131, 14);
    Caption(panel, "L", 2, 151, 14);
    for (int i = 0; i < 8; ++i) {
        const int p = base + i;
        rows_[std::size_t(p)] = {LabelKnob(panel, VoiceParameterName(p), VoiceParameterControl(p).max,
                                           18 + (i % 4) * 33, i < 4 ? 129 : 149, 31),
                                 ControlKind::LabelKnob};
    }
}

void TfrmEdt::BuildVoicePanels() {
    // The pitch envelope, laid out like an operator's envelope.
    auto* pitch = Panel(this, kMargin, kBottomTop, kColumnWidth, kBottomHeight);
    Heading(pitch, "PITCH EG", 8, 4);
    constexpr int base = kOperatorParameterCount;
    auto* eg = MakeEnvelopeDisplay(pitch, QStringLiteral("E_PEG_EG"), kPitchEnvelopeBlock);
    eg->setGeometry(7, 26, kDisplayWidth, kDisplayHeight);
    envelopes_[kPitchEnvelopeBlock] = eg;
    BuildEnvelopeKnobs(pitch, base);

    // Algorithm, feedback, oscillator sync, transpose; the LFO below.
    auto* voice = Panel(this, kMargin + kColumnPitch, kBottomTop, 270, kBottomHeight);
    const auto put = [&](int p, QWidget* control) {
        rows_[std::size_t(p)] = {control, VoiceParameterControl(p).kind};
    };
    const auto knob = [&](int p, int x, int y, bool large = false) {
        const auto& c = VoiceParameterControl(p);
        put(p, ImageKnob(voice, c.suffix, c.max, x, y, large));
        const int size = large ? art::kLargeKnobSize : art::kSmallKnobSize;
        Caption(voice, c.caption, x + size / 2 - 30, y + size, 60);
    };
    const auto lamp = [&](int p, int x, int y) {
        const auto& c = VoiceParameterControl(p);
        put(p, Lamp(voice, c.suffix, x, y));
        Caption(voice, c.caption, x + 8 - 30, y + 22, 60);
    };
    Heading(voice, "VOICE", 8, 4);
    knob(kAlgorithmParameter, 12, 26, true);
    E_ALGO_NUM2 = Readout(voice, QStringLiteral("E_ALGO_NUM2"), QStringLiteral("1"), 62, 38, 30, 20);
    knob(135, 110, 32);
    lamp(136, 166, 38);
    knob(144, 216, 32);
    Heading(voice, "LFO", 8, 96);
    knob(137, 10, 114);
    knob(138, 46, 114);
    knob(139, 82, 114);
    knob(140, 118, 114);
    knob(142, 154, 114);
    knob(143, 190, 114);
    lamp(141, 238, 121);
}

void TfrmEdt::BuildPerformancePanel() {
    auto* panel = Panel(this, kMargin + 2 * kColumnPitch + 115, kBottomTop, 286, kBottomHeight);
    Heading(panel, "PERFORMANCE", 8, 4);
    const auto knob = [&](int r, const char* caption, int x, int y) {
        const auto& row = PerformanceRowAt(r);
        auto* k = ImageKnob(panel, row.name, row.maxOrMask, x, y);
        performance_[std::size_t(r)] = k;
        Caption(panel, caption, x - 15, y + art::kSmallKnobSize, 60);
    };
    const auto lamp = [&](int r, const char* caption, int x, int y, int captionWidth = 44) {
        performance_[std::size_t(r)] = Lamp(panel, PerformanceRowAt(r).name, x, y);
        auto* label = Caption(panel, caption, x + 8 - captionWidth / 2, y + 17, captionWidth);
        if (captionWidth < 44) label->setStyleSheet(kTinyCaptionStyle);
    };
    // Top row: poly, pitch bend, portamento, master level.
    lamp(0, "Poly", 14, 34);
    knob(1, "Range", 46, 26);
    knob(2, "Steps", 82, 26);
    knob(3, "Time", 124, 26);
    lamp(4, "Gliss", 166, 34);
    lamp(5, "Retain", 198, 34);
    knob(22, "Level", 238, 26);
    // The four controllers: sensitivity, then what each one drives.
    static constexpr const char* kControllers[] = {"Wheel", "Foot SW", "After T.", "Breath"};
    for (int c = 0; c < 4; ++c) {
        const int x = 8 + c * 69;
        const int r = 6 + c * 4;
        knob(r, kControllers[c], x + 20, 88);
        lamp(r + 1, "EG", x + 1, 140, 23);
        lamp(r + 2, "AMP", x + 24, 140, 23);
        lamp(r + 3, "PITCH", x + 47, 140, 27);
    }
}

void TfrmEdt::BuildButtonPanel() {
    const int left = kMargin + 2 * kColumnPitch + 405;
    auto* panel = Panel(this, left, kBottomTop, kWindowWidth - kMargin - left, kBottomHeight);
    Heading(panel, "NAME", 8, 4);
    EdNomSon = Readout(panel, QStringLiteral("EdNomSon"), QStringLiteral("01234567"), 10, 24, 140, 26);
    EdNomSon->setStyleSheet(kNameStyle);
    EdNomSon->setCursor(Qt::PointingHandCursor);
    EdNomSon->setToolTip(QStringLiteral("Click to rename the voice"));
    EdNomSon->installEventFilter(this);

    ResteDessus = Lamp(panel, "ResteDessus", 186, 30, true);
    ResteDessus->setToolTip(QStringLiteral("Stay On Top"));
    Caption(panel, "On top", 166, 48, 56);

    // The note limits with the note names beside their knobs.
    Heading(panel, "LIMITS", 8, 62);
    const auto limit = [&](int r, const char* caption, int x) {
        const auto& row = PerformanceRowAt(r);
        performance_[std::size_t(r)] = ImageKnob(panel, row.name, row.maxOrMask, x, 82);
        Caption(panel, caption, x - 15, 82 + art::kSmallKnobSize, 60);
    };
    limit(kLowLimitRow, "LO", 14);
    txnotelo = Readout(panel, QStringLiteral("txnotelo"), QStringLiteral("C8"), 50, 88, 46);
    limit(kHighLimitRow, "HI", 116);
    txnotehi = Readout(panel, QStringLiteral("txnotehi"), QStringLiteral("C0"), 152, 88, 46);

    btnCompare = Button(panel, "btnCompare", "CMP", 12, 126);
    btnRecall = Button(panel, "btnRecall", "RCL", 66, 126);
    btnReset = Button(panel, "btnReset", "RST", 120, 126);
    btnOptions = Button(panel, "btnOptions", "OPT", 174, 126);
    Caption(panel, "Compare", 0, 164, 60);
    Caption(panel, "Recall", 54, 164, 60);
    Caption(panel, "Reset", 108, 164, 60);
    Caption(panel, "Options", 162, 164, 60);
}

void TfrmEdt::ConnectControls() {
    for (const auto& row : rows_) {
        QObject* control = row.control;
        switch (row.kind) {
            case ControlKind::LabelKnob:
                connect(static_cast<controls::Tzopotlab*>(row.control), &controls::Tzopotlab::changed,
                        this, [this, control] { E_OP1_R1Change(control); });
                break;
            case ControlKind::ImageKnob:
                connect(static_cast<controls::Tzopotbmp*>(row.control), &controls::Tzopotbmp::changed,
                        this, [this, control] { E_OP1_COChange(control); });
                break;
            case ControlKind::Switch:
                connect(static_cast<controls::Tzografsw*>(row.control), &controls::Tzografsw::clicked,
                        this, [this, control] { E_OP1_OSCClick(control); });
                break;
        }
    }
    for (int r = 0; r < kPerformanceRowCount; ++r) {
        QObject* control = performance_[std::size_t(r)];
        if (PerformanceRowAt(r).isSwitch) {
            connect(static_cast<controls::Tzografsw*>(control), &controls::Tzografsw::clicked, this,
                    [this, control] { P_WH_SENSChange(control); });
        } else {
            connect(static_cast<controls::Tzopotbmp*>(control), &controls::Tzopotbmp::changed, this,
                    [this, control] { P_WH_SENSChange(control); });
        }
    }
    for (auto* eg : envelopes_)
        ConnectDisplay(eg, this, [this, eg] { E_OP1_EGChange(eg); });
    for (auto* keyf : keyScalings_)
        ConnectDisplay(keyf, this, [this, keyf] { E_OP1_KEYFChange(keyf); });
    connect(btnCompare, &controls::Tzografsw::clicked, this, &TfrmEdt::btnCompareClick);
    connect(btnRecall, &controls::Tzografsw::clicked, this, &TfrmEdt::btnRecallClick);
    connect(btnReset, &controls::Tzografsw::clicked, this, &TfrmEdt::btnResetClick);
    connect(btnOptions, &controls::Tzografsw::clicked, this, &TfrmEdt::btnOptionsClick);
    connect(ResteDessus, &controls::Tzografsw::clicked, this, &TfrmEdt::ResteDessusClick);
}

bool TfrmEdt::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonRelease || type == QEvent::Wheel || type == QEvent::KeyRelease)
        ScheduleRecord();
    if (watched == EdNomSon && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        EdNomSonClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace editor
