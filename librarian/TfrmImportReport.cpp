#include "librarian/TfrmImportReport.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <fstream>

#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

namespace librarian {

bool SaveReportText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) return true;
    platform::ShowError("File Error", "Write File Error - Abort Saving");
    return false;
}

TfrmImportReport::TfrmImportReport(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromLatin1(kImportReportCaption));
    setModal(false);
    resize(640, 420);
    auto* layout = new QVBoxLayout(this);
    memReport = new QPlainTextEdit(this);
    memReport->setReadOnly(true);
    memReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    memReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(memReport);
    auto* row = new QHBoxLayout;
    row->addStretch();
    btnSave = new QPushButton(QStringLiteral("Save..."), this);
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    row->addWidget(btnSave);
    row->addWidget(btnClose);
    layout->addLayout(row);
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
}

void TfrmImportReport::ShowReport(const std::string& text) {
    text_ = text;
    memReport->setPlainText(QString::fromStdString(text));
    show();
    raise();
    activateWindow();
}

void TfrmImportReport::btnSaveClick() {
    const std::optional<std::string> path = platform::AskSavePath(kReportFileName, kAllFilesFilter);
    if (path) SaveReportText(*path, text_);
}

}  // namespace librarian
