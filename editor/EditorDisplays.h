#pragma once
// The editor's thirteen displays: how the editor window makes them with its design values, how
// it hears their changes, and how the editor options reach them.

#include <QString>

#include <array>
#include <functional>

#include "editor/EditorSettings.h"

class QObject;
class QWidget;

namespace controls {
class Tzoadsr2;
class Tzokeyf;
}  // namespace controls

namespace editor {

// An envelope display of voice block `block` (its Tag) with the editor's design values.
controls::Tzoadsr2* MakeEnvelopeDisplay(QWidget* parent, const QString& name, int block);
// A keyboard scaling display of operator block `block` with the editor's design values.
controls::Tzokeyf* MakeKeyScalingDisplay(QWidget* parent, const QString& name, int block);

void ConnectDisplay(controls::Tzoadsr2* display, QObject* context, std::function<void()> handler);
void ConnectDisplay(controls::Tzokeyf* display, QObject* context, std::function<void()> handler);

// The options' switches and colours in the order the options window numbers them.
enum class LookSwitch { VerticalLines = 0, Fill = 1, Gradient = 2, Markers = 3 };
enum class LookColour { Marker = 0, Background = 1, Gradient = 2, Line = 3 };

struct EditorDisplaySet {
    std::array<controls::Tzoadsr2*, 7> envelopes{};
    std::array<controls::Tzokeyf*, 6> keyScalings{};

    // Each gives the displays the look's value; the envelope-only ones leave the keyboard
    // scaling displays alone.
    void ApplySwitch(LookSwitch which, const EditorLook& look) const;
    void ApplyColour(LookColour which, const EditorLook& look) const;
    void ApplySteps(int steps) const;  // 1 leaves every display as it is
    void ApplyMode(int mode) const;
    void ApplyMarkerSize(const EditorLook& look) const;
    // Everything, so every display matches the look.
    void ApplyAll(const EditorLook& look) const;
};

}  // namespace editor
