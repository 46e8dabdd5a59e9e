#include "librarian/VoiceNameText.h"

namespace librarian {

QChar DisplayNameChar(core::Byte byte) { return QChar(core::NameCharCode(byte)); }

QString DisplayVoiceName(const core::Byte* name) {
    QString text;
    text.reserve(int(core::kNameSize));
    for (std::size_t i = 0; i < core::kNameSize; ++i) text.append(DisplayNameChar(name[i]));
    return text;
}

QString DisplayVoiceName(const core::VoiceSlot& slot) {
    if (!slot.IsUsed()) return QString::fromLatin1(core::kEmptyVoiceName);
    return DisplayVoiceName(slot.voice.data() + core::kPackedNameOffset);
}

}  // namespace librarian
