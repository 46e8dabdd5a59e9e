#pragma once
// The editor options: the look of the editor's thirteen displays (guide lines, fill, gradient,
// markers and four colours), applied to all of them at once.

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>
#include <optional>

#include "editor/EditorDisplays.h"
#include "editor/EditorSettings.h"

class QFrame;
class QLabel;

namespace controls {
class Tzografsw;
class Tzopotlab;
}  // namespace controls

namespace editor {

class TfrmEditOpt : public QDialog {
    Q_OBJECT
public:
    // Runs the colour chooser from `initial`; nothing when the user cancels.
    using ColourChooser = std::function<std::optional<QColor>(const QColor& initial)>;

    // The displays belong to the editor window, which must exist first. Reads the look from
    // the settings and gives it to the displays when it was stored whole, or not at all (then
    // the options show what the displays are drawn with, and make every display match them).
    TfrmEditOpt(const EditorDisplaySet& displays, QWidget* parent = nullptr,
                platform::SettingsStore& store = platform::Settings());

    // The look as the options show it, written at program exit.
    const EditorLook& Look() const { return look_; }
    void SetColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

    void SvlineClick();
    void FillSurfClick();
    void GradEnabClick();
    void ShowMarkClick();
    void ColorSurfMouseDown();
    void ColorGradMouseDown();
    void ColorBackMouseDown();
    void ColorMarkMouseDown();
    void GradNbColChange();
    void GradModeChange();
    void SizeMarkChange();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ShowLook();
    void ToggleSwitch(LookSwitch which);
    void ChooseColour(LookColour which);
    bool& SwitchValue(LookSwitch which);
    std::int32_t& ColourValue(LookColour which);

    EditorDisplaySet displays_;
    EditorLook look_;
    ColourChooser chooser_;
    std::array<controls::Tzografsw*, 4> switches_{};  // by LookSwitch
    std::array<QLabel*, 4> switchCaptions_{};
    std::array<QFrame*, 4> swatches_{};               // by LookColour
    controls::Tzopotlab* GradNbCol = nullptr;
    controls::Tzopotlab* GradMode = nullptr;
    controls::Tzopotlab* SizeMark = nullptr;
};

}  // namespace editor
