#include "platform/forms/FileList.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

#include "platform/RunTimeError.h"

namespace pellmark::forms {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

// "*" and "?" against the whole long name, without regard to case. Windows also matches a
// pattern against short names ("a.ipsx" is "A~1.IPS"); such files are not the list's.
bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern.empty()) {
        return name.empty();
    }
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (MatchesPattern(name.substr(skip), pattern.substr(1))) {
                return true;
            }
        }
        return false;
    }
    if (name.empty() || (pattern.front() != '?' && Lower(pattern.front()) != Lower(name.front()))) {
        return false;
    }
    return MatchesPattern(name.substr(1), pattern.substr(1));
}

std::vector<std::string> ReadFolder(platform::Files& files, const std::string& folder,
                                    const std::string& pattern) {
    std::vector<std::string> names;
    const OsStatus status = files.ListFiles(folder, pattern, names);
    if (!status.ok()) {
        throw RunTimeError(kPathNotFound, "Path not found");
    }
    std::erase_if(names, [&](const std::string& name) { return !MatchesPattern(name, pattern); });
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    return names;
}

}  // namespace

void FileList::SetPath(std::string folder) {
    names_ = ReadFolder(files_, folder, pattern_);
    path_ = std::move(folder);
}

void FileList::SetPattern(std::string pattern) {
    pattern_ = std::move(pattern);
    if (!path_.empty()) {
        Refresh();
    }
}

void FileList::Refresh() {
    names_ = ReadFolder(files_, path_, pattern_);
}

}  // namespace pellmark::forms
