// The wallpaper system in memory, over the in-memory files: folders are SimFiles' folders
// and the folders its files lie in; what the wallpaper was told is recorded.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/WallpaperSystem.h"
#include "platform/sim/SimFiles.h"

namespace pellmark::sim {

class SimWallpaper final : public platform::WallpaperSystem {
  public:
    explicit SimWallpaper(SimFiles& files) : files_(files) {}

    void SetDesktopWallpaper(const std::string& path) override {
        log.push_back("set " + path);
        wallpaper = path;
    }
    void RemoveDesktopWallpaper() override {
        log.emplace_back("remove");
        wallpaper.clear();
    }
    std::vector<std::string> Drives() override { return drives; }
    OsStatus ListFolders(const std::string& folder, std::vector<std::string>& names) override;
    std::optional<std::uint64_t> FileSize(const std::string& path) override {
        const auto found = files_.files.find(path);
        if (found == files_.files.end()) {
            return std::nullopt;
        }
        return sizes.count(path) != 0 ? sizes.at(path) : found->second.size();
    }
    std::string GroupSeparator() override { return separator; }
    std::pair<int, int> VirtualScreenSize() override { return screen; }

    std::vector<std::string> drives{"a:\\", "c:\\"};
    std::string separator = ",";
    std::pair<int, int> screen{1024, 768};
    std::map<std::string, std::uint64_t> sizes;  // sizes that differ from the bytes held
    std::string wallpaper;                       // the file last set; empty: none
    std::vector<std::string> log;                // "set <path>", "remove"

  private:
    SimFiles& files_;
};

}  // namespace pellmark::sim
