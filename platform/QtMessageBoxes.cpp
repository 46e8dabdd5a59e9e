#include "platform/QtMessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace platform {
namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
    case BoxKind::Information: return QMessageBox::Information;
    case BoxKind::Warning: return QMessageBox::Warning;
    case BoxKind::Error: return QMessageBox::Critical;
    case BoxKind::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int Run(BoxKind kind, std::string_view title, std::string_view text,
        QMessageBox::StandardButtons buttons) {
    QMessageBox box(IconOf(kind), ToQString(title), ToQString(text), buttons,
                    QApplication::activeWindow());
    return box.exec();
}

}  // namespace

void QtMessageBoxes::Show(BoxKind kind, std::string_view title, std::string_view text) {
    Run(kind, title, text, QMessageBox::Ok);
}

BoxAnswer QtMessageBoxes::AskOkCancel(BoxKind kind, std::string_view title, std::string_view text) {
    const int pressed = Run(kind, title, text, QMessageBox::Ok | QMessageBox::Cancel);
    return pressed == QMessageBox::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

BoxAnswer QtMessageBoxes::AskYesNo(BoxKind kind, std::string_view title, std::string_view text) {
    const int pressed = Run(kind, title, text, QMessageBox::Yes | QMessageBox::No);
    return pressed == QMessageBox::Yes ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

}  // namespace platform
