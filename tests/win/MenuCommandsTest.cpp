// The Windows calls behind the tray menu's commands, on real windows: hiding and showing
// the stand-in desktop's list view, the screen saver's switch, and the synthetic keys that
// minimise and restore every window.
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Services.h"
#include "tests/win/RegistryText.h"
#include "tests/win/StandInProcess.h"

namespace pellmark {
namespace {

using standin::Layout;
using standin::StandInProcess;

[[nodiscard]] bool ScreenSaverActive() {
    BOOL active = FALSE;
    EXPECT_TRUE(::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    return active != FALSE;
}

// HKCU\Control Panel\Desktop\ScreenSaveActive as the profile holds it; "(absent)" when
// there is no such value.
[[nodiscard]] std::string ProfileScreenSaveActive() {
    return testcases::RegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "ScreenSaveActive");
}

TEST(ShowDesktopIcons, HidesAndShowsTheListViewUnderProgmanOrWorkerW) {
    for (const bool workerW : {false, true}) {
        SCOPED_TRACE(workerW ? "under a WorkerW" : "under Progman");
        const auto host = StandInProcess::Start(
            Layout{.icons = {{"one", 10, 10, 0}, {"two", 90, 10, 1}}, .workerW = workerW});
        ASSERT_TRUE(host);
        ASSERT_TRUE(::IsWindowVisible(host->listView()));

        win32::Win32Desktop desktop;
        desktop.ShowDesktopIcons(false);
        EXPECT_FALSE(::IsWindowVisible(host->listView()));
        EXPECT_TRUE(::IsWindowVisible(host->progman())) << "only the icons go";
        desktop.ShowDesktopIcons(false);
        EXPECT_FALSE(::IsWindowVisible(host->listView()));
        desktop.ShowDesktopIcons(true);
        EXPECT_TRUE(::IsWindowVisible(host->listView()));
        // The icons are still there to read once shown again.
        EXPECT_EQ(desktop.ReadIcons().icons.size(), 2u);
        EXPECT_TRUE(host->Stop());
    }
    // With no desktop at all both calls do nothing, and nothing fails.
    win32::Win32Desktop desktop;
    desktop.ShowDesktopIcons(false);
    desktop.ShowDesktopIcons(true);
}

TEST(ScreenSaverSwitch, ReadBackForThisSessionAndNotWrittenToTheProfile) {
    const bool original = ScreenSaverActive();
    const std::string profile = ProfileScreenSaveActive();
    win32::Win32System system;
    for (const bool active : {!original, original, false, true, false}) {
        SCOPED_TRACE(active ? "enable" : "disable");
        EXPECT_TRUE(system.SetScreenSaverActive(active));
        EXPECT_EQ(ScreenSaverActive(), active);
        EXPECT_EQ(ProfileScreenSaveActive(), profile);
    }
    EXPECT_TRUE(system.SetScreenSaverActive(original));
    EXPECT_EQ(ScreenSaverActive(), original);
}

// The key events as a low-level keyboard hook sees them arrive, swallowed there so that no
// window acts on them.
std::vector<std::pair<DWORD, bool>>* seenKeys = nullptr;

LRESULT CALLBACK RecordKey(int code, WPARAM message, LPARAM data) {
    if (code == HC_ACTION && seenKeys != nullptr) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
        seenKeys->emplace_back(key->vkCode, message == WM_KEYUP || message == WM_SYSKEYUP);
        return 1;
    }
    return ::CallNextHookEx(nullptr, code, message, data);
}

TEST(SyntheticKeys, ArriveInTheOrderGiven) {
    std::vector<std::pair<DWORD, bool>> seen;
    seenKeys = &seen;
    HHOOK hook = ::SetWindowsHookExA(WH_KEYBOARD_LL, RecordKey, ::GetModuleHandleA(nullptr), 0);
    ASSERT_NE(hook, nullptr);
    win32::Win32System system;
    const std::array<platform::KeyStroke, 3> keys{{{0x5B, false}, {0x4D, false}, {0x5B, true}}};
    system.SendKeys(keys);
    // The hook runs on this thread when it takes its messages.
    const DWORD start = ::GetTickCount();
    while (seen.size() < keys.size() && ::GetTickCount() - start < 5000) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::DispatchMessageA(&message);
        }
        ::Sleep(10);
    }
    ::UnhookWindowsHookEx(hook);
    seenKeys = nullptr;
    const std::array<platform::KeyStroke, 1> release{{{0x4D, true}}};
    system.SendKeys(release);  // the test leaves no key down behind it
    const std::vector<std::pair<DWORD, bool>> expected{{0x5B, false}, {0x4D, false}, {0x5B, true}};
    EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace pellmark
