// Figures, not a test: what the special desktop icons and the Explorer switches cost,
// against the real registry under Wine: the load's step, then the Remove page's first
// showing with the list read from the registry and written (a first start) or read from
// SpecialDesktopIcons.cfg (every later start), each row with its picture from its icon
// file; a list file of 26,000 lines; and the six switch values. The first round pays for
// loading the icon files, as a start does.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    const int rounds = std::getenv("PELLMARK_BENCH_QUICK") != nullptr ? 1 : kRounds;
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
    const auto expand = [](const std::string& text) { return win32::ExpandEnvironment(text); };
    // The load step alone, then the page's first showing: the list read and its rows,
    // with their pictures.
    const auto showPage = [&](std::vector<double>& load, std::vector<double>& shown) {
        forms::Form form(backend, "Form1");
        RemoveIconsPage removeIcons(form, registry, files, dialogs, system);
        const Clock::time_point start = Clock::now();
        removeIcons.LoadSpecialIcons(folder, expand);
        const Clock::time_point loaded = Clock::now();
        removeIcons.Box().SetVisible(true);
        removeIcons.PageShown();
        load.push_back(Milliseconds(start, loaded));
        shown.push_back(Milliseconds(loaded, Clock::now()));
        return removeIcons.lstvwSpecDeskIco.ItemCount();
    };
    std::vector<double> loadFirst;
    std::vector<double> first;
    std::vector<double> loadLater;
    std::vector<double> later;
    std::vector<double> switches;
    int rows = 0;
    for (int round = 0; round < rounds; ++round) {
        ::DeleteFileA(listFile.c_str());
        showPage(loadFirst, first);
        rows = showPage(loadLater, later);
        forms::Form form(backend, "Form1");
        IconSizePage iconSize(form, registry, dialogs, nullptr);
        MiscPage misc(form, registry, dialogs);
        const Clock::time_point start = Clock::now();
        misc.LoadSwitches();
        iconSize.LoadIconCache();
        switches.push_back(Milliseconds(start, Clock::now()));
    }
    // A list file of 26,000 lines (a megabyte): the load still reads nothing, and the page
    // lists the first thousand.
    std::string many;
    for (int i = 0; i < 26000; ++i) {
        many += "{00000000-0000-0000-0000-" + std::to_string(100000000000 + i) + "}\r\n";
    }
    HANDLE file = ::CreateFileA(listFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                nullptr);
    DWORD written = 0;
    ::WriteFile(file, many.data(), static_cast<DWORD>(many.size()), &written, nullptr);
    ::CloseHandle(file);
    std::vector<double> loadMany;
    std::vector<double> many26;
    const int manyRows = showPage(loadMany, many26);
    ::DeleteFileA(listFile.c_str());
    ::RemoveDirectoryA(folder.c_str());
    std::printf("special desktop icons, %d rows, median of %d (first round %.2f ms)\n", rows,
                rounds, first.front());
    std::printf("  the load's step                                  %.3f ms\n", Median(loadLater));
    std::printf("  page first shown, list from the registry (written) %.2f ms\n", Median(first));
    std::printf("  page first shown, list from its file             %.2f ms\n", Median(later));
    std::printf("  a list file of 26,000 lines: load %.3f ms, page %.0f ms for %d rows\n",
                loadMany.front(), many26.front(), manyRows);
    std::printf("Explorer switches and cache size read              %.3f ms\n", Median(switches));
    return dialogs.shown.empty() ? 0 : 1;
}
