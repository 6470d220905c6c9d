#include "desktop/FolderRows.h"

#include <algorithm>

#include "platform/TextCompare.h"

namespace pellmark {

namespace {
constexpr int kIndent = 3;  // spaces per level

std::string Indented(std::string_view name, int depth) {
    std::string text(static_cast<std::size_t>(depth * kIndent), ' ');
    text.append(name);
    return text;
}
}  // namespace

std::string RootOf(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') {
        std::string root(path.substr(0, 2));
        root += '\\';
        return root;
    }
    if (path.substr(0, 2) == "\\\\") {
        // \\server\share\: the share is the root.
        const std::size_t server = path.find('\\', 2);
        if (server == std::string_view::npos) {
            return {};
        }
        const std::size_t share = path.find('\\', server + 1);
        std::string root(path.substr(0, share));
        root += '\\';
        return root;
    }
    return {};
}

std::string FolderPath(std::string_view path) {
    std::string folder(path);
    const std::string root = RootOf(path);
    while (folder.size() > root.size() && !folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    if (folder.size() < root.size()) {
        folder = root;
    }
    return folder;
}

std::vector<FolderRow> FolderRows(std::string_view path, std::vector<std::string> subFolders) {
    const std::string folder = FolderPath(path);
    const std::string root = RootOf(folder);
    std::vector<FolderRow> rows;
    if (folder.empty()) {
        return rows;
    }
    rows.push_back({root.empty() ? folder : root, root.empty() ? folder : root, 0});
    if (!root.empty()) {
        // Each part below the root, one row deeper than the one before.
        std::size_t start = root.size();
        while (start < folder.size()) {
            std::size_t end = folder.find('\\', start);
            if (end == std::string::npos) {
                end = folder.size();
            }
            if (end > start) {
                const int depth = static_cast<int>(rows.size());
                rows.push_back(
                    {folder.substr(0, end),
                     Indented(std::string_view(folder).substr(start, end - start), depth), depth});
            }
            start = end + 1;
        }
    }
    std::sort(subFolders.begin(), subFolders.end(), [](const std::string& a, const std::string& b) {
        return platform::LessIgnoringCase(a, b);
    });
    const int depth = static_cast<int>(rows.size());
    std::string base = folder;
    if (base.back() != '\\') {
        base.push_back('\\');
    }
    for (const std::string& name : subFolders) {
        rows.push_back({base + name, Indented(name, depth), depth});
    }
    return rows;
}

int OpenFolderRow(const std::vector<FolderRow>& rows, std::string_view path) {
    const std::string folder = FolderPath(path);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].path == folder) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace pellmark
