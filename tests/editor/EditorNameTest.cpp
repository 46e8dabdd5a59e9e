#include "editor/EditorName.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "core/VoiceFormats.h"
#include "librarian/VoiceNameText.h"

namespace editor {
namespace {

NameBytes Bytes(const char* text) {
    NameBytes name;
    std::copy_n(text, name.size(), name.begin());
    return name;
}

TEST(EditorNameTest, TypedTextBecomesNameBytes) {
    const NameBytes current = Bytes("OLD NAME  ");
    struct Case {
        QString typed;
        std::optional<NameBytes> stored;
    };
    const Case cases[] = {
        {QStringLiteral("OLD NAME  "), std::nullopt},           // unchanged
        {QStringLiteral("OLD NAME"), std::nullopt},             // trailing spaces aside
        {QStringLiteral("OLD NAMEX"), Bytes("OLD NAMEX ")},     // one character more
        {QStringLiteral("BRASS"), Bytes("BRASS     ")},         // shorter: spaces after
        {QString(), Bytes("          ")},                       // empty
        {QStringLiteral("ABCDEFGHIJKL"), Bytes("ABCDEFGHIJ")},  // at most ten
        {QString::fromUtf8("A\u00A5\u2192\u2190~\\"), Bytes("A\\~\x7F~\\    ")},
        {QString::fromUtf8("\u00E9t\u00E9 Pad"), Bytes("t Pad     ")},  // no byte for é
    };
    for (const auto& c : cases) {
        const auto stored = StoredName(c.typed, current.data());
        EXPECT_EQ(stored, c.stored) << c.typed.toStdString();
        if (stored) {
            EXPECT_TRUE(std::all_of(stored->begin(), stored->end(), [](core::Byte b) { return b < 0x80; }));
        }
    }
}

// A byte no character stands for keeps its place while the text around it changes.
TEST(EditorNameTest, UnprintableBytesStayWhereTheyWereShown) {
    NameBytes current = Bytes("AB CDEFGHI");
    current[2] = 0x00;
    QString shown = librarian::DisplayVoiceName(current.data());
    shown[0] = QLatin1Char('X');
    const auto stored = StoredName(shown, current.data());
    ASSERT_TRUE(stored);
    NameBytes expected = current;
    expected[0] = 'X';
    EXPECT_EQ(*stored, expected);
}

// Two real names holding 5Ch and 7Eh (shown as the yen sign and the arrow) round trip unchanged.
TEST(EditorNameTest, RealNamesWithYenAndArrowRoundTrip) {
    const struct {
        const char* file;
        int slot;
    } voices[] = {{"SynprezFM_01.syx", 21}, {"SynprezFM_05.syx", 18}};
    for (const auto& v : voices) {
        std::ifstream in(std::string(MONDRAL_SHARED_DIR) + "/banks/" + v.file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_EQ(bytes.size(), 4104u) << v.file;
        NameBytes name;
        const std::size_t at = 6 + std::size_t(v.slot) * core::kPackedVoiceSize + core::kPackedNameOffset;
        std::copy_n(bytes.begin() + std::ptrdiff_t(at), name.size(), name.begin());
        ASSERT_TRUE(std::any_of(name.begin(), name.end(), [](core::Byte b) { return b == 0x5C || b == 0x7E; }))
            << v.file;
        EXPECT_EQ(StoredName(librarian::DisplayVoiceName(name.data()), name.data()), std::nullopt);
        // Retyped in full, as the name field would hold it, it gives the same bytes.
        QString retyped = librarian::DisplayVoiceName(name.data());
        NameBytes blank;
        blank.fill(' ');
        EXPECT_EQ(StoredName(retyped, blank.data()), name);
    }
}

}  // namespace
}  // namespace editor
