#include "controls/RackStyle.h"

#include <QPainter>
#include <QStyleOptionMenuItem>

namespace controls {

RackStyle::RackStyle() : QProxyStyle() {}

void RackStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                            const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuItem && item && item->menuItemType == QStyleOptionMenuItem::Separator &&
        item->text.isEmpty()) {
        const QRect r = option->rect;
        const int y = r.top() + r.height() / 2;
        painter->save();
        painter->setPen(option->palette.color(QPalette::Active, QPalette::Light));
        painter->drawLine(r.left() + 4, y, r.right() - 4, y);
        painter->restore();
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

}  // namespace controls
