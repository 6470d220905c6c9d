// The program's one icon in the notification area: the main window's icon with the
// application title as its tip. A left click shows or hides the main window, a right click
// opens the tray menu (see TrayRouting.h); the main window's unload removes it.
#pragma once

#include <string>
#include <string_view>

#include "platform/forms/Form.h"
#include "settings/AppInfo.h"

namespace pellmark {

// At most 63 characters (UTF-16 units, no character split), so the shell's 64-character
// field keeps its NUL.
[[nodiscard]] std::string TrayTip(std::string_view title);

class SysTrayIcon {
  public:
    // The icon belongs to `mainWindow`, which must outlive this object (it holds it).
    explicit SysTrayIcon(forms::Form& mainWindow) : form_(mainWindow) {}

    // Loaded from the setting LoadInSysTray at start-up; set by Minimize once it has added
    // the icon. Nothing clears it: after the first Minimize the icon stays for the run.
    [[nodiscard]] bool TrayIconShown() const noexcept { return shown_; }
    void SetTrayIconShown(bool shown) noexcept { shown_ = shown; }

    // The shell's result is not looked at: without a notification area there is no icon
    // and nothing to tell the user.
    void AddTrayIcon(std::string_view title = kAppTitle);
    // Nothing when no icon was added.
    void RemoveTrayIcon();
    // The icon's mouse events go to `handler` (see RouteTrayMouse).
    void OnMouse(std::function<void(forms::TrayMouse)> handler);

  private:
    forms::Form& form_;
    bool shown_ = false;
};

}  // namespace pellmark
