#include "controls/TDigitBox.h"

#include <QPainter>
#include <algorithm>

#include "controls/SevenSegment.h"

namespace controls {

TDigitBox::TDigitBox(QWidget* parent) : QWidget(parent) {
    timer_.setInterval(delay_);
    connect(&timer_, &QTimer::timeout, this, &TDigitBox::step);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(DigitBoxWidth(digits_), kDigitBoxHeight);
    paintAll();
}

void TDigitBox::setColor1(const QColor& c) {
    color1_ = c;
    drawDigits();
    flush();
}

void TDigitBox::setColor2(const QColor& c) {
    color2_ = c;
    paintAll();
    flush();
}

void TDigitBox::setDigits(unsigned n) {
    digits_ = std::min(n, kMaxDigits);
    setFixedSize(DigitBoxWidth(digits_), kDigitBoxHeight);
    paintAll();
    flush();
}

void TDigitBox::setDelay(int ms) {
    delay_ = ms;
    timer_.setInterval(std::max(ms, 0));
    if (ms == 0 && value_ != target_) {
        value_ = target_;
        timer_.stop();
        drawDigits();
        flush();
    }
}

void TDigitBox::setValue(std::uint32_t v) {
    if (delay_ != 0) {
        value_ = v;
        if (v != target_ && !timer_.isActive()) timer_.start();
    } else {
        value_ = target_ = v;
    }
    drawDigits();
    flush();
    emit valueChanged();
}

void TDigitBox::setTarget(std::uint32_t t) {
    emit targetChanging();
    target_ = t;
    if (delay_ == 0) {
        value_ = t;
        drawDigits();
        flush();
    } else if (t != value_ && !timer_.isActive()) {
        timer_.start();
    }
}

void TDigitBox::step() {
    if (value_ < target_) setValue(value_ + 1);
    if (target_ < value_) setValue(value_ - 1);
    if (value_ == target_) {
        timer_.stop();
        emit targetReached();
    }
}

void TDigitBox::paintAll() {
    const qreal ratio = devicePixelRatioF();
    const QSize logical(DigitBoxWidth(digits_), kDigitBoxHeight);
    if (surface_.size() != logical * ratio || surface_.devicePixelRatio() != ratio) {
        surface_ = QImage(logical * ratio, QImage::Format_RGB32);
        surface_.setDevicePixelRatio(ratio);
    }
    surface_.fill(color2_);
    drawDigits();
}

void TDigitBox::drawDigits() {
    QPainter p(&surface_);
    // Each stroke covers whole pixels from its first point up to, not including, its last.
    for (unsigned cell = 0; cell < digits_; ++cell) {
        const unsigned digit = DigitInCell(value_, cell);
        const int x = CellOriginX(digits_, cell);
        for (int segment = 7; segment >= 1; --segment) {
            const QColor& pen = SegmentLit(digit, segment) ? color1_ : color2_;
            for (const Stroke& s : SegmentStrokes(segment, x, kCellOriginY)) {
                const QRect r = s.y1 == s.y2 ? QRect(s.x1, s.y1, s.x2 - s.x1, 1)
                                             : QRect(s.x1, s.y1, 1, s.y2 - s.y1);
                p.fillRect(r, pen);
            }
        }
    }
}

void TDigitBox::flush() {
    // Straight to the screen, without waiting for the event loop: the window thread may be
    // blocked in a long transfer.
    if (isVisible()) repaint();
}

void TDigitBox::paintEvent(QPaintEvent*) {
    if (surface_.devicePixelRatio() != devicePixelRatioF()) paintAll();
    QPainter p(this);
    p.drawImage(QPoint(0, 0), surface_);
}

void TDigitBox::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    const QSize wanted(DigitBoxWidth(digits_), kDigitBoxHeight);
    if (size() != wanted) resize(wanted);
}

}  // namespace controls
