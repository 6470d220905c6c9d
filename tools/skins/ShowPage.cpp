// Walks a running pellmark.exe to one of its pages, for screenshots, as a user's clicks
// would:
//     show_page.exe PAGE
// PAGE is intro, 1-0, 1-1, 1-2, 2-0, 2-1, 2-2 (section and tab), help (the help panel over
// the first pattern page), about (the about box) or close (the about box and the window
// close). It waits up to ten seconds for the main window.
#include <windows.h>

#include <string>

namespace {

HWND Control(HWND form, const std::string& name) {
    return static_cast<HWND>(::GetPropA(form, ("Pellmark." + name).c_str()));
}

// A click at a fraction of the window's inside, so it lands alike at every DPI.
void Click(HWND window, double x, double y) {
    RECT inside{};
    ::GetClientRect(window, &inside);
    const LPARAM at =
        MAKELPARAM(static_cast<int>(inside.right * x), static_cast<int>(inside.bottom * y));
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(window, WM_LBUTTONUP, 0, at);
}

void ClickTitle(HWND form) {
    Click(form, 120.0 / 468, 20.0 / 332);
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
    if (page == "close") {
        if (HWND about = ::FindWindowA("Pellmark.frmAbout", nullptr)) {
            ::SendMessageA(Control(about, "cmdOK"), BM_CLICK, 0, 0);
        }
        ::PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    const auto side = [form](int index) {
        Click(Control(form, "imgSideButton(" + std::to_string(index) + ")"), 0.5, 0.5);
    };
    if (page == "intro" || page == "about") {
        side(0);
        if (page == "about") {
            ClickTitle(form);
        }
    } else if (page == "help") {
        side(1);
        ClickTitle(form);
    } else if (page.size() == 3 && page[1] == '-') {
        side(page[0] - '0');
        Click(Control(form, "imgTabs"), ((page[2] - '0') * 2 + 1) / 6.0, 0.5);
    }
    return 0;
}
