#pragma once
// "TF1 System Info": a module's model, revision, MIDI channel, omni and battery. Filled
// separately from being shown, so tests read it without a modal loop; Enter or Esc closes it.

#include <QDialog>

#include <cstddef>
#include <span>

#include "midi/SysexMessages.h"

class QLabel;

namespace controls {
class Tzografsw;
}

namespace midi {

inline constexpr char kSystemInfoTitle[] = "TF1 System Info";

class TfrmSystem : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSystem(QWidget* parent = nullptr);

    // Sets the fields from the module's 16 bytes and the caption to "Info Module n".
    void Fill(std::span<const Byte, kSystemInfoSize> info, std::size_t module);

    QLabel* labNomSys = nullptr;
    QLabel* labRevSys = nullptr;
    QLabel* labMidiSys = nullptr;
    controls::Tzografsw* btnOmniSys = nullptr;
    controls::Tzografsw* btnBattLow = nullptr;
    QLabel* labBattSys = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
};

}  // namespace midi
