#pragma once
// Common ground of the picture knob and the picture switch: a filmstrip bitmap of Glyph
// frames side by side, one of which is shown, and the AutoSize and hint rules.

#include <QPixmap>
#include <QRect>
#include <QWidget>

namespace controls {

// Width in device pixels of one frame of a strip `stripWidth` pixels wide; 0 for no frames.
int FrameWidth(int stripWidth, int glyph);
// Source rectangle of frame k, in the strip's device pixels.
QRect FrameRect(QSize stripSize, int glyph, int k);

class FilmstripWidget : public QWidget {
    Q_OBJECT
public:
    const QPixmap& bitmap() const { return bitmap_; }
    // Keeps its own copy, so several controls can be given the same picture.
    void setBitmap(const QPixmap& strip);
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

    QPixmap bitmap_;
    int glyph_ = 1;
    int maxGlyph_;
    bool autoSize_ = true;
    bool showHint_ = true;
};

}  // namespace controls
