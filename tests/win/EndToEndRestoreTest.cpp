// pellmark.exe restoring against the desktop as it is when the user asks, not as it was
// when the window last read it, and previewing a very large pattern.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/WideText.h"
#include "tests/common/PatternText.h"
#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::LayoutIcon;
using standin::StandInProcess;

class EndToEndRestoreTest : public ProgramTest {
  protected:
    // The main window, shown; null (and a test failure) when it does not come.
    HWND StartWindow() {
        SetSetting("Settings", "CloseWhenRestored", "False");
        HWND form = StartMainWindow();
        EXPECT_NE(form, nullptr);
        return form;
    }
    void CloseWindow(HWND form) {
        ::PostMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    }
};

// A file saved to the desktop lands at index 0 after the window read it; the three icons
// are then moved away. Load must put each of them, and only them, back in its own place.
TEST_F(EndToEndRestoreTest, LoadPutsEveryIconInItsOwnPlaceAfterANewIconArrivedFirst) {
    Layout layout;
    layout.icons = {{"Alpha", 100, 100, 0}, {"Beta", 300, 100, 1}, {"Gamma", 500, 100, 2}};
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    SetSetting("Settings", "CloseWhenRestored", "True");
    auto save = ProgramProcess::Start(folder.Exe(), "SAVE P");
    ASSERT_TRUE(save);
    ASSERT_EQ(save->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));

    HWND form = StartWindow();
    ASSERT_NE(form, nullptr);
    Layout arriving;
    arriving.icons = {{"New", 700, 300, 3}};
    host->InsertFirst(arriving);
    for (int item = 1; item <= 3; ++item) {
        ::SendMessageA(host->listView(), LVM_SETITEMPOSITION, static_cast<WPARAM>(item),
                       MAKELPARAM(100 * item, 400));
    }
    Layout expected = layout;
    expected.icons.insert(expected.icons.begin(), arriving.icons[0]);
    ASSERT_NE(host->Dump(), expected);

    HWND list = FormControl(form, "List1");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(ListBoxRows(list), std::vector<std::string>{"P"});
    SelectListRow(list, 0);
    ::PostMessageA(FormControl(form, "cmdLoad"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return host->Dump() == expected; }))
        << ::testing::PrintToString(host->Dump());
    // The closing read counted the new icon too.
    EXPECT_TRUE(WaitUntil([&] { return WindowText(FormControl(form, "lblNoIcons")) == "4 icons"; }))
        << WindowText(FormControl(form, "lblNoIcons"));
    CloseWindow(form);
    EXPECT_TRUE(host->Stop());
}

// The window answers a 50,000-record preview with all of its markers counted; how long it
// takes is the benchmark's to print.
TEST_F(EndToEndRestoreTest, AFiftyThousandRecordPreviewAnswers) {
    std::vector<testcases::Record> records;
    for (int i = 0; i < 50000; ++i) {
        records.push_back(
            {"Document " + std::to_string(i), std::to_string(i % 1000), std::to_string(i % 700)});
    }
    // The program makes its patterns' folder when it starts; here it is there first.
    ::CreateDirectoryW(win32::Widen(folder.Path() + "\\SavedPositions").c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(folder.Pattern("Big"), testcases::PatternText(1024, 768, records)));
    ASSERT_TRUE(WriteFileBytes(folder.Pattern("Small"),
                               testcases::PatternText(1024, 768, {{"One", "1", "1"}})));
    Layout layout;
    layout.icons = {{"Recycle Bin", 18, 2, 0}};
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);

    HWND form = StartWindow();
    ASSERT_NE(form, nullptr);
    HWND list = FormControl(form, "List1");
    const auto count = [&] { return WindowText(FormControl(form, "lblNoIcons")); };
    ASSERT_EQ(ListBoxRows(list), (std::vector<std::string>{"Big", "Small"}));
    SelectListRow(list, 0);
    EXPECT_TRUE(WaitUntil([&] { return count() == "50000 icons"; }, 30000)) << count();
    // Leaving it for another pattern takes its markers away again.
    SelectListRow(list, 1);
    EXPECT_TRUE(WaitUntil([&] { return count() == "1 icons"; }, 30000)) << count();
    CloseWindow(form);
    EXPECT_TRUE(host->Stop());
}

}  // namespace
}  // namespace pellmark::e2e
