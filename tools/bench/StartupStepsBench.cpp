// Figures, not a test: where the main window's start-up goes, step by step, on real
// windows in this process: making the form's model, its window and the windows of what
// shows, each named load step, the first paint and the desktop read left for the tick after
// it; then opening each other page for the first time. The first round pays for loading the
// system's libraries and registering the window classes, as a start does; later rounds show
// the program's own share. The desktop,
// registry and messages are the in-memory ones (the desktop read has its own figures).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Main.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopStyle.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSystem.h"
#include "platform/win32/Win32Displays.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Wallpaper.h"
#include "settings/AppInfo.h"
#include "settings/SettingsStore.h"
#include "tools/bench/QuickMode.h"
#include "tray/frmMenus.h"

namespace {

using namespace pellmark;
using Clock = std::chrono::steady_clock;
const int kRounds = pellmark::bench::Rounds(7);

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

// One round's phases in the order they happened, with their milliseconds.
using Phases = std::vector<std::pair<std::string, double>>;

Phases OneRound(const std::string& programFolder) {
    sim::SimDesktop desktop;
    for (int i = 0; i < 40; ++i) {
        desktop.icons.push_back(
            {"Icon " + std::to_string(i), 20 + (i % 8) * 90, 20 + (i / 8) * 100, i});
    }
    sim::SimDialogs dialogs;
    sim::SimSystem system;
    win32::Win32Files files;
    sim::SimRegistry registry;
    win32::Win32FormsBackend forms;
    sim::SimDesktopStyle desktopStyle;
    ProgramServices services{desktop,  desktopStyle, dialogs,       system, files,
                             registry, forms,        programFolder, ""};
    // The wallpaper picker loads, hidden, with the language.
    win32::Win32Wallpaper wallpaper;
    services.wallpaper = &wallpaper;
    // The screens are followed, as the program follows them.
    win32::Win32Displays displays;
    services.displays = &displays;

    Phases phases;
    auto mark = Clock::now();
    const auto phase = [&](std::string name) {
        const auto now = Clock::now();
        phases.emplace_back(std::move(name), Milliseconds(mark, now));
        mark = now;
    };
    frmMenus menus(forms);
    chrome::frmAbout about(forms, chrome::ProgramFacts{kAppTitle}, [](const std::string&) {});
    Form1 form(services, menus, about);
    phase("the forms' models");
    std::string step = "window and controls that show";
    std::vector<std::string> seen;
    form.StepStarted = [&](std::string_view next) {
        phase(step);
        step = next;
        if (std::find(seen.begin(), seen.end(), step) != seen.end()) {
            step += " (after the paint)";
        }
        seen.push_back(step);
    };
    if (!Main(services, form)) {
        std::printf("startup_steps_bench: the main window did not load\n");
        return {};
    }
    phase(step);
    ::UpdateWindow(win32::Win32FormsBackend::WindowOf(form));
    phase("first paint");
    // The desktop read the load leaves for the first tick after the paint.
    step = "waiting for that tick";
    MSG message{};
    while (form.tmrReadDesktop.Enabled()) {
        // Past the quit message the last round's form left.
        if (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    phase(step);
    for (const int button : {0, 2}) {
        form.Navigation().SideButtonClick(button);
        ::UpdateWindow(win32::Win32FormsBackend::WindowOf(form));
        phase("opening section " + std::to_string(button) + " first");
        for (int tab = 1; tab < chrome::kTabCount && button != 0; ++tab) {
            form.Navigation().TabClick(tab);
            ::UpdateWindow(win32::Win32FormsBackend::WindowOf(form));
            phase("  its tab " + std::to_string(tab));
        }
    }
    form.Unload();
    return phases;
}

}  // namespace

int main() {
    const std::string programFolder = ProgramFolder();
    std::vector<Phases> rounds;
    for (int round = 0; round < kRounds; ++round) {
        rounds.push_back(OneRound(programFolder));
        if (rounds.back().empty()) {
            return 1;
        }
    }
    std::printf("Main window start-up by step, 40 icons (in-memory desktop), ms\n");
    std::printf("  %-58s %9s %13s\n", "step", "1st round", "median after");
    const Phases& first = rounds.front();
    double firstTotal = 0;
    double laterTotal = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        std::vector<double> later;
        for (std::size_t r = 1; r < rounds.size(); ++r) {
            if (i < rounds[r].size()) {
                later.push_back(rounds[r][i].second);
            }
        }
        std::sort(later.begin(), later.end());
        const double median = later.empty() ? 0 : later[later.size() / 2];
        std::printf("  %-58s %9.2f %13.2f\n", first[i].first.c_str(), first[i].second, median);
        if (first[i].first.rfind("opening", 0) != 0 && first[i].first.rfind("  its", 0) != 0) {
            firstTotal += first[i].second;
            laterTotal += median;
        }
    }
    std::printf("  %-58s %9.2f %13.2f\n", "to the main window painted", firstTotal, laterTotal);
    return 0;
}
