// Figures, not a test: the screen follower against a stand-in desktop in another process,
// ticked whenever it asks, as the main window's timer ticks it. With 40 icons: its share
// of a core while it learns and nothing moves (over a minute; PELLMARK_BENCH_QUICK=1: three
// seconds), and how long after the last icon move that follows a disruption the layout is
// back in place (it first waits for 2 s of stillness). With 1000 icons (quick: 100), after
// real resolution changes (the stand-in piles its icons up 0.7 s after WM_DISPLAYCHANGE):
// the scaled layout for 800x600, never seen, and the exact one on the way back, each with
// the time of the tick that restored.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "patterns/DesktopIcons.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Displays.h"
#include "platform/win32/Win32Services.h"
#include "screens/ScreenFollower.h"
#include "tests/win/StandInProcess.h"
#include "tools/bench/BenchLayout.h"
#include "tools/bench/ProcessClock.h"
#include "tools/bench/QuickMode.h"

namespace {

using namespace pellmark;
using bench::CpuSeconds;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The follower over a stand-in desktop, its layouts in a scratch folder.
struct Follower {
    std::unique_ptr<standin::StandInProcess> host;
    std::string folder;
    win32::Win32Desktop desktop;
    win32::Win32Files files;
    win32::Win32Displays displays;
    sim::SimDialogs dialogs;
    DesktopIcons icons{desktop, dialogs};
    std::unique_ptr<screens::ScreenLayouts> layouts;
    std::unique_ptr<screens::ScreenFollower> follower;
    DWORD due = 0;          // tick count of the next tick it asked for
    double lastTickMs = 0;  // how long the last tick took

    explicit Follower(const standin::Layout& layout)
        : host(standin::StandInProcess::Start(layout)) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "pellmark-screens-bench\\";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        layouts = std::make_unique<screens::ScreenLayouts>(files, folder);
        follower = std::make_unique<screens::ScreenFollower>(icons, displays, *layouts, dialogs);
        Schedule(follower->Start(::GetTickCount()));
        // The disruptions arrive as the window thread's messages, as in the program.
        displays.OnDisruption([this](platform::Disruption disruption) {
            Schedule(follower->Disrupt(disruption, ::GetTickCount()));
        });
    }
    ~Follower() {
        const std::string screens = layouts->Folder();
        WIN32_FIND_DATAA found{};
        const win32::UniqueFind search(::FindFirstFileA((screens + "*").c_str(), &found));
        for (bool more = static_cast<bool>(search); more;
             more = ::FindNextFileA(search.get(), &found) != FALSE) {
            ::DeleteFileA((screens + found.cFileName).c_str());
        }
        ::RemoveDirectoryA(screens.c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    Follower(const Follower&) = delete;
    Follower& operator=(const Follower&) = delete;

    void Schedule(int milliseconds) { due = ::GetTickCount() + static_cast<DWORD>(milliseconds); }

    // Ticks when asked, handling this thread's messages meanwhile, until `done` holds after
    // a tick; false after `seconds`.
    bool TickUntil(const std::function<bool()>& done, double seconds) {
        const DWORD start = ::GetTickCount();
        while (::GetTickCount() - start < seconds * 1000) {
            for (auto left = static_cast<LONG>(due - ::GetTickCount()); left > 0;
                 left = static_cast<LONG>(due - ::GetTickCount())) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left),
                                            QS_ALLINPUT);
                MSG message;
                while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
                    ::DispatchMessageW(&message);
                }
            }
            const double before = bench::Now();
            Schedule(follower->Tick(::GetTickCount()));
            lastTickMs = (bench::Now() - before) * 1000;
            if (done()) {
                return true;
            }
        }
        return false;
    }
    bool Learned() {
        layouts->Load();
        return layouts->Find(screens::ArrangementKey(
                   screens::MakeArrangement(displays.ReadMonitors()))) != nullptr;
    }
    // Ticks until the next restore; its end, in milliseconds of the tick count.
    bool TickUntilRestored(DWORD& end) {
        const int restores = follower->Restores();
        const bool restored = TickUntil([&] { return follower->Restores() > restores; }, 30);
        end = ::GetTickCount();
        return restored;
    }
};

// A disruption, then the icons moved 0.7 s later as Explorer moves them: from that last
// move to the layout back in place.
bool MeasureAfterDisruption(Follower& f, int rounds) {
    std::vector<double> latency;
    std::vector<double> tick;
    for (int round = 0; round < rounds; ++round) {
        f.Schedule(f.follower->Disrupt(platform::Disruption::ExplorerRestart, ::GetTickCount()));
        const DWORD disrupted = ::GetTickCount();
        f.TickUntil([&] { return ::GetTickCount() - disrupted >= 700; }, 2);
        f.host->Scramble();
        const DWORD moved = ::GetTickCount();
        DWORD restored = 0;
        if (!f.TickUntilRestored(restored)) {
            std::printf("no restore after the disruption\n");
            return false;
        }
        latency.push_back(restored - moved);
        tick.push_back(f.lastTickMs);
    }
    std::printf("40 icons, after a disruption, median of %d\n", rounds);
    std::printf("  last move to layout in place     %8.0f ms (2000 of them stillness)\n",
                Median(latency));
    std::printf("  the tick that restored           %8.1f ms\n", Median(tick));
    return true;
}

// Wine reports another process's processor time as the caller's own, so only this
// process is counted; the desktop's side of the reads shows in the time of one read.
bool MeasureIdle(Follower& f, double seconds) {
    const double cpuStart = CpuSeconds(::GetCurrentProcess());
    const DWORD start = ::GetTickCount();
    int ticks = 0;
    f.TickUntil([&] { return ++ticks < 0; }, seconds);
    const double wall = (::GetTickCount() - start) / 1000.0;
    const double cpu = CpuSeconds(::GetCurrentProcess()) - cpuStart;
    const double readStart = bench::Now();
    f.icons.ReadDesktopIconsQuietly();
    const double readMs = (bench::Now() - readStart) * 1000;
    std::printf("40 icons, learning while nothing moves: %.0f s, %d ticks\n", wall, ticks);
    std::printf("  this process                     %8.3f %% of a core (goal: under 0.2)\n",
                cpu * 100 / wall);
    std::printf("  one read of the desktop          %8.1f ms\n", readMs);
    return true;
}

// 800x600, never seen: the last layout scaled; then back to the exact one.
bool MeasureResolutionChanges(Follower& f, int rounds) {
    std::vector<double> scaled;
    std::vector<double> exact;
    std::vector<double> scaledTick;
    std::vector<double> exactTick;
    bool ok = true;
    for (int round = 0; round < rounds && ok; ++round) {
        for (const bool small : {true, false}) {
            const DWORD start = ::GetTickCount();
            DWORD restored = 0;
            ok = standin::SetScreenSize(small ? 800 : 1024, small ? 600 : 768) &&
                 f.TickUntilRestored(restored);
            (small ? scaled : exact).push_back(restored - start);
            (small ? scaledTick : exactTick).push_back(f.lastTickMs);
        }
    }
    ::ChangeDisplaySettingsW(nullptr, 0);
    if (!ok) {
        std::printf("a resolution change was refused or not followed by a restore\n");
        return false;
    }
    std::printf("%zu icons, resolution changes, median of %d\n", f.icons.Table().Icons.size(),
                rounds);
    std::printf(
        "  to 800x600 (scaled): change to layout in place %6.0f ms, restoring tick %6.1f ms\n",
        Median(scaled), Median(scaledTick));
    std::printf(
        "  back (exact):        change to layout in place %6.0f ms, restoring tick %6.1f ms\n",
        Median(exact), Median(exactTick));
    const double readStart = bench::Now();
    f.icons.ReadDesktopIconsQuietly();
    std::printf("  one read of the desktop (a restoring tick reads twice) %6.1f ms\n",
                (bench::Now() - readStart) * 1000);
    std::printf(
        "  (the stand-in piles its icons up 0.7 s after the change; 2 s of stillness follow)\n");
    return true;
}

}  // namespace

int main() {
    bool ok = true;
    {
        standin::Layout forty;
        for (int i = 0; i < 40; ++i) {
            forty.icons.push_back(
                {"Icon " + std::to_string(i), 20 + (i % 8) * 90, 20 + (i / 8) * 100, i % 8});
        }
        Follower f(forty);
        ok = f.host && f.TickUntil([&] { return f.Learned(); }, 60) &&
             MeasureIdle(f, bench::Quick() ? 3 : 60) && MeasureAfterDisruption(f, bench::Rounds(5));
    }
    if (ok) {
        standin::Layout many = bench::ThousandIcons();
        many.icons.resize(bench::Quick() ? 100 : many.icons.size());
        Follower f(many);
        ok = f.host && f.TickUntil([&] { return f.Learned(); }, 120) &&
             MeasureResolutionChanges(f, bench::Rounds(3));
    }
    if (!ok) {
        std::printf("screens_bench: the stand-in did not start or the follower did not learn\n");
        return 1;
    }
    return 0;
}
