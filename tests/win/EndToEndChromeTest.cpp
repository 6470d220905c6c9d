// The main window's chrome on real windows: its shape, and the about box that holds it
// while open. (Its dragging is the forms' and the region code's to check.)
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Handles.h"
#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

// A point on the title, in 96-DPI pixels.
constexpr LPARAM kOnTitle = MAKELPARAM(120, 20);

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

}  // namespace
}  // namespace pellmark::e2e
