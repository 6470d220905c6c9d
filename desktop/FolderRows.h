// The rows of a folder list: the folders from the drive's root down to the open folder,
// then the open folder's sub-folders, each row one step deeper than its parent.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellmark {

struct FolderRow {
    std::string path;  // the folder's full path, without a trailing backslash but for a root
    std::string text;  // what the list shows: the name, indented by its depth
    int depth = 0;
    friend bool operator==(const FolderRow&, const FolderRow&) = default;
};

// "c:\" for "c:\a\b", "\\server\share\" for "\\server\share\a"; empty when the path has
// no root.
[[nodiscard]] std::string RootOf(std::string_view path);
// The path as a folder list keeps it: no trailing backslash except on a root ("c:\").
[[nodiscard]] std::string FolderPath(std::string_view path);
// The rows for the open folder `path` and its sub-folders (sorted without regard to case).
[[nodiscard]] std::vector<FolderRow> FolderRows(std::string_view path,
                                                std::vector<std::string> subFolders);
// The row of the open folder among the rows.
[[nodiscard]] int OpenFolderRow(const std::vector<FolderRow>& rows, std::string_view path);

}  // namespace pellmark
