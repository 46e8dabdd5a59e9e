#include "editor/TfrmEditOpt.h"

#include <QColorDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include "controls/Artwork.h"
#include "controls/ColourValue.h"
#include "controls/TWallpaper.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "controls/TTitleBar.h"

namespace editor {
namespace {

namespace art = controls::artwork;

constexpr int kWidth = 208;
constexpr int kHeight = 289;

const char* const kCaptionStyle =
    "color: #c8ccd4; background: transparent; font: bold 11px 'DejaVu Sans';";

QColor ColourOf(std::int32_t stored) {
    return controls::ColourFromValue(controls::ColourNumber(stored));
}

}  // namespace

TfrmEditOpt::TfrmEditOpt(const EditorDisplaySet& displays, QWidget* parent,
                         platform::SettingsStore& store)
    : QDialog(parent), displays_(displays) {
    setWindowTitle(QStringLiteral("Editor Options "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(kWidth, kHeight);
    chooser_ = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        if (!chosen.isValid()) return std::nullopt;
        return chosen;
    };
    BuildControls();
    controls::WearCaptionBar(this, controls::kCaptionClose);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    const int read = ReadEditorLook(look_, store);
    ShowLook();
    // A key cut short keeps what it held in the options and leaves the displays alone.
    if (read == 0 || read == kLookValueCount) displays_.ApplyAll(look_);
}

void TfrmEditOpt::BuildControls() {
    auto* wallpaper = new controls::TWallpaper(this);
    wallpaper->setWallpaper(art::WallpaperTile());
    wallpaper->setGeometry(0, 0, kWidth, kHeight);

    const auto sw = [&](LookSwitch which, const char* name, const char* caption, int y) {
        auto* lamp = new controls::Tzografsw(this);
        lamp->setObjectName(QString::fromLatin1(name));
        lamp->setGlyph(2);
        lamp->setBitmap(art::LampStrip());
        lamp->move(12, y);
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setStyleSheet(kCaptionStyle);
        label->setGeometry(34, y, 130, 16);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        switches_[std::size_t(which)] = lamp;
        switchCaptions_[std::size_t(which)] = label;
        connect(lamp, &controls::Tzografsw::clicked, this, [this, which] { ToggleSwitch(which); });
    };
    const auto swatch = [&](LookColour which, const char* name, int x, int y) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QString::fromLatin1(name));
        frame->setGeometry(x, y, 24, 16);
        frame->setCursor(Qt::PointingHandCursor);
        frame->installEventFilter(this);
        swatches_[std::size_t(which)] = frame;
    };
    const auto knob = [&](const char* name, const char* caption, int lo, int hi, int x, int y) {
        auto* k = new controls::Tzopotlab(this);
        k->setObjectName(QString::fromLatin1(name));
        k->setMin(lo);
        k->setMax(hi);
        k->setCursorRange(std::max(50, hi - lo));
        k->setAlignment(Qt::AlignCenter);
        k->setStyleSheet(art::kValueLabelStyle);
        k->setGeometry(x, y, 40, 20);
        k->setCursor(Qt::SizeVerCursor);
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setStyleSheet(kCaptionStyle);
        label->setGeometry(x + 46, y + 2, 50, 16);
        return k;
    };

    sw(LookSwitch::VerticalLines, "Svline", "Show Vertical Lines", 14);
    sw(LookSwitch::Fill, "FillSurf", "Fill Adsr Surface", 44);
    swatch(LookColour::Line, "ColorSurf", 170, 44);
    sw(LookSwitch::Gradient, "GradEnab", "Gradient Enabled", 80);
    swatch(LookColour::Gradient, "ColorGrad", 170, 80);
    GradNbCol = knob("GradNbCol", "Steps", kMinGradientSteps, kMaxGradientSteps, 34, 106);
    GradMode = knob("GradMode", "Mode", 0, kMaxGradientMode, 34, 132);
    auto* back = new QLabel(QStringLiteral("BackGround Color"), this);
    back->setStyleSheet(kCaptionStyle);
    back->setGeometry(34, 170, 130, 16);
    swatch(LookColour::Background, "ColorBack", 170, 170);
    sw(LookSwitch::Markers, "ShowMark", "Show Markers", 206);
    swatch(LookColour::Marker, "ColorMark", 170, 206);
    SizeMark = knob("SizeMark", "Size", 0, kMaxMarkerSize, 34, 232);

    connect(GradNbCol, &controls::Tzopotlab::changed, this, &TfrmEditOpt::GradNbColChange);
    connect(GradMode, &controls::Tzopotlab::changed, this, &TfrmEditOpt::GradModeChange);
    connect(SizeMark, &controls::Tzopotlab::changed, this, &TfrmEditOpt::SizeMarkChange);
}

void TfrmEditOpt::ShowLook() {
    for (int i = 0; i < 4; ++i) {
        switches_[std::size_t(i)]->setState(SwitchValue(LookSwitch(i)) ? 1 : 0);
        swatches_[std::size_t(i)]->setStyleSheet(
            QStringLiteral("QFrame { background: %1; border: 1px solid #8a909a; }")
                .arg(ColourOf(ColourValue(LookColour(i))).name()));
    }
    GradNbCol->setState(look_.gradientSteps);
    GradMode->setState(look_.gradientMode);
    SizeMark->setState(look_.markerSize);
}

bool& TfrmEditOpt::SwitchValue(LookSwitch which) {
    switch (which) {
        case LookSwitch::VerticalLines: return look_.verticalLines;
        case LookSwitch::Fill: return look_.fillSurface;
        case LookSwitch::Gradient: return look_.gradient;
        case LookSwitch::Markers: break;
    }
    return look_.showMarkers;
}

std::int32_t& TfrmEditOpt::ColourValue(LookColour which) {
    switch (which) {
        case LookColour::Marker: return look_.markerColour;
        case LookColour::Background: return look_.backgroundColour;
        case LookColour::Gradient: return look_.gradientColour;
        case LookColour::Line: break;
    }
    return look_.lineColour;
}

void TfrmEditOpt::ToggleSwitch(LookSwitch which) {
    bool& value = SwitchValue(which);
    value = !value;
    switches_[std::size_t(which)]->setState(value ? 1 : 0);
    displays_.ApplySwitch(which, look_);
}

void TfrmEditOpt::ChooseColour(LookColour which) {
    std::int32_t& value = ColourValue(which);
    const auto chosen = chooser_ ? chooser_(ColourOf(value)) : std::nullopt;
    if (!chosen) return;
    value = std::int32_t(controls::ValueFromColour(*chosen));
    ShowLook();
    displays_.ApplyColour(which, look_);
    if (which == LookColour::Background) {
        // The cached gradients are built from the background: switching the gradient off and
        // on again rebuilds them with the new colour.
        GradEnabClick();
        GradEnabClick();
    }
}

void TfrmEditOpt::SvlineClick() { ToggleSwitch(LookSwitch::VerticalLines); }
void TfrmEditOpt::FillSurfClick() { ToggleSwitch(LookSwitch::Fill); }
void TfrmEditOpt::GradEnabClick() { ToggleSwitch(LookSwitch::Gradient); }
void TfrmEditOpt::ShowMarkClick() { ToggleSwitch(LookSwitch::Markers); }
void TfrmEditOpt::ColorSurfMouseDown() { ChooseColour(LookColour::Line); }
void TfrmEditOpt::ColorGradMouseDown() { ChooseColour(LookColour::Gradient); }
void TfrmEditOpt::ColorBackMouseDown() { ChooseColour(LookColour::Background); }
void TfrmEditOpt::ColorMarkMouseDown() { ChooseColour(LookColour::Marker); }

void TfrmEditOpt::GradNbColChange() {
    look_.gradientSteps = GradNbCol->state();
    displays_.ApplySteps(look_.gradientSteps);
}

void TfrmEditOpt::GradModeChange() {
    look_.gradientMode = GradMode->state();
    displays_.ApplyMode(look_.gradientMode);
}

void TfrmEditOpt::SizeMarkChange() {
    look_.markerSize = SizeMark->state();
    displays_.ApplyMarkerSize(look_);
}

bool TfrmEditOpt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < 4; ++i) {
            if (watched == swatches_[std::size_t(i)]) {
                ChooseColour(LookColour(i));
                return true;
            }
        }
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < 4; ++i) {
            if (watched == switchCaptions_[std::size_t(i)]) {
                ToggleSwitch(LookSwitch(i));
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmEditOpt::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace editor
