// The notification-area icon on real windows, against the stand-in notification area
// (traystandin.exe, its own process): what Shell_NotifyIcon hands the taskbar, the clicks
// coming back, Explorer starting again, and the removal when the form unloads.
//
// The stand-in sees the record that Wine's shell32 makes of ours, not ours: Wine widens the
// tip into a field of 128 characters and sends the icon's pixels instead of its handle. So
// the checks are those that hold on Windows too: the icon's window, id 1, flags
// NIF_MESSAGE | NIF_ICON | NIF_TIP, the callback, an icon, and a tip of at most 63
// characters (the first-version field holds 64 with its NUL).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/forms/TrayIcon.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32TrayIcon.h"
#include "tests/win/TrayStandInProcess.h"
#include "tray/SysTrayIcon.h"

namespace pellmark::win32 {
namespace {

constexpr DWORD kWaitMs = 10000;

using traystandin::HandleText;
using traystandin::TrayRequest;
using traystandin::TrayStandInProcess;

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        standIn = TrayStandInProcess::Start();
        ASSERT_NE(standIn, nullptr);
        tray.OnMouse([this](forms::TrayMouse mouse) { seen.push_back(mouse); });
    }
    void TearDown() override {
        main.Unload();
        standIn.reset();
    }

    // Lets the form's messages run until `done` holds or a while has passed.
    bool RunUntil(const std::function<bool()>& done) {
        const ULONGLONG deadline = ::GetTickCount64() + kWaitMs;
        while (!done()) {
            if (::GetTickCount64() > deadline) {
                return false;
            }
            backend.DoEvents();
            ::Sleep(5);
        }
        return true;
    }

    [[nodiscard]] HWND Window() const { return Win32FormsBackend::WindowOf(main); }

    // The shell was told about this form's icon 1 with the whole record, and took it.
    void ExpectIconRecord(const TrayRequest& request, const std::string& tip) const {
        EXPECT_EQ(request.fields.at("hwnd"), HandleText(Window()));
        EXPECT_EQ(request.fields.at("id"), "1");
        EXPECT_EQ(request.fields.at("flags"), "7");  // NIF_MESSAGE | NIF_ICON | NIF_TIP
        EXPECT_EQ(request.fields.at("callback"), HandleText(kTrayCallbackMessage));
        EXPECT_NE(request.fields.at("icon"), "-");
        EXPECT_EQ(request.fields.at("answer"), "1");
        EXPECT_EQ(request.tip, tip);
    }

    std::unique_ptr<TrayStandInProcess> standIn;
    Win32FormsBackend backend;
    forms::Form main{backend, "frmTrayOwner"};
    SysTrayIcon tray{main};
    std::vector<forms::TrayMouse> seen;
};

TEST_F(TrayIconTest, TheAddCarriesTheRecordAndTheRemoveArrivesAtUnload) {
    tray.AddTrayIcon();
    ASSERT_NE(Window(), nullptr);
    const std::vector<TrayRequest> adds = standIn->Log("add");
    ASSERT_EQ(adds.size(), 1u);
    ExpectIconRecord(adds[0], "Pellmark");

    const HWND window = Window();
    main.Unload();
    const std::vector<TrayRequest> log = standIn->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].verb, "delete");
    EXPECT_EQ(log[1].fields.at("hwnd"), HandleText(window));
    EXPECT_EQ(log[1].fields.at("id"), "1");
    EXPECT_EQ(log[1].fields.at("answer"), "1");  // the icon was there to remove
}

TEST_F(TrayIconTest, ALongTitleArrivesAsItsFirst63CharactersAndTheIconGoesOnRemove) {
    const std::string title =
        "Pellmark keeps the places of the icons on the desktop and puts them back again";
    ASSERT_GE(title.size(), 64u);
    tray.AddTrayIcon(title);
    tray.RemoveTrayIcon();
    tray.RemoveTrayIcon();  // the shell has nothing more to remove and is not asked
    // The form's icon cuts a tip itself too, so that no field ever loses its NUL.
    main.Tray().Add(title);
    const std::vector<TrayRequest> log = standIn->Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].verb, "add");
    ExpectIconRecord(log[0], title.substr(0, 63));
    EXPECT_EQ(log[1].verb, "delete");
    EXPECT_EQ(log[1].fields.at("answer"), "1");
    EXPECT_EQ(log[2].verb, "add");
    ExpectIconRecord(log[2], title.substr(0, 63));
    EXPECT_TRUE(main.Loaded());  // removing the icon leaves the window
}

TEST_F(TrayIconTest, ClicksOnTheIconReachTheFormAndMouseMovesOverTheWindowDoNot) {
    tray.AddTrayIcon();
    ASSERT_TRUE(standIn->Click(Window(), WM_LBUTTONUP));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 1; }));
    ASSERT_TRUE(standIn->Click(Window(), WM_RBUTTONDOWN));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 2; }));
    ASSERT_TRUE(standIn->Click(Window(), WM_LBUTTONDBLCLK));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 3; }));
    EXPECT_EQ(seen,
              (std::vector<forms::TrayMouse>{forms::TrayMouse::LeftUp, forms::TrayMouse::RightDown,
                                             forms::TrayMouse::LeftDoubleClick}));

    // A real movement over the window at x = 514 (0x202) is no click on the icon, and
    // neither is the callback for an icon id that is not ours.
    ::SendMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(WM_LBUTTONUP, 10));
    ::SendMessageW(Window(), kTrayCallbackMessage, 2, WM_LBUTTONUP);
    backend.DoEvents();
    EXPECT_EQ(seen.size(), 3u);

    // Once the icon is gone the shell has nothing to click.
    tray.RemoveTrayIcon();
    EXPECT_FALSE(standIn->Click(Window(), WM_LBUTTONUP));
}

TEST_F(TrayIconTest, ANewExplorerGetsTheIconAgainOnlyWhileThereIsOneAndItsClicksStillArrive) {
    tray.AddTrayIcon();
    standIn->Restart();
    ASSERT_TRUE(RunUntil([&] { return standIn->Log("add").size() == 2; }));
    const std::vector<TrayRequest> log = standIn->Log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[1].verb, "restart");
    EXPECT_EQ(log[2].verb, "add");
    ExpectIconRecord(log[2], "Pellmark");

    ASSERT_TRUE(standIn->Click(Window(), WM_RBUTTONDOWN));
    ASSERT_TRUE(RunUntil([&] { return seen.size() == 1; }));
    EXPECT_EQ(seen[0], forms::TrayMouse::RightDown);

    // Without an icon a restart adds nothing: a broadcast that would add it is let arrive.
    tray.RemoveTrayIcon();
    standIn->Restart();
    for (int i = 0; i < 20; ++i) {
        backend.DoEvents();
        ::Sleep(10);
    }
    EXPECT_EQ(standIn->Log("add").size(), 2u);
}

// Exit chosen from the tray menu unloads the form inside the icon's own message.
TEST_F(TrayIconTest, AClickWhoseHandlerUnloadsTheFormTakesTheIconAway) {
    tray.OnMouse([this](forms::TrayMouse) { main.Unload(); });
    tray.AddTrayIcon();
    const HWND window = Window();
    ASSERT_TRUE(standIn->Click(window, WM_RBUTTONDOWN));
    ASSERT_TRUE(RunUntil([&] { return !main.Loaded(); }));
    EXPECT_FALSE(::IsWindow(window));
    const std::vector<TrayRequest> removes = standIn->Log("delete");
    ASSERT_EQ(removes.size(), 1u);
    EXPECT_EQ(removes[0].fields.at("answer"), "1");
}

}  // namespace
}  // namespace pellmark::win32
