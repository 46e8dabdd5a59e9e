#include "platform/WildcardSearch.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace platform {
namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(WildcardSearchTest, MatchesOnlyStarAndQuestionMarkWithoutRegardToCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.DX7", "set1.dx7", true},
        {"*.DX7", "SET1.DX8", false},          // one character off
        {"*.DX7", "SET1.DX7.BAK", false},
        {"*.*", "MYLIBRARY", true},            // every file, also without extension
        {"*.*", "A.B.C", true},
        {"PIANO*.*", "piano1", true},
        {"PIANO*.*", "PIAN1", false},
        {"*", "", true},
        {"?", "", false},
        {"SET?.DX7", "SET1.DX7", true},
        {"SET?.DX7", "SET10.DX7", false},       // ? is exactly one character
        {"SET*.DX7", "SET.DX7", true},          // * may be empty
        {"[AB].DX7", "A.DX7", false},           // brackets are plain characters
        {"[AB].DX7", "[ab].dx7", true},
        {"a*b*c", "aXbYbZc", true},             // needs backtracking over the first star
        {"a*b*c", "aXbYbZ", false},
        {"*.", "NAME.", true},
        {"**********x", "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxy", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " / " << c.name;
}

TEST(WildcardSearchTest, NaturalOrderComparesNumbersByValueAndIgnoresCase) {
    struct Case {
        const char* a;
        const char* b;
        bool less;
    };
    const Case cases[] = {
        {"SET2", "SET10", true},
        {"SET10", "SET2", false},
        {"set2.dx7", "SET10.DX7", true},
        {"SET1.DX7", "SET1.DX8", true},
        {"Bass", "bells", true},               // case does not put capitals first
        {"bells", "BASS", false},
        {"A1", "A01", false},                  // equal value: the bytes decide, "A01" first
        {"A01", "A1", true},
        {"A", "a", true},                      // equal but for case: still a total order
        {"a", "A", false},
        {"SET", "SET1", true},
        {"X99999999999999999999", "X100000000000000000000", true},  // longer than any integer
        {"same", "same", false},
    };
    for (const Case& c : cases) EXPECT_EQ(NaturalLess(c.a, c.b), c.less) << c.a << " < " << c.b;
}

TEST(WildcardSearchTest, FindsOnlyVisibleRegularFilesInNaturalOrder) {
    TempDir dir;
    for (const char* name : {"SET10.DX7", "set2.dx7", "SET1.DX7", ".HIDDEN.DX7", "MYLIBRARY",
                             "notes.txt", "real.bin"})
        WriteBytes(dir / name, {1, 2, 3});
    std::filesystem::create_directory(dir / "FOLDER.DX7");
    ASSERT_EQ(mkfifo((dir / "PIPE.DX7").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir / "missing", dir / "BROKEN.DX7");
    std::filesystem::create_symlink(dir / "real.bin", dir / "LINK.DX7");

    EXPECT_EQ(FindFiles(dir.Path(), "*.DX7"),
              (std::vector<std::string>{"LINK.DX7", "SET1.DX7", "set2.dx7", "SET10.DX7"}));
    EXPECT_EQ(FindFiles(dir.Path(), "*.*"),
              (std::vector<std::string>{"LINK.DX7", "MYLIBRARY", "notes.txt", "real.bin",
                                        "SET1.DX7", "set2.dx7", "SET10.DX7"}));
    EXPECT_EQ(FindFiles(dir / "s*1*.dx7"),
              (std::vector<std::filesystem::path>{dir / "SET1.DX7", dir / "SET10.DX7"}));
    EXPECT_TRUE(FindFiles(dir / "no-such-folder" / "*.*").empty());
    EXPECT_TRUE(FindFiles(dir.Path(), "*.SYX").empty());
}

}  // namespace
}  // namespace platform
