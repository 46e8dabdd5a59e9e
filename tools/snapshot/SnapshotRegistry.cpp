#include "SnapshotRegistry.h"

#include <QLabel>

namespace snapshot {

std::vector<Entry>& Registry() {
    static std::vector<Entry> entries;
    return entries;
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color: #b8bcc4; font: 11px 'DejaVu Sans';"));
    label->adjustSize();
    label->move(x, y);
    return label;
}

}  // namespace snapshot
