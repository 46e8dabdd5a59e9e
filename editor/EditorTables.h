#pragma once
// The editor's parameter-to-control mapping without any widget: which control edits each of the
// 145 voice parameters and the 25 performance rows, their ranges, which displays follow a
// change, and the value arithmetic the window's handlers apply (frequency text, note names,
// the values a display drag moves, the assign bits of a performance switch).

#include <array>
#include <cstddef>
#include <string>

#include "core/VoiceFormats.h"

namespace editor {

using core::Byte;

inline constexpr int kVoiceParameterCount = 145;
inline constexpr int kOperatorCount = 6;
inline constexpr int kBlockSize = 21;
// Parameters 0-125 are the six operator blocks; 126 and up the voice-wide block.
inline constexpr int kOperatorParameterCount = kOperatorCount * kBlockSize;
inline constexpr int kPitchEnvelopeBlock = 6;
inline constexpr int kAlgorithmParameter = 134;
inline constexpr int kEnvelopeValueCount = 8;
inline constexpr int kKeyScalingValueCount = 6;

enum class ControlKind { LabelKnob = 0, ImageKnob = 1, Switch = 2 };

struct ParameterControl {
    ControlKind kind;
    int max;               // 1 for a switch
    const char* suffix;    // after "E_OPn_" in an operator column; the whole name otherwise
    const char* caption;   // printed near the control, empty for none
};

// The operator block offsets 0-20.
inline constexpr std::array<ParameterControl, kBlockSize> kOperatorControls{{
    {ControlKind::LabelKnob, 99, "R1", ""},   {ControlKind::LabelKnob, 99, "R2", ""},
    {ControlKind::LabelKnob, 99, "R3", ""},   {ControlKind::LabelKnob, 99, "R4", ""},
    {ControlKind::LabelKnob, 99, "L1", ""},   {ControlKind::LabelKnob, 99, "L2", ""},
    {ControlKind::LabelKnob, 99, "L3", ""},   {ControlKind::LabelKnob, 99, "L4", ""},
    {ControlKind::LabelKnob, 99, "BP", ""},   {ControlKind::LabelKnob, 99, "LD", ""},
    {ControlKind::LabelKnob, 99, "RD", ""},   {ControlKind::LabelKnob, 3, "LC", ""},
    {ControlKind::LabelKnob, 3, "RC", ""},    {ControlKind::ImageKnob, 7, "KSR", "KSR"},
    {ControlKind::ImageKnob, 3, "AM", "AM"},  {ControlKind::ImageKnob, 7, "VEL", "Velo"},
    {ControlKind::ImageKnob, 99, "LEV", "Level"}, {ControlKind::Switch, 1, "OSC", ""},
    {ControlKind::ImageKnob, 31, "CO", "Coarse"}, {ControlKind::ImageKnob, 99, "FI", "Fine"},
    {ControlKind::ImageKnob, 14, "DET", "Tune"},
}};

// Parameters 126-144.
inline constexpr std::array<ParameterControl, kVoiceParameterCount - kOperatorParameterCount>
    kVoiceWideControls{{
        {ControlKind::LabelKnob, 99, "E_PEG_R1", ""}, {ControlKind::LabelKnob, 99, "E_PEG_R2", ""},
        {ControlKind::LabelKnob, 99, "E_PEG_R3", ""}, {ControlKind::LabelKnob, 99, "E_PEG_R4", ""},
        {ControlKind::LabelKnob, 99, "E_PEG_L1", ""}, {ControlKind::LabelKnob, 99, "E_PEG_L2", ""},
        {ControlKind::LabelKnob, 99, "E_PEG_L3", ""}, {ControlKind::LabelKnob, 99, "E_PEG_L4", ""},
        {ControlKind::ImageKnob, 31, "E_ALGO_NUM", "Algorithm"},
        {ControlKind::ImageKnob, 7, "E_FEEDBACK", "Feedback"},
        {ControlKind::Switch, 1, "E_OSC_SYNC", "Osc Sync"},
        {ControlKind::ImageKnob, 99, "E_LFO_SPEED", "Speed"},
        {ControlKind::ImageKnob, 99, "E_LFO_DELAY", "Delay"},
        {ControlKind::ImageKnob, 99, "E_LFO_PMD", "PMD"},
        {ControlKind::ImageKnob, 99, "E_LFO_AMD", "AMD"},
        {ControlKind::Switch, 1, "E_LFO_SYNC", "Key Sync"},
        {ControlKind::ImageKnob, 5, "E_LFO_WAVE", "Wave"},
        {ControlKind::ImageKnob, 7, "E_LFO_PMS", "PMS"},
        {ControlKind::ImageKnob, 48, "E_TRANSPOSE", "Transpose"},
    }};

// The control of voice parameter p (0-144).
const ParameterControl& VoiceParameterControl(int p);
// Its object name: "E_OP6_R1" for parameter 0, "E_ALGO_NUM" for 134.
std::string VoiceParameterName(int p);
// Operator column 1-6 of an operator block 0-5, and back: column n edits block 6 - n.
constexpr int ColumnOfBlock(int block) { return kOperatorCount - block; }
constexpr int BlockOfColumn(int column) { return kOperatorCount - column; }

// The displays that follow a change of parameter p. The keyboard scaling display, the level
// on it and the frequency label exist only for the six operator blocks, so the rules that
// place them apply only below parameter 126; the envelope rules cover the pitch envelope too.
struct Dependents {
    int envelopeBlock = -1;    // 0-6
    int envelopeValue = -1;    // display value 0-7
    int keyScalingBlock = -1;  // 0-5
    int keyScalingValue = -1;  // display value 0-5
    int frequencyBlock = -1;   // 0-5
    bool algorithmNumber = false;
};
Dependents DependentsOf(int p);

// Envelope display value 0-7 of block offset 0-7 (rates at even, levels at odd values).
constexpr int EnvelopeValueOfOffset(int offset) {
    return offset < 4 ? 2 * offset : 2 * (offset - 4) + 1;
}
// Keyboard scaling display value of offsets 8-12 and 16; -1 for the others.
int KeyScalingValueOfOffset(int offset);

// One byte the window writes into the current image and then sends.
struct ParameterWrite {
    int parameter;
    int value;
};
// What a display drag writes, in sending order, at most three; values clamped to the
// parameters' ranges.
struct DisplayWrites {
    std::array<ParameterWrite, 3> writes{};
    int count = 0;
    void Add(int parameter, int value);
};
// The envelope display of block 0-6 reports point 0-5 dragged: rate then level of that
// point (point 4: rate 4 and the sustain level 3; points 0 and 5: level 4). Others: none.
DisplayWrites EnvelopeDragWrites(int block, int point, const std::array<int, kEnvelopeValueCount>& values);
// The keyboard scaling display of block 0-5 reports handle 0-6: the level (handles 0, 1, 4),
// a depth with the curve the display shows beside it (5 left, 6 right), the break point
// (2, 3, 4), in that order. The display turns its curve over when a depth is dragged across
// the level line; carrying the curve keeps the module playing what the display shows.
DisplayWrites KeyScalingDragWrites(int block, int handle,
                                   const std::array<int, kKeyScalingValueCount>& values);

// The operator frequency the module plays. Ratio mode: coarse x (1 + fine / 100), coarse 0
// counting as 0.5, with 4 decimals. Fixed mode: 10^(coarse mod 4) x 10^(fine / 100) Hz, with
// 5 - (coarse mod 4) decimals. `separator` is the decimal separator to show.
std::string FrequencyText(int mode, int coarse, int fine, char separator = '.');

// "C -2" for 0, "C 3" for 60, "C#3" for 61, "G 8" for 127.
std::string NoteName(int note);

// The editor's performance rows: 0-22 edit function bytes (and go out as group 04h parameter
// row), 23 and 24 the edit buffer's low and high note limits.
inline constexpr int kPerformanceRowCount = 25;
inline constexpr int kLowLimitRow = 23;
inline constexpr int kHighLimitRow = 24;
struct PerformanceRow {
    const char* name;
    bool isSwitch;
    int functionByte;  // -1 for the note limits
    int maxOrMask;     // a knob's Max, a switch's bit
};
const PerformanceRow& PerformanceRowAt(int row);
// A switch's byte with its bit set (on) or cleared (off); the other bits stay.
constexpr Byte SwitchedByte(Byte byte, int mask, bool on) {
    return on ? Byte(byte | mask) : Byte(byte & ~mask);
}

}  // namespace editor
