// The main window's chrome on real windows: its shape, how it is dragged, and the about
// box that holds it while open.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Main.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopStyle.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimRegistry.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Region.h"
#include "platform/win32/Win32Services.h"
#include "settings/AppInfo.h"
#include "settings/SettingsStore.h"
#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

// A point on the title, and one on the body away from every control, in 96-DPI pixels.
constexpr LPARAM kOnTitle = MAKELPARAM(120, 20);
constexpr LPARAM kOnBody = MAKELPARAM(200, 322);

using EndToEndChromeTest = ProgramTest;

TEST_F(EndToEndChromeTest, TheSkinnedWindowHasItsShapeNoCaptionAndAModalAboutBox) {
    const auto host = standin::StandInProcess::Start(standin::AwkwardLayout());
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);

    const LONG style = ::GetWindowLongA(form, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongA(form, GWL_EXSTYLE);
    EXPECT_EQ(style & WS_CAPTION, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_NE(style & WS_SYSMENU, 0);  // Alt+F4 and the taskbar's menu
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0);  // still in the taskbar
    // Shaped by its skin (whose outline the chrome test checks).
    win32::UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::GetWindowRgn(form, static_cast<HRGN>(region.get())), COMPLEXREGION);

    // To the introduction, whose title opens the about box: the main window is disabled
    // until it goes.
    ClickImage(FormImage(form, "imgSideButton(0)"), 0, 0);
    ASSERT_TRUE(WaitUntil(
        [&] { return ::IsWindowVisible(FormControl(form, "picIntroduction")) != FALSE; }));
    ::PostMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, kOnTitle);
    ::PostMessageA(form, WM_LBUTTONUP, 0, kOnTitle);
    HWND about = program->WaitForWindow("Pellmark.frmAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(::GetWindow(about, GW_OWNER), form);
    EXPECT_FALSE(::IsWindowEnabled(form));
    ::PostMessageA(FormControl(about, "cmdOK"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(about) == FALSE; }));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowEnabled(form) != FALSE; }));

    // Alt+F4 as the system menu sends it.
    ::PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    EXPECT_TRUE(host->Stop());
}

// The main window in this process, so that a hook on this thread sees what its window
// is sent.
std::vector<WPARAM>* hitTests = nullptr;
HWND hookedWindow = nullptr;

LRESULT CALLBACK WatchMessages(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->hwnd == hookedWindow && sent->message == WM_NCLBUTTONDOWN) {
        hitTests->push_back(sent->wParam);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(EndToEndChromeTest, EitherButtonOnTheBodyDragsTheWindowAndTheTitleDoesNot) {
    sim::SimDesktop desktop;
    desktop.icons = {{"Recycle Bin", 20, 20, 0}};
    sim::SimDialogs dialogs;
    sim::SimRegistry registry;
    win32::Win32System system;
    win32::Win32Files files;
    win32::Win32FormsBackend forms;
    sim::SimDesktopStyle desktopStyle;
    const auto drag = [](forms::Form& dragged) {
        win32::DragWindow(win32::Win32FormsBackend::WindowOf(dragged));
    };
    ProgramServices services{desktop,  desktopStyle, dialogs,       system, files,
                             registry, forms,        folder.Path(), "",     drag};
    frmMenus menus(forms);
    chrome::frmAbout about(forms, chrome::ProgramFacts{kAppTitle}, [](const std::string&) {});
    Form1 form(services, menus, about);
    ASSERT_TRUE(Main(services, form));
    ASSERT_TRUE(dialogs.shown.empty()) << dialogs.shown.front().text;
    HWND window = win32::Win32FormsBackend::WindowOf(form);
    ASSERT_NE(window, nullptr);

    std::vector<WPARAM> seen;
    hitTests = &seen;
    hookedWindow = window;
    HHOOK hook =
        ::SetWindowsHookExA(WH_CALLWNDPROC, WatchMessages, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    // Posted, as the mouse's messages come, and taken through the program's message loop.
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, kOnBody);
    ::PostMessageA(window, WM_LBUTTONUP, 0, kOnBody);
    ::PostMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, kOnBody);
    ::PostMessageA(window, WM_RBUTTONUP, 0, kOnBody);
    ::PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 12));  // the title
    ::PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    forms.DoEvents();
    ::UnhookWindowsHookEx(hook);
    hitTests = nullptr;
    EXPECT_EQ(seen, (std::vector<WPARAM>{HTCAPTION, HTCAPTION}));
    form.Unload();
}

}  // namespace
}  // namespace pellmark::e2e
