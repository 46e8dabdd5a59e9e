#include "librarian/VoiceNameText.h"

namespace librarian {

QChar DisplayNameChar(core::Byte byte) { return QChar(core::NameCharCode(byte)); }

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

std::optional<QString> ShownNameText(const QString& typed) {
    QString shown;
    shown.reserve(typed.size());
    for (QChar c : typed) {
        // Stands in a name read from a file; kept so such a name can be opened for editing.
        if (c == QChar(kUnprintableNameChar)) {
            shown.append(c);
            continue;
        }
        const std::optional<core::Byte> byte = NameByteFromChar(c);
        if (!byte) return std::nullopt;
        shown.append(DisplayNameChar(*byte));
    }
    return shown;
}

QString DisplayVoiceName(const core::VoiceSlot& slot) {
    if (!slot.IsUsed()) return QString::fromLatin1(core::kEmptyVoiceName);
    return DisplayVoiceName(slot.voice.data() + core::kPackedNameOffset);
}

std::optional<core::Byte> NameByteFromChar(QChar typed) {
    // The way back through the display's own table, so the two can never disagree.
    for (int byte = 0x20; byte <= 0x7F; ++byte)
        if (DisplayNameChar(core::Byte(byte)) == typed) return core::Byte(byte);
    // A typed backslash or tilde is the byte itself, shown as yen sign or arrow.
    if (typed == QLatin1Char('\\') || typed == QLatin1Char('~')) return core::Byte(typed.unicode());
    return std::nullopt;
}

std::string NameBytesFromText(const QString& text) {
    std::string bytes;
    for (const QChar typed : text)
        if (const auto byte = NameByteFromChar(typed)) bytes.push_back(char(*byte));
    return bytes;
}

}  // namespace librarian
