#include "platform/QtFileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/MessageBoxes.h"

namespace platform {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt reads a filter's patterns from its last parentheses and, with HideNameFilterDetails, shows
// only what stands before them. So the description appears exactly as written while the
// patterns are the ones meant: "*.*" becomes "*", because Qt's "*.*" would need a dot and hide
// files without an extension (a library named MYLIBRARY).
QStringList QtFilters(std::string_view list) {
    QStringList filters;
    for (const FileFilter& filter : ParseFilters(list)) {
        const QString pattern = filter.pattern == "*.*" ? QStringLiteral("*") : ToQString(filter.pattern);
        filters << ToQString(filter.description).trimmed() + QStringLiteral(" (") + pattern +
                       QStringLiteral(")");
    }
    return filters;
}

// The 1-based index of the selected filter. Depending on the Qt version the dialog names it by
// its full text or by the description it shows.
int IndexOf(const QString& selected, const QStringList& filters, int fallback) {
    for (int i = 0; i < filters.size(); ++i) {
        const QString shown = filters[i].left(filters[i].lastIndexOf(QLatin1Char('('))).trimmed();
        if (selected == filters[i] || selected == shown) return i + 1;
    }
    return fallback;
}

// Refuses what the file functions could only fail on, before the dialog closes.
class ProgramFileDialog final : public QFileDialog {
public:
    ProgramFileDialog(QWidget* parent, bool mustExist)
        : QFileDialog(parent), mustExist_(mustExist) {}

    void accept() override {
        const QStringList files = selectedFiles();
        if (!files.isEmpty()) {
            const QFileInfo info(files.first());
            if (!info.isDir()) {
                if (!QFileInfo(info.absolutePath()).isDir()) {
                    Refuse(info.absolutePath(),
                           "Folder not found.\nPlease verify the correct folder name was given.");
                    return;
                }
                if (mustExist_ && !info.isFile()) {
                    Refuse(info.fileName(),
                           "File not found.\nPlease verify the correct file name was given.");
                    return;
                }
            }
        }
        QFileDialog::accept();
    }

private:
    void Refuse(const QString& what, const char* why) {
        ShowWarning(windowTitle().toStdString(), (what + QLatin1Char('\n') + QLatin1String(why)).toStdString());
    }

    bool mustExist_;
};

}  // namespace

QtFileDialogs::QtFileDialogs() : lastFolder_(QDir::currentPath()) {}

std::optional<FileDialogAnswer> QtFileDialogs::Run(const FileDialogRequest& request) {
    const bool save = request.kind == FileDialogKind::Save;
    const bool mustExist = !save && request.validate;
    ProgramFileDialog dialog(QApplication::activeWindow(), mustExist);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite |
                      QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(save ? QStringLiteral("Save As") : QStringLiteral("Open"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (request.kind == FileDialogKind::Folder) {
        dialog.setWindowTitle(QStringLiteral("Choose Folder"));
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setDirectory(lastFolder_);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        lastFolder_ = dialog.selectedFiles().first();
        return FileDialogAnswer{lastFolder_.toStdString(), request.filterIndex};
    }

    const QStringList filters = QtFilters(save ? kSaveFilters : kOpenFilters);
    dialog.setNameFilters(filters);
    const int index = request.filterIndex;
    if (index >= 1 && index <= filters.size()) dialog.selectNameFilter(filters[index - 1]);

    const QString proposed = ToQString(request.fileName);
    const QFileInfo proposedInfo(proposed);
    if (proposed.contains(QLatin1Char('/')) && QDir::isAbsolutePath(proposed)) {
        dialog.setDirectory(proposedInfo.absolutePath());
        dialog.selectFile(proposedInfo.fileName());
    } else {
        dialog.setDirectory(lastFolder_);
        if (!proposed.isEmpty()) dialog.selectFile(proposed);
    }

    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(files.first()).absolutePath();
    return FileDialogAnswer{files.first().toStdString(),
                            IndexOf(dialog.selectedNameFilter(), filters, request.filterIndex)};
}

}  // namespace platform
