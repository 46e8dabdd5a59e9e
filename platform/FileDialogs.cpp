#include "platform/FileDialogs.h"

namespace platform {
namespace {

// Used when no window system is there (command-line tools): nothing is ever chosen.
class CancelledDialogs final : public FileDialogs {
public:
    std::optional<FileDialogAnswer> Run(const FileDialogRequest&) override { return std::nullopt; }
};

CancelledDialogs fallbackDialogs;
FileDialogs* currentDialogs = &fallbackDialogs;

std::optional<std::string> PathOf(FileDialogKind kind, std::string_view fileName, int filterIndex,
                                  bool validate) {
    auto answer = Dialogs().Run({kind, std::string(fileName), filterIndex, validate});
    if (!answer) return std::nullopt;
    return std::move(answer->path);
}

}  // namespace

std::vector<FileFilter> ParseFilters(std::string_view list) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t bar = list.find('|', start);
        parts.push_back(list.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    std::vector<FileFilter> filters;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2)
        filters.push_back({std::string(parts[i]), std::string(parts[i + 1])});
    return filters;
}

FileDialogs& Dialogs() { return *currentDialogs; }

void SetDialogs(FileDialogs* dialogs) { currentDialogs = dialogs ? dialogs : &fallbackDialogs; }

std::optional<std::string> AskOpenPath(std::string_view fileName, int filterIndex, bool validate) {
    return PathOf(FileDialogKind::Open, fileName, filterIndex, validate);
}

std::optional<std::string> AskSavePath(std::string_view fileName, int filterIndex, bool validate) {
    return PathOf(FileDialogKind::Save, fileName, filterIndex, validate);
}

std::optional<std::string> AskFolderPath() { return PathOf(FileDialogKind::Folder, "", 0, true); }

RecordingDialogs::RecordingDialogs() : previous_(&Dialogs()) { SetDialogs(this); }

RecordingDialogs::~RecordingDialogs() { SetDialogs(previous_ == this ? nullptr : previous_); }

std::optional<FileDialogAnswer> RecordingDialogs::Run(const FileDialogRequest& request) {
    shown_.push_back(request);
    if (answers_.empty()) return std::nullopt;
    std::optional<std::string> path = std::move(answers_.front());
    answers_.pop_front();
    if (!path) return std::nullopt;
    return FileDialogAnswer{std::move(*path), request.filterIndex};
}

}  // namespace platform
