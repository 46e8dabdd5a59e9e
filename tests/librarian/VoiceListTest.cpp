// The voice lists keep the lines they have drawn, all lists together: what each shows must still
// be what the style draws in its own colours, after the highlight or the colours change.

#include "librarian/VoiceList.h"

#include <QListWidget>
#include <QStyledItemDelegate>

#include <array>
#include <cstring>

#include <gtest/gtest.h>

#include "core/VoiceFormats.h"
#include "support/TestApplication.h"

namespace librarian {
namespace {

// Lines drawn by the style every time, 13 pixels high as the voice lists have them.
class StyleLines : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kVoiceLineHeight};
    }
};

QImage AsShown(QListWidget& list) {
    return list.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(VoiceList, LinesKeptDrawnAreTheStylesAfterHighlightAndColourChanges) {
    testing_support::TestApplication();
    QWidget host;
    const QRect place(0, 0, 80, 416);
    const QColor background(0x35, 0x27, 0x26);
    QListWidget* kept = MakeVoiceList(&host, QStringLiteral("ListBox1"), place, background);
    QListWidget* drawn = MakeVoiceList(&host, QStringLiteral("ListBox2"), place, background);
    drawn->setItemDelegate(new StyleLines(drawn));
    std::array<core::VoiceSlot, 32> lines{};
    for (core::VoiceSlot& line : lines) core::InitSlot(line);
    for (int s : {0, 3, 4, 31}) {
        std::memcpy(lines[s].voice.data() + core::kPackedNameOffset, "BRASS   1 ", core::kNameSize);
        lines[s].status = core::kStatusUsed;
    }
    lines[3].status |= core::kStatusSelected;  // the same name highlighted and not
    // A list of other colours, and one of the same colours but a palette of its own: each must
    // show its own colours, never lines kept for the other.
    const QColor otherBackground(0x35, 0x27, 0x27);
    QListWidget* keptOther = MakeVoiceList(&host, QStringLiteral("ListBox3"), place, otherBackground);
    QListWidget* drawnOther = MakeVoiceList(&host, QStringLiteral("ListBox4"), place, otherBackground);
    drawnOther->setItemDelegate(new StyleLines(drawnOther));
    QListWidget* keptSame = MakeVoiceList(&host, QStringLiteral("ListBox5"), place, background);
    const auto fill = [&] {
        for (QListWidget* list : {kept, drawn, keptOther, drawnOther, keptSame})
            FillVoiceList(list, lines.data(), 32);
    };
    fill();
    const QImage first = AsShown(*kept);
    EXPECT_EQ(first, AsShown(*drawn));
    EXPECT_EQ(AsShown(*keptOther), AsShown(*drawnOther));
    EXPECT_NE(AsShown(*keptOther), first);
    EXPECT_EQ(AsShown(*keptSame), first);

    lines[3].status &= ~core::kStatusSelected;
    lines[4].status |= core::kStatusSelected;
    fill();
    EXPECT_EQ(AsShown(*kept), AsShown(*drawn));
    EXPECT_NE(AsShown(*kept), first);

    for (QListWidget* list : {kept, drawn}) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Highlight, Qt::darkGreen);
        palette.setColor(QPalette::Text, Qt::cyan);
        list->setPalette(palette);
    }
    EXPECT_EQ(AsShown(*kept), AsShown(*drawn));
}

}  // namespace
}  // namespace librarian
