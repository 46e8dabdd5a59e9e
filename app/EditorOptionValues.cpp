#include "app/EditorOptionValues.h"

namespace app {

int WriteEditorOptionValues(const EditorOptionValues& v, platform::SettingsStore& store) {
    return platform::WriteSettings(platform::kEditorOptionsKey, {
        {"EDX", v.editorTop},
        {"EDY", v.editorLeft},
        {"EVI", v.editorOpen},
        {"SOT", v.editorStyle},
        {"SVL", v.verticalLines},
        {"FSU", v.fillSurface},
        {"GRE", v.gradient},
        {"SHMK", v.showMarkers},
        {"CLM", v.markerColour},
        {"CLB", v.backgroundColour},
        {"CLG", v.gradientColour},
        {"CLS", v.lineColour},
        {"GRN", v.gradientSteps},
        {"GRM", v.gradientMode},
        {"SZMK", v.markerSize},
    }, store);
}

}  // namespace app
