#include "librarian/TfrmInfo.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

#include "controls/Artwork.h"
#include "controls/TTitleBar.h"

namespace librarian {

TfrmInfo::TfrmInfo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Infos"));
    setFocusPolicy(Qt::StrongFocus);  // keys reach it as soon as it is shown
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0x18, 0x1A, 0x20));
    palette.setColor(QPalette::WindowText, QColor(0xE8, 0xE0, 0xC0));
    setPalette(palette);
    setAutoFillBackground(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(controls::artwork::MidiPlug());
    picture->setGeometry(16, 28, 64, 64);

    labName_ = new QLabel(QStringLiteral("Mondral"), this);
    labName_->setObjectName(QStringLiteral("labName"));
    QFont font = labName_->font();
    font.setPixelSize(22);
    font.setBold(true);
    labName_->setFont(font);

    labDescription_ = new QLabel(QStringLiteral("Voice librarian and editor for TX816 and DX7"), this);
    labDescription_->setObjectName(QStringLiteral("labDescription"));
    // The description stays on one line: the box is as wide as it needs.
    const int textWidth =
        std::max(labName_->sizeHint().width(), labDescription_->sizeHint().width());
    labName_->setGeometry(96, 26, textWidth, 30);
    labDescription_->setGeometry(96, 62, textWidth, 20);
    setFixedSize(std::max(300, 96 + textWidth + 20), 120);

    for (QLabel* label : {picture, labName_, labDescription_}) label->installEventFilter(this);
    controls::WearCaptionBar(this, controls::kCaptionClose);
}

void TfrmInfo::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TfrmInfo::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace librarian
