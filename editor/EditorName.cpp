#include "editor/EditorName.h"

#include "librarian/VoiceNameText.h"

namespace editor {
namespace {

QString WithoutTrailingSpaces(QString text) {
    while (!text.isEmpty() && text.back() == QLatin1Char(' ')) text.chop(1);
    return text;
}

// The byte the DX7 shows as `c`, or nothing.
std::optional<core::Byte> NameByteOf(QChar c) {
    for (int b = 0x20; b <= 0x7F; ++b)
        if (librarian::DisplayNameChar(core::Byte(b)) == c) return core::Byte(b);
    if (c.unicode() >= 0x20 && c.unicode() <= 0x7E) return core::Byte(c.unicode());
    return std::nullopt;
}

}  // namespace

std::optional<NameBytes> StoredName(const QString& typed, const core::Byte* current) {
    if (WithoutTrailingSpaces(typed) == WithoutTrailingSpaces(librarian::DisplayVoiceName(current)))
        return std::nullopt;
    NameBytes name;
    name.fill(' ');
    std::size_t n = 0;
    for (qsizetype i = 0; i < typed.size() && n < name.size(); ++i) {
        const QChar c = typed.at(i);
        if (std::size_t(i) < core::kNameSize && librarian::DisplayNameChar(current[i]) == c) {
            name[n++] = current[i];
        } else if (const auto byte = NameByteOf(c)) {
            name[n++] = *byte;
        }
    }
    return name;
}

}  // namespace editor
