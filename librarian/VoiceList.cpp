#include "librarian/VoiceList.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QStyledItemDelegate>

#include "librarian/VoiceNameText.h"

namespace librarian {

namespace {

// Fixes every line at 13 pixels, whatever the font's own line spacing.
class FixedLineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(kVoiceLineHeight);
        return size;
    }
};

QFont VoiceListFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    return font;
}

const QColor kVoiceText(0xD8, 0xDC, 0xC8);
const QColor kHighlight(0xB0, 0x30, 0x20);
const QColor kHighlightText(0xFF, 0xF0, 0x60);

}  // namespace

QListWidget* MakeVoiceList(QWidget* parent, const QString& name, const QRect& geometry,
                           QColor background) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    list->setFrameShape(QFrame::NoFrame);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setUniformItemSizes(true);
    list->setItemDelegate(new FixedLineDelegate(list));
    list->setFont(VoiceListFont());
    // Clicks do not highlight by themselves: the highlight shows the slots' selected bits.
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setContextMenuPolicy(Qt::CustomContextMenu);

    QPalette palette = list->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, kVoiceText);
        palette.setColor(group, QPalette::Highlight, kHighlight);
        palette.setColor(group, QPalette::HighlightedText, kHighlightText);
    }
    list->setPalette(palette);
    list->setAutoFillBackground(true);
    return list;
}

void FillVoiceList(QListWidget* list, const core::VoiceSlot* lineSlots, int count) {
    // Lines are changed in place, and only where they differ: the library lists follow every
    // step of the page knob, and rebuilding 192 lines each time is what a drag would feel.
    if (list->count() != count) {
        list->clear();
        for (int i = 0; i < count; ++i) list->addItem(QString());
    }
    // Through the selection model: the list's own selection mode admits no highlight.
    QItemSelectionModel* highlight = list->selectionModel();
    QItemSelection toHighlight;
    QItemSelection toClear;
    for (int i = 0; i < count; ++i) {
        QListWidgetItem* item = list->item(i);
        const QString text = DisplayVoiceName(lineSlots[i]);
        if (item->text() != text) item->setText(text);
        const QModelIndex index = list->model()->index(i, 0);
        const bool selected = lineSlots[i].IsSelected();
        if (selected != highlight->isSelected(index))
            (selected ? toHighlight : toClear).select(index, index);
    }
    if (!toClear.isEmpty()) highlight->select(toClear, QItemSelectionModel::Deselect);
    if (!toHighlight.isEmpty()) highlight->select(toHighlight, QItemSelectionModel::Select);
}

}  // namespace librarian
