#include "editor/EditorName.h"

#include "librarian/VoiceNameText.h"

namespace editor {
namespace {

QString WithoutTrailingSpaces(QString text) {
    while (!text.isEmpty() && text.back() == QLatin1Char(' ')) text.chop(1);
    return text;
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
        } else if (const auto byte = librarian::NameByteFromChar(c)) {
            name[n++] = *byte;
        }
    }
    return name;
}

}  // namespace editor
