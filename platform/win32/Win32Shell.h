// The user's folders and shortcut files through the shell: shell32 is loaded the first
// time a folder is asked for, COM only while a shortcut is made or read.
#pragma once

#include <optional>
#include <string>

#include "platform/Shell.h"

namespace pellmark::win32 {

class Win32Shell final : public platform::Shell {
  public:
    // The wide calls on the NT family, the ANSI ones on 95/98/Me; tests may choose either
    // on any system.
    Win32Shell();
    explicit Win32Shell(bool wideCalls) noexcept : wideCalls_(wideCalls) {}

    std::string LogonUserName() override;
    std::string WindowsFolder() override;
    std::optional<std::string> UserFolder(platform::ShellFolder folder) override;
    OsStatus CreateShortcut(const std::string& linkPath, const std::string& target,
                            const std::string& workingFolder) override;
    std::optional<platform::ShortcutTarget> ReadShortcut(const std::string& linkPath) override;

  private:
    bool wideCalls_;
};

}  // namespace pellmark::win32
