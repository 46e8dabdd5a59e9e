#include "controls/PanelParts.h"

#include <QFrame>
#include <QLabel>

#include "controls/Artwork.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"

namespace controls::panel {
namespace {

const char* const kPanelStyle =
    "QFrame { background: rgba(0, 0, 0, 110); border: 1px solid #3a3f47; border-radius: 6px; }";

Tzografsw* Strip(QWidget* parent, const QPixmap& strip, int x, int y) {
    auto* sw = new Tzografsw(parent);
    sw->setGlyph(2);
    sw->setBitmap(strip);
    sw->move(x, y);
    return sw;
}

}  // namespace

const char* const kCaptionStyle =
    "color: #c8ccd4; background: transparent; font: bold 12px 'DejaVu Sans';";
const char* const kHeadingStyle =
    "color: #e8a040; background: transparent; font: bold 12px 'DejaVu Sans';";

QFrame* Group(QWidget* parent, const QRect& area) {
    auto* group = new QFrame(parent);
    group->setObjectName(QStringLiteral("panel"));
    group->setGeometry(area);
    group->setStyleSheet(QString::fromLatin1(kPanelStyle));
    return group;
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y, const char* style) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QString::fromLatin1(style));
    label->adjustSize();
    label->move(x, y);
    return label;
}

Tzografsw* Lamp(QWidget* parent, int x, int y) {
    return Strip(parent, artwork::LampStrip(), x, y);
}

Tzografsw* SmallPushButton(QWidget* parent, int x, int y) {
    return Strip(parent, artwork::PushButtonStrip({}, artwork::kSmallButtonSize), x, y);
}

Tzopotlab* LabelKnob(QWidget* parent, int min, int max, int cursorRange, const QRect& geometry) {
    auto* knob = new Tzopotlab(parent);
    knob->setMin(min);
    knob->setMax(max);
    knob->setCursorRange(cursorRange);
    knob->setAlignment(Qt::AlignCenter);
    knob->setStyleSheet(QString::fromLatin1(artwork::kValueLabelStyle));
    knob->setGeometry(geometry);
    knob->setCursor(Qt::SizeVerCursor);
    return knob;
}

void SetHint(QWidget* control, QLabel* caption, const QString& hint) {
    control->setToolTip(hint);
    caption->setToolTip(hint);
}

}  // namespace controls::panel
