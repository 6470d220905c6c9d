// Figures, not a test: what the main window's load pays for the special desktop icons and
// the Explorer switches, against the real registry under Wine: the list read from the
// registry and written (a first start), read from SpecialDesktopIcons.cfg (every later
// start), each row with its picture from its icon file, and the six switch values. The
// first round pays for loading the icon files, as a start does.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "desktop/IconSizePage.h"
#include "desktop/MiscPage.h"
#include "desktop/RemoveIconsPage.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "tools/bench/QuickMode.h"

namespace {

using namespace pellmark;
using Clock = std::chrono::steady_clock;
const int kRounds = pellmark::bench::Rounds(9);

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "PellmarkExplorerBench";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string listFile = folder + "\\SpecialDesktopIcons.cfg";
    win32::Win32Registry registry;
    win32::Win32Files files;
    win32::Win32System system;
    sim::SimDialogs dialogs;
    win32::Win32FormsBackend backend;
    std::vector<double> first;
    std::vector<double> later;
    std::vector<double> switches;
    std::vector<double> shown;
    int rows = 0;
    for (int round = 0; round < kRounds; ++round) {
        forms::Form form(backend, "Form1");
        RemoveIconsPage removeIcons(form, registry, files, dialogs, system);
        IconSizePage iconSize(form, registry, dialogs, nullptr);
        MiscPage misc(form, registry, dialogs);
        const auto expand = [](const std::string& text) { return win32::ExpandEnvironment(text); };
        ::DeleteFileA(listFile.c_str());
        const Clock::time_point start = Clock::now();
        removeIcons.LoadSpecialIcons(folder, expand);
        const Clock::time_point made = Clock::now();
        removeIcons.LoadSpecialIcons(folder, expand);
        const Clock::time_point read = Clock::now();
        misc.LoadSwitches();
        iconSize.LoadIconCache();
        const Clock::time_point loaded = Clock::now();
        // The pictures wait for the page: drawn when it is first shown.
        removeIcons.Box().SetVisible(true);
        removeIcons.PageShown();
        const Clock::time_point pictured = Clock::now();
        shown.push_back(Milliseconds(loaded, pictured));
        first.push_back(Milliseconds(start, made));
        later.push_back(Milliseconds(made, read));
        switches.push_back(Milliseconds(read, loaded));
        rows = removeIcons.lstvwSpecDeskIco.ItemCount();
    }
    ::DeleteFileA(listFile.c_str());
    ::RemoveDirectoryA(folder.c_str());
    std::printf("special desktop icons, %d rows, median of %d (first round %.2f ms)\n", rows,
                kRounds, first.front());
    std::printf("  first start (registry read, list file written)  %.2f ms\n", Median(first));
    std::printf("  later start (list file read)                    %.2f ms\n", Median(later));
    std::printf("  pictures, when the page first shows             %.2f ms (first round %.2f)\n",
                Median(shown), shown.front());
    std::printf("Explorer switches and cache size read              %.3f ms\n", Median(switches));
    return dialogs.shown.empty() ? 0 : 1;
}
