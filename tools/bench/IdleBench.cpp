// Figures, not a test: what the program costs while nobody looks at it. The main window is
// started on real windows in this process, every page, the help panel, the main menu, the
// about box, the options dialog and the wallpaper picker are opened and closed once, and the
// window goes to the notification area; then, with no window of the program showing and no
// feature timer on, this process's share of a core and every message that woke its thread
// are counted over a minute (PELLMARK_BENCH_QUICK=1: three seconds). The goal is no
// wake-ups at all. The desktop, registry and message boxes are the in-memory ones.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "app/Form1.h"
#include "app/Main.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopStyle.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSystem.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Wallpaper.h"
#include "settings/AppInfo.h"
#include "tools/bench/ProcessClock.h"
#include "tools/bench/QuickMode.h"
#include "tray/frmMenus.h"

namespace {

using namespace pellmark;
using bench::CpuSeconds;
using bench::Now;

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

// Lets the windows settle: every message that arrives within `seconds` is handled.
void Pump(double seconds) {
    const double end = Now() + seconds;
    MSG message;
    while (Now() < end) {
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
}

// What a modal loop opened next should do once it runs: a thread timer that fires once
// inside it (a menu's loop and a modal form's both hand thread timers on).
std::function<void()> insideModal;
void CALLBACK RunInsideModal(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (insideModal) {
        std::exchange(insideModal, nullptr)();
    }
}
void WhenModalRuns(std::function<void()> action) {
    insideModal = std::move(action);
    ::SetTimer(nullptr, 0, 300, RunInsideModal);
}

// Comments taller than their box, so that they roll while the box shows.
std::string LongComments() {
    std::string text;
    for (int i = 0; i < 60; ++i) {
        text += "Remembers where the desktop icons stand. ";
    }
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = {};
    if (window == nullptr || ::GetClassNameA(window, name, sizeof name) == 0) {
        return "(thread)";
    }
    return name;
}

}  // namespace

int main() {
    const double seconds = bench::Quick() ? 3 : 60;

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
    ProgramServices services{desktop,  desktopStyle, dialogs,         system, files,
                             registry, forms,        ProgramFolder(), ""};
    win32::Win32Wallpaper wallpaper;
    services.wallpaper = &wallpaper;
    frmMenus menus(forms);
    chrome::frmAbout about(forms, chrome::ProgramFacts{kAppTitle, 1, 0, 0, LongComments()},
                           [](const std::string&) {});
    Form1 form(services, menus, about);
    if (!Main(services, form)) {
        std::printf("idle_bench: the main window did not load\n");
        return 1;
    }
    Pump(0.3);

    // Every page, and the help panel of each page that has one.
    chrome::MainNavigation& navigation = form.Navigation();
    for (int button = 0; button < chrome::kSideButtonCount; ++button) {
        navigation.SideButtonClick(button);
        for (int tab = 0; tab < chrome::kTabCount && button != 0; ++tab) {
            navigation.TabClick(tab);
            Pump(0.05);
            navigation.TitleClick();
            Pump(0.05);
            navigation.DoneClick();
        }
    }
    // The about box from the introduction's title, closed with Esc inside its modal loop.
    navigation.SideButtonClick(0);
    WhenModalRuns([&] { static_cast<void>(about.UserDialogKey(27)); });
    navigation.TitleClick();
    // The main menu, closed inside its own loop.
    WhenModalRuns([] { ::EndMenu(); });
    navigation.MenuClick();
    form.Options().Open();
    Pump(0.2);
    form.Options().cmdCancel.UserClick();
    form.ShowWallpaperPicker();
    Pump(0.2);
    if (form.WallpaperPicker() != nullptr) {
        form.WallpaperPicker()->CancelButton.UserClick();
    }
    // Minimize: the notification area only.
    menus.mnuMinimize.Click();
    Pump(0.5);
    const bool anyShown = form.Visible() || about.Visible() || form.Options().Visible() ||
                          (form.WallpaperPicker() != nullptr && form.WallpaperPicker()->Visible());

    // The idle time: every wake-up of this thread and the messages it brought.
    std::map<std::pair<std::string, UINT_PTR>, int> timers;  // by window class and id
    std::map<UINT, int> others;
    int wakeUps = 0;
    const double cpuStart = CpuSeconds(::GetCurrentProcess());
    const double start = Now();
    for (double left = seconds; left > 0; left = seconds - (Now() - start)) {
        const DWORD woke = ::MsgWaitForMultipleObjects(
            0, nullptr, FALSE, static_cast<DWORD>(left * 1000) + 1, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0) {
            continue;
        }
        ++wakeUps;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (message.message == WM_TIMER) {
                ++timers[{ClassOf(message.hwnd), message.wParam}];
            } else {
                ++others[message.message];
            }
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    const double wall = Now() - start;
    const double cpu = CpuSeconds(::GetCurrentProcess()) - cpuStart;

    int timerMessages = 0;
    for (const auto& [key, count] : timers) {
        timerMessages += count;
    }
    std::printf(
        "idle after every window and dialog was opened and closed once%s: %.0f s, %.1f ms of "
        "CPU, %.3f %% of a core; %d wake-ups, %d WM_TIMER (goal: none)\n",
        anyShown ? " (a window still shows!)" : "", wall, cpu * 1000, cpu * 100 / wall, wakeUps,
        timerMessages);
    for (const auto& [key, count] : timers) {
        std::printf("  WM_TIMER %4d x  window %s, timer %llu\n", count, key.first.c_str(),
                    static_cast<unsigned long long>(key.second));
    }
    for (const auto& [id, count] : others) {
        std::printf("  message 0x%04X %4d x\n", id, count);
    }
    form.Unload();
    return 0;
}
