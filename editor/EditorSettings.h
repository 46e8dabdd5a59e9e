#pragma once
// The "EdtOpt" settings key without any window: the editor window's place, visibility and
// style, and the look the options window gives the editor's thirteen displays. Colours are
// kept as stored: red in the low byte, then green, then blue.

#include <cstdint>

#include "platform/SettingsStore.h"

namespace editor {

inline constexpr int kMinGradientSteps = 1;
inline constexpr int kMaxGradientSteps = 256;
inline constexpr int kMaxGradientMode = 7;
inline constexpr int kMaxMarkerSize = 15;
inline constexpr std::int32_t kStayOnTopStyle = 3;

// Without a stored key the options show what the editor's displays are drawn with, so the
// look a user sees at the first start is the one written at exit and seen at every later one.
struct EditorLook {
    bool verticalLines = true;             // "SVL"
    bool fillSurface = false;              // "FSU"
    bool gradient = true;                  // "GRE"
    bool showMarkers = true;               // "SHMK"
    std::int32_t markerColour = 0xFFFF00;  // "CLM" aqua
    std::int32_t backgroundColour = 0;     // "CLB" black
    std::int32_t gradientColour = 0x404000;  // "CLG"
    std::int32_t lineColour = 0x808000;    // "CLS"
    int gradientSteps = 64;                // "GRN"
    int gradientMode = 6;                  // "GRM": vertical, centre to border
    int markerSize = 3;                    // "SZMK"

    // The marker size every display gets: none while the markers are off.
    int DisplayMarkerSize() const { return showMarkers ? markerSize : 0; }
    bool operator==(const EditorLook&) const = default;
};

// The editor window's place (left 206, top 278 until one is stored), shown or hidden, style.
struct EditorPlace {
    std::int32_t top = 278;   // "EDX"
    std::int32_t left = 206;  // "EDY"
    bool visible = false;     // "EVI"
    bool stayOnTop = false;   // "SOT": 3 stay on top, 0 normal
    bool operator==(const EditorPlace&) const = default;
};

// "EDX", "EDY", "EVI", "SOT" in that order; the first missing value ends the reading and
// leaves it and the later ones as they were.
void ReadEditorPlace(EditorPlace& place, platform::SettingsStore& store = platform::Settings());

inline constexpr int kLookValueCount = 11;
// "SVL" ... "SZMK" in the key's order, knobs clamped to their ranges; returns how many were
// read (kLookValueCount: all). A reading ended early keeps the values read before the gap.
int ReadEditorLook(EditorLook& look, platform::SettingsStore& store = platform::Settings());

// All fifteen values in the key's order; returns how many were written.
int WriteEditorSettings(const EditorPlace& place, const EditorLook& look,
                        platform::SettingsStore& store = platform::Settings());

}  // namespace editor
