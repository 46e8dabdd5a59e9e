#pragma once
// The caption bar every window wears: a gradient from the bar's Color (black) on the left to
// the desktop's caption colour on the right, the window icon, the caption buttons the window's
// style asks for and up to three texts (company, application, window caption). The windows go
// without the window manager's frame; WearCaptionBar puts the bar above a window's client area.

#include <QFont>
#include <QPoint>
#include <QString>
#include <QWidget>

#include "controls/CaptionLayout.h"

namespace controls {

class TTitleBar;

// One of the bar's two extra texts.
class TSpecialCaption {
public:
    TSpecialCaption(TTitleBar& bar, QFont::Weight weight, bool italic);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Bold() const { return bold_; }
    bool Italic() const { return italic_; }
    void SetFontStyle(bool bold, bool italic, bool underline, bool strikeOut);
    QFont Styled(QFont font) const;

private:
    TTitleBar& bar_;
    QString caption_;
    bool enabled_ = true;
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
    bool strikeOut_ = false;
};

class TTitleBar : public QWidget {
    Q_OBJECT
public:
    // A bar over `window`'s caption with the given buttons; WearCaptionBar creates it.
    TTitleBar(QWidget* window, CaptionButtons buttons);

    CaptionAlignment Alignment() const { return alignment_; }
    void SetAlignment(CaptionAlignment alignment);
    TSpecialCaption& ApplicationInfo() { return applicationInfo_; }
    TSpecialCaption& CompanyInfo() { return companyInfo_; }
    ColourNumber Color() const { return color_; }
    void SetColor(ColourNumber color);
    bool BarEnabled() const { return barEnabled_; }
    void SetBarEnabled(bool enabled);
    int NbOfColors() const { return nbOfColors_; }
    // 0 or 2..256; anything else is ignored.
    void SetNbOfColors(int n);
    CaptionGradient Type() const { return type_; }
    void SetType(CaptionGradient type);
    CaptionButtons Buttons() const { return buttons_; }
    // For a window whose buttons follow what it can do at the moment (the progress window's
    // close while its operation can stop).
    void SetButtons(CaptionButtons buttons);

    // Height of the bar: the desktop's title font with room above and below.
    static int CaptionHeight();
    // The bar as last drawn, active or not (for tests and snapshots).
    bool ShownActive() const;

    void Changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CaptionButton ButtonAt(QPoint at) const;
    void Press(CaptionButton button);

    QWidget* window_;
    CaptionButtons buttons_;
    TSpecialCaption companyInfo_;
    TSpecialCaption applicationInfo_;
    CaptionAlignment alignment_ = CaptionAlignment::Left;
    ColourNumber color_ = kColourBlack;
    bool barEnabled_ = true;
    int nbOfColors_ = 0;
    CaptionGradient type_ = CaptionGradient::gtLeftToRight;
    CaptionButton pressed_ = kNoCaptionButtons;
    bool pressedInside_ = false;
    bool dragging_ = false;
    QPoint dragStart_;
    QPoint windowStart_;
};

// Makes the top-level `window` frameless and puts a caption bar with `buttons` above its client
// area: the window's children move into a client widget at (1, 1 + caption height), so every
// control keeps its client coordinates, and the window grows by the caption and a 1-pixel
// border. Call it at the end of the window's constructor, after its fixed size is set. Returns
// the bar.
TTitleBar* WearCaptionBar(QWidget* window, CaptionButtons buttons);

// The client widget WearCaptionBar put under the caption (the window itself when it wears none).
QWidget* ClientArea(QWidget* window);

}  // namespace controls
