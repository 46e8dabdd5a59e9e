#pragma once
// The options of "Import Collection...": the folder read, and whether to leave out exact
// doubles and to mark each top-level folder's voices. OK starts the import, Cancel or Esc
// changes nothing.

#include <QDialog>

#include <filesystem>
#include <optional>
#include <vector>

#include "librarian/CollectionImportCommands.h"

class QCheckBox;
class QLabel;

namespace librarian {

inline constexpr char kSkipKnownCaption[] = "Skip voices already in the library (exact doubles)";
inline constexpr char kSkipRepeatedCaption[] = "Skip voices repeated within the import";
inline constexpr char kFolderMarkersCaption[] = "Give each top-level folder's voices a marker named after it";

class TfrmImportOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmImportOptions(QWidget* parent = nullptr);

    // Shows the folders and the last choices, modally; the choices on OK, nothing on Cancel.
    std::optional<CollectionChoices> Ask(const std::vector<std::filesystem::path>& folders);

    // The dialog's state, read and set without showing it.
    CollectionChoices Choices() const;
    void SetChoices(const CollectionChoices& choices);
    void SetFolders(const std::vector<std::filesystem::path>& folders);

    QCheckBox* chkSkipKnown = nullptr;
    QCheckBox* chkSkipRepeated = nullptr;
    QCheckBox* chkFolderMarkers = nullptr;
    QLabel* labFolder = nullptr;
};

}  // namespace librarian
