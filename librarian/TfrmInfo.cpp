#include "librarian/TfrmInfo.h"

#include <QKeyEvent>
#include <QLabel>

#include "controls/Artwork.h"

namespace librarian {

TfrmInfo::TfrmInfo(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Infos"));
    setFixedSize(300, 120);
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
    labName_->setGeometry(96, 26, 190, 30);

    labDescription_ = new QLabel(QStringLiteral("Voice librarian and editor for TX816 and DX7"), this);
    labDescription_->setObjectName(QStringLiteral("labDescription"));
    labDescription_->setWordWrap(true);
    labDescription_->setGeometry(96, 60, 190, 36);

    for (QLabel* label : {picture, labName_, labDescription_}) label->installEventFilter(this);
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
