// What the program needs from the Windows shell to put itself on the Desktop and in the
// Start Menu: the user's folders, the logon name and shortcut files.
#pragma once

#include <optional>
#include <string>

#include "platform/Types.h"

namespace pellmark::platform {

enum class ShellFolder {
    Desktop,   // the user's Desktop folder
    Programs,  // the user's Start Menu\Programs folder
};

// What a shortcut file points at.
struct ShortcutTarget {
    std::string target;         // the file it starts
    std::string workingFolder;  // where that file starts in
    friend bool operator==(const ShortcutTarget&, const ShortcutTarget&) = default;
};

class Shell {
  public:
    virtual ~Shell() = default;
    // The name of the user logged on, every character the system counted, so a failed
    // call shows as an empty name or one holding NULs.
    virtual std::string LogonUserName() = 0;
    // The Windows folder, without a trailing backslash.
    virtual std::string WindowsFolder() = 0;
    // The folder as the shell keeps it for this user, without a trailing backslash; nothing
    // where the shell cannot say (an old shell, or no such folder).
    virtual std::optional<std::string> UserFolder(ShellFolder folder) = 0;
    // Writes a shortcut file at `linkPath` (replacing one that is there) that starts
    // `target` in `workingFolder`.
    [[nodiscard]] virtual OsStatus CreateShortcut(const std::string& linkPath,
                                                  const std::string& target,
                                                  const std::string& workingFolder) = 0;
    // What the shortcut file points at; nothing when it cannot be read as one.
    virtual std::optional<ShortcutTarget> ReadShortcut(const std::string& linkPath) = 0;
};

}  // namespace pellmark::platform
