#include "platform/WildcardSearch.h"

#include <algorithm>
#include <system_error>

namespace platform {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Iterative match with one backtrack point for the last '*': linear in practice and never
// recursive, so a long pattern of stars can't exhaust the stack.
bool MatchPlain(std::string_view pattern, std::string_view name) {
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

// -1, 0 or 1 for a < b, a == b, a > b under the natural order without the byte tie-break.
int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Compare the digit runs by value: skip leading zeros, then the longer run is the
            // larger number, then the first differing digit decides.
            while (i < a.size() && a[i] == '0') ++i;
            while (j < b.size() && b[j] == '0') ++j;
            std::size_t endA = i, endB = j;
            while (endA < a.size() && IsDigit(a[endA])) ++endA;
            while (endB < b.size() && IsDigit(b[endB])) ++endB;
            const std::size_t lenA = endA - i, lenB = endB - j;
            if (lenA != lenB) return lenA < lenB ? -1 : 1;
            const int digits = a.substr(i, lenA).compare(b.substr(j, lenB));
            if (digits != 0) return digits < 0 ? -1 : 1;
            i = endA;
            j = endB;
            continue;
        }
        const unsigned char ca = static_cast<unsigned char>(Lower(a[i]));
        const unsigned char cb = static_cast<unsigned char>(Lower(b[j]));
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    if (MatchPlain(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
        // Without an extension the ".*" part has nothing to match: "PIANO*.*" takes "PIANO1".
        const std::string_view stem = pattern.substr(0, pattern.size() - 2);
        return name.find('.') == std::string_view::npos && MatchPlain(stem, name);
    }
    return false;
}

bool NaturalLess(std::string_view a, std::string_view b) {
    const int natural = NaturalCompare(a, b);
    if (natural != 0) return natural < 0;
    return a < b;
}

std::vector<std::string> FindFiles(const std::filesystem::path& folder, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? std::filesystem::path(".") : folder, ec);
    if (ec) return names;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        if (!WildcardMatch(pattern, name)) continue;
        // is_regular_file follows links: a link to a bank file counts, a broken one does not.
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || typeError) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NaturalLess(a, b); });
    return names;
}

std::vector<std::filesystem::path> FindFiles(const std::filesystem::path& folderAndPattern) {
    const std::filesystem::path folder = folderAndPattern.parent_path();
    std::vector<std::filesystem::path> paths;
    for (const std::string& name : FindFiles(folder, folderAndPattern.filename().string()))
        paths.push_back(folder / name);
    return paths;
}

}  // namespace platform
