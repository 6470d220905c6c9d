// Pops up one of the program's own menus (the menu form's, owner-drawn with its pictures,
// with three saved patterns in the tray menu's submenu) for screenshots
// (tools/skins/screenshots.sh):
//     menu_shot.exe mnuMain|mnuSysTrayIcon|mnuSaveList [SECONDS]
// The menu opens near the top left of the screen at the screen's DPI, its second item
// selected and the pattern submenu shut; it closes by itself after SECONDS (default 4).
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/forms/Form.h"
#include "platform/win32/Win32Forms.h"
#include "tray/frmMenus.h"

namespace {

using namespace pellmark;

// The menu's own window: the shown one of its class on this thread.
BOOL CALLBACK FindShownMenu(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (::lstrcmpW(name, L"#32768") == 0 && ::IsWindowVisible(window) != FALSE) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Moves the selection to the second item as a user's arrow keys would, once the menu
// shows; checked again until it took, since the menu may not take keys at once.
void CALLBACK Select(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), &FindShownMenu, reinterpret_cast<LPARAM>(&menu));
    const auto items = menu != nullptr
                           ? reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0))
                           : nullptr;
    if (items == nullptr) {
        return;
    }
    int lit = -1;
    for (int i = 0; i < ::GetMenuItemCount(items); ++i) {
        if ((::GetMenuState(items, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) != 0) {
            lit = i;
        }
    }
    ::SetCursorPos(900, 700);  // the mouse off the menu, so that it selects nothing there
    for (int steps = lit < 0 ? 2 : lit == 0 ? 1 : 0; steps > 0; --steps) {
        ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    }
}

void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string wanted = __argc > 1 ? __argv[1] : "mnuSysTrayIcon";
    const int seconds = __argc > 2 ? std::atoi(__argv[2]) : 4;
    win32::Win32FormsBackend backend;
    frmMenus menus(backend);
    menus.Load();
    menus.SetPatternItems({"Work", "Games", "Evening"});
    menus.IconiseMenuFormsMenu();
    // As the program shows them while it has no options dialog.
    menus.mnuOptions.enabled = false;
    menus.mnuOptoionsFromSysTray.enabled = false;
    // As a user who locked the icons sees it.
    menus.mnuLockIcons.checked = true;
    forms::MenuItem* menu = nullptr;
    for (const auto& candidate : menus.Menus()) {
        if (candidate->name == wanted) {
            menu = candidate.get();
        }
    }
    if (menu == nullptr) {
        return 2;
    }
    ::SetTimer(nullptr, 0, 700, &Select);
    ::SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, &Close);
    ::SetCursorPos(24, 24);
    menus.ShowPopup(*menu);
    menus.Unload();
    return 0;
}
