#include "librarian/VoiceNameText.h"

namespace librarian {

QChar DisplayNameChar(core::Byte byte) {
    switch (byte) {
    case 0x5C: return QChar(u'\u00A5');
    case 0x7E: return QChar(u'\u2192');
    case 0x7F: return QChar(u'\u2190');
    default: break;
    }
    if (byte < 0x20 || byte > 0x7F) return QChar(kUnprintableNameChar);
    return QChar(char16_t(byte));
}

QString DisplayVoiceName(const core::Byte* name) {
    QString text;
    text.reserve(int(core::kNameSize));
    for (std::size_t i = 0; i < core::kNameSize; ++i) text.append(DisplayNameChar(name[i]));
    return text;
}

QString DisplayShortName(const core::Byte* name, std::size_t size) {
    QString text;
    for (std::size_t i = 0; i < size && name[i] != 0; ++i) text.append(DisplayNameChar(name[i]));
    return text;
}

std::optional<core::Byte> NameByteOf(QChar shown) {
    switch (shown.unicode()) {
    case u'\u00A5': return core::Byte(0x5C);
    case u'\u2192': return core::Byte(0x7E);
    case u'\u2190': return core::Byte(0x7F);
    default: break;
    }
    const char16_t code = shown.unicode();
    if (code < 0x20 || code > 0x7E) return std::nullopt;
    return core::Byte(code);
}

std::optional<QString> ShownNameText(const QString& typed) {
    QString shown;
    shown.reserve(typed.size());
    for (QChar c : typed) {
        // Stands in a name read from a file; kept so such a name can be opened for editing.
        if (c == QChar(kUnprintableNameChar)) {
            shown.append(c);
            continue;
        }
        const std::optional<core::Byte> byte = NameByteOf(c);
        if (!byte) return std::nullopt;
        shown.append(DisplayNameChar(*byte));
    }
    return shown;
}

std::string NameBytesOf(const QString& shown) {
    std::string bytes;
    bytes.reserve(std::size_t(shown.size()));
    for (QChar c : shown)
        if (const std::optional<core::Byte> byte = NameByteOf(c)) bytes.push_back(char(*byte));
    return bytes;
}

QString DisplayVoiceName(const core::VoiceSlot& slot) {
    if (!slot.IsUsed()) return QString::fromLatin1(core::kEmptyVoiceName);
    return DisplayVoiceName(slot.voice.data() + core::kPackedNameOffset);
}

}  // namespace librarian
