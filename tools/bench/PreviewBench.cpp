// Figures, not a test: how long the main window takes to preview a pattern of 1,000,
// 10,000 and 50,000 records, and to list a folder of 100 and 5,000 patterns, on real
// windows. The window runs in this process over the real file system and forms; the
// desktop and the message boxes are the in-memory ones, since neither is measured here.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/Main.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopStyle.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimRegistry.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Services.h"
#include "settings/AppInfo.h"
#include "settings/SettingsStore.h"
#include "tests/common/PatternText.h"
#include "tools/bench/QuickMode.h"
#include "tray/frmMenus.h"

namespace {

using namespace pellmark;
using Clock = std::chrono::steady_clock;
const int kRounds = pellmark::bench::Rounds(5);

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string TempFolder() {
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "pellmark-preview-bench";
}

bool WriteText(const std::string& path, const std::string& text) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written,
                                nullptr) != FALSE &&
                    written == text.size();
    ::CloseHandle(file);
    return ok;
}

// A pattern of `count` icons spread over a 1024 x 768 screen.
std::string PatternOf(int count) {
    std::vector<testcases::Record> records;
    records.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        testcases::Record record;
        record.caption = "Document number " + std::to_string(i) + ".txt";
        record.x = std::to_string((i * 37) % 1000);
        record.y = std::to_string((i * 13) % 740);
        records.push_back(std::move(record));
    }
    return testcases::PatternText(1024, 768, records);
}

std::string NameOf(int size) {
    std::string name = std::to_string(size);
    name.insert(name.begin(), 'P');
    return name;
}

int RowOf(const Form1& form, const std::string& name) {
    const auto& items = form.patterns.List1.Items();
    const auto found = std::find(items.begin(), items.end(), name);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

}  // namespace

int main() {
    const std::string programFolder = TempFolder();
    const std::string saved = programFolder + "\\SavedPositions\\";
    ::CreateDirectoryA(programFolder.c_str(), nullptr);
    ::CreateDirectoryA(saved.c_str(), nullptr);
    // The window's captions come from the language file beside the program.
    const std::string languages = programFolder + "\\Languages\\";
    ::CreateDirectoryA(languages.c_str(), nullptr);
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string shipped(self);
    shipped = shipped.substr(0, shipped.find_last_of('\\')) + "\\Languages\\English.txt";
    const std::vector<int> sizes =
        bench::Quick() ? std::vector<int>{1000} : std::vector<int>{1000, 10000, 50000};
    bool written =
        ::CopyFileA(shipped.c_str(), (languages + "English.txt").c_str(), FALSE) != FALSE &&
        WriteText(saved + "Empty.ips", PatternOf(0));
    for (const int size : sizes) {
        written = written && WriteText(saved + NameOf(size) + ".ips", PatternOf(size));
    }
    if (!written) {
        std::printf("preview_bench: the patterns could not be written in %s\n", saved.c_str());
        return 1;
    }

    sim::SimDesktop desktop;
    desktop.icons = {{"Recycle Bin", 20, 20, 0}};
    sim::SimDialogs dialogs;
    win32::Win32System system;
    win32::Win32Files files;
    sim::SimRegistry registry;
    win32::Win32FormsBackend forms;
    sim::SimDesktopStyle desktopStyle;
    ProgramServices services{desktop,  desktopStyle, dialogs,       system, files,
                             registry, forms,        programFolder, ""};
    frmMenus menus(forms);
    chrome::frmAbout about(forms, chrome::ProgramFacts{kAppTitle}, [](const std::string&) {});
    Form1 form(services, menus, about);
    if (!Main(services, form)) {
        std::printf("preview_bench: the main window did not load\n");
        return 1;
    }
    forms.DoEvents();

    // Each preview is shown coming from an empty pattern, then left for it again: taking
    // the markers away is as much a user's wait as making them. Painting is included.
    std::printf("Previewing a pattern in the main window, median of %d rounds\n", kRounds);
    const int empty = RowOf(form, "Empty");
    bool fine = empty >= 0;
    for (const int size : sizes) {
        const int row = RowOf(form, NameOf(size));
        if (row < 0 || !fine) {
            fine = false;
            break;
        }
        std::vector<double> show;
        std::vector<double> leave;
        for (int round = 0; round < kRounds; ++round) {
            auto start = Clock::now();
            form.patterns.List1.UserSelect(row);
            forms.DoEvents();
            show.push_back(Milliseconds(start));
            fine = fine &&
                   form.patterns.lblNoIcons.Caption().rfind(std::to_string(size) + " ", 0) == 0;
            start = Clock::now();
            form.patterns.List1.UserSelect(empty);
            forms.DoEvents();
            leave.push_back(Milliseconds(start));
        }
        std::printf("  %6d records   show %9.1f ms (%6.2f us/record)   leave %9.1f ms\n", size,
                    Median(show), Median(show) * 1000 / size, Median(leave));
    }

    // The list: what F5 does, for a folder of 100 and then 5,000 patterns.
    std::printf("Listing the saved patterns (F5), median of %d rounds\n", kRounds);
    const std::string small = PatternOf(3);
    int made = static_cast<int>(sizes.size()) + 1;
    for (const int count : bench::Quick() ? std::vector<int>{100} : std::vector<int>{100, 5000}) {
        for (; made < count && fine; ++made) {
            char name[32];
            std::snprintf(name, sizeof name, "Pattern %05d.ips", made);
            fine = WriteText(saved + name, small);
        }
        std::vector<double> times;
        for (int round = 0; round < kRounds && fine; ++round) {
            const auto start = Clock::now();
            form.UserKeyUp(kKeyF5);
            forms.DoEvents();
            times.push_back(Milliseconds(start));
            fine = form.patterns.List1.ListCount() == count;
        }
        if (!fine) {
            std::printf("  %d files listed of %d\n", form.patterns.List1.ListCount(), count);
        }
        if (fine) {
            const auto start = Clock::now();
            form.patterns.File1.Refresh();
            const double folder = Milliseconds(start);
            std::printf("  %6d files     %9.1f ms (%6.2f us/file), reading the folder %.1f ms\n",
                        count, Median(times), Median(times) * 1000 / count, folder);
        }
    }

    form.Unload();
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((saved + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            ::DeleteFileA((saved + found.cFileName).c_str());
        } while (::FindNextFileA(search, &found) != FALSE);
        ::FindClose(search);
    }
    ::RemoveDirectoryA(saved.c_str());
    ::DeleteFileA((languages + "English.txt").c_str());
    ::RemoveDirectoryA(languages.c_str());
    ::RemoveDirectoryA(programFolder.c_str());
    if (!fine || !dialogs.shown.empty()) {
        std::printf("preview_bench: a preview or the list did not show what it should%s%s\n",
                    dialogs.shown.empty() ? "" : ": ",
                    dialogs.shown.empty() ? "" : dialogs.shown.front().text.c_str());
        return 1;
    }
    return 0;
}
