#include "cli/Text.h"

#include "core/NameChars.h"

namespace cli {
namespace {

void AppendUtf8(std::string& text, char16_t code) {
    if (code < 0x80) {
        text += char(code);
    } else if (code < 0x800) {
        text += char(0xC0 | (code >> 6));
        text += char(0x80 | (code & 0x3F));
    } else {
        text += char(0xE0 | (code >> 12));
        text += char(0x80 | ((code >> 6) & 0x3F));
        text += char(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string NameText(const core::Byte* name) {
    std::string text;
    for (std::size_t i = 0; i < core::kNameSize; ++i) AppendUtf8(text, core::NameCharCode(name[i]));
    return text;
}

std::string NameText(const core::PackedVoice& voice) {
    return NameText(voice.data() + core::kPackedNameOffset);
}

std::string NameText(std::string_view nameBytes) {
    std::string text;
    for (char c : nameBytes) AppendUtf8(text, core::NameCharCode(core::Byte(c)));
    return text;
}

}  // namespace cli
