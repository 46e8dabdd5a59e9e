#include "platform/FolderWalk.h"

#include <algorithm>
#include <set>

#include "platform/WildcardSearch.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class Walker {
public:
    Walker(bool recursive, WalkResult& result) : recursive_(recursive), result_(result) {}

    void Root(const fs::path& root) {
        std::error_code ec;
        const fs::file_status status = fs::status(root, ec);
        if (ec || !fs::exists(status)) {
            Skip(root, fs::is_symlink(fs::symlink_status(root, ec)) ? "a broken link"
                                                                    : "no such file or folder");
            return;
        }
        if (fs::is_directory(status)) {
            Folder(root, "", true);
            return;
        }
        if (!fs::is_regular_file(status)) {
            Skip(root, "not a regular file");
            return;
        }
        result_.files.push_back({root, ""});
    }

private:
    void Skip(const fs::path& path, std::string reason) {
        result_.skipped.push_back({path, std::move(reason)});
    }

    // `top` is the top-level sub-folder the walk is in; empty in the root itself.
    void Folder(const fs::path& folder, const std::string& top, bool root) {
        std::error_code ec;
        // A folder reached again (a link to itself or to an ancestor, or a second link to the
        // same folder) is read once: the walk would otherwise never end.
        const fs::path real = fs::canonical(folder, ec);
        if (ec) {
            Skip(folder, "cannot be read");
            return;
        }
        if (!visited_.insert(real).second) {
            Skip(folder, "a link to a folder already read: skipped");
            return;
        }
        std::vector<fs::directory_entry> entries;
        fs::directory_iterator it(folder, ec);
        if (ec) {
            Skip(folder, "cannot be read");
            return;
        }
        for (const fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) {
                Skip(folder, "cannot be read to the end");
                break;
            }
            const std::string name = it->path().filename().string();
            if (!name.empty() && name.front() != '.') entries.push_back(*it);
        }
        std::sort(entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
            return NaturalLess(a.path().filename().string(), b.path().filename().string());
        });
        for (const fs::directory_entry& entry : entries) {
            std::error_code typeError;
            // Follows links: a link to a voice file is read like the file.
            const fs::file_status status = entry.status(typeError);
            if (typeError || !fs::exists(status)) {
                Skip(entry.path(), fs::is_symlink(entry.symlink_status(typeError)) ? "a broken link"
                                                                                   : "cannot be read");
            } else if (fs::is_directory(status)) {
                if (recursive_) Folder(entry.path(), root ? entry.path().filename().string() : top, false);
            } else if (fs::is_regular_file(status)) {
                result_.files.push_back({entry.path(), top});
            } else {
                Skip(entry.path(), "not a regular file");
            }
        }
    }

    bool recursive_;
    WalkResult& result_;
    std::set<fs::path> visited_;
};

}  // namespace

WalkResult WalkFolders(const std::vector<std::filesystem::path>& roots, bool recursive) {
    WalkResult result;
    Walker walker(recursive, result);
    for (const std::filesystem::path& root : roots) walker.Root(root);
    return result;
}

}  // namespace platform
