#include "librarian/VoiceNameText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace librarian {
namespace {

core::VoiceSlot UsedSlotNamed(const char (&name)[11]) {
    core::VoiceSlot slot{};
    core::InitSlot(slot);
    std::memcpy(slot.voice.data() + core::kPackedNameOffset, name, core::kNameSize);
    slot.status = core::kStatusUsed;
    return slot;
}

TEST(VoiceNameText, ShowsTheDx7CharactersWhereTheyDifferFromAscii) {
    core::VoiceSlot slot = UsedSlotNamed("A\\B~C\x7f" "D  Z");
    EXPECT_EQ(DisplayVoiceName(slot), QString::fromUtf8("A\u00a5B\u2192C\u2190D  Z"));
}

TEST(VoiceNameText, AZeroByteIsAPlaceholderAndNeverCutsTheName) {
    core::VoiceSlot slot = UsedSlotNamed("PIANO    X");
    slot.voice[core::kPackedNameOffset + 5] = 0x00;
    slot.voice[core::kPackedNameOffset + 6] = 0x1F;
    slot.voice[core::kPackedNameOffset + 7] = 0x80;
    slot.voice[core::kPackedNameOffset + 8] = 0xFF;
    const QString shown = DisplayVoiceName(slot);
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown.left(5), QStringLiteral("PIANO"));
    for (int i = 5; i < 9; ++i) EXPECT_EQ(shown[i], QChar(kUnprintableNameChar)) << i;
    EXPECT_EQ(shown[9], QChar(u'X'));
}

TEST(VoiceNameText, PrintableAsciiIsShownAsItIs) {
    for (int byte = 0x20; byte < 0x7F; ++byte) {
        if (byte == 0x5C || byte == 0x7E) continue;
        EXPECT_EQ(DisplayNameChar(core::Byte(byte)), QChar(char16_t(byte))) << byte;
    }
}

TEST(VoiceNameText, AnUnusedSlotReadsAsEmptyWhateverItsBytes) {
    core::VoiceSlot slot = UsedSlotNamed("OLD VOICE ");
    slot.status = core::kStatusSelected;  // not used
    EXPECT_EQ(DisplayVoiceName(slot), QStringLiteral("----------"));
}

TEST(VoiceNameText, TypedTextBecomesWhatTheListsShowOrIsRefused) {
    struct Case {
        QString typed;
        std::optional<QString> shown;
    };
    const Case cases[] = {
        {QStringLiteral("Bass 1"), QStringLiteral("Bass 1")},
        {QStringLiteral("A\\B~C"), QString::fromUtf8("A\u00a5B\u2192C")},
        {QString::fromUtf8("\u00a5\u2192\u2190"), QString::fromUtf8("\u00a5\u2192\u2190")},
        {QString::fromUtf8("Caf\u00e9"), std::nullopt},  // no name byte holds it
        {QStringLiteral("A\tB"), std::nullopt},
        {QString(QChar(0x7F)), std::nullopt},             // the byte is typed as its arrow
        {QString(), QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(ShownNameText(c.typed), c.shown) << c.typed.toStdString();
}

TEST(VoiceNameText, AShortNameEndsAtItsFirstZeroByteOrAfterTenBytes) {
    const core::Byte shortName[10] = {'B', 'a', 's', 's', 0, 'X', 'Y', 0, 0, 0};
    const core::Byte fullName[10] = {'S', 't', 'r', 'i', 'n', 'g', 's', ' ', '\\', '9'};
    EXPECT_EQ(DisplayShortName(shortName, 10), QStringLiteral("Bass"));
    EXPECT_EQ(DisplayShortName(fullName, 10), QString::fromUtf8("Strings \u00a59"));
}

TEST(VoiceNameText, WhatTheListsShowTypesBackAsTheSameBytes) {
    std::string bytes;
    for (int byte = 0x20; byte <= 0x7F; ++byte) bytes.push_back(char(byte));
    QString shown;
    for (const char byte : bytes) shown.append(DisplayNameChar(core::Byte(byte)));
    EXPECT_EQ(NameBytesFromText(shown), bytes);
    EXPECT_EQ(NameBytesFromText(QStringLiteral("a\\b~")), "a\\b~") << "the bytes themselves";
    EXPECT_FALSE(NameByteFromChar(QChar(kUnprintableNameChar)));
    EXPECT_FALSE(NameByteFromChar(QChar(u'\u00E9')));
    EXPECT_FALSE(NameByteFromChar(QChar(u'\t')));
    EXPECT_EQ(NameBytesFromText(QString::fromUtf8("\u00e9A\u00a5")), "A\\");
}

}  // namespace
}  // namespace librarian
