// Figures, not a test: how long applying a language takes on real windows (every form,
// the file read once, the messages, the owner-drawn menus, painting included), and
// how long reading a language file takes, the shipped ones and a hostile one of 100,000
// keys. The language files are the ones the build puts beside this program.
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
#include "settings/Language.h"
#include "settings/Messages.h"
#include "settings/SettingsStore.h"
#include "tools/bench/QuickMode.h"
#include "tray/frmMenus.h"

namespace {

using namespace pellmark;
using Clock = std::chrono::steady_clock;
const int kRounds = pellmark::bench::Rounds(21);

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string FolderOfThisProgram() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
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

}  // namespace

int main() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string programFolder = std::string(temp) + "pellmark-language-bench";
    const std::string languages = programFolder + "\\Languages\\";
    ::CreateDirectoryA(programFolder.c_str(), nullptr);
    ::CreateDirectoryA(languages.c_str(), nullptr);
    const std::string shipped = FolderOfThisProgram() + "\\Languages\\";
    bool fine = true;
    for (const char* name : {"English.txt", "German.txt"}) {
        fine = fine && ::CopyFileA((shipped + name).c_str(), (languages + name).c_str(), FALSE);
    }
    std::string hostile = "[Hostile]\r\n";
    for (int i = 0; i < 100000; ++i) {
        hostile += std::to_string(i) + "=" + std::string(300, 'x') + "\r\n";
    }
    fine = fine && WriteText(languages + "Hostile.txt", hostile);
    if (!fine) {
        std::printf("language_bench: the language files could not be put in %s\n",
                    languages.c_str());
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
        std::printf("language_bench: the main window did not load\n");
        return 1;
    }
    forms.DoEvents();

    // As the program does it: the main window, the messages, the menu form and its
    // owner-drawn menus made again.
    std::printf("Applying a language to every form (Form1::UseLanguage), median of %d\n", kRounds);
    for (const char* language : {"German", "English"}) {
        std::vector<double> times;
        for (int round = 0; round < kRounds; ++round) {
            form.UseLanguage(language[0] == 'G' ? "English" : "German");
            forms.DoEvents();
            const auto start = Clock::now();
            form.UseLanguage(language);
            forms.DoEvents();
            times.push_back(Milliseconds(start));
        }
        fine =
            fine && form.patterns.cmdSave.Caption() == (language[0] == 'G' ? "Speichern" : "Save");
        std::printf("  %-8s %8.2f ms\n", language, Median(times));
    }

    std::printf("Reading a language file, median of %d\n", kRounds);
    for (const char* language : {"English", "German", "Hostile"}) {
        std::vector<double> times;
        std::size_t keys = 0;
        for (int round = 0; round < kRounds; ++round) {
            const auto start = Clock::now();
            const LanguageFile file =
                LanguageFile::Read(files, LanguageFilePath(programFolder, language), language);
            times.push_back(Milliseconds(start));
            keys = file.KeyCount();
        }
        std::printf("  %-8s %8.2f ms, %zu keys kept\n", language, Median(times), keys);
    }
    // What the one-read-per-key way would cost: GetPrivateProfileString for every key.
    {
        const LanguageFile english =
            LanguageFile::Read(files, LanguageFilePath(programFolder, "English"), "English");
        std::vector<std::string> keys;
        for (const auto& control : form.Controls()) {
            if (!control->Tag.empty()) {
                keys.push_back(control->Tag);
            }
        }
        for (const std::string_view key : LanguageMessages::kKeys) {
            keys.emplace_back(key);
        }
        const auto start = Clock::now();
        for (const std::string& key : keys) {
            fine = fine && files.ReadProfileString("English", key,
                                                   LanguageFilePath(programFolder, "English")) ==
                               english.Text(key);
        }
        std::printf("  the same %zu keys one profile read each: %.2f ms\n", keys.size(),
                    Milliseconds(start));
    }

    form.Unload();
    for (const char* name : {"English.txt", "German.txt", "Hostile.txt"}) {
        ::DeleteFileA((languages + name).c_str());
    }
    ::RemoveDirectoryA(languages.c_str());
    ::RemoveDirectoryA((programFolder + "\\SavedPositions").c_str());
    ::RemoveDirectoryA(programFolder.c_str());
    if (!fine) {
        std::printf("language_bench: a language did not show what it should\n");
        return 1;
    }
    return 0;
}
