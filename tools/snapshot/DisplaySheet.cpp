// The envelope and keyboard scaling displays showing real voices from the shared bank files:
// two voices laid out as the editor's operator columns (the first with the editor options'
// start-up look, the second with the displays' own placement look), then a row of variants.

#include <cstdio>
#include <string>

#include "SnapshotRegistry.h"
#include "controls/Artwork.h"
#include "controls/ColourValue.h"
#include "controls/TWallpaper.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzokeyf.h"
#include "core/Bankson.h"
#include "core/VoiceFormats.h"

namespace {

using namespace controls;
using snapshot::Caption;

constexpr int kColumn = 148;  // display width and gap
constexpr int kOperatorBlock = 21;

core::UnpackedVoice RealVoice(int file, int slot, std::string& name) {
    char path[64];
    std::snprintf(path, sizeof path, "/banks/SynprezFM_%02d.syx", file);
    core::Bankson bank;
    bank.LoadBankFile(std::string(MONDRAL_SHARED_DIR) + path, false);
    core::UnpackedVoice voice{};
    core::UnpackVoice(bank.Page()[slot].voice, voice);
    name = bank.VoiceName(slot);
    return voice;
}

struct Look {
    int bands;
    int envelopeType;
    int keysType;
    bool guides;
    bool fill;
};

// The editor options' start-up values, and the displays as the editor window first places them.
constexpr Look kOptionsLook{16, 2, 2, false, false};
constexpr Look kPlacedLook{64, Tzoadsr2::gr2VertCenterToBorder, Tzokeyf::grkVertBorderToCenter, true, false};

void Style(GraphDisplay* d, const Look& look) {
    d->resize(140, 100);
    d->setGradientEnabled(true);
    d->setGradientColor(ColourFromValue(4210688));
    d->setGradientNbOfColors(look.bands);
    d->setLineColor(ColourFromValue(0x808040));
    d->setMarkerColor(ColourFromValue(kColourAqua));
}

Tzoadsr2* Envelope(QWidget* parent, const core::UnpackedVoice& v, int block, const Look& look,
                   int x, int y) {
    auto* env = new Tzoadsr2(parent);
    Style(env, look);
    env->setGradientType(look.envelopeType);
    env->setShowVLines(look.guides);
    env->setFillEnabled(look.fill);
    env->setTag(block);
    const int base = block * kOperatorBlock;
    for (int k = 1; k <= 4; ++k) {
        env->setValue(2 * k - 2, v[base + k - 1]);
        env->setValue(2 * k - 1, v[base + k + 3]);
    }
    env->move(x, y);
    return env;
}

Tzokeyf* Keys(QWidget* parent, const core::UnpackedVoice& v, int block, const Look& look, int x,
              int y) {
    auto* keys = new Tzokeyf(parent);
    Style(keys, look);
    keys->setGradientType(look.keysType);
    keys->setRubberSize(3);
    keys->setExpCoeff(1);
    keys->setTag(block);
    const int base = block * kOperatorBlock;
    keys->setValue(ksLevel, v[base + 16]);
    keys->setValue(ksLeftCurve, v[base + 11]);
    keys->setValue(ksBreakPoint, v[base + 8]);
    keys->setValue(ksRightCurve, v[base + 12]);
    keys->setValue(ksLeftDepth, v[base + 9]);
    keys->setValue(ksRightDepth, v[base + 10]);
    keys->move(x, y);
    return keys;
}

// Operator columns 1..6 (blocks 5..0), the pitch envelope (block 6) beside them.
void VoiceRows(QWidget* sheet, int file, int slot, const Look& look, int y) {
    std::string name;
    const core::UnpackedVoice v = RealVoice(file, slot, name);
    Caption(sheet, QStringLiteral("%1 (bank %2, voice %3): OP1 .. OP6, pitch envelope")
                       .arg(QString::fromLatin1(name.c_str())).arg(file).arg(slot + 1),
            16, y);
    for (int column = 1; column <= 6; ++column) {
        const int x = 16 + (column - 1) * kColumn;
        Envelope(sheet, v, 6 - column, look, x, y + 18);
        Keys(sheet, v, 6 - column, look, x, y + 18 + 106);
    }
    Envelope(sheet, v, 6, look, 16 + 6 * kColumn + 8, y + 18);
}

std::unique_ptr<QWidget> DisplaySheet(qreal) {
    auto sheet = std::make_unique<TWallpaper>();
    sheet->setWallpaper(artwork::WallpaperTile());
    sheet->resize(16 + 7 * kColumn + 8 + 8, 628);

    VoiceRows(sheet.get(), 1, 0, kOptionsLook, 8);
    VoiceRows(sheet.get(), 5, 10, kPlacedLook, 250);

    const int y = 492;
    Caption(sheet.get(), QStringLiteral("Filled, plain background, no markers; strips off, "
                                        "mirrored gradient, automatic bands; tiny sizes"),
            16, y);
    std::string name;
    const core::UnpackedVoice v = RealVoice(2, 3, name);
    // Values of their own where the voice's would lie flat on an edge.
    auto* filled = Envelope(sheet.get(), v, 0, {16, 2, 2, true, true}, 16, y + 18);
    const int shape[] = {60, 99, 40, 70, 30, 45, 50, 0};
    for (int i = 0; i < 8; ++i) filled->setValue(i, shape[i]);
    auto* plain = Envelope(sheet.get(), v, 1, kOptionsLook, 16 + kColumn, y + 18);
    plain->setGradientEnabled(false);
    plain->setMarkerSize(0);
    auto* bare = Keys(sheet.get(), v, 2, kPlacedLook, 16 + 2 * kColumn, y + 18);
    bare->setRubberEnabled(false);
    bare->setGradientType(Tzokeyf::grkHorizCenterToBorder);
    const int bareValues[] = {70, 1, 50, 2, 50, 40};
    for (int i = 0; i < 6; ++i) bare->setValue(i, bareValues[i]);
    auto* automatic = Keys(sheet.get(), v, 3, kOptionsLook, 16 + 3 * kColumn, y + 18);
    automatic->setGradientNbOfColors(0);
    automatic->setRubberSize(7);
    automatic->setExpCoeff(10);
    automatic->setGradientType(Tzokeyf::grkLeftToRight);
    const int automaticValues[] = {60, 3, 30, 0, 40, 80};
    for (int i = 0; i < 6; ++i) automatic->setValue(i, automaticValues[i]);
    auto* small = Envelope(sheet.get(), v, 4, kOptionsLook, 16 + 4 * kColumn, y + 18);
    small->resize(5, 3);
    auto* narrow = Keys(sheet.get(), v, 4, kOptionsLook, 16 + 4 * kColumn + 20, y + 18);
    narrow->resize(6, 40);
    // The editor's keyboard display, 140 x 100, with every curve kind: straight and arced,
    // rising and falling.
    auto* kinds = Keys(sheet.get(), v, 0, kPlacedLook, 16 + 5 * kColumn, y + 18);
    const int values[] = {80, 2, 39, 1, 60, 99};
    for (int i = 0; i < 6; ++i) kinds->setValue(i, values[i]);
    auto* straight = Keys(sheet.get(), v, 0, kPlacedLook, 16 + 6 * kColumn + 8, y + 18);
    const int lines[] = {60, 3, 60, 0, 70, 40};
    for (int i = 0; i < 6; ++i) straight->setValue(i, lines[i]);
    return sheet;
}

SNAPSHOT_REGISTER("editor_displays", DisplaySheet);

}  // namespace
