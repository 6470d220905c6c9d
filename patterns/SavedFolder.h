// Where pattern files live: "SavedPositions\" beside the program.
#pragma once

#include <string>
#include <string_view>

namespace pellmark {

// The program folder with one trailing backslash added when it has none, then
// "SavedPositions\".
[[nodiscard]] inline std::string SavedFolderFor(std::string_view programFolder) {
    std::string folder(programFolder);
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    folder += "SavedPositions\\";
    return folder;
}

// The file of the pattern called `name`.
[[nodiscard]] inline std::string PatternPath(std::string_view savedFolder, std::string_view name) {
    std::string path(savedFolder);
    path += name;
    path += ".ips";
    return path;
}

}  // namespace pellmark
