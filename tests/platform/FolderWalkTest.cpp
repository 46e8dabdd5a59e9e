// The folder walk of the collection import on a real tree: order, hidden names, links.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/FolderWalk.h"
#include "support/TempDir.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

TEST(FolderWalk, NaturalOrderTopFoldersHiddenNamesAndLinks) {
    testing_support::TempDir dir;
    for (const char* file : {"b10.syx", "B2.syx", "x/deep/one.syx", "x/a.syx", ".hidden/no.syx", "x/.dot.syx", "y/z.syx"}) {
        fs::create_directories((dir / file).parent_path());
        std::ofstream(dir / file) << "x";
    }
    fs::create_directory_symlink(dir / "x", dir / "y" / "again");    // the same folder twice
    fs::create_symlink(dir / "gone.syx", dir / "y" / "broken.syx");  // a link to nothing
    fs::create_symlink(dir / "b10.syx", dir / "y" / "linked.syx");   // a link to a file: read

    const auto name = [&](const fs::path& path) { return path.lexically_relative(dir.Path()).string(); };
    WalkResult walk = WalkFolders({dir.Path(), dir / "missing"}, true);
    std::vector<std::pair<std::string, std::string>> files;
    for (const WalkedFile& file : walk.files) files.emplace_back(name(file.path), file.topFolder);
    EXPECT_EQ(files, (std::vector<std::pair<std::string, std::string>>{
                         {"B2.syx", ""}, {"b10.syx", ""}, {"x/a.syx", "x"}, {"x/deep/one.syx", "x"},
                         {"y/linked.syx", "y"}, {"y/z.syx", "y"}}));
    std::vector<std::pair<std::string, std::string>> skipped;
    for (const SkippedEntry& entry : walk.skipped) skipped.emplace_back(name(entry.path), entry.reason);
    EXPECT_EQ(skipped, (std::vector<std::pair<std::string, std::string>>{
                           {"y/again", "a link to a folder already read: skipped"},
                           {"y/broken.syx", "a broken link"},
                           {"missing", "no such file or folder"}}));

    walk = WalkFolders({dir.Path()}, false);
    ASSERT_EQ(walk.files.size(), 2u);  // the folder's own files only
    EXPECT_TRUE(walk.skipped.empty());
}

}  // namespace
}  // namespace platform
