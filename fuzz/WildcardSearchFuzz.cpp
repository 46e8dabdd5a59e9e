// The wildcard file search: the pattern match against a plain dynamic-programming matcher,
// the natural order as a strict total order (never both ways, never neither for different
// names, transitive), and FindFiles on a fixed folder against the names the plain matcher
// picks from it, in that order.
//
// Input: pattern, name and a third name, separated by zero bytes.

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/WildcardSearch.h"

namespace {

char Folded(char c) { return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c; }

// match[i][j]: the first i pattern characters match the first j name characters.
bool PlainMatch(std::string_view pattern, std::string_view name) {
    std::vector<std::vector<char>> match(pattern.size() + 1, std::vector<char>(name.size() + 1, 0));
    match[0][0] = 1;
    for (std::size_t i = 1; i <= pattern.size(); ++i) {
        const char p = pattern[i - 1];
        match[i][0] = p == '*' && match[i - 1][0];
        for (std::size_t j = 1; j <= name.size(); ++j) {
            if (p == '*')
                match[i][j] = match[i - 1][j] || match[i][j - 1];
            else
                match[i][j] = (p == '?' || Folded(p) == Folded(name[j - 1])) && match[i - 1][j - 1];
        }
    }
    return match[pattern.size()][name.size()];
}

// A final ".*" also stands for no extension at all.
bool ExpectedMatch(std::string_view pattern, std::string_view name) {
    if (PlainMatch(pattern, name)) return true;
    return pattern.ends_with(".*") && name.find('.') == std::string_view::npos &&
           PlainMatch(pattern.substr(0, pattern.size() - 2), name);
}

// The folder FindFiles searches: files whose names differ in case, numbers and extensions,
// and entries it must never list.
const std::array<std::string, 14> kFileNames = {
    "SET1.DX7", "set10.dx7", "SET2.DX7", "SET02.DX7", "Set2.dx7", "PIANO1",  "PIANO.DXL",
    "a.b.c",    "BRASS 1.SYX", "brass 01.syx", "x",     "NOEXT.", "[AB].DX7", "9.SYX"};

const fuzz::ScratchFolder& Folder() {
    static const fuzz::ScratchFolder folder;
    return folder;
}

void MakeFolder() {
    const fuzz::ScratchFolder& folder = Folder();
    for (const std::string& name : kFileNames) folder.Write(name, {});
    folder.Write(".HIDDEN.DX7", {});
    std::filesystem::create_directory(folder / "FOLDER.DX7");
    std::filesystem::create_symlink(folder / "GONE.DX7", folder / "BROKEN.DX7");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::array<std::string_view, 3> parts;
    std::size_t from = 0;
    for (std::size_t k = 0; k < parts.size() && from <= input.size(); ++k) {
        const std::size_t zero = k + 1 < parts.size() ? input.find('\0', from) : std::string_view::npos;
        const std::size_t end = zero == std::string_view::npos ? input.size() : zero;
        parts[k] = input.substr(from, end - from);
        from = end + 1;
    }
    const std::string_view pattern = parts[0];

    for (const std::string_view name : parts)
        FUZZ_CHECK(platform::WildcardMatch(pattern, name) == ExpectedMatch(pattern, name));

    for (const std::string_view a : parts) {
        FUZZ_CHECK(!platform::NaturalLess(a, a));
        for (const std::string_view b : parts) {
            const bool ab = platform::NaturalLess(a, b), ba = platform::NaturalLess(b, a);
            FUZZ_CHECK(!(ab && ba));
            FUZZ_CHECK(ab || ba || a == b);
            for (const std::string_view c : parts)
                if (ab && platform::NaturalLess(b, c)) FUZZ_CHECK(platform::NaturalLess(a, c));
        }
    }

    // A pattern with a folder part or a zero byte is no file name pattern.
    if (pattern.find('/') != std::string_view::npos || pattern.find('\0') != std::string_view::npos)
        return 0;
    std::vector<std::string> expected;
    for (const std::string& name : kFileNames)
        if (ExpectedMatch(pattern, name)) expected.push_back(name);
    const std::vector<std::string> found = platform::FindFiles(Folder() / "", pattern);
    std::vector<std::string> sortedFound = found;
    std::sort(sortedFound.begin(), sortedFound.end());
    std::sort(expected.begin(), expected.end());
    FUZZ_CHECK(sortedFound == expected);
    for (std::size_t i = 1; i < found.size(); ++i) FUZZ_CHECK(platform::NaturalLess(found[i - 1], found[i]));
    if (!pattern.empty()) {
        const std::vector<std::filesystem::path> paths = platform::FindFiles(Folder() / std::string(pattern));
        FUZZ_CHECK(paths.size() == found.size());
        for (std::size_t i = 0; i < paths.size(); ++i) FUZZ_CHECK(paths[i].filename() == found[i]);
    }
    return 0;
}
