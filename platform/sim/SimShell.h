// A shell whose user and folders the tests choose; shortcuts are files of the in-memory
// file system, so the program finds and removes them as it does on disk.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Shell.h"
#include "platform/sim/SimFiles.h"

namespace pellmark::sim {

class SimShell final : public platform::Shell {
  public:
    explicit SimShell(SimFiles& files) : files_(files) {}

    std::string userName = "Ada";
    std::string windowsFolder = "C:\\WINDOWS";
    // Missing entries: the shell cannot say where that folder is.
    std::map<platform::ShellFolder, std::string> userFolders{
        {platform::ShellFolder::Desktop, "C:\\Users\\Ada\\Desktop"},
        {platform::ShellFolder::Programs,
         "C:\\Users\\Ada\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"}};
    OsStatus shortcutFailure;  // a non-zero code: no shortcut can be made
    int userNameReads = 0;

    std::string LogonUserName() override {
        ++userNameReads;
        return userName;
    }
    std::string WindowsFolder() override { return windowsFolder; }
    std::optional<std::string> UserFolder(platform::ShellFolder folder) override {
        const auto found = userFolders.find(folder);
        if (found == userFolders.end()) {
            return std::nullopt;
        }
        return found->second;
    }
    OsStatus CreateShortcut(const std::string& linkPath, const std::string& target,
                            const std::string& workingFolder) override {
        if (!shortcutFailure.ok()) {
            return shortcutFailure;
        }
        files_.files[linkPath] = std::string(kMark) + target + '\n' + workingFolder;
        return {};
    }
    std::optional<platform::ShortcutTarget> ReadShortcut(const std::string& linkPath) override {
        const auto found = files_.files.find(linkPath);
        const std::string mark(kMark);
        if (found == files_.files.end() || found->second.rfind(mark, 0) != 0) {
            return std::nullopt;
        }
        const std::string body = found->second.substr(mark.size());
        const std::size_t split = body.find('\n');
        return platform::ShortcutTarget{body.substr(0, split),
                                        split == std::string::npos ? "" : body.substr(split + 1)};
    }

  private:
    static constexpr const char* kMark = "shortcut\n";
    SimFiles& files_;
};

}  // namespace pellmark::sim
