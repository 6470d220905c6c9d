// The program on the user's Desktop and in the Start Menu: where those folders are, and
// the shortcut files named after the program there.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Shell.h"

namespace pellmark {

inline constexpr const char* kShortcutExtension = ".lnk";

// The program file `programName` (without its extension) in `programFolder`, as shortcuts
// and the Run key name it.
[[nodiscard]] std::string ProgramPath(const std::string& programFolder,
                                      const std::string& programName);

class Shortcuts {
  public:
    // `programFolder` holds the program file `programName` (without its extension).
    Shortcuts(platform::Shell& shell, platform::Files& files, platform::Dialogs& dialogs,
              std::string programFolder, std::string programName);

    // The logon name, asked of the system until it once gives a name.
    [[nodiscard]] const std::string& GetLogonUserName();
    // Each ends with a backslash.
    [[nodiscard]] std::string GetWindowsFolder();
    // Where the shell says; where it cannot, the profile folder of the logon user under the
    // Windows folder, or the Windows folder's own without a user.
    [[nodiscard]] std::string GetDesktopFolder();
    [[nodiscard]] std::string GetProgramsFolder();

    [[nodiscard]] std::string ProgramPath() const {
        return pellmark::ProgramPath(programFolder_, programName_);
    }
    // The shortcut files, as the options dialog tests them.
    [[nodiscard]] std::string DesktopShortcutPath();
    [[nodiscard]] std::string StartMenuShortcutPath();
    // A file counts as there when it can be opened for reading.
    [[nodiscard]] bool DesktopShortcutExists();
    [[nodiscard]] bool StartMenuShortcutExists();

    // A shortcut `linkPath` to `target`, started in the target's folder. A failure is told
    // in a message and gives false.
    bool CreateShortcut(const std::string& linkPath, const std::string& target);
    bool CreateStartMenuShortcut();
    bool CreateDesktopShortcut();
    // A shortcut that is not there, or will not go, is left without a word.
    void DeleteDesktopShortcut();
    void DeleteStartMenuShortcut();

  private:
    [[nodiscard]] std::string UserFolder(platform::ShellFolder folder, const char* profilePart);

    platform::Shell& shell_;
    platform::Files& files_;
    platform::Dialogs& dialogs_;
    std::string programFolder_;
    std::string programName_;
    std::string userName_;
};

}  // namespace pellmark
