#include "platform/sim/SimFiles.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace pellmark::sim {

namespace {

bool IsBlank(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) noexcept {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameName(std::string_view a, std::string_view b) noexcept {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) ==
               std::toupper(static_cast<unsigned char>(y));
    });
}

// The value as GetPrivateProfileStringA hands it over: one pair of matching quotes
// taken off, cut to what a 255-character buffer holds.
std::string Delivered(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, 254));
}

}  // namespace

std::string SimFiles::ReadProfileString(const std::string& section, const std::string& key,
                                        const std::string& path) {
    const auto file = files.find(path);
    if (file == files.end()) {
        return {};
    }
    // Only the first section of that name is searched, and the first line of the key in it
    // counts.
    bool inSection = false;
    std::string_view rest = file->second;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos) {
                continue;
            }
            if (inSection) {
                return {};
            }
            inSection = SameName(line.substr(1, close - 1), section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (SameName(Trim(line.substr(0, equals)), key)) {
            return equals == std::string_view::npos ? std::string()
                                                    : Delivered(Trim(line.substr(equals + 1)));
        }
    }
    return {};
}

OsStatus SimFiles::ListFiles(const std::string& folder, const std::string& /*pattern*/,
                             std::vector<std::string>& names) {
    bool exists = folders.count(folder) != 0;
    for (const auto& [path, bytes] : files) {
        if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0) {
            exists = true;
            const std::string rest = path.substr(folder.size());
            if (rest.find('\\') == std::string::npos) {
                names.push_back(rest);
            }
        }
    }
    return exists ? OsStatus{} : OsStatus{3, "The system cannot find the path specified."};
}

OsStatus SimFiles::RemoveFile(const std::string& path) {
    if (undeletable.count(path) != 0) {
        return {32,
                "The process cannot access the file because it is being used by another "
                "process."};
    }
    return files.erase(path) != 0 ? OsStatus{}
                                  : OsStatus{2, "The system cannot find the file specified."};
}

OsStatus SimFiles::CreateFolder(const std::string& path) {
    if (!folderFailure.ok()) {
        return folderFailure;
    }
    std::string folder = path;
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    if (!folders.insert(folder).second) {
        return {183, "Cannot create a file when that file already exists."};
    }
    return {};
}

}  // namespace pellmark::sim
