#pragma once
// Seven-segment counter. It draws its digits at once whenever the value changes (not waiting
// for the event loop), so it stays current while the window thread is busy. With a Delay it
// steps the shown value one unit per tick towards Target.

#include <QColor>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>

namespace controls {

class TDigitBox : public QWidget {
    Q_OBJECT
public:
    explicit TDigitBox(QWidget* parent = nullptr);

    QColor color1() const { return color1_; }
    void setColor1(const QColor& c);  // lit segments; redraws the digits
    QColor color2() const { return color2_; }
    void setColor2(const QColor& c);  // background and unlit segments; repaints all
    unsigned digits() const { return digits_; }
    void setDigits(unsigned n);       // at most 11; fixes the width to 13 * n + 2
    int delay() const { return delay_; }
    void setDelay(int ms);            // 0 = no stepping: Value jumps to Target
    std::uint32_t value() const { return value_; }
    void setValue(std::uint32_t v);
    std::uint32_t target() const { return target_; }
    void setTarget(std::uint32_t t);
    void stepUp(std::uint32_t n) { setTarget(target_ + n); }
    void stepDown(std::uint32_t n) { setTarget(target_ - n); }

    bool isStepping() const { return timer_.isActive(); }
    // One tick of the stepping timer: one unit towards Target.
    void step();

    // What the control shows, in its own pixels (times the device pixel ratio).
    const QImage& surface() const { return surface_; }

signals:
    void valueChanged();
    void targetChanging();  // before Target changes; target() still holds the old one
    void targetReached();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void paintAll();
    void drawDigits();
    void flush();

    QColor color1_{255, 0, 0};
    QColor color2_{0, 0, 0};
    unsigned digits_ = 3;
    int delay_ = 100;
    std::uint32_t value_ = 0;
    std::uint32_t target_ = 0;
    QTimer timer_;
    QImage surface_;
};

}  // namespace controls
