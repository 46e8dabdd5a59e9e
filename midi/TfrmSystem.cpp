#include "midi/TfrmSystem.h"

#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include "controls/Artwork.h"
#include "controls/DialogHabits.h"
#include "controls/TWallpaper.h"
#include "controls/Tzografsw.h"
#include "controls/TTitleBar.h"
#include "midi/SystemInfoView.h"

namespace midi {
namespace {

constexpr int kWidth = 248;
constexpr int kHeight = 132;

const char* const kCaptionStyle =
    "color: #c8ccd4; background: transparent; font: bold 12px 'DejaVu Sans';";
// The recessed displays behind the model name, the channel and the battery.
const char* const kDisplayStyle =
    "QFrame { background: #0c0e10; border: 1px solid #4a505a; border-radius: 4px; }";
const char* const kDisplayTextStyle =
    "color: #ff9a30; background: transparent; font: bold 14px 'DejaVu Sans Mono';";

QLabel* Caption(QWidget* parent, const char* text, int x, int y) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setStyleSheet(kCaptionStyle);
    label->adjustSize();
    label->move(x, y);
    return label;
}

// A display picture with its text field on top.
QLabel* Display(QWidget* parent, const char* text, QRect place, Qt::Alignment alignment) {
    auto* frame = new QFrame(parent);
    frame->setStyleSheet(kDisplayStyle);
    frame->setGeometry(place);
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setStyleSheet(kDisplayTextStyle);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(place.adjusted(6, 1, -6, -1));
    return label;
}

controls::Tzografsw* Lamp(QWidget* parent, int x, int y, const char* hint) {
    auto* lamp = new controls::Tzografsw(parent);
    lamp->setGlyph(2);
    lamp->setBitmap(controls::artwork::LampStrip());
    lamp->move(x, y);
    lamp->setToolTip(QString::fromUtf8(hint));
    return lamp;
}

}  // namespace

TfrmSystem::TfrmSystem(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kSystemInfoTitle);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(kWidth, kHeight);

    auto* wallpaper = new controls::TWallpaper(this);
    wallpaper->setGeometry(rect());
    wallpaper->setWallpaper(controls::artwork::WallpaperTile());

    Caption(this, "Model", 12, 14);
    labNomSys = Display(this, "labNomSys", QRect(76, 8, 112, 28), Qt::AlignLeft);
    labRevSys = new QLabel("x.x", this);
    labRevSys->setStyleSheet(kCaptionStyle);
    labRevSys->setAlignment(Qt::AlignCenter);
    labRevSys->setGeometry(192, 12, 48, 20);

    Caption(this, "MIDI", 12, 54);
    labMidiSys = Display(this, "16", QRect(76, 48, 40, 28), Qt::AlignRight);
    labMidiSys->setToolTip("Module MIDI Channel");
    Caption(this, "Omni", 144, 54);
    btnOmniSys = Lamp(this, 196, 50, "Omni On/Off");

    Caption(this, "Battery", 12, 94);
    labBattSys = Display(this, "0.0V", QRect(76, 88, 72, 28), Qt::AlignRight);
    labBattSys->setToolTip("Voltage");
    btnBattLow = Lamp(this, 196, 90, "Low Power BATT Warning");
    controls::WearCaptionBar(this, controls::kCaptionClose);
}

void TfrmSystem::Fill(std::span<const Byte, kSystemInfoSize> info, std::size_t module) {
    const SystemInfoView view = ViewOf(info);
    labNomSys->setText(QString::fromLatin1(view.model.data(), qsizetype(view.model.size())));
    labRevSys->setText(QString::fromStdString(view.revision));
    labMidiSys->setText(QString::fromStdString(view.channel));
    btnOmniSys->setState(view.omni ? 1 : 0);
    btnBattLow->setState(view.lowBattery ? 1 : 0);
    labBattSys->setText(QString::fromStdString(view.battery));
    setWindowTitle(QString::fromStdString(SystemInfoCaption(module)));
}

void TfrmSystem::keyPressEvent(QKeyEvent* e) {
    if (!controls::AcceptOrRejectByKey(*this, *e)) QDialog::keyPressEvent(e);
}

void TfrmSystem::showEvent(QShowEvent* e) {
    controls::CentreOnScreen(*this);
    QDialog::showEvent(e);
}

}  // namespace midi
