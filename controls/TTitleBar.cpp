#include "controls/TTitleBar.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QWhatsThis>
#include <QWindow>

#include "controls/ColourValue.h"

namespace controls {

namespace {

const char* const kClientName = "captionClient";

QFont CaptionFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setStyleHint(QFont::AnyStyle);
    // Every property counts as set: a painter fills the unset ones (the size among them, on
    // desktops whose title font is only a family) from the bar's own font, and the texts would
    // be drawn smaller than they were measured.
    font.setResolveMask(QFont::AllPropertiesResolved);
    return font;
}

ColourNumber NumberOf(QColor c) { return MakeColourNumber(c.red(), c.green(), c.blue()); }
QColor ColourOf(ColourNumber n) { return QColor(RedOf(n), GreenOf(n), BlueOf(n)); }

// The desktop's caption colour: the palette's highlight, active or inactive; where the two
// groups agree the inactive caption is greyed so an inactive window reads as such.
QColor CaptionColour(const QPalette& palette, bool active) {
    const QColor on = palette.color(QPalette::Active, QPalette::Highlight);
    if (active) return on;
    const QColor off = palette.color(QPalette::Inactive, QPalette::Highlight);
    if (off != on) return off;
    const QColor grey = palette.color(QPalette::Active, QPalette::Light);
    return QColor((on.red() + 3 * grey.red()) / 4, (on.green() + 3 * grey.green()) / 4,
                  (on.blue() + 3 * grey.blue()) / 4);
}

QColor CaptionTextColour(const QPalette& palette, bool active) {
    return active ? palette.color(QPalette::Active, QPalette::WindowText)
                  : palette.color(QPalette::Disabled, QPalette::WindowText);
}

// The glyph on a caption button, drawn in the square `r`.
void DrawGlyph(QPainter& p, CaptionButton button, QRectF r, bool zoomed) {
    const qreal m = r.width() * 0.3;
    const QRectF in = r.adjusted(m, m, -m, -m);
    switch (button) {
    case kCaptionClose:
        p.drawLine(in.topLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomLeft());
        break;
    case kCaptionMinimize:
        p.drawLine(QPointF(in.left(), in.bottom()), in.bottomRight());
        break;
    case kCaptionMaximize:
        if (zoomed) {
            const qreal d = in.width() / 3;
            p.drawRect(in.adjusted(0, d, -d, 0));
            p.drawPolyline(QPolygonF({QPointF(in.left() + d, in.top() + d),
                                      QPointF(in.left() + d, in.top()), in.topRight(),
                                      QPointF(in.right(), in.bottom() - d),
                                      QPointF(in.right() - d, in.bottom() - d)}));
        } else {
            p.drawRect(in);
            p.drawLine(in.topLeft() + QPointF(0, 1), in.topRight() + QPointF(0, 1));
        }
        break;
    case kCaptionHelp:
        p.drawText(r, Qt::AlignCenter, QStringLiteral("?"));
        break;
    default:
        break;
    }
}

}  // namespace

TSpecialCaption::TSpecialCaption(TTitleBar& bar, QFont::Weight weight, bool italic)
    : bar_(bar), bold_(weight >= QFont::Bold), italic_(italic) {}

void TSpecialCaption::SetCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    bar_.Changed();
}

void TSpecialCaption::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    bar_.Changed();
}

void TSpecialCaption::SetFontStyle(bool bold, bool italic, bool underline, bool strikeOut) {
    if (bold == bold_ && italic == italic_ && underline == underline_ && strikeOut == strikeOut_)
        return;
    bold_ = bold;
    italic_ = italic;
    underline_ = underline;
    strikeOut_ = strikeOut;
    bar_.Changed();
}

QFont TSpecialCaption::Styled(QFont font) const {
    font.setBold(bold_);
    font.setItalic(italic_);
    font.setUnderline(underline_);
    font.setStrikeOut(strikeOut_);
    return font;
}

TTitleBar::TTitleBar(QWidget* window, CaptionButtons buttons)
    : QWidget(window),
      window_(window),
      buttons_(buttons),
      companyInfo_(*this, QFont::Bold, true),
      applicationInfo_(*this, QFont::Bold, false) {
    setObjectName(QStringLiteral("TitleBar1"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    window_->installEventFilter(this);
}

void TTitleBar::Changed() { update(); }

void TTitleBar::SetButtons(CaptionButtons buttons) {
    if (buttons == buttons_) return;
    buttons_ = buttons;
    pressed_ = kNoCaptionButtons;
    Changed();
}

void TTitleBar::SetAlignment(CaptionAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Changed();
}

void TTitleBar::SetColor(ColourNumber color) {
    if (color == color_) return;
    color_ = color;
    Changed();
}

void TTitleBar::SetBarEnabled(bool enabled) {
    if (enabled == barEnabled_) return;
    barEnabled_ = enabled;
    Changed();
}

void TTitleBar::SetNbOfColors(int n) {
    if (!IsGradientBandCount(n) || n == nbOfColors_) return;
    nbOfColors_ = n;
    Changed();
}

void TTitleBar::SetType(CaptionGradient type) {
    if (type == type_) return;
    type_ = type;
    Changed();
}

int TTitleBar::CaptionHeight() {
    return std::max(QFontMetrics(CaptionFont()).height() + 8, 22);
}

bool TTitleBar::ShownActive() const { return window_->isActiveWindow(); }

void TTitleBar::paintEvent(QPaintEvent*) {
    const bool active = ShownActive();
    // The desktop's colours, not the window's own: every caption looks alike.
    const QPalette pal = QApplication::palette();
    const QColor k = CaptionColour(pal, active);
    const int w = width(), h = height();
    QPainter p(this);

    // Background: the gradient up to the buttons, the caption colour under them.
    const auto places = CaptionButtonPlaces(buttons_, w, h);
    const int buttonsLeft = CaptionButtonAreaLeft(places, w);
    p.fillRect(rect(), k);
    const CaptionGradient type = barEnabled_ ? type_ : CaptionGradient::gtNone;
    for (const GradientBand& band :
         CaptionBands(0, buttonsLeft, h, color_, NumberOf(k), type, nbOfColors_))
        p.fillRect(band.x, band.y, band.width, band.height, ColourOf(band.colour));

    // Icon, for windows with a system menu.
    int textLeft = 0;
    if (buttons_ & kCaptionClose) {
        const int icon = std::min(16, h - 4);
        window_->windowIcon().paint(&p, QRect(3, (h - icon) / 2, icon, icon));
        textLeft = 3 + icon + 2;
    }
    const int textRight = std::max(buttonsLeft, textLeft + 2);

    // Texts.
    const QFont font = CaptionFont();
    const QFont companyFont = companyInfo_.Styled(font);
    const QFont applicationFont = applicationInfo_.Styled(font);
    auto widthIn = [](const QFont& f, const QString& s) {
        return s.isEmpty() ? 0 : QFontMetrics(f).horizontalAdvance(s) + 2;
    };
    const bool extras = barEnabled_;
    const QString company = extras && companyInfo_.Enabled() ? companyInfo_.Caption() : QString();
    const QString application =
        extras && applicationInfo_.Enabled() ? applicationInfo_.Caption() : QString();
    const QString caption = window_->windowTitle();
    const int companyWidth = widthIn(companyFont, company);
    const int applicationWidth = widthIn(applicationFont, application);
    const int captionWidth = widthIn(font, caption);
    const CaptionTexts shown =
        CaptionTextsShown(textRight - textLeft, companyWidth, applicationWidth, captionWidth);
    const int group = (shown.company ? companyWidth : 0) +
                      (shown.application ? applicationWidth : 0) +
                      (shown.caption ? captionWidth : 0);
    int x = CaptionGroupLeft(alignment_, barEnabled_, textLeft, textRight, group);
    p.setPen(CaptionTextColour(pal, active));
    auto draw = [&](const QFont& f, const QString& s, int width) {
        p.setFont(f);
        p.drawText(QRect(x, 0, width, h), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, s);
        x += width;
    };
    if (shown.company) draw(companyFont, company, companyWidth);
    if (shown.application) draw(applicationFont, application, applicationWidth);
    if (shown.caption) {
        const QFontMetrics metrics(font);
        const QString ellipsis(QChar(0x2026));
        const int kept = CaptionCharsKept(
            static_cast<int>(caption.size()), textRight - x, [&](int n, bool elided) {
                return metrics.horizontalAdvance(caption.left(n) + (elided ? ellipsis : QString())) + 2;
            });
        QString text = caption.left(kept);
        if (kept > 0 && text.back().isHighSurrogate()) text.chop(1);
        if (kept < caption.size()) text += ellipsis;
        draw(font, text, std::max(textRight - x, 0));
    }

    // Buttons: raised squares; one the window's style leaves off is drawn inactive.
    const bool zoomed = window_->isMaximized();
    for (const CaptionButtonPlace& place : places) {
        const QRectF r(place.x, place.y, place.size, place.size);
        const bool on = buttons_ & place.button;
        const bool down = on && pressed_ == place.button && pressedInside_;
        p.setPen(Qt::NoPen);
        p.setBrush(pal.color(QPalette::Active, down ? QPalette::Dark : QPalette::Button));
        p.drawRect(r);
        p.setPen(pal.color(QPalette::Active, down ? QPalette::Shadow : QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight() - QPointF(1, 0));
        p.drawLine(r.topLeft(), r.bottomLeft() - QPointF(0, 1));
        p.setPen(pal.color(QPalette::Active, down ? QPalette::Light : QPalette::Shadow));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        QPen glyph(on ? pal.color(QPalette::Active, QPalette::ButtonText)
                      : pal.color(QPalette::Disabled, QPalette::ButtonText));
        glyph.setWidthF(std::max(1.0, place.size / 9.0));
        p.setPen(glyph);
        p.setBrush(Qt::NoBrush);
        p.setFont(font);
        DrawGlyph(p, place.button, down ? r.translated(1, 1) : r, zoomed);
    }
}

CaptionButton TTitleBar::ButtonAt(QPoint at) const {
    for (const CaptionButtonPlace& place : CaptionButtonPlaces(buttons_, width(), height()))
        if ((buttons_ & place.button) && QRect(place.x, place.y, place.size, place.size).contains(at))
            return place.button;
    return kNoCaptionButtons;
}

void TTitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    pressed_ = ButtonAt(event->position().toPoint());
    if (pressed_ != kNoCaptionButtons) {
        pressedInside_ = true;
        update();
        return;
    }
    // The window system moves the window where it can (it knows the screens' edges and its
    // own snapping); elsewhere the window follows the pointer.
    QWindow* handle = window_->windowHandle();
    if (handle && handle->startSystemMove()) return;
    dragging_ = true;
    dragStart_ = event->globalPosition().toPoint();
    windowStart_ = window_->pos();
}

void TTitleBar::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_) {
        window_->move(windowStart_ + event->globalPosition().toPoint() - dragStart_);
    } else if (pressed_ != kNoCaptionButtons) {
        const bool inside = ButtonAt(event->position().toPoint()) == pressed_;
        if (inside != pressedInside_) {
            pressedInside_ = inside;
            update();
        }
    }
}

void TTitleBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    dragging_ = false;
    const CaptionButton pressed = pressed_;
    pressed_ = kNoCaptionButtons;
    pressedInside_ = false;
    update();
    if (pressed != kNoCaptionButtons && ButtonAt(event->position().toPoint()) == pressed)
        Press(pressed);
}

void TTitleBar::Press(CaptionButton button) {
    switch (button) {
    case kCaptionClose:
        window_->close();  // the window's own close, so it can still refuse or save
        break;
    case kCaptionMinimize:
        window_->showMinimized();
        break;
    case kCaptionMaximize:
        window_->isMaximized() ? window_->showNormal() : window_->showMaximized();
        break;
    case kCaptionHelp:
        QWhatsThis::enterWhatsThisMode();
        break;
    default:
        break;
    }
}

bool TTitleBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        switch (event->type()) {
        case QEvent::WindowTitleChange:
        case QEvent::WindowIconChange:
        case QEvent::ActivationChange:
        case QEvent::WindowStateChange:
        case QEvent::PaletteChange:
        case QEvent::FontChange:
        case QEvent::ApplicationFontChange:
            update();
            if (event->type() == QEvent::ActivationChange) window_->update();
            break;
        case QEvent::Paint: {
            // The 1-pixel border round the caption and the client area.
            QPainter p(window_);
            const QPalette pal = QApplication::palette();
            const QColor k = CaptionColour(pal, ShownActive());
            p.setPen(ShownActive() ? k.darker(160) : pal.color(QPalette::Active, QPalette::Light));
            p.drawRect(window_->rect().adjusted(0, 0, -1, -1));
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

TTitleBar* WearCaptionBar(QWidget* window, CaptionButtons buttons) {
    const QSize client = window->size();
    const int h = TTitleBar::CaptionHeight();
    auto* area = new QWidget(window);
    area->setObjectName(QString::fromLatin1(kClientName));
    const QObjectList children = window->children();
    for (QObject* object : children) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child == area || child->isWindow()) continue;
        const bool explicitlyHidden =
            child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide);
        child->setParent(area);
        if (!explicitlyHidden && window->isVisible()) child->show();
    }
    area->setGeometry(1, 1 + h, client.width(), client.height());
    auto* bar = new TTitleBar(window, buttons);
    bar->setGeometry(1, 1, client.width(), h);
    // The frameless hint alone: with the title hints kept the X11 window managers are still
    // asked for their title bar. The button hints stay, so the window system still offers
    // closing (Alt+F4) and minimising where the window allows them.
    const Qt::WindowFlags kept = Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                 Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint |
                                 Qt::WindowStaysOnTopHint;
    window->setWindowFlags(window->windowType() | (window->windowFlags() & kept) |
                           Qt::FramelessWindowHint);
    window->setFixedSize(client.width() + 2, client.height() + h + 2);
    return bar;
}

QWidget* ClientArea(QWidget* window) {
    auto* area = window->findChild<QWidget*>(QString::fromLatin1(kClientName),
                                              Qt::FindDirectChildrenOnly);
    return area ? area : window;
}

}  // namespace controls
