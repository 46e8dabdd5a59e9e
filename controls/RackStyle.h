#pragma once
// The application's style: the platform's own, with menu separators drawn so they show on the
// rack's dark menus (the stock line is a shade of the menu's own colour there).

#include <QProxyStyle>

namespace controls {

class RackStyle : public QProxyStyle {
public:
    RackStyle();
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace controls
