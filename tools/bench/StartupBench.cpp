// Figures, not a test: how long pellmark.exe takes from process start to its main window
// shown, beside two yardsticks measured in the same run, in turn, against the stand-in
// desktop: the least a Win32 program needs to show a window, and that window with the
// common controls 6 (same manifest) and four standard controls. Prints the median of each,
// and of the time until the main window's icon count shows the desktop's (the preview filled).
#include <windows.h>

#include <shlwapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"
#include "tools/bench/BenchLayout.h"
#include "tools/bench/QuickMode.h"
#include "tools/desktophost/Layout.h"

namespace {

using namespace pellmark;
using Clock = std::chrono::steady_clock;

const int kRuns = pellmark::bench::Rounds(9);

struct Times {
    double shown = -1;
    double filled = -1;
};

// Milliseconds from CreateProcess to a visible window of the class and, with `count`, to
// its icon count reading that text (the preview filled); negative on a failure.
Times TimeToWindow(const std::string& exe, const char* className, const std::string& count = "") {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = "\"" + exe + "\"";
    const auto start = Clock::now();
    if (::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info) == FALSE) {
        return {};
    }
    win32::UniqueKernelHandle process(info.hProcess);
    ::CloseHandle(info.hThread);
    Times times;
    const auto since = [&] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    HWND shown = nullptr;
    while (Clock::now() - start < std::chrono::seconds(30)) {
        if (shown == nullptr && (shown = e2e::FindShownWindow(info.dwProcessId, className))) {
            times.shown = since();
        }
        if (shown != nullptr &&
            (count.empty() || e2e::WindowText(e2e::FormControl(shown, "lblNoIcons")) == count)) {
            times.filled = count.empty() ? -1 : since();
            break;
        }
        if (::WaitForSingleObject(process.get(), 1) == WAIT_OBJECT_0) {
            break;  // ended without a window
        }
    }
    // Closed as a user closes it, so the next start finds no copy running.
    HWND window = ::FindWindowA(className, nullptr);
    if (window != nullptr) {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (::WaitForSingleObject(process.get(), 20000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process.get(), 1);
        return {};
    }
    return times;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string BesideThisProgram(const char* name) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// One line of figures for a desktop of this layout; false when a program showed nothing.
bool MeasureWith(const standin::Layout& layout, const std::string& exe) {
    const auto host = standin::StandInProcess::Start(layout);
    if (!host) {
        std::fprintf(stderr, "startup_bench: the stand-in desktop did not start\n");
        return false;
    }
    const std::string minimal = BesideThisProgram("minimal_window.exe");
    const std::string controls = BesideThisProgram("controls_window.exe");
    std::vector<double> pellmark;
    std::vector<double> filled;
    std::vector<double> bare;
    std::vector<double> withControls;
    const std::string count = std::to_string(layout.icons.size()) + " icons";
    for (int run = 0; run < kRuns; ++run) {
        bare.push_back(TimeToWindow(minimal, "Bench.Minimal").shown);
        withControls.push_back(TimeToWindow(controls, "Bench.Controls").shown);
        const Times ours = TimeToWindow(exe, "Pellmark.Form1", count);
        pellmark.push_back(ours.shown);
        filled.push_back(ours.filled);
    }
    for (const auto* times : {&pellmark, &filled, &bare, &withControls}) {
        if (*std::min_element(times->begin(), times->end()) < 0) {
            std::fprintf(stderr, "startup_bench: a program did not show its window\n");
            return false;
        }
    }
    const double ours = Median(pellmark);
    std::printf(
        "  %5zu icons   pellmark.exe %7.1f ms   minimal window %6.1f ms (ratio %4.2f)"
        "   with controls %6.1f ms (ratio %4.2f)\n",
        layout.icons.size(), ours, Median(bare), ours / Median(bare), Median(withControls),
        ours / Median(withControls));
    std::printf("  %5zu icons   the preview filled (\"%s\") %7.1f ms\n", layout.icons.size(),
                count.c_str(), Median(filled));
    return host->Stop();
}

}  // namespace

int main() {
    standin::Layout small;
    for (int i = 0; i < 40; ++i) {
        small.icons.push_back({"Icon " + std::to_string(i), 20 + (i % 8) * 90, 20 + (i / 8) * 90});
    }
    e2e::ProgramFolder folder;  // no saved patterns
    std::printf("start-up to the main window shown, median of %d, against the stand-in desktop\n",
                kRuns);
    const bool measured =
        MeasureWith(small, folder.Exe()) && MeasureWith(bench::ThousandIcons(), folder.Exe());
    ::SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Pellmark");
    return measured ? 0 : 1;
}
