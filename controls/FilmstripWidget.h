#pragma once
// Common ground of the picture knob and the picture switch: a filmstrip bitmap of Glyph
// frames side by side, one of which is shown, and the AutoSize and hint rules.

#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <functional>

namespace controls {

// Width in device pixels of one frame of a strip `stripWidth` pixels wide; 0 for no frames.
int FrameWidth(int stripWidth, int glyph);
// Source rectangle of frame k, in the strip's device pixels.
QRect FrameRect(QSize stripSize, int glyph, int k);

class FilmstripWidget : public QWidget {
    Q_OBJECT
public:
    // The strip; one given by its maker is drawn now if it has not been yet.
    const QPixmap& bitmap() const;
    // Keeps its own copy, so several controls can be given the same picture.
    void setBitmap(const QPixmap& strip);
    // A strip `logicalSize` large that make() draws when the control first needs its pixels
    // (its first paint): a window hidden at start-up draws no pictures it does not show.
    void setBitmap(std::function<QPixmap()> make, QSize logicalSize);
    int glyph() const { return glyph_; }
    // A value outside 1..maxGlyph() is ignored.
    void setGlyph(int g);
    int maxGlyph() const { return maxGlyph_; }
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool showHint() const { return showHint_; }
    void setShowHint(bool on) { showHint_ = on; }

    // The frame the control shows now.
    virtual int currentFrame() const = 0;

protected:
    FilmstripWidget(int maxGlyph, QWidget* parent);
    void paintEvent(QPaintEvent* e) override;
    bool event(QEvent* e) override;

private:
    void applyAutoSize();

    // The strip's size in device pixels and their ratio, known before a pending strip is drawn.
    QSize stripSize() const;
    qreal stripRatio() const;

    mutable QPixmap bitmap_;
    mutable std::function<QPixmap()> make_;
    QSize pendingSize_;
    int glyph_ = 1;
    int maxGlyph_;
    bool autoSize_ = true;
    bool showHint_ = true;
};

}  // namespace controls
