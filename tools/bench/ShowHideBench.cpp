// Figures, not a test: what the Show/Hide list costs. For desktops of 40 and 1000 icons,
// the median of several rounds in milliseconds: reading the desktop alone, filling the
// list from that read as the main window's load does (the page hidden), and the page's
// first showing (its list view's rows and the icons' pictures). Against the stand-in
// desktop in another process (pictures from the shell's desktop items of the same
// caption) and in this process as on Windows 98 (every picture from the list view's own
// image list).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/ShowHideIconsPage.h"
#include "patterns/DesktopIcons.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Forms.h"
#include "tests/win/StandInProcess.h"
#include "tools/bench/QuickMode.h"
#include "tools/desktophost/StandInDesktop.h"

namespace {

using namespace pellmark;
using Clock = std::chrono::steady_clock;

const int kRounds = pellmark::bench::Rounds(7);

standin::Layout Icons(int count) {
    standin::Layout layout;
    for (int i = 0; i < count; ++i) {
        layout.icons.push_back(
            {"Document number " + std::to_string(i) + ".txt", (i % 40) * 25, (i / 40) * 30, i % 8});
    }
    return layout;
}

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Rounds of a fresh main window's part: read, fill with the page hidden, first show.
void Measure(const char* what, int count, platform::Desktop& desktop) {
    std::vector<double> reads;
    std::vector<double> fills;
    std::vector<double> shows;
    int pictured = 0;
    win32::Win32FormsBackend backend;
    for (int round = 0; round < kRounds; ++round) {
        sim::SimDialogs dialogs;
        DesktopIcons icons(desktop, dialogs);
        forms::Form form(backend, "Form1");
        form.SetClientSize(400, 260);
        ShowHideIconsPage page(form, icons, desktop);
        form.Show();
        auto start = Clock::now();
        icons.ReadDesktopIcons();
        reads.push_back(Milliseconds(start));
        start = Clock::now();
        page.FillShowHideList();
        fills.push_back(Milliseconds(start));
        start = Clock::now();
        page.Box().SetVisible(true);
        page.PageShown();
        backend.DoEvents();
        shows.push_back(Milliseconds(start));
        pictured = 0;
        if (const auto& images = page.ListView1.Images()) {
            for (const forms::Bitmap& picture : images->images) {
                const auto& pixels = picture.Pixels();
                pictured += std::any_of(pixels.begin(), pixels.end(),
                                        [](std::uint32_t p) { return p >> 24 != 0; })
                                ? 1
                                : 0;
            }
        }
        if (icons.Table().IconCount != count) {
            std::printf("a read gave %d icons, not %d\n", icons.Table().IconCount, count);
            return;
        }
        form.Unload();
    }
    std::printf(
        "%-34s %5d icons  read %8.2f ms  fill at load %7.2f ms  first show %8.2f ms"
        "  (%d with a picture)\n",
        what, count, Median(reads), Median(fills), Median(shows), pictured);
}

}  // namespace

int main() {
    std::printf("The Show/Hide list, median of %d rounds\n", kRounds);
    for (const int count : {40, 1000}) {
        const auto host = standin::StandInProcess::Start(Icons(count));
        if (!host) {
            std::printf("the stand-in desktop did not start\n");
            return 1;
        }
        win32::Win32Desktop desktop;
        Measure("another process (shell items)", count, desktop);
    }
    for (const int count : {40, 1000}) {
        auto made = standin::StandInDesktop::Create(Icons(count));
        if (!made) {
            std::printf("the in-process desktop could not be made\n");
            return 1;
        }
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        win32::Win32Desktop::Seams seams;
        seams.version = [] { return VersionInfo{148, 4, 10, 2222, 1, " A "}; };
        seams.tempFolder = [folder = win32::Narrow(temp)] { return folder; };
        win32::Win32Desktop desktop(seams);
        Measure("this process, as on Windows 98", count, desktop);
    }
    return 0;
}
