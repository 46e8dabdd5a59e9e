#include "librarian/TNameForm.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "controls/Artwork.h"
#include "controls/TTitleBar.h"
#include "core/VoiceFormats.h"
#include "librarian/NameField.h"

namespace librarian {

TNameForm::TNameForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("NameForm"));
    setFixedSize(150, 36);
    setPalette(controls::artwork::RackPalette());
    setAutoFillBackground(true);

    edtName_ = new QLineEdit(this);
    edtName_->setObjectName(QStringLiteral("edtName"));
    edtName_->setToolTip(QStringLiteral("Enter New Name"));
    edtName_->setGeometry(10, 7, 130, 22);
    edtName_->setStyleSheet(QString::fromLatin1(controls::artwork::kValueLabelStyle));
    MakeNameField(edtName_);
    controls::WearCaptionBar(this, controls::kCaptionClose);
}

QString TNameForm::Edit(const QString& caption, const QString& name) {
    setWindowTitle(caption);
    edtName_->setText(name.left(int(core::kNameSize)));
    edtName_->selectAll();
    edtName_->setFocus();
    exec();
    return edtName_->text();
}

void TNameForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        return;
    case Qt::Key_Escape:
        edtName_->clear();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

}  // namespace librarian
