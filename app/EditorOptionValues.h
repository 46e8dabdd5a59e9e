#pragma once
// The values of the "EdtOpt" settings key: the editor window's place, visibility and style and
// the look of its displays. Until the editor windows exist the program writes their design
// values, so a later start finds a complete key.

#include <cstdint>

#include "platform/SettingsStore.h"

namespace app {

struct EditorOptionValues {
    std::int32_t editorTop = 278;        // "EDX"
    std::int32_t editorLeft = 206;       // "EDY"
    std::int32_t editorOpen = 0;         // "EVI"
    std::int32_t editorStyle = 0;        // "SOT": 0 normal, 3 stay on top
    std::int32_t verticalLines = 0;      // "SVL"
    std::int32_t fillSurface = 0;        // "FSU"
    std::int32_t gradient = 1;           // "GRE"
    std::int32_t showMarkers = 1;        // "SHMK"
    std::int32_t markerColour = 0xFFFF00;      // "CLM" aqua (red in the low byte)
    std::int32_t backgroundColour = 0x000000;  // "CLB" black
    std::int32_t gradientColour = 0x404000;    // "CLG"
    std::int32_t lineColour = 0x808040;        // "CLS"
    std::int32_t gradientSteps = 16;     // "GRN"
    std::int32_t gradientMode = 2;       // "GRM"
    std::int32_t markerSize = 3;         // "SZMK"
};

// Writes the fifteen values in the key's fixed order; returns how many were written.
int WriteEditorOptionValues(const EditorOptionValues& values,
                            platform::SettingsStore& store = platform::Settings());

}  // namespace app
