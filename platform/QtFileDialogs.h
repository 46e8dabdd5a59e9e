#pragma once
// The file dialogs shown as the program's own Qt dialog rather than the desktop's: only that
// one hands a typed pattern such as "*.DX7" back unchanged, and it looks the same everywhere.

#include <QString>

#include "platform/FileDialogs.h"

namespace platform {

class QtFileDialogs final : public FileDialogs {
public:
    // The first dialog opens in the current directory.
    QtFileDialogs();

    // Opens in the folder of the last accepted dialog (of either kind). A name whose folder
    // does not exist, or (open with validation) a file that does not exist, is refused with a
    // warning box and the dialog stays open.
    std::optional<FileDialogAnswer> Run(const FileDialogRequest& request) override;

    const QString& LastFolder() const { return lastFolder_; }

private:
    QString lastFolder_;
};

}  // namespace platform
