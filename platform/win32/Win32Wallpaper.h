// The desktop wallpaper and the drives, folders and file sizes the picker browses, on
// Windows.
#pragma once

#include <string>

#include "platform/WallpaperSystem.h"

namespace pellmark::win32 {

class Win32Wallpaper final : public platform::WallpaperSystem {
  public:
    void SetDesktopWallpaper(const std::string& path) override;
    void RemoveDesktopWallpaper() override;
    std::vector<std::string> Drives() override;
    OsStatus ListFolders(const std::string& folder, std::vector<std::string>& names) override;
    std::optional<std::uint64_t> FileSize(const std::string& path) override;
    std::string GroupSeparator() override;
    std::pair<int, int> VirtualScreenSize() override;

    // The wallpaper file the system has now; empty for none.
    [[nodiscard]] static std::string CurrentWallpaper();
};

}  // namespace pellmark::win32
