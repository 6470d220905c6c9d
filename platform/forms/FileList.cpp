#include "platform/forms/FileList.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/RunTimeError.h"
#include "platform/TextCompare.h"

namespace pellmark::forms {

namespace {

// "*.bmp;*.jpg" is two patterns; a name that matches both is listed once.
std::vector<std::string_view> SplitPatterns(std::string_view pattern) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= pattern.size();) {
        const std::size_t end = std::min(pattern.find(';', start), pattern.size());
        if (end > start) {
            parts.push_back(pattern.substr(start, end - start));
        }
        start = end + 1;
    }
    if (parts.empty()) {
        parts.push_back(pattern);
    }
    return parts;
}

std::vector<std::string> ReadFolder(platform::Files& files, const std::string& folder,
                                    const std::string& pattern) {
    std::vector<std::string> names;
    const std::vector<std::string_view> patterns = SplitPatterns(pattern);
    for (const std::string_view part : patterns) {
        const OsStatus status = files.ListFiles(folder, std::string(part), names);
        if (!status.ok()) {
            throw RunTimeError(kPathNotFound, "Path not found");
        }
    }
    std::erase_if(names, [&](const std::string& name) {
        return std::none_of(patterns.begin(), patterns.end(), [&](std::string_view part) {
            return platform::MatchesWildcardIgnoringCase(name, part);
        });
    });
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return platform::LessIgnoringCase(a, b);
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
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
