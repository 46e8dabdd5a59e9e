#include "editor/EditorDisplays.h"

#include <QObject>

#include "controls/ColourValue.h"
#include "controls/Tzoadsr2.h"
#include "controls/Tzokeyf.h"

namespace editor {
namespace {

constexpr int kDesignBands = 64;
constexpr controls::ColourNumber kDesignGradientColour = 0x404000;

void DesignLook(controls::GraphDisplay* display, const QString& name, int block, int gradientType) {
    display->setObjectName(name);
    display->setTag(block);
    display->setGradientEnabled(true);
    display->setGradientColor(controls::ColourFromValue(kDesignGradientColour));
    display->setGradientNbOfColors(kDesignBands);
    display->setGradientType(gradientType);
    display->setMarkerColor(controls::ColourFromValue(controls::kColourAqua));
}

template <typename Display>
void ForAll(const EditorDisplaySet& set, Display f) {
    for (auto* d : set.envelopes) f(static_cast<controls::GraphDisplay*>(d));
    for (auto* d : set.keyScalings) f(static_cast<controls::GraphDisplay*>(d));
}

}  // namespace

controls::Tzoadsr2* MakeEnvelopeDisplay(QWidget* parent, const QString& name, int block) {
    auto* display = new controls::Tzoadsr2(parent);
    DesignLook(display, name, block, controls::Tzoadsr2::gr2VertCenterToBorder);
    display->setShowVLines(true);
    return display;
}

controls::Tzokeyf* MakeKeyScalingDisplay(QWidget* parent, const QString& name, int block) {
    auto* display = new controls::Tzokeyf(parent);
    DesignLook(display, name, block, controls::Tzokeyf::grkVertBorderToCenter);
    display->setRubberSize(3);
    display->setExpCoeff(1);
    display->setRubberColor(controls::ColourFromValue(controls::kColourSilver));
    return display;
}

void ConnectDisplay(controls::Tzoadsr2* display, QObject* context, std::function<void()> handler) {
    QObject::connect(display, &controls::GraphDisplay::changed, context, std::move(handler));
}

void ConnectDisplay(controls::Tzokeyf* display, QObject* context, std::function<void()> handler) {
    QObject::connect(display, &controls::GraphDisplay::changed, context, std::move(handler));
}

void EditorDisplaySet::ApplySwitch(LookSwitch which, const EditorLook& look) const {
    switch (which) {
        case LookSwitch::VerticalLines:
            for (auto* d : envelopes) d->setShowVLines(look.verticalLines);
            break;
        case LookSwitch::Fill:
            for (auto* d : envelopes) d->setFillEnabled(look.fillSurface);
            break;
        case LookSwitch::Gradient:
            ForAll(*this, [&](controls::GraphDisplay* d) { d->setGradientEnabled(look.gradient); });
            break;
        case LookSwitch::Markers:
            ApplyMarkerSize(look);
            break;
    }
}

void EditorDisplaySet::ApplyColour(LookColour which, const EditorLook& look) const {
    const auto colour = [&](std::int32_t stored) {
        return controls::ColourFromValue(controls::ColourNumber(stored));
    };
    ForAll(*this, [&](controls::GraphDisplay* d) {
        switch (which) {
            case LookColour::Marker: d->setMarkerColor(colour(look.markerColour)); break;
            case LookColour::Background: d->setColor(colour(look.backgroundColour)); break;
            case LookColour::Gradient: d->setGradientColor(colour(look.gradientColour)); break;
            case LookColour::Line: d->setLineColor(colour(look.lineColour)); break;
        }
    });
}

void EditorDisplaySet::ApplySteps(int steps) const {
    ForAll(*this, [&](controls::GraphDisplay* d) { d->setGradientNbOfColors(steps); });
}

void EditorDisplaySet::ApplyMode(int mode) const {
    ForAll(*this, [&](controls::GraphDisplay* d) { d->setGradientType(mode); });
}

void EditorDisplaySet::ApplyMarkerSize(const EditorLook& look) const {
    ForAll(*this, [&](controls::GraphDisplay* d) { d->setMarkerSize(look.DisplayMarkerSize()); });
}

void EditorDisplaySet::ApplyAll(const EditorLook& look) const {
    ApplySteps(look.gradientSteps);
    ApplyMode(look.gradientMode);
    ApplyMarkerSize(look);
    for (int i = 0; i < 4; ++i) {
        ApplyColour(LookColour(i), look);
        ApplySwitch(LookSwitch(i), look);
    }
}

}  // namespace editor
