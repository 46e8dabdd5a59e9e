#include "controls/FilmstripWidget.h"

#include "controls/Artwork.h"

#include <QEvent>
#include <QPainter>

namespace controls {

int FrameWidth(int stripWidth, int glyph) { return glyph < 1 ? 0 : stripWidth / glyph; }

QRect FrameRect(QSize stripSize, int glyph, int k) {
    const int w = FrameWidth(stripSize.width(), glyph);
    return QRect(k * w, 0, w, stripSize.height());
}

FilmstripWidget::FilmstripWidget(int maxGlyph, QWidget* parent)
    : QWidget(parent), maxGlyph_(maxGlyph) {
    resize(30, 30);
}

const QPixmap& FilmstripWidget::bitmap() const {
    if (make_) {
        bitmap_ = make_();
        make_ = nullptr;
    }
    return bitmap_;
}

void FilmstripWidget::setBitmap(const QPixmap& strip) {
    // Shared until either side changes it; a drawn picture keeps its identity (AtRatio).
    make_ = nullptr;
    bitmap_ = strip;
    applyAutoSize();
    update();
}

void FilmstripWidget::setBitmap(std::function<QPixmap()> make, QSize logicalSize) {
    bitmap_ = QPixmap();
    make_ = std::move(make);
    pendingSize_ = make_ ? logicalSize : QSize();
    applyAutoSize();
    update();
}

void FilmstripWidget::setGlyph(int g) {
    if (g < 1 || g > maxGlyph_) return;
    glyph_ = g;
    applyAutoSize();
    update();
}

void FilmstripWidget::setAutoSize(bool on) {
    autoSize_ = on;
    if (on) {
        applyAutoSize();
        update();
    }
}

QSize FilmstripWidget::stripSize() const { return make_ ? pendingSize_ : bitmap_.size(); }

qreal FilmstripWidget::stripRatio() const { return make_ ? 1.0 : bitmap_.devicePixelRatio(); }

void FilmstripWidget::applyAutoSize() {
    const QSize size = stripSize();
    if (!autoSize_ || size.isEmpty()) return;
    const qreal ratio = stripRatio();
    const int w = FrameWidth(size.width(), glyph_);
    resize(qRound(w / ratio), qRound(size.height() / ratio));
}

void FilmstripWidget::paintEvent(QPaintEvent*) {
    if (bitmap().isNull()) return;
    QPainter p(this);
    // The program's own pictures are taken at the ratio painted at, so frames are copied
    // pixel for pixel; any other strip is scaled smoothly when the ratios differ.
    const QPixmap strip = artwork::AtRatio(bitmap_, artwork::PaintRatio(p));
    const QRect source = FrameRect(strip.size(), glyph_, currentFrame());
    if (source.isEmpty()) return;
    const qreal ratio = strip.devicePixelRatio();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(QRectF(0, 0, source.width() / ratio, source.height() / ratio), strip,
                 QRectF(source));
}

bool FilmstripWidget::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip && !showHint_) {
        e->ignore();
        return true;
    }
    return QWidget::event(e);
}

}  // namespace controls
