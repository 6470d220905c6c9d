// Figures, not a test: how close reading the desktop comes to the cost of the bare
// messages it cannot avoid. Prints microseconds per icon for ReadDesktopIcons and for bare
// LVM_GETITEMPOSITION round trips to the same list view, and their ratio. Reads and bare
// round trips alternate within each round, so a busy moment weighs on both alike; the
// median round is reported.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "patterns/DesktopIcons.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Desktop.h"
#include "tests/win/StandInProcess.h"
#include "tools/bench/BenchLayout.h"
#include "tools/bench/QuickMode.h"
#include "tools/desktophost/StandInDesktop.h"

namespace {

using namespace pellmark;
using bench::kIcons;
using bench::ThousandIcons;
using Clock = std::chrono::steady_clock;

const int kRounds = pellmark::bench::Rounds(21);

double MicrosecondsPerIcon(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kIcons;
}

struct Round {
    double read = 0;   // us per icon
    double floor = 0;  // us per bare message
    [[nodiscard]] double ratio() const { return read / floor; }
};

// Rounds of one whole read and kIcons bare LVM_GETITEMPOSITION into `point`; the median
// round by ratio. A read that misses icons ends the run.
bool Measure(platform::Desktop& desktop, HWND listView, LPARAM point, Round& median) {
    sim::SimDialogs dialogs;
    DesktopIcons icons(desktop, dialogs);
    std::vector<Round> rounds;
    for (int round = 0; round < kRounds; ++round) {
        Round r;
        auto start = Clock::now();
        icons.ReadDesktopIcons();
        r.read = MicrosecondsPerIcon(start);
        if (icons.Table().IconCount != kIcons) {
            std::printf("a read gave %d icons, not %d\n", icons.Table().IconCount, kIcons);
            return false;
        }
        start = Clock::now();
        for (int i = 0; i < kIcons; ++i) {
            ::SendMessageA(listView, LVM_GETITEMPOSITION, static_cast<WPARAM>(i), point);
        }
        r.floor = MicrosecondsPerIcon(start);
        rounds.push_back(r);
    }
    std::sort(rounds.begin(), rounds.end(),
              [](const Round& a, const Round& b) { return a.ratio() < b.ratio(); });
    median = rounds[rounds.size() / 2];
    return true;
}

void Report(const char* what, const Round& r) {
    std::printf("%-42s read %8.2f us/icon  floor %8.2f us/message  %5.2f round trips/icon\n", what,
                r.read, r.floor, r.ratio());
}

}  // namespace

int main() {
    std::printf("Reading a desktop of %d icons, median of %d rounds\n", kIcons, kRounds);
    {
        const auto host = standin::StandInProcess::Start(ThousandIcons());
        if (!host) {
            std::printf("the stand-in desktop did not start\n");
            return 1;
        }
        const win32::UniqueKernelHandle process(::OpenProcess(
            PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, host->processId()));
        const win32::RemoteMemory point(process.get(), sizeof(POINT));
        win32::Win32Desktop desktop;
        Round median;
        if (!point || !Measure(desktop, host->listView(), reinterpret_cast<LPARAM>(point.address()),
                               median)) {
            return 1;
        }
        if (desktop.LastMechanism() != win32::Win32Desktop::Mechanism::RemoteMemory) {
            std::printf("expected the remote-memory mechanism\n");
            return 1;
        }
        Report("another process, remote memory (NT)", median);
    }
    {
        auto made = standin::StandInDesktop::Create(ThousandIcons());
        if (!made) {
            std::printf("the in-process desktop could not be made\n");
            return 1;
        }
        win32::Win32Desktop::Seams windows98;
        windows98.version = [] { return VersionInfo{148, 4, 10, 2222, 1, ""}; };
        win32::Win32Desktop desktop(windows98);
        POINT point{};
        Round median;
        if (!Measure(desktop, made->listView(), reinterpret_cast<LPARAM>(&point), median)) {
            return 1;
        }
        Report("same process, named mappings (95/98/Me)", median);
    }
    return 0;
}
