#pragma once
// The open and save file dialogs as the windows see them. The program installs an implementation
// that shows the program's own Qt dialog (platform/QtFileDialogs.h); tests install
// RecordingDialogs so nothing blocks.

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The filter lists, as "description|pattern|description|pattern…". Index 1 is the bank filter,
// 2 the library filter, 3 all files, 4 backups, 5 system-exclusive files.
inline constexpr std::string_view kOpenFilters =
    "Voices Bank (*.DX7) |*.DX7|Library (*.DXL)|*.DXL|All Files (*.*)|*.*|"
    "Backup Files (*.bak)|*.BAK|Sysex Files (*.SYX)|*.SYX";
inline constexpr std::string_view kSaveFilters =
    "Voices Bank (*.DX7) |*.DX7|Library (*.DXL)|*.DXL|All Files (*.*)|*.*|"
    "Backup Files (*.BAK)|*.BAK|Sysex Files (*.SYX)|*.SYX";

inline constexpr int kBankFilter = 1;
inline constexpr int kLibraryFilter = 2;
inline constexpr int kSysexFilter = 5;

struct FileFilter {
    std::string description;
    std::string pattern;
    bool operator==(const FileFilter&) const = default;
};

// The pairs of a filter list in their order; a trailing description without pattern is dropped.
std::vector<FileFilter> ParseFilters(std::string_view list);

// Folder: an existing folder is chosen (the folder of a collection to import).
enum class FileDialogKind { Open, Save, Folder };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    // Proposed file name, shown in the name field (a bank name, or a pattern such as "*.DX7").
    std::string fileName;
    // 1-based index into the kind's filter list, selected when the dialog opens.
    int filterIndex = kBankFilter;
    // On: an open dialog accepts only an existing file. Off: the name comes back as typed, so
    // a pattern like PIANO*.DX7 reaches the caller. Either way the folder must exist, and a
    // save never asks before replacing a file (the save keeps a backup instead).
    bool validate = true;
    bool operator==(const FileDialogRequest&) const = default;
};

struct FileDialogAnswer {
    std::string path;     // absolute path as chosen or typed
    int filterIndex = 1;  // the filter selected when the dialog was closed
    bool operator==(const FileDialogAnswer&) const = default;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Shows a modal dialog; nothing when the user cancels.
    virtual std::optional<FileDialogAnswer> Run(const FileDialogRequest& request) = 0;
};

// The implementation in use. Until one is installed every dialog counts as cancelled.
FileDialogs& Dialogs();
// Installs an implementation (not owned); nullptr restores the fallback.
void SetDialogs(FileDialogs* dialogs);

// Shorthands: the chosen path, or nothing when cancelled.
std::optional<std::string> AskOpenPath(std::string_view fileName, int filterIndex,
                                       bool validate = true);
std::optional<std::string> AskSavePath(std::string_view fileName, int filterIndex,
                                       bool validate = true);
// An existing folder, or nothing when cancelled.
std::optional<std::string> AskFolderPath();

// Records every dialog instead of showing it and answers from a queue; an empty queue answers
// like a cancel. Installs itself for its lifetime.
class RecordingDialogs final : public FileDialogs {
public:
    RecordingDialogs();
    ~RecordingDialogs() override;
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    std::optional<FileDialogAnswer> Run(const FileDialogRequest& request) override;

    // The next dialog returns `path` (with the request's filter index); nullopt: it is cancelled.
    void Answer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
    const std::vector<FileDialogRequest>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); answers_.clear(); }

private:
    FileDialogs* previous_;
    std::vector<FileDialogRequest> shown_;
    std::deque<std::optional<std::string>> answers_;
};

}  // namespace platform
