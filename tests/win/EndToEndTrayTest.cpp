// pellmark.exe in the notification area: started with its icon there, against the stand-in
// notification area, clicked through the shell as a user clicks, and ended from the tray
// menu, whose Exit takes the icon away.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"
#include "tests/win/TrayStandInProcess.h"

namespace pellmark::e2e {
namespace {

using traystandin::HandleText;
using traystandin::TrayRequest;
using traystandin::TrayStandInProcess;

constexpr const char* kPopupMenuClass = "#32768";

using EndToEndTrayTest = ProgramTest;

TEST_F(EndToEndTrayTest, TheIconReachesTheShellAnswersItsClicksAndGoesWithExit) {
    const auto desktop =
        standin::StandInProcess::Start(standin::Layout{.icons = {{"one", 10, 10, 0}}});
    ASSERT_TRUE(desktop);
    const auto tray = TrayStandInProcess::Start();
    ASSERT_TRUE(tray);
    SetSetting("Settings", "LoadInSysTray", "True");
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);

    // One add, for the main window, with the program's title (the record's other fields are
    // the tray icon's own test's).
    ASSERT_TRUE(WaitUntil([&] { return !tray->Log("add").empty(); }));
    const std::vector<TrayRequest> adds = tray->Log("add");
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].fields.at("hwnd"), HandleText(form));
    EXPECT_EQ(adds[0].tip, "Pellmark");

    // Left button up hides the main window, and again shows it.
    ASSERT_TRUE(tray->Click(form, WM_LBUTTONUP));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(form) == FALSE; }));
    ASSERT_TRUE(tray->Click(form, WM_LBUTTONUP));
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(form) != FALSE; }));

    // Right button down opens the tray menu; its last item is Exit, which asks first.
    ASSERT_TRUE(tray->Click(form, WM_RBUTTONDOWN));
    HWND menu = program->WaitForWindow(kPopupMenuClass);
    ASSERT_NE(menu, nullptr);
    ::PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
    ::PostMessageA(menu, WM_CHAR, '\r', 0);
    std::string question;
    HWND box = program->WaitForMessageBox(question);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Quit");
    ProgramProcess::Answer(box, IDYES);
    EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));

    const std::vector<TrayRequest> removes = tray->Log("delete");
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(removes[0].fields.at("hwnd"), HandleText(form));
    EXPECT_EQ(removes[0].fields.at("answer"), "1");
}

}  // namespace
}  // namespace pellmark::e2e
