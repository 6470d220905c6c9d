// What the wallpaper picker needs of the system beyond files and the registry: the desktop
// wallpaper itself, the drives and folders to browse, a file's size and the user's digit
// grouping. Paths are UTF-8 text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Types.h"

namespace pellmark::platform {

class WallpaperSystem {
  public:
    virtual ~WallpaperSystem() = default;
    // Makes the bitmap file the desktop's wallpaper, kept in the user's profile and
    // announced to every window; whether the system took it is not examined.
    virtual void SetDesktopWallpaper(const std::string& path) = 0;
    // The desktop without a wallpaper, kept and announced the same way.
    virtual void RemoveDesktopWallpaper() = 0;
    // The root folders of the drives there are, "c:\" and so on, in letter order.
    [[nodiscard]] virtual std::vector<std::string> Drives() = 0;
    // The names of the folders in `folder` (ending with a backslash), "." and ".." left
    // out, in no particular order; a folder that cannot be read gives its error.
    virtual OsStatus ListFolders(const std::string& folder, std::vector<std::string>& names) = 0;
    // The size of a file in bytes; none when it is missing or is a folder.
    [[nodiscard]] virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
    // The user's thousands separator (",", ".", a space ...).
    [[nodiscard]] virtual std::string GroupSeparator() = 0;
    // The width and height in pixels of all the monitors together.
    [[nodiscard]] virtual std::pair<int, int> VirtualScreenSize() = 0;
};

}  // namespace pellmark::platform
