// Pops up a menu built like the tray menu, owner-drawn with the program's pictures, for
// screenshots (tools/skins/screenshots.sh):
//     menu_shot.exe [SECONDS]
// The menu opens near the top left of the screen at the screen's DPI, its second item
// selected and the pattern submenu shut; it closes by itself after SECONDS (default 4).
#include <windows.h>

#include <cstdlib>
#include <memory>

#include "platform/forms/Form.h"
#include "platform/win32/Win32Forms.h"
#include "tray/res/MenuPictures.h"

namespace {

using namespace pellmark;

class SampleForm final : public forms::Form {
  public:
    explicit SampleForm(forms::Backend& backend) : Form(backend, "frmMenus") {
        SetClientSize(40, 40);
        forms::WindowSettings settings;
        settings.border = forms::BorderStyle::None;
        settings.start = forms::StartPosition::Manual;
        settings.left = 16;
        settings.top = 16;
        SetSettings(settings);
    }
};

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
    const int seconds = __argc > 1 ? std::atoi(__argv[1]) : 4;
    win32::Win32FormsBackend backend;
    SampleForm form(backend);
    forms::MenuItem& tray = form.AddMenu("mnuSysTrayIcon");
    forms::MenuItem& restore = tray.Add("mnuRestorePattern", 2201, "&Restore pattern");
    restore.Add("mnuPattern", 0, "Work");
    restore.Add("mnuPattern", 1, "Games");
    tray.Add("dsh3", 2203, "-");
    tray.Add("mnuMinAll", 2204, "Minimize all windows");
    tray.Add("mnuRestoreAll", 2205, "Restore all windows");
    tray.Add("mnuShowDesktop", 2206, "#Show Desktop").checked = true;
    tray.Add("dsh4", 2207, "-Screen saver");
    tray.Add("mnuEnableScrSave", 2208, "Enable Screen Saver");
    tray.Add("mnuDisableScrSave", 2209, "Disable Screen Saver").enabled = false;
    tray.Add("mnuShowScrSave", 2210, "Show default screen saver");
    tray.Add("dsh5", 2211, "-");
    tray.Add("mnuShowForm", 2212, "&Show Pellmark").isDefault = true;
    tray.Add("mnuOptoionsFromSysTray", 2213, "&Options");
    tray.Add("dsh6", 2214, "-Internet");
    tray.Add("mnuVisitHomepage", 2215, "Visit the Homepage");
    tray.Add("mnuEmailQuillan", 2216, "E-mail the maker");
    tray.Add("dsh7", 2217, "-");
    tray.Add("mnuHelp", 2218, "&Help");
    tray.Add("mnuAboutFromSysTray", 2219, "&About");
    tray.Add("dsh8", 2221, "-");
    tray.Add("mnuExitFromSysTray", 2222, "E&xit");

    // The pictures, tagged with the captions of the items they belong to.
    auto images = std::make_shared<forms::MenuImages>();
    const char* const owners[] = {
        "mnuRestorePattern", "mnuMinAll",   "mnuEnableScrSave",       "mnuDisableScrSave",
        "mnuShowScrSave",    "mnuShowForm", "mnuOptoionsFromSysTray", "mnuVisitHomepage",
        "mnuEmailQuillan",   "mnuHelp",     "mnuAboutFromSysTray",    "mnuExitFromSysTray"};
    for (int i = 0; i < tray::kMenuPictureCount; ++i) {
        images->images.push_back(backend.LoadResourcePicture(tray::MenuPictureName(i, false)));
        images->large.push_back(backend.LoadResourcePicture(tray::MenuPictureName(i, true)));
        images->tags.push_back(tray.Find(owners[i])->caption);
    }
    form.Show();
    form.InstallOwnerDrawnMenus(images);
    ::SetTimer(nullptr, 0, 700, &Select);
    ::SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, &Close);
    ::SetCursorPos(24, 24);
    form.ShowPopup(tray);
    form.Unload();
    return 0;
}
