// pellmark.exe keeping the icons' places through what moves them behind its back: a new
// Explorer with its icons piled up, screen resolutions changed with ChangeDisplaySettings
// (the stand-in piles its icons up 0.7 s after WM_DISPLAYCHANGE, as Explorer does), and
// the lock.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/WideText.h"
#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::StandInProcess;

// Every position a multiple of 1.28, so that 800x600 holds each one scaled exactly.
const Layout kLayout{
    .icons = {{"Alpha", 128, 128, 0}, {"Beta", 512, 384, 1}, {"Gamma", 896, 640, 2}}};
const Layout kScaled{
    .icons = {{"Alpha", 100, 100, 0}, {"Beta", 400, 300, 1}, {"Gamma", 700, 500, 2}}};
const Layout kPiledUp{.icons = {{"Alpha", 2, 2, 0}, {"Beta", 2, 77, 1}, {"Gamma", 2, 152, 2}}};

class EndToEndScreensTest : public ProgramTest {
  protected:
    ~EndToEndScreensTest() override { ::ChangeDisplaySettingsW(nullptr, 0); }

    // The text of every layout learned so far, index included.
    [[nodiscard]] std::string Learned() const {
        const std::string folderPath = folder.Path() + "\\SavedPositions\\Screens\\";
        std::string text;
        WIN32_FIND_DATAW found{};
        const win32::UniqueFind search(
            ::FindFirstFileW(win32::Widen(folderPath + "*").c_str(), &found));
        for (bool more = static_cast<bool>(search); more;
             more = ::FindNextFileW(search.get(), &found) != FALSE) {
            text += ReadFileBytes(folderPath + win32::Narrow(found.cFileName)).value_or("");
        }
        return text;
    }
    // How many arrangements the index holds.
    [[nodiscard]] int Arrangements() const {
        const std::string index =
            ReadFileBytes(folder.Path() + "\\SavedPositions\\Screens\\Index.txt").value_or("");
        return std::max(0, static_cast<int>(std::ranges::count(index, '\n')) - 1);  // no header
    }
    void Close(HWND form) {
        ::PostMessageA(form, WM_CLOSE, 0, 0);
        EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    }
};

// A new Explorer gets the learned layout back. A new resolution gets the last layout scaled;
// the old one returns exactly; a user's move on the new one is learned and outlives the
// program.
TEST_F(EndToEndScreensTest, EachResolutionKeepsItsOwnLayoutThroughExplorerRestarts) {
    auto host = StandInProcess::Start(kLayout);
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Arrangements() == 1; }));
    ASSERT_TRUE(host->Stop());
    host = StandInProcess::Start(kPiledUp, true);
    ASSERT_TRUE(host);
    EXPECT_TRUE(WaitUntil([&] { return host->Dump() == kLayout; }, 8000))
        << ::testing::PrintToString(host->Dump());

    ASSERT_TRUE(standin::SetScreenSize(800, 600)) << "the display driver refused 800x600";
    EXPECT_TRUE(WaitUntil([&] { return host->Dump() == kScaled; }, 8000))
        << ::testing::PrintToString(host->Dump());
    Close(form);

    // Started on 800x600 it takes the desktop as it is; the move is learned there.
    form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    ::SendMessageA(host->listView(), LVM_SETITEMPOSITION, 1, MAKELPARAM(200, 450));
    Layout moved = kScaled;
    moved.icons[1].x = 200;
    moved.icons[1].y = 450;
    ASSERT_TRUE(WaitUntil([&] {
        return Learned().find("Beta\r\n 200 \r\n 450 \r\n") != std::string::npos;
    })) << Learned();
    ASSERT_TRUE(standin::SetScreenSize(1024, 768));
    EXPECT_TRUE(WaitUntil([&] { return host->Dump() == kLayout; }, 8000))
        << ::testing::PrintToString(host->Dump());
    Close(form);

    form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(standin::SetScreenSize(800, 600));
    // The layouts learned are printed too: a failure here has been seen once and not since.
    EXPECT_TRUE(WaitUntil([&] { return host->Dump() == moved; }, 8000))
        << ::testing::PrintToString(host->Dump()) << Learned();
    EXPECT_EQ(Arrangements(), 2);
    Close(form);
}

// On an 800x600 monitor left of a 1024x768 primary, as tests/win/two-monitors.sh shows them
// (ctest win_two_monitors_tests); a single screen cannot run it. An icon on the left
// monitor, at negative x, is no hidden icon: it is learned where it stands and put back
// there after Explorer restarts.
TEST_F(EndToEndScreensTest, DISABLED_TwoMonitorsAnIconLeftOfThePrimaryIsKept) {
    ASSERT_EQ(::GetSystemMetrics(SM_CMONITORS), 2);
    ASSERT_EQ(::GetSystemMetrics(SM_XVIRTUALSCREEN), -800);
    const Layout layout{.icons = {{"Left", -700, 100, 0}, {"Alpha", 128, 128, 1}}};
    auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Arrangements() == 1; }));
    EXPECT_NE(Learned().find("2 screens: 800x600 + 1024x768"), std::string::npos) << Learned();
    EXPECT_NE(Learned().find("Left\r\n-700 \r\n 100 \r\nFalse\r\n"), std::string::npos)
        << Learned();

    ASSERT_TRUE(host->Stop());
    host = StandInProcess::Start(Layout{.icons = {{"Left", 2, 2, 0}, {"Alpha", 2, 77, 1}}}, true);
    ASSERT_TRUE(host);
    EXPECT_TRUE(WaitUntil([&] { return host->Dump() == layout; }, 8000))
        << ::testing::PrintToString(host->Dump());
    Close(form);
}

TEST_F(EndToEndScreensTest, LockedIconsGoBackUntilTheLockIsTurnedOff) {
    SetSetting("Settings", "LockIcons", "1");
    const auto host = StandInProcess::Start(kLayout);
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    ::SendMessageA(host->listView(), LVM_SETITEMPOSITION, 1, MAKELPARAM(300, 500));
    EXPECT_TRUE(WaitUntil([&] { return host->Dump() == kLayout; }, 3000))
        << ::testing::PrintToString(host->Dump());

    HWND options = OpenOptions(form);
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(::SendMessageA(FormControl(options, "chkLockIcons"), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::PostMessageA(FormControl(options, "chkLockIcons"), BM_CLICK, 0, 0);
    ::PostMessageA(FormControl(options, "cmdOK"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindow(options) == FALSE; }));
    EXPECT_EQ(GetSetting("Settings", "LockIcons"), "0");
    ::SendMessageA(host->listView(), LVM_SETITEMPOSITION, 1, MAKELPARAM(300, 500));
    ::Sleep(3000);
    Layout moved = kLayout;
    moved.icons[1].x = 300;
    moved.icons[1].y = 500;
    EXPECT_EQ(host->Dump(), moved);
    Close(form);
}

}  // namespace
}  // namespace pellmark::e2e
