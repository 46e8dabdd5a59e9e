#include "editor/EditorUndo.h"

#include "editor/EditorTables.h"
#include "midi/SysexMessages.h"

namespace editor {

std::vector<ParameterSend> ChangedParameters(const core::EditImage& before,
                                             const core::EditImage& after) {
    std::vector<ParameterSend> sends;
    for (int p = 0; p < kVoiceParameterCount; ++p) {
        if (before[std::size_t(p)] != after[std::size_t(p)])
            sends.push_back({p, midi::kGroupVoice, after[std::size_t(p)]});
    }
    for (int r = 0; r < kPerformanceRowCount; ++r) {
        const PerformanceRow& row = PerformanceRowAt(r);
        if (row.isSwitch || row.functionByte < 0) continue;
        const std::size_t at = core::kUnpackedVoiceSize + std::size_t(row.functionByte);
        if (before[at] != after[at]) sends.push_back({r, midi::kGroupPerformance, after[at]});
    }
    return sends;
}

}  // namespace editor
