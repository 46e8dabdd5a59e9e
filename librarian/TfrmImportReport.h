#pragma once
// The report of a collection import: the text mondral-cli import prints, in a window of its
// own that stays open beside the main window and can be saved as a text file.

#include <QDialog>

#include <filesystem>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace librarian {

inline constexpr char kImportReportCaption[] = "Import Report";
inline constexpr char kReportFileName[] = "Import Report.txt";
inline constexpr int kAllFilesFilter = 3;

// Writes the report; false after the "Write File Error - Abort Saving" box.
bool SaveReportText(const std::filesystem::path& path, const std::string& text);

class TfrmImportReport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmImportReport(QWidget* parent = nullptr);

    // Shows `text` and brings the window up (not modal).
    void ShowReport(const std::string& text);
    // "Save...": the save dialog, then the file.
    void btnSaveClick();

    QPlainTextEdit* memReport = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnClose = nullptr;

private:
    std::string text_;
};

}  // namespace librarian
