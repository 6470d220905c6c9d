#include "platform/sim/SimWallpaper.h"

namespace pellmark::sim {

OsStatus SimWallpaper::ListFolders(const std::string& folder, std::vector<std::string>& names) {
    // Every path under the folder names a sub-folder by its first part before a backslash.
    std::set<std::string> found;
    bool exists = files_.folders.count(folder) != 0;
    const auto take = [&](const std::string& path, bool isFolder) {
        if (path.size() <= folder.size() || path.compare(0, folder.size(), folder) != 0) {
            return;
        }
        exists = true;
        const std::string rest = path.substr(folder.size());
        const std::size_t slash = rest.find('\\');
        if (slash != std::string::npos && (slash + 1 < rest.size() || isFolder)) {
            found.insert(rest.substr(0, slash));
        }
    };
    for (const std::string& path : files_.folders) {
        take(path, true);
    }
    for (const auto& [path, bytes] : files_.files) {
        take(path, false);
    }
    if (!exists) {
        return {3, "The system cannot find the path specified."};
    }
    names.insert(names.end(), found.begin(), found.end());
    return {};
}

}  // namespace pellmark::sim
