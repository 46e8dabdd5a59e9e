#pragma once
// Text the command-line program writes: voice names in UTF-8 as the instrument's display shows
// them, JSON strings, and the small number formats of its reports.

#include <string>
#include <string_view>

#include "core/JsonText.h"
#include "core/VoiceFormats.h"

namespace cli {

// The 10 name bytes, each as the DX7 display shows it (core/NameChars.h), in UTF-8.
std::string NameText(const core::Byte* name);
std::string NameText(const core::PackedVoice& voice);
std::string NameText(std::string_view nameBytes);

using core::JsonString;

}  // namespace cli
