// The monitors as Windows reports them, and the broadcasts that announce a disruption
// reaching the hidden window that listens for them.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/win32/Win32Displays.h"
#include "screens/Arrangement.h"

namespace pellmark {
namespace {

using platform::Disruption;

void Broadcast(UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(HWND_BROADCAST, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &answer);
}

TEST(Win32DisplaysTest, ReadsTheMonitorsAndHearsTheBroadcasts) {
    win32::Win32Displays displays;
    const std::vector<platform::Monitor> monitors = displays.ReadMonitors();
    ASSERT_FALSE(monitors.empty());
    for (const platform::Monitor& monitor : monitors) {
        EXPECT_FALSE(monitor.id.empty());
        EXPECT_GT(monitor.rect.Width(), 0);
        EXPECT_GT(monitor.rect.Height(), 0);
        EXPECT_GT(monitor.dpi, 0);
    }
    EXPECT_EQ(std::ranges::count(monitors, true, &platform::Monitor::primary), 1);
    const std::string key = screens::ArrangementKey(screens::MakeArrangement(monitors));
    EXPECT_EQ(key.size(), 16U);
    EXPECT_EQ(screens::ArrangementKey(screens::MakeArrangement(displays.ReadMonitors())), key);

    std::vector<Disruption> heard;
    displays.OnDisruption([&](Disruption disruption) { heard.push_back(disruption); });
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    Broadcast(WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    Broadcast(taskbarCreated, 0, 0);
    EXPECT_EQ(heard, (std::vector{Disruption::DisplayChange, Disruption::ExplorerRestart}));
    // Without a listener the window is gone, and nothing more is heard.
    displays.OnDisruption(nullptr);
    Broadcast(taskbarCreated, 0, 0);
    EXPECT_EQ(heard.size(), 2U);
}

}  // namespace
}  // namespace pellmark
