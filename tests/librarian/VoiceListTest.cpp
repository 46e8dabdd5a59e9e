// The voice lists draw their lines themselves and keep the lines they have drawn, all lists
// together: what each shows must be what an item view of the same font and colours shows, after
// the highlight or the colours change.

#include "librarian/VoiceList.h"

#include <QAccessible>
#include <QListWidget>

#include <array>
#include <cstring>

#include <gtest/gtest.h>

#include "core/VoiceFormats.h"
#include "support/TestApplication.h"

namespace librarian {
namespace {

// The voice lists' item view (the markers window has one) beside `list`, in its place and
// colours, showing its lines: its lines are the style's own drawing.
QListWidget* ItemViewLike(QWidget& host, const VoiceListBox& list) {
    QListWidget* view = MakeVoiceListView(&host, QStringLiteral("view"), list.geometry(), Qt::black);
    view->setPalette(list.palette());
    view->setSelectionMode(QAbstractItemView::MultiSelection);
    for (int i = 0; i < list.Count(); ++i) {
        view->addItem(list.Line(i));
        view->item(i)->setSelected(list.Highlighted(i));
    }
    return view;
}

template <std::size_t N>
std::array<core::VoiceSlot, N> EmptyLines() {
    std::array<core::VoiceSlot, N> lines{};
    for (core::VoiceSlot& line : lines) core::InitSlot(line);
    return lines;
}

QImage AsShown(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(VoiceList, LinesAreWhatAnItemViewShowsAfterHighlightAndColourChanges) {
    testing_support::TestApplication();
    QWidget host;
    const QRect place(0, 0, 80, 416);
    const QColor background(0x35, 0x27, 0x26);
    VoiceListBox* list = MakeVoiceList(&host, QStringLiteral("ListBox1"), place, background);
    std::array<core::VoiceSlot, 32> lines = EmptyLines<32>();
    for (int s : {0, 3, 4, 31}) {
        std::memcpy(lines[s].voice.data() + core::kPackedNameOffset, "BRASS   1 ", core::kNameSize);
        lines[s].status = core::kStatusUsed;
    }
    lines[3].status |= core::kStatusSelected;  // the same name highlighted and not
    // A list of other colours, and one of the same colours but a palette of its own: each must
    // show its own colours, never lines kept for the other.
    const QColor otherBackground(0x35, 0x27, 0x27);
    VoiceListBox* other = MakeVoiceList(&host, QStringLiteral("ListBox2"), place, otherBackground);
    VoiceListBox* same = MakeVoiceList(&host, QStringLiteral("ListBox3"), place, background);
    const auto fill = [&] {
        for (VoiceListBox* l : {list, other, same}) l->Fill(lines.data(), 32);
    };
    const auto expectAsItemView = [&](VoiceListBox& l) {
        QListWidget* view = ItemViewLike(host, l);
        EXPECT_EQ(AsShown(l), AsShown(*view)) << l.objectName().toStdString();
        delete view;
    };
    fill();
    const QImage first = AsShown(*list);
    expectAsItemView(*list);
    expectAsItemView(*other);
    EXPECT_NE(AsShown(*other), first);
    EXPECT_EQ(AsShown(*same), first);

    // Only the two lines that changed are drawn again; they must not keep their old look.
    lines[3].status &= ~core::kStatusSelected;
    lines[4].status |= core::kStatusSelected;
    fill();
    EXPECT_FALSE(list->Highlighted(3));
    EXPECT_TRUE(list->Highlighted(4));
    expectAsItemView(*list);
    EXPECT_NE(AsShown(*list), first);

    QPalette palette = list->palette();
    palette.setColor(QPalette::Highlight, Qt::darkGreen);
    palette.setColor(QPalette::Text, Qt::cyan);
    list->setPalette(palette);
    expectAsItemView(*list);
}

TEST(VoiceList, LineAtIsTheThirteenPixelLineUnderThePointAndNoneBelowTheLast) {
    testing_support::TestApplication();
    QWidget host;
    VoiceListBox* list = MakeVoiceList(&host, QStringLiteral("lstLib1"), QRect(0, 0, 74, 208),
                                       Qt::black);
    std::array<core::VoiceSlot, 15> lines = EmptyLines<15>();
    list->Fill(lines.data(), 15);
    const struct {
        QPoint at;
        int line;
    } cases[] = {{{0, 0}, 0},     {{73, 12}, 0},  {{5, 13}, 1},   {{5, 194}, 14},
                 {{5, 195}, -1},  {{5, 207}, -1}, {{74, 5}, -1},  {{-1, 5}, -1}};
    for (const auto& c : cases) EXPECT_EQ(list->LineAt(c.at), c.line) << c.at.x() << ',' << c.at.y();
    EXPECT_EQ(list->LineRect(14), QRect(0, 182, 74, 13));
}

// Screen readers see a list of the lines: each named by its voice, selected when highlighted,
// and the same item for the same line; lines past the end are gone.
TEST(VoiceList, ReadersSeeTheLinesAsItemsOfAList) {
    testing_support::TestApplication();
    QWidget host;
    VoiceListBox* list = MakeVoiceList(&host, QStringLiteral("ListBox1"), QRect(10, 20, 80, 416),
                                       Qt::black);
    std::array<core::VoiceSlot, 32> lines = EmptyLines<32>();
    std::memcpy(lines[6].voice.data() + core::kPackedNameOffset, "E.PIANO  1", core::kNameSize);
    lines[6].status = core::kStatusUsed | core::kStatusSelected;
    list->Fill(lines.data(), 32);
    host.show();

    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->role(), QAccessible::List);
    ASSERT_EQ(reader->childCount(), 32);
    QAccessibleInterface* used = reader->child(6);
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(used->role(), QAccessible::ListItem);
    EXPECT_EQ(used->text(QAccessible::Name), list->Line(6));
    EXPECT_TRUE(used->state().selected);
    EXPECT_FALSE(reader->child(5)->state().selected);
    EXPECT_EQ(reader->child(6), used);
    EXPECT_EQ(reader->indexOfChild(used), 6);
    EXPECT_EQ(used->parent(), reader);
    EXPECT_EQ(reader->childAt(used->rect().center().x(), used->rect().center().y()), used);
    EXPECT_EQ(reader->child(32), nullptr);

    list->Fill(lines.data(), 4);
    EXPECT_EQ(reader->childCount(), 4);
    EXPECT_FALSE(used->isValid());
}

}  // namespace
}  // namespace librarian
