// The sheet of every control in its typical states, on the program's wallpaper. The pictures
// are taken as the windows take them (made for the screen); the controls redraw them for the
// ratio they are rendered at.

#include "SnapshotRegistry.h"
#include "controls/Artwork.h"
#include "controls/TDigitBox.h"
#include "controls/TWallpaper.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotbmp.h"
#include "controls/Tzopotlab.h"

namespace {

using namespace controls;
using snapshot::Caption;

void Knob(QWidget* parent, const QPixmap& strip, int state, int x, int y) {
    auto* knob = new Tzopotbmp(parent);
    knob->setBitmap(strip);
    knob->setGlyph(artwork::kKnobFrames);
    knob->setMax(99);
    knob->setState(state);
    knob->move(x, y);
}

void Switch(QWidget* parent, const QPixmap& strip, int state, int x, int y, int frames = 2) {
    auto* sw = new Tzografsw(parent);
    sw->setBitmap(strip);
    sw->setGlyph(frames);
    sw->setState(state);
    sw->move(x, y);
}

void LabelKnob(QWidget* parent, int state, int x, int y) {
    auto* knob = new Tzopotlab(parent);
    knob->setMax(99);
    knob->setState(state);
    knob->setAlignment(Qt::AlignCenter);
    knob->setStyleSheet(QString::fromLatin1(artwork::kValueLabelStyle));
    knob->setGeometry(x, y, 40, 20);
}

void Digits(QWidget* parent, unsigned digits, std::uint32_t value, int x, int y) {
    auto* box = new TDigitBox(parent);
    box->setDelay(0);
    box->setDigits(digits);
    box->setValue(value);
    box->move(x, y);
}

std::unique_ptr<QWidget> ControlSheet(qreal) {
    auto sheet = std::make_unique<TWallpaper>();
    sheet->setWallpaper(artwork::WallpaperTile());
    sheet->resize(560, 400);

    Caption(sheet.get(), QStringLiteral("Large knobs 0 / 50 / 99"), 16, 12);
    for (int i = 0; i < 3; ++i) Knob(sheet.get(), artwork::LargeKnobStrip(), i * 50 - (i == 2), 16 + 56 * i, 32);
    Caption(sheet.get(), QStringLiteral("Small knobs 0 / 50 / 99"), 200, 12);
    for (int i = 0; i < 3; ++i) Knob(sheet.get(), artwork::SmallKnobStrip(), i * 50 - (i == 2), 200 + 42 * i, 39);
    Caption(sheet.get(), QStringLiteral("Label knobs"), 350, 12);
    for (int i = 0; i < 3; ++i) LabelKnob(sheet.get(), i * 49 + (i == 2), 350 + 48 * i, 44);

    Caption(sheet.get(), QStringLiteral("Lamps off / on"), 16, 100);
    Switch(sheet.get(), artwork::LampStrip(), 0, 16, 122);
    Switch(sheet.get(), artwork::LampStrip(), 1, 40, 122);
    Switch(sheet.get(), artwork::GreenLampStrip(), 0, 64, 122);
    Switch(sheet.get(), artwork::GreenLampStrip(), 1, 88, 122);
    Caption(sheet.get(), QStringLiteral("Push buttons off / on"), 140, 100);
    Switch(sheet.get(), artwork::PushButtonStrip({}, artwork::kButtonSize), 0, 140, 120);
    Switch(sheet.get(), artwork::PushButtonStrip({}, artwork::kButtonSize), 1, 182, 120);
    Switch(sheet.get(), artwork::PushButtonStrip(QStringLiteral("MIDI"), artwork::kButtonSize), 0, 224, 120);
    Switch(sheet.get(), artwork::PushButtonStrip(QStringLiteral("MIDI"), artwork::kButtonSize), 1, 266, 120);
    Switch(sheet.get(), artwork::PushButtonStrip({}, artwork::kSmallButtonSize), 0, 312, 128);
    Switch(sheet.get(), artwork::PushButtonStrip({}, artwork::kSmallButtonSize), 1, 336, 128);
    Switch(sheet.get(), artwork::PushButtonStrip(QStringLiteral("<"), artwork::kSmallButtonSize), 0, 368, 128);
    Switch(sheet.get(), artwork::PushButtonStrip(QStringLiteral(">"), artwork::kSmallButtonSize), 1, 392, 128);

    Caption(sheet.get(), QStringLiteral("Digit boxes 007 / 123 / 11 digits"), 16, 176);
    Digits(sheet.get(), 3, 7, 16, 196);
    Digits(sheet.get(), 3, 123, 64, 196);
    Digits(sheet.get(), 11, 4294967295u, 112, 196);

    Caption(sheet.get(), QStringLiteral("Trash can, MIDI plug"), 300, 176);
    // Single pictures are one-frame switches, so they too are redrawn for the ratio.
    Switch(sheet.get(), artwork::TrashCan(), 0, 300, 196, 1);
    Switch(sheet.get(), artwork::MidiPlug(), 0, 356, 192, 1);

    Caption(sheet.get(), QStringLiteral("Panels: bevelled wallpaper, plain with caption"), 16, 268);
    auto* bevelled = new TWallpaper(sheet.get());
    bevelled->setWallpaper(artwork::WallpaperTile());
    bevelled->setBevelOuter(Bevel::Raised);
    bevelled->setBevelInner(Bevel::Lowered);
    bevelled->setBorderWidth(3);
    bevelled->setGeometry(16, 290, 200, 90);
    auto* plain = new TWallpaper(sheet.get());
    plain->setBevelOuter(Bevel::Raised);
    plain->setCaption(QStringLiteral("Plain panel"));
    plain->setGeometry(232, 290, 200, 90);
    return sheet;
}

SNAPSHOT_REGISTER("controls", ControlSheet);

}  // namespace
