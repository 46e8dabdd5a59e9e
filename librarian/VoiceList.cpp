#include "librarian/VoiceList.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QHash>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>

#include "controls/Artwork.h"
#include "librarian/VoiceNameText.h"

namespace librarian {

namespace {

// Fixes every line at 13 pixels, whatever the font's own line spacing, and draws each distinct
// line once: the twenty lists show 448 lines (all alike in an empty library), and laying out
// each line's text anew is most of what the main window's first frame costs.
class FixedLineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // Worked out once per distinct line for all the lists: each list asks at every layout.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem line = option;
        initStyleOption(&line, index);
        const QWidget* view = line.widget;
        const HintKey key{line.text,
                          line.font.key(),
                          quintptr(view ? view->style() : nullptr),
                          int(line.features),
                          line.decorationSize,
                          int(line.displayAlignment)};
        static QHash<HintKey, QSize> hints;
        auto known = hints.constFind(key);
        if (known == hints.cend()) {
            if (hints.size() >= kMaxLines) hints.clear();
            QSize size = QStyledItemDelegate::sizeHint(option, index);
            size.setHeight(kVoiceLineHeight);
            known = hints.insert(key, size);
        }
        return *known;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem line = option;
        initStyleOption(&line, index);
        const qreal ratio = controls::artwork::PaintRatio(*painter);
        if (!IsPlainLine(line) || !painter->transform().isIdentity() || ratio != qRound(ratio))
            return QStyledItemDelegate::paint(painter, option, index);
        QHash<LineKey, QImage>& lines = KeptLines();
        const LineKey key = KeyOf(line, ratio);
        auto drawn = lines.constFind(key);
        if (drawn == lines.cend()) {
            if (lines.size() >= kMaxKeptLines) lines.clear();
            drawn = lines.insert(key, DrawLine(option, index, ratio));
        }
        painter->drawImage(option.rect.topLeft(), *drawn);
    }

private:
    static constexpr qsizetype kMaxLines = 1024;
    static constexpr qsizetype kMaxKeptLines = 2048;  // twenty lists of 32 lines, paged through

    // Text alone, as the voice lists have it: nothing else would look the same from a copy.
    static bool IsPlainLine(const QStyleOptionViewItem& line) {
        const auto extras = QStyleOptionViewItem::HasCheckIndicator |
                            QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::WrapText;
        return !(line.features & extras) && line.backgroundBrush.style() == Qt::NoBrush &&
               !(line.state & (QStyle::State_HasFocus | QStyle::State_Editing |
                               QStyle::State_MouseOver));
    }

    // Plain values only: the table outlives the application's fonts and styles.
    struct HintKey {
        QString text;
        QString font;
        quintptr style;
        int features;
        QSize decorationSize;
        int alignment;
        bool operator==(const HintKey&) const = default;
        friend size_t qHash(const HintKey& key, size_t seed = 0) {
            return qHashMulti(seed, key.text, key.font, key.style, key.features,
                              key.decorationSize.width(), key.decorationSize.height(),
                              key.alignment);
        }
    };

    // Everything the style's drawing of the line depends on. Palettes compare by their colours,
    // so lists of the same colours share their lines.
    struct LineKey {
        QString text;
        QFont font;
        QSize size;
        QPalette palette;
        quintptr style;
        int state, alignment, direction, ratio;
        bool operator==(const LineKey&) const = default;
        friend size_t qHash(const LineKey& key, size_t seed = 0) {
            seed = qHashMulti(seed, key.text, key.font, key.size.width(), key.size.height(),
                              key.style, key.state, key.alignment, key.direction, key.ratio);
            // The colours a line is drawn in; equality still compares the whole palette.
            for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                for (auto role : {QPalette::Base, QPalette::Text, QPalette::Highlight,
                                  QPalette::HighlightedText})
                    seed = qHashMulti(seed, key.palette.color(group, role).rgba());
            return seed;
        }
    };
    static LineKey KeyOf(const QStyleOptionViewItem& line, qreal ratio) {
        const QWidget* view = line.widget;
        return {line.text,
                line.font,
                line.rect.size(),
                line.palette,
                quintptr(view ? view->style() : nullptr),
                int(line.state),
                int(line.displayAlignment),
                int(line.direction),
                int(ratio)};
    }

    // The lines drawn so far, for all the lists together; held by the application object, so
    // the fonts and palettes in the keys go with it.
    static QHash<LineKey, QImage>& KeptLines() {
        struct Keeper : QObject {
            using QObject::QObject;
            QHash<LineKey, QImage> lines;
        };
        static QPointer<Keeper> keeper;
        if (!keeper) keeper = new Keeper(QCoreApplication::instance());
        return keeper->lines;
    }

    // The line as the style draws it over the list's own background, on an opaque copy: the
    // same pixels as drawing it in place.
    QImage DrawLine(const QStyleOptionViewItem& option, const QModelIndex& index, qreal ratio) const {
        QImage image(option.rect.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        const QWidget* view = option.widget;
        const QPalette::ColorGroup group = view && !view->isEnabled() ? QPalette::Disabled
                                           : option.state & QStyle::State_Active ? QPalette::Active
                                                                                 : QPalette::Inactive;
        image.fill(option.palette.color(group, QPalette::Base));
        QPainter painter(&image);
        QStyleOptionViewItem atOrigin = option;
        atOrigin.rect.moveTopLeft(QPoint(0, 0));
        QStyledItemDelegate::paint(&painter, atOrigin, index);
        return image;
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
        // All lines in one insertion: the view lays itself out once, not once per line.
        QStringList lines;
        lines.reserve(count);
        for (int i = 0; i < count; ++i) lines.append(DisplayVoiceName(lineSlots[i]));
        list->clear();
        list->addItems(lines);
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
