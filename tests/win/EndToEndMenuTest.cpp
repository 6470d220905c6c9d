// pellmark.exe's menus, opened and answered from another process as a user would: the
// main window's menu button, and the notification-area icon's menu.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::StandInProcess;

// What the shell sends the main window for a mouse event on the program's icon: the icon's
// id in wParam, the mouse message in lParam.
constexpr UINT kTrayCallbackMessage = WM_APP + 0x1C0;
constexpr WPARAM kTrayIconId = 1;
constexpr const char* kPopupMenuClass = "#32768";

class EndToEndMenuTest : public ProgramTest {
  protected:
    // The pop-up menu the program shows, waited for.
    HWND WaitForMenu() { return program->WaitForWindow(kPopupMenuClass); }
    [[nodiscard]] bool MenuGone() const {
        return WaitUntil(
            [&] { return FindShownWindow(program->ProcessId(), kPopupMenuClass) == nullptr; });
    }
    // Moves through an open menu with the arrow keys and chooses the item reached.
    static void Choose(HWND menu, WPARAM arrow, int presses) {
        for (int i = 0; i < presses; ++i) {
            ::PostMessageA(menu, WM_KEYDOWN, arrow, 0);
        }
        ::PostMessageA(menu, WM_CHAR, '\r', 0);
    }
};

TEST_F(EndToEndMenuTest, ExitFromTheMenuButtonAsksAndOnlyYesEndsTheProgram) {
    const auto host = StandInProcess::Start(Layout{.icons = {{"one", 10, 10, 0}}});
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    const FormImagePlace button = FormImage(form, "imgMenu");
    ASSERT_NE(button.window, nullptr);

    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "No" : "Yes");
        ClickImage(button, 0.1, 0.1);
        HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr);
        // Its top-left corner is the button's.
        RECT menuRect{};
        POINT corner{button.area.left, button.area.top};
        ::GetWindowRect(menu, &menuRect);
        ::ClientToScreen(button.window, &corner);
        EXPECT_EQ(menuRect.left, corner.x);
        EXPECT_EQ(menuRect.top, corner.y);
        Choose(menu, VK_UP, 1);  // from nothing chosen, up is the last item: Exit
        std::string text;
        HWND box = program->WaitForMessageBox(text);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(text, "Are you sure you want to quit Pellmark?");
        EXPECT_EQ(WindowText(box), "Quit");
        ProgramProcess::Answer(box, answer);
        if (answer == IDNO) {
            EXPECT_FALSE(program->WaitForExit(1000).has_value());
            EXPECT_TRUE(::IsWindowVisible(form));
        }
    }
    EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
}

TEST_F(EndToEndMenuTest, ShowDesktopFromTheTrayMenuHidesThenShowsTheDesktopsIcons) {
    const auto host = StandInProcess::Start(Layout{.icons = {{"one", 10, 10, 0}}});
    ASSERT_TRUE(host);
    SetSetting("Settings", "LoadInSysTray", "True");
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    for (const bool shownAfter : {false, true}) {
        SCOPED_TRACE(shownAfter ? "second time" : "first time");
        ::PostMessageA(form, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN);
        HWND menu = WaitForMenu();
        ASSERT_NE(menu, nullptr);
        // Restore pattern, Minimize all, Restore all, Show Desktop: the separator is passed.
        Choose(menu, VK_DOWN, 4);
        ASSERT_TRUE(MenuGone());
        EXPECT_TRUE(WaitUntil(
            [&] { return (::IsWindowVisible(host->listView()) != FALSE) == shownAfter; }));
    }
    // A left click hides the main window and another shows it again.
    ::PostMessageA(form, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(form) == FALSE; }));
    ::PostMessageA(form, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(form) != FALSE; }));
    ::PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace pellmark::e2e
