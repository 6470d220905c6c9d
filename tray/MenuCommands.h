// What the items of the menu form do: the main menu, the tray menu and its pattern
// submenu. The main window owns one and hands it what the commands act on.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/Desktop.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "platform/forms/FileList.h"
#include "platform/forms/Form.h"
#include "tray/frmMenus.h"

namespace pellmark {

inline constexpr std::uint8_t kKeyLeftWindows = 0x5B;
inline constexpr std::uint8_t kKeyM = 0x4D;
inline constexpr std::uint8_t kKeyD = 0x44;

// The parts of the program the commands act on.
struct MenuCommandContext {
    platform::System& system;
    platform::Dialogs& dialogs;
    platform::Desktop& desktop;
    platform::Files& files;
    std::string programFolder;  // as Windows gives it
    forms::Form& mainWindow;
    // The window of a form, for the one command that is a message to a window.
    std::function<WindowHandle(forms::Form&)> windowOf;
    std::function<void()> showAboutBox;
    // Shows the options dialog modeless; none: its items stay greyed.
    std::function<void()> showOptions;
    // Restores the pattern of that name silently.
    std::function<void(const std::string& name)> restorePattern;
    // Puts the program's icon in the notification area unless it is there already.
    std::function<void()> showTrayIcon;
    // Locks or unlocks the icons' places and keeps the choice; none: the item is greyed.
    std::function<void(bool locked)> lockIcons;
};

// The keys that minimise every window (Windows+M) and that bring them back (Windows+D):
// the letter gets no key-up, as it never has.
[[nodiscard]] std::array<platform::KeyStroke, 3> WindowsKeyChord(std::uint8_t letter) noexcept;

class MenuCommands {
  public:
    // Wires every item of `menus`; the items are unwired again when this goes.
    MenuCommands(frmMenus& menus, MenuCommandContext context);
    ~MenuCommands();
    MenuCommands(const MenuCommands&) = delete;
    MenuCommands& operator=(const MenuCommands&) = delete;

    // The main menu with its top-left corner at `at` in the main window.
    void ShowMainMenu(forms::MenuPoint at);
    // The tray menu at the cursor, its pattern submenu read from the folder as it is now.
    void ShowTrayMenu();
    // The pattern submenu: one item per saved pattern, in the order of the pattern list.
    void RefreshPatternItems();

    void Minimize();
    void Help();
    void Exit();
    void MinimizeAllWindows();
    void RestoreAllWindows();
    void ShowDesktop();
    void LockIcons();
    void SetScreenSaverActive(bool active);
    void ShowScreenSaver();
    void VisitHomepage();
    void Email();

  private:
    void Wire(forms::MenuItem& item, void (MenuCommands::*command)());

    frmMenus& menus_;
    MenuCommandContext context_;
    forms::FileList patternFiles_;
};

}  // namespace pellmark
