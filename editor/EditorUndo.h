#pragma once
// What an undone or redone editor step sends: the module plays the image it was sent
// parameter by parameter, so a step taken back goes out the same way.

#include <vector>

#include "core/VoiceFormats.h"

namespace editor {

struct ParameterSend {
    int parameter;  // voice parameter 0-144, or performance row 0-22
    int group;      // midi::kGroupVoice or midi::kGroupPerformance
    int value;
};

// The parameter changes that bring a module from `before` to `after`, in parameter order:
// every voice parameter that differs, and each performance knob whose byte differs. The name,
// the performance switches and the note limits go out as they do when edited: not at all.
std::vector<ParameterSend> ChangedParameters(const core::EditImage& before,
                                             const core::EditImage& after);

}  // namespace editor
