// pellmark.exe's main menu, opened and answered from another process as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::StandInProcess;

using EndToEndMenuTest = ProgramTest;

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
        HWND menu = program->WaitForWindow("#32768");
        ASSERT_NE(menu, nullptr);
        // Its top-left corner is the button's.
        RECT menuRect{};
        POINT corner{button.area.left, button.area.top};
        ::GetWindowRect(menu, &menuRect);
        ::ClientToScreen(button.window, &corner);
        EXPECT_EQ(menuRect.left, corner.x);
        EXPECT_EQ(menuRect.top, corner.y);
        ::PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);  // from nothing chosen: the last, Exit
        ::PostMessageA(menu, WM_CHAR, '\r', 0);
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

}  // namespace
}  // namespace pellmark::e2e
