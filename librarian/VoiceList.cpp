#include "librarian/VoiceList.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QtMath>
#include <QHash>
#include <QImage>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

#include <algorithm>

#include "controls/Artwork.h"
#include "librarian/VoiceListAccessible.h"
#include "librarian/VoiceNameText.h"

namespace librarian {

namespace {

// A line as an item view's style draws it, but with the text on a baseline that leaves room for
// the font's descent: centred in a 13-pixel line, the font's taller-than-the-line box would lose
// the bottom of g, p and y ("glassbell" read "qlassbell"). Where the font is shorter than the
// line it is centred as before.
void PaintLine(QPainter& painter, const QStyleOptionViewItem& line, const QWidget& list) {
    const QStyle& style = *list.style();
    QStyleOptionViewItem panel = line;
    panel.text.clear();
    panel.features &= ~QStyleOptionViewItem::HasDisplay;
    style.drawControl(QStyle::CE_ItemViewItem, &panel, &painter, &list);
    if (line.text.isEmpty()) return;

    const QFontMetricsF metrics(line.font);
    const QRect r = line.rect;
    const int below = qCeil(metrics.descent());
    const int spare = std::max(0, r.height() - qCeil(metrics.ascent()) - below);
    const int baseline = r.bottom() + 1 - below - spare / 2;
    const int margin = style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1;
    const QRect textRect = r.adjusted(margin, 0, -margin, 0);
    const QPalette::ColorGroup group = !(line.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : line.state & QStyle::State_Active   ? QPalette::Active
                                                                             : QPalette::Inactive;
    painter.save();
    painter.setClipRect(r);
    painter.setFont(line.font);
    painter.setPen(line.palette.color(group, line.state & QStyle::State_Selected
                                                 ? QPalette::HighlightedText
                                                 : QPalette::Text));
    painter.drawText(QPointF(textRect.left(), baseline),
                     metrics.elidedText(line.text, line.textElideMode, textRect.width()));
    painter.restore();
}

// Each distinct line is drawn once and kept: the twenty lists show 448 lines (all alike in an
// empty library), and laying out each line's text anew is most of what the main window's first
// frame costs.
class KeptLines {
public:
    // The line as the style draws it in `list`, from the kept copy when the painter allows.
    static void Paint(QPainter& painter, const QStyleOptionViewItem& line, const QWidget& list) {
        const qreal ratio = controls::artwork::PaintRatio(painter);
        if (!painter.transform().isIdentity() || ratio != qRound(ratio))
            return PaintLine(painter, line, list);
        QHash<LineKey, QImage>& lines = Table();
        const LineKey key = KeyOf(line, list, ratio);
        auto drawn = lines.constFind(key);
        if (drawn == lines.cend()) {
            if (lines.size() >= kMaxKeptLines) lines.clear();
            drawn = lines.insert(key, Draw(line, list, ratio));
        }
        painter.drawImage(line.rect.topLeft(), *drawn);
    }

private:
    static constexpr qsizetype kMaxKeptLines = 2048;  // twenty lists of 32 lines, paged through

    // Everything the style's drawing of the line depends on. Palettes compare by their colours,
    // so lists of the same colours share their lines.
    struct LineKey {
        QString text;
        QFont font;
        QSize size;
        QPalette palette;
        quintptr style;
        int state, direction, ratio;
        bool enabled;
        bool operator==(const LineKey&) const = default;
        friend size_t qHash(const LineKey& key, size_t seed = 0) {
            seed = qHashMulti(seed, key.text, key.font, key.size.width(), key.size.height(),
                              key.style, key.state, key.direction, key.ratio, key.enabled);
            // The colours a line is drawn in; equality still compares the whole palette.
            for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
                for (auto role : {QPalette::Base, QPalette::Text, QPalette::Highlight,
                                  QPalette::HighlightedText})
                    seed = qHashMulti(seed, key.palette.color(group, role).rgba());
            return seed;
        }
    };
    static LineKey KeyOf(const QStyleOptionViewItem& line, const QWidget& list, qreal ratio) {
        return {line.text,        line.font,       line.rect.size(),
                line.palette,     quintptr(list.style()), int(line.state),
                int(line.direction), int(ratio),   list.isEnabled()};
    }

    // The lines drawn so far, for all the lists together; held by the application object, so
    // the fonts and palettes in the keys go with it.
    static QHash<LineKey, QImage>& Table() {
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
    static QImage Draw(const QStyleOptionViewItem& line, const QWidget& list, qreal ratio) {
        QImage image(line.rect.size() * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        const QPalette::ColorGroup group = !list.isEnabled()                 ? QPalette::Disabled
                                           : line.state & QStyle::State_Active ? QPalette::Active
                                                                               : QPalette::Inactive;
        image.fill(line.palette.color(group, list.backgroundRole()));
        QPainter painter(&image);
        QStyleOptionViewItem atOrigin = line;
        atOrigin.rect.moveTopLeft(QPoint(0, 0));
        PaintLine(painter, atOrigin, list);
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

VoiceListBox::VoiceListBox(QWidget* parent) : QWidget(parent) {
    InstallVoiceListAccessibility();
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

bool VoiceListBox::Highlighted(int line) const {
    return line >= 0 && line < Count() && highlighted_[std::size_t(line)];
}

QRect VoiceListBox::LineRect(int line) const {
    return {0, line * kVoiceLineHeight, width(), kVoiceLineHeight};
}

int VoiceListBox::LineAt(QPoint local) const {
    if (!rect().contains(local)) return -1;
    const int line = local.y() / kVoiceLineHeight;
    return line < Count() ? line : -1;
}

void VoiceListBox::Fill(const core::VoiceSlot* lineSlots, int count) {
    // Only lines that changed are drawn again: the library lists follow every step of the page
    // knob.
    if (Count() != count) {
        lines_ = QStringList(count, QString());
        highlighted_.assign(std::size_t(count), false);
        update();
    }
    for (int i = 0; i < count; ++i) {
        QString text = DisplayVoiceName(lineSlots[i]);
        const bool selected = lineSlots[i].IsSelected();
        const bool renamed = text != lines_[i];
        const bool rehighlighted = selected != highlighted_[std::size_t(i)];
        if (!renamed && !rehighlighted) continue;
        lines_[i] = std::move(text);
        highlighted_[std::size_t(i)] = selected;
        update(LineRect(i));
        if (QAccessible::isActive()) {
            if (renamed) Announce(i, QAccessible::NameChanged);
            if (rehighlighted) Announce(i, selected ? QAccessible::SelectionAdd
                                                    : QAccessible::SelectionRemove);
        }
    }
}

void VoiceListBox::Announce(int line, QAccessible::Event what) {
    QAccessibleEvent change(this, what);
    change.setChild(line);
    QAccessible::updateAccessibility(&change);
}

void VoiceListBox::paintEvent(QPaintEvent* event) {
    // The options an item view gives its lines: its font, palette and state, text alone.
    QStyleOptionViewItem line;
    line.initFrom(this);
    line.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
    if (!hasFocus()) line.state &= ~QStyle::State_Active;
    line.font = font();
    line.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    line.textElideMode = Qt::ElideRight;
    line.features = QStyleOptionViewItem::HasDisplay;
    line.showDecorationSelected =
        style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this);
    line.widget = this;
    if (isEnabled()) line.palette.setCurrentColorGroup(QPalette::Normal);
    const QStyle::State state = line.state;

    QPainter painter(this);
    const QRect dirty = event->rect();
    const int last = std::min(Count() - 1, dirty.bottom() / kVoiceLineHeight);
    for (int i = std::max(0, dirty.top() / kVoiceLineHeight); i <= last; ++i) {
        line.rect = LineRect(i);
        line.text = lines_[i];
        line.state = highlighted_[std::size_t(i)] ? state | QStyle::State_Selected : state;
        KeptLines::Paint(painter, line, *this);
    }
}

void VoiceListBox::mousePressEvent(QMouseEvent* event) { event->accept(); }
void VoiceListBox::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }
void VoiceListBox::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }
void VoiceListBox::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

namespace {

// The lists' font and colours, on `list`.
void DressAsVoiceList(QWidget& list, QColor background) {
    list.setFont(VoiceListFont());
    list.setFocusPolicy(Qt::NoFocus);
    list.setContextMenuPolicy(Qt::CustomContextMenu);
    QPalette palette = list.palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, kVoiceText);
        palette.setColor(group, QPalette::Highlight, kHighlight);
        palette.setColor(group, QPalette::HighlightedText, kHighlightText);
    }
    list.setPalette(palette);
}

// Every line 13 pixels high, whatever the font's own line spacing, drawn as the voice lists
// draw theirs.
class FixedLineDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), kVoiceLineHeight};
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem line = option;
        initStyleOption(&line, index);
        if (line.widget) PaintLine(*painter, line, *line.widget);
    }
};

}  // namespace

VoiceListBox* MakeVoiceList(QWidget* parent, const QString& name, const QRect& geometry,
                            QColor background) {
    auto* list = new VoiceListBox(parent);
    list->setObjectName(name);
    list->setGeometry(geometry);
    DressAsVoiceList(*list, background);
    return list;
}

QListWidget* MakeVoiceListView(QWidget* parent, const QString& name, const QRect& geometry,
                               QColor background) {
    auto* view = new QListWidget(parent);
    view->setObjectName(name);
    view->setGeometry(geometry);
    view->setFrameShape(QFrame::NoFrame);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setUniformItemSizes(true);
    view->setItemDelegate(new FixedLineDelegate(view));
    view->setSelectionMode(QAbstractItemView::NoSelection);
    DressAsVoiceList(*view, background);
    view->setAutoFillBackground(true);
    return view;
}

}  // namespace librarian
