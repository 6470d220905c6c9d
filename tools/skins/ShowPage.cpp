// Walks a running pellmark.exe to one of its pages, for screenshots, as a user's clicks
// would:
//     show_page.exe PAGE
// PAGE is intro, 1-0, 1-1, 1-2, 2-0, 2-1, 2-2 (section and tab), help (the help panel over
// the first pattern page), about (the about box), wallpaper (the wallpaper picker, opened
// from its page, with its first picture chosen), options (the options dialog, from the main
// menu) or close (the about box, the picker, the options and the window close). It waits up
// to ten seconds for the main window.
#include <windows.h>

#include <string>

#include "platform/win32/ImagePlace.h"

namespace {

HWND Control(HWND form, const std::string& name) {
    return static_cast<HWND>(::GetPropA(form, ("Pellmark." + name).c_str()));
}

// A click at a fraction of an area of the window, so it lands alike at every DPI.
void ClickIn(HWND window, const RECT& area, double x, double y) {
    const LPARAM at = MAKELPARAM(area.left + static_cast<int>((area.right - area.left) * x),
                                 area.top + static_cast<int>((area.bottom - area.top) * y));
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(window, WM_LBUTTONUP, 0, at);
}

// A click at a fraction of the window's inside.
void Click(HWND window, double x, double y) {
    RECT inside{};
    ::GetClientRect(window, &inside);
    ClickIn(window, inside, x, y);
}

// A click on an image: the window that draws it, and its place there, are on the form.
void ClickImage(HWND form, const std::string& name, double x, double y) {
    const pellmark::win32::ImagePlace image = pellmark::win32::ReadImagePlace(form, name);
    ClickIn(image.window, image.area, x, y);
}

void ClickTitle(HWND form) {
    Click(form, 120.0 / 468, 20.0 / 332);
}

HWND WaitForVisible(const char* className) {
    for (int i = 0; i < 100; ++i) {
        HWND window = ::FindWindowA(className, nullptr);
        if (window != nullptr && ::IsWindowVisible(window)) {
            return window;
        }
        ::Sleep(100);
    }
    return nullptr;
}

// Chooses the first row of a list box as a click would, telling its form.
void ChooseFirstRow(HWND form, HWND list) {
    if (list == nullptr || ::SendMessageA(list, LB_GETCOUNT, 0, 0) <= 0) {
        return;
    }
    ::SendMessageA(list, LB_SETCURSEL, 0, 0);
    ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    static_cast<void>(form);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string page = __argc > 1 ? __argv[1] : "intro";
    HWND form = nullptr;
    for (int i = 0; i < 100 && form == nullptr; ++i) {
        form = ::FindWindowA("Pellmark.Form1", nullptr);
        if (form == nullptr || !::IsWindowVisible(form)) {
            form = nullptr;
            ::Sleep(100);
        }
    }
    if (form == nullptr) {
        return 1;
    }
    // The pointer waits in the screen's corner, so no tool tip covers the page being shown.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    if (page == "close") {
        if (HWND about = ::FindWindowA("Pellmark.frmAbout", nullptr)) {
            ::SendMessageA(Control(about, "cmdOK"), BM_CLICK, 0, 0);
        }
        if (HWND picker = ::FindWindowA("Pellmark.frmSelectWallpaper", nullptr)) {
            ::SendMessageA(Control(picker, "CancelButton"), BM_CLICK, 0, 0);
        }
        if (HWND options = ::FindWindowA("Pellmark.frmOptions", nullptr)) {
            ::SendMessageA(Control(options, "cmdCancel"), BM_CLICK, 0, 0);
        }
        ::PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    const auto side = [form](int index) {
        ClickImage(form, "imgSideButton(" + std::to_string(index) + ")", 0.5, 0.5);
    };
    if (page == "intro" || page == "about") {
        side(0);
        if (page == "about") {
            ClickTitle(form);
        }
    } else if (page == "help") {
        side(1);
        ClickTitle(form);
    } else if (page == "wallpaper") {
        side(2);
        ClickImage(form, "imgTabs", 3 / 6.0, 0.5);
        ::Sleep(300);
        ::PostMessageA(Control(form, "cmdChangeCover"), BM_CLICK, 0, 0);
        if (HWND picker = WaitForVisible("Pellmark.frmSelectWallpaper")) {
            ChooseFirstRow(picker, Control(picker, "File1"));
        }
    } else if (page == "options") {
        // From the main menu, as a user opens it: its second item.
        ClickImage(form, "imgMenu", 0.5, 0.5);
        if (HWND menu = WaitForVisible("#32768")) {
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(menu, WM_CHAR, '\r', 0);
        }
        static_cast<void>(WaitForVisible("Pellmark.frmOptions"));
    } else if (page.size() == 3 && page[1] == '-') {
        side(page[0] - '0');
        ClickImage(form, "imgTabs", ((page[2] - '0') * 2 + 1) / 6.0, 0.5);
    }
    return 0;
}
