#include "editor/EditorTables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "midi/SysexMessages.h"

namespace editor {

const ParameterControl& VoiceParameterControl(int p) {
    if (p < 0 || p >= kVoiceParameterCount) throw std::out_of_range("voice parameter");
    return p < kOperatorParameterCount ? kOperatorControls[std::size_t(p % kBlockSize)]
                                       : kVoiceWideControls[std::size_t(p - kOperatorParameterCount)];
}

std::string VoiceParameterName(int p) {
    const auto& control = VoiceParameterControl(p);
    if (p >= kOperatorParameterCount) return control.suffix;
    return "E_OP" + std::to_string(ColumnOfBlock(p / kBlockSize)) + "_" + control.suffix;
}

int KeyScalingValueOfOffset(int offset) {
    switch (offset) {
        case 16: return 0;  // output level
        case 11: return 1;  // left curve
        case 8: return 2;   // break point
        case 12: return 3;  // right curve
        case 9: return 4;   // left depth
        case 10: return 5;  // right depth
        default: return -1;
    }
}

Dependents DependentsOf(int p) {
    Dependents d;
    if (p < 0 || p >= kVoiceParameterCount) return d;
    const int block = p / kBlockSize;
    const int offset = p % kBlockSize;
    if (offset < kEnvelopeValueCount) {
        d.envelopeBlock = block;
        d.envelopeValue = EnvelopeValueOfOffset(offset);
    }
    if (p < kOperatorParameterCount) {
        const int keyValue = KeyScalingValueOfOffset(offset);
        if (keyValue >= 0) {
            d.keyScalingBlock = block;
            d.keyScalingValue = keyValue;
        }
        if (offset >= 17 && offset <= 19) d.frequencyBlock = block;
    }
    d.algorithmNumber = p == kAlgorithmParameter;
    return d;
}

void DisplayWrites::Add(int parameter, int value) {
    const int max = VoiceParameterControl(parameter).max;
    writes[std::size_t(count++)] = {parameter, std::clamp(value, 0, max)};
}

DisplayWrites EnvelopeDragWrites(int block, int point,
                                 const std::array<int, kEnvelopeValueCount>& values) {
    DisplayWrites out;
    const int base = block * kBlockSize;
    if (point >= 1 && point <= 3) {
        out.Add(base + point - 1, values[std::size_t(2 * point - 2)]);
        out.Add(base + point + 3, values[std::size_t(2 * point - 1)]);
    } else if (point == 4) {
        out.Add(base + 3, values[6]);  // rate 4 moves the end of the sustain sideways
        out.Add(base + 6, values[5]);  // and the sustain level 3 up and down
    } else if (point == 0 || point == 5) {
        out.Add(base + 7, values[7]);
    }
    return out;
}

DisplayWrites KeyScalingDragWrites(int block, int handle,
                                   const std::array<int, kKeyScalingValueCount>& values) {
    DisplayWrites out;
    const int base = block * kBlockSize;
    if (handle == 0 || handle == 1 || handle == 4) out.Add(base + 16, values[0]);
    if (handle == 5) {
        out.Add(base + 9, values[4]);
        out.Add(base + 11, values[1]);
    }
    if (handle == 6) {
        out.Add(base + 10, values[5]);
        out.Add(base + 12, values[3]);
    }
    if (handle == 2 || handle == 3 || handle == 4) out.Add(base + 8, values[2]);
    return out;
}

std::string FrequencyText(int mode, int coarse, int fine, char separator) {
    double value;
    int decimals;
    if (mode == 0) {
        const double base = coarse == 0 ? 0.5 : double(coarse);
        value = base * (1.0 + fine * 0.01);
        decimals = 4;
    } else {
        const int c = coarse % 4;
        value = std::pow(10.0, c) * std::exp(fine * 0.01 * std::log(10.0));
        decimals = 5 - c;
    }
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out = text;
    std::replace(out.begin(), out.end(), '.', separator);
    return out;
}

std::string NoteName(int note) {
    static constexpr char kLetters[] = "CCDDEFFGGAAB";
    const int step = ((note % 12) + 12) % 12;
    const bool sharp = step == 1 || step == 3 || step == 6 || step == 8 || step == 10;
    std::string out;
    out += kLetters[step];
    out += sharp ? '#' : ' ';
    out += std::to_string(note / 12 - 2);
    return out;
}

namespace {

struct RowName {
    const char* name;
    int knobMax;  // 0 for a switch
};
constexpr std::array<RowName, kPerformanceRowCount> kRowNames{{
    {"P_POLY", 0},     {"P_BRANGE", 12},  {"P_BSTEP", 12},   {"P_PTIME", 99},   {"P_PGLISS", 0},
    {"P_PMODE", 0},    {"P_WH_SENS", 15}, {"P_WH_EGB", 0},   {"P_WH_AMP", 0},   {"P_WH_PIT", 0},
    {"P_FO_SENS", 15}, {"P_FO_EGB", 0},   {"P_FO_AMP", 0},   {"P_FO_PIT", 0},   {"P_AF_SENS", 15},
    {"P_AF_EGB", 0},   {"P_AF_AMP", 0},   {"P_AF_PIT", 0},   {"P_BR_SENS", 15}, {"P_BR_EGB", 0},
    {"P_BR_AMP", 0},   {"P_BR_PIT", 0},   {"P_ATTN", 7},     {"P_NLOW", 127},   {"P_NHI", 127},
}};

// The byte and bit of rows 0-22 are the group 04h parameters' own, so the editor and the
// module agree on them by construction.
constexpr std::array<PerformanceRow, kPerformanceRowCount> BuildRows() {
    std::array<PerformanceRow, kPerformanceRowCount> rows{};
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& n = kRowNames[r];
        if (r < midi::kPerformanceParameters.size()) {
            const auto& p = midi::kPerformanceParameters[r];
            rows[r] = {n.name, p.mask != 0, p.functionByte, p.mask != 0 ? int(p.mask) : n.knobMax};
        } else {
            rows[r] = {n.name, false, -1, n.knobMax};
        }
    }
    return rows;
}
constexpr auto kPerformanceRows = BuildRows();
static_assert(kPerformanceRows[9].maxOrMask == 1 && kPerformanceRows[22].maxOrMask == 7);

}  // namespace

const PerformanceRow& PerformanceRowAt(int row) {
    return kPerformanceRows.at(std::size_t(row));
}

}  // namespace editor
