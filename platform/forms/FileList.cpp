#include "platform/forms/FileList.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/RunTimeError.h"
#include "platform/TextCompare.h"

namespace pellmark::forms {

namespace {

std::vector<std::string> ReadFolder(platform::Files& files, const std::string& folder,
                                    const std::string& pattern) {
    std::vector<std::string> names;
    const OsStatus status = files.ListFiles(folder, pattern, names);
    if (!status.ok()) {
        throw RunTimeError(kPathNotFound, "Path not found");
    }
    std::erase_if(names, [&](const std::string& name) {
        return !platform::MatchesWildcardIgnoringCase(name, pattern);
    });
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return platform::LessIgnoringCase(a, b);
    });
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
