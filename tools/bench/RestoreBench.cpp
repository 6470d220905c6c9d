// Figures, not a test: what restoring a 1000-icon pattern costs beside the bare
// LVM_SETITEMPOSITION messages it cannot avoid, and how matching grows with the number of
// icons. A restore ends with a fresh read of the desktop; that read is timed on its own in
// the same round and taken off, so "match + moves" is the file, the matching and the moves.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternFile.h"
#include "patterns/PatternRestore.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Services.h"
#include "tests/win/StandInProcess.h"
#include "tools/bench/BenchLayout.h"
#include "tools/bench/QuickMode.h"

namespace {

using namespace pellmark;
using Clock = std::chrono::steady_clock;
const int kRounds = pellmark::bench::Rounds(7);

double Microseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

struct Round {
    double restore = 0;  // us per icon: RestorePatternFile, closing read included
    double read = 0;     // us per icon: one ReadDesktopIcons
    double floor = 0;    // us per bare LVM_SETITEMPOSITION
    [[nodiscard]] double moves() const { return restore - read; }
    [[nodiscard]] double ratio() const { return moves() / floor; }
};

std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// Two patterns of the same icons at different places, so every restore really moves.
bool WritePatterns(DesktopIcons& icons, platform::Files& files, platform::Dialogs& dialogs,
                   const std::string& pathA, const std::string& pathB) {
    if (!SavePattern(pathA, icons, files, dialogs)) {
        return false;
    }
    for (int i = 0; i < icons.Table().IconCount; ++i) {
        icons.MoveDesktopIcon(i, (i % 40) * 25 + 7, (i / 40) * 30 + 5);
    }
    return static_cast<bool>(SavePattern(pathB, icons, files, dialogs));
}

// A 1000-icon stand-in desktop and the program's real desktop, files and restore over it.
struct BenchDesktop {
    std::unique_ptr<standin::StandInProcess> host =
        standin::StandInProcess::Start(bench::ThousandIcons());
    win32::Win32Desktop desktop;
    win32::Win32Files files;
    sim::SimDialogs dialogs;
    DesktopIcons icons{desktop, dialogs};
    PatternRestore restore{icons, files, dialogs};
};

bool MeasureRestore() {
    BenchDesktop setUp;
    if (!setUp.host) {
        std::printf("the stand-in desktop did not start\n");
        return false;
    }
    auto& [host, desktop, files, dialogs, icons, restore] = setUp;
    const std::string pathA = TempPath("pellmark-bench-a.ips");
    const std::string pathB = TempPath("pellmark-bench-b.ips");
    icons.ReadDesktopIcons();
    if (icons.Table().IconCount != bench::kIcons ||
        !WritePatterns(icons, files, dialogs, pathA, pathB)) {
        std::printf("the desktop could not be read or saved\n");
        return false;
    }
    icons.ReadDesktopIcons();

    std::vector<Round> rounds;
    for (int round = 0; round < kRounds; ++round) {
        Round r;
        auto start = Clock::now();
        if (!restore.RestorePatternFile(round % 2 == 0 ? pathA : pathB, true)) {
            std::printf("a restore was refused\n");
            return false;
        }
        r.restore = Microseconds(start) / bench::kIcons;
        start = Clock::now();
        icons.ReadDesktopIcons();
        r.read = Microseconds(start) / bench::kIcons;
        // The floor moves every icon a few pixels, so the list view has as much to do as
        // for a restore's real moves; the next restore puts them back.
        const std::vector<DesktopIcon> before = icons.Table().Icons;
        start = Clock::now();
        for (int i = 0; i < bench::kIcons; ++i) {
            const IconPosition p = before[static_cast<std::size_t>(i)].Position;
            ::SendMessageA(host->listView(), LVM_SETITEMPOSITION, static_cast<WPARAM>(i),
                           MAKELPARAM(p.x + 3, p.y + 2));
        }
        r.floor = Microseconds(start) / bench::kIcons;
        rounds.push_back(r);
    }
    ::DeleteFileA(pathA.c_str());
    ::DeleteFileA(pathB.c_str());
    if (!dialogs.shown.empty()) {
        std::printf("unexpected message: %s\n", dialogs.shown.front().text.c_str());
        return false;
    }
    std::sort(rounds.begin(), rounds.end(),
              [](const Round& a, const Round& b) { return a.ratio() < b.ratio(); });
    const Round& m = rounds[rounds.size() / 2];
    std::printf("Restoring %d icons in another process, median of %d rounds\n", bench::kIcons,
                kRounds);
    std::printf("  restore, closing read included   %8.2f us/icon\n", m.restore);
    std::printf("  closing read alone               %8.2f us/icon\n", m.read);
    std::printf("  file + match + moves             %8.2f us/icon\n", m.moves());
    std::printf("  bare LVM_SETITEMPOSITION floor   %8.2f us/message\n", m.floor);
    std::printf("  ratio (match + moves) / floor    %8.2f\n", m.ratio());
    return true;
}

// A whole restore (its own read, the moves, the closing read) of a desktop where 10 icons
// of 1000 are out of place, beside one where all are: only the misplaced ones are moved.
bool MeasureMisplaced() {
    BenchDesktop setUp;
    if (!setUp.host) {
        std::printf("the stand-in desktop did not start\n");
        return false;
    }
    auto& [host, desktop, files, dialogs, icons, restore] = setUp;
    const std::string path = TempPath("pellmark-bench-placed.ips");
    icons.ReadDesktopIcons();
    if (icons.Table().IconCount != bench::kIcons || !SavePattern(path, icons, files, dialogs)) {
        std::printf("the desktop could not be read or saved\n");
        return false;
    }
    const auto displace = [&](int every) {
        for (int i = 0; i < bench::kIcons; i += every) {
            ::SendMessageA(host->listView(), LVM_SETITEMPOSITION, static_cast<WPARAM>(i),
                           MAKELPARAM(1100 + i % 50, 700));
        }
    };
    std::vector<double> few;
    std::vector<double> all;
    bool placed = true;
    // Fewer rounds: every "all" round moves each icon twice at the list view's own pace.
    const int kMisplacedRounds = pellmark::bench::Rounds(3);
    for (int round = 0; round < kMisplacedRounds && placed; ++round) {
        for (const int every : {100, 1}) {
            displace(every);
            const auto start = Clock::now();
            placed = restore.RestorePatternFile(path, true) && placed;
            (every == 1 ? all : few).push_back(Microseconds(start) / 1000);
            const std::vector<DesktopIcon> now = icons.Table().Icons;
            for (std::size_t i = 0; i < now.size(); ++i) {
                const auto& [x, y] = now[i].Position;
                placed = placed && x == static_cast<std::int32_t>((i % 40) * 25) &&
                         y == static_cast<std::int32_t>((i / 40) * 30);
            }
        }
    }
    ::DeleteFileA(path.c_str());
    if (!placed || !dialogs.shown.empty()) {
        std::printf("a restore did not put every icon back\n");
        return false;
    }
    std::sort(few.begin(), few.end());
    std::sort(all.begin(), all.end());
    const double fewMs = few[few.size() / 2];
    const double allMs = all[all.size() / 2];
    std::printf("Restoring %d icons, reads included, median of %d rounds\n", bench::kIcons,
                kMisplacedRounds);
    std::printf("  10 out of place                  %8.1f ms\n", fewMs);
    std::printf("  all out of place                 %8.1f ms\n", allMs);
    std::printf("  ratio                            %8.2f\n", fewMs / allMs);
    return true;
}

// Matching alone, in process: time per icon should stay flat as the desktop grows.
void MeasureMatching() {
    std::printf("Matching captions (no desktop), best of %d\n", bench::Rounds(5));
    for (const int n :
         bench::Quick() ? std::vector<int>{1000} : std::vector<int>{1000, 10000, 100000}) {
        std::vector<DesktopIcon> desktopIcons;
        std::vector<PatternRecord> records;
        for (int i = 0; i < n; ++i) {
            desktopIcons.push_back({"Document number " + std::to_string(n - 1 - i) + ".txt "});
            records.push_back({"Document number " + std::to_string(i) + ".txt", i, i, false});
        }
        double best = 1e300;
        std::size_t moved = 0;
        for (int attempt = 0; attempt < bench::Rounds(5); ++attempt) {
            const auto start = Clock::now();
            moved = PlanPatternMoves(desktopIcons, records, {1.0f, 1.0f}, 0, {n, n}).size();
            best = std::min(best, Microseconds(start) / n);
        }
        std::printf("  %6d icons x %6d records      %8.3f us/icon (%zu matched)\n", n, n, best,
                    moved);
    }
}

}  // namespace

int main() {
    MeasureMatching();
    const bool misplaced = MeasureMisplaced();
    return MeasureRestore() && misplaced ? 0 : 1;
}
