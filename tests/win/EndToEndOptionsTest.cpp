// pellmark.exe's main menu and its options dialog, opened and answered from another process
// as a user would: Apply keeps the dialog open and writes the settings, OK writes the Run
// value too and closes it, the next opening shows what was kept, and Exit asks first.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/win32/WideText.h"
#include "settings/StartWithWindows.h"
#include "tests/win/ProgramProcess.h"
#include "tests/win/RegistryText.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::StandInProcess;

std::string RunValue() {
    return testcases::RegistryText(HKEY_CURRENT_USER, kRunKey, "Pellmark");
}

class EndToEndOptionsTest : public ProgramTest {
  protected:
    EndToEndOptionsTest() { testcases::DeleteRegistryText(HKEY_CURRENT_USER, kRunKey, "Pellmark"); }
    ~EndToEndOptionsTest() override {
        testcases::DeleteRegistryText(HKEY_CURRENT_USER, kRunKey, "Pellmark");
    }

    static void Click(HWND options, const char* name) {
        ::PostMessageA(FormControl(options, name), BM_CLICK, 0, 0);
    }
    static bool Ticked(HWND options, const char* name) {
        return ::SendMessageA(FormControl(options, name), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
};

TEST_F(EndToEndOptionsTest, ApplyAndOkWriteTheSettingsAndTheRunValueAndExitAsksFirst) {
    const auto host = StandInProcess::Start(Layout{.icons = {{"one", 10, 10, 0}}});
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);

    HWND options = OpenOptions(form);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(WindowText(options), "Options");
    EXPECT_EQ(::GetWindow(options, GW_OWNER), form);
    EXPECT_TRUE(::IsWindowEnabled(form)) << "the dialog is not modal";
    EXPECT_FALSE(::IsWindowEnabled(FormControl(options, "chkStartHidden")));
    EXPECT_EQ(WindowText(FormControl(options, "cboLanguage")), "English");

    // Apply: the settings are written and the dialog stays.
    Click(options, "chkStartInSysTray");
    ASSERT_TRUE(WaitUntil(
        [&] { return ::IsWindowEnabled(FormControl(options, "chkStartHidden")) != FALSE; }));
    Click(options, "chkSaveOnClose");
    ASSERT_TRUE(
        WaitUntil([&] { return ::IsWindowEnabled(FormControl(options, "cboAutoSave")) != FALSE; }));
    HWND autoSave = ::FindWindowExW(FormControl(options, "cboAutoSave"), nullptr, L"Edit", nullptr);
    ASSERT_NE(autoSave, nullptr) << "the automatic-save box takes typing";
    // Typed over what it holds: a combo's edit tells nothing of a bare WM_SETTEXT.
    ::SendMessageW(autoSave, EM_SETSEL, 0, -1);
    ::SendMessageW(autoSave, EM_REPLACESEL, TRUE,
                   reinterpret_cast<LPARAM>(win32::Widen("Evening Ωmega").c_str()));
    Click(options, "cmdApply");
    // The language is the last setting written, after the shortcuts (slow on a busy machine).
    EXPECT_TRUE(WaitUntil([] { return GetSetting("Settings", "Language") == "English"; }));
    EXPECT_EQ(GetSetting("Settings", "LoadInSysTray"), "1");
    EXPECT_EQ(GetSetting("Settings", "SavePatternOnClose"), "1");
    EXPECT_EQ(GetSetting("Settings", "PatternToAutoSave"), "Evening Ωmega");
    EXPECT_EQ(RunValue(), "(absent)");
    EXPECT_TRUE(::IsWindowVisible(options));

    // OK: start with Windows too, and the dialog goes.
    Click(options, "chkLoadOnWinStart");
    Click(options, "cmdOK");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindow(options) == FALSE; }));
    EXPECT_EQ(GetSetting("Settings", "LoadOnStartup"), "1");
    EXPECT_EQ(RunValue(), "\"" + folder.Path() + "\\pellmark.Exe\"");

    // Opened again, it shows what was kept; Cancel changes nothing.
    options = OpenOptions(form);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(Ticked(options, "chkLoadOnWinStart"));
    EXPECT_TRUE(Ticked(options, "chkStartInSysTray"));
    EXPECT_EQ(WindowText(FormControl(options, "cboAutoSave")), "Evening Ωmega");
    Click(options, "chkLoadOnWinStart");
    Click(options, "cmdCancel");
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindow(options) == FALSE; }));
    EXPECT_EQ(RunValue(), "\"" + folder.Path() + "\\pellmark.Exe\"");

    // Exit from the menu button asks; only Yes ends the program.
    const FormImagePlace button = FormImage(form, "imgMenu");
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
        EXPECT_EQ(std::make_pair(menuRect.left, menuRect.top), std::make_pair(corner.x, corner.y));
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
