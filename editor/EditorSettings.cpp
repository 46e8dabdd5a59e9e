#include "editor/EditorSettings.h"

#include <algorithm>

namespace editor {

void ReadEditorPlace(EditorPlace& place, platform::SettingsStore& store) {
    platform::SettingsReader reader(platform::kEditorOptionsKey, store);
    std::int32_t v = 0;
    if (!reader.Next("EDX", v)) return;
    place.top = v;
    if (!reader.Next("EDY", v)) return;
    place.left = v;
    if (!reader.Next("EVI", v)) return;
    place.visible = v != 0;
    if (!reader.Next("SOT", v)) return;
    place.stayOnTop = v == kStayOnTopStyle;
}

int ReadEditorLook(EditorLook& look, platform::SettingsStore& store) {
    platform::SettingsReader reader(platform::kEditorOptionsKey, store);
    std::int32_t v = 0;
    int read = 0;
    const auto flag = [&](const char* name, bool& target) {
        if (!reader.Next(name, v)) return false;
        target = v != 0;
        return ++read, true;
    };
    const auto colour = [&](const char* name, std::int32_t& target) {
        if (!reader.Next(name, v)) return false;
        target = v & 0xFFFFFF;
        return ++read, true;
    };
    const auto knob = [&](const char* name, int& target, int lo, int hi) {
        if (!reader.Next(name, v)) return false;
        target = std::clamp(v, lo, hi);
        return ++read, true;
    };
    (void)(flag("SVL", look.verticalLines) && flag("FSU", look.fillSurface) &&
           flag("GRE", look.gradient) && flag("SHMK", look.showMarkers) &&
           colour("CLM", look.markerColour) && colour("CLB", look.backgroundColour) &&
           colour("CLG", look.gradientColour) && colour("CLS", look.lineColour) &&
           knob("GRN", look.gradientSteps, kMinGradientSteps, kMaxGradientSteps) &&
           knob("GRM", look.gradientMode, 0, kMaxGradientMode) &&
           knob("SZMK", look.markerSize, 0, kMaxMarkerSize));
    return read;
}

int WriteEditorSettings(const EditorPlace& place, const EditorLook& look,
                        platform::SettingsStore& store) {
    return platform::WriteSettings(platform::kEditorOptionsKey, {
        {"EDX", place.top},
        {"EDY", place.left},
        {"EVI", place.visible ? 1 : 0},
        {"SOT", place.stayOnTop ? kStayOnTopStyle : 0},
        {"SVL", look.verticalLines ? 1 : 0},
        {"FSU", look.fillSurface ? 1 : 0},
        {"GRE", look.gradient ? 1 : 0},
        {"SHMK", look.showMarkers ? 1 : 0},
        {"CLM", look.markerColour},
        {"CLB", look.backgroundColour},
        {"CLG", look.gradientColour},
        {"CLS", look.lineColour},
        {"GRN", look.gradientSteps},
        {"GRM", look.gradientMode},
        {"SZMK", look.markerSize},
    }, store);
}

}  // namespace editor
