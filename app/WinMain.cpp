// Program entry on Windows: the real services, the forms on real windows, then Main and
// the message loop until the main window has closed.
#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/Main.h"
#include "chrome/frmAbout.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32DesktopStyle.h"
#include "platform/win32/Win32Displays.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Network.h"
#include "platform/win32/Win32Region.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32TextCompare.h"
#include "platform/win32/Win32VersionInfo.h"
#include "platform/win32/Win32Wallpaper.h"
#include "settings/AppInfo.h"
#include "tray/frmMenus.h"
#include "update/CheckForNewVersion.h"

// The library's default handler for an exception nobody catches writes the exception's type
// to the standard error, which a windowed program does not have, through a demangler of
// 45 KB. The forms report run-time errors themselves; what still escapes ends the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

namespace {

std::string ApplicationFolder() {
    std::string folder = pellmark::win32::ProgramFilePath();
    const std::size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash);
    return folder;
}

// The program file's name without its folder and extension, as shortcuts and the Run key
// name it.
std::string ProgramName() {
    std::string name = pellmark::win32::ProgramFilePath();
    const std::size_t slash = name.find_last_of("\\/");
    name.erase(0, slash == std::string::npos ? 0 : slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos) {
        name.resize(dot);
    }
    return name;
}

// The arguments as typed, every character kept: lpCmdLine holds only what the ANSI code
// page can show.
std::string CommandArguments() {
    using namespace pellmark;
    const std::string whole = win32::UsesWideApi() ? win32::Narrow(::GetCommandLineW())
                                                   : win32::FromAnsi(::GetCommandLineA());
    return std::string(ArgumentsAfterProgramPath(whole));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace pellmark;
    win32::Win32Desktop desktop;
    win32::Win32DesktopStyle desktopStyle;
    win32::UseSystemCaseComparison();
    win32::Win32Dialogs dialogs(kAppTitle);
    win32::Win32System system;
    win32::Win32Files files;
    win32::Win32Registry registry;
    win32::Win32Wallpaper wallpaper;
    win32::Win32Displays displays;
    win32::Win32Shell shell;
    win32::Win32FormsBackend forms;  // outlives every form
    win32::Win32Network network;
    ProgramServices services{
        desktop,
        desktopStyle,
        dialogs,
        system,
        files,
        registry,
        forms,
        ApplicationFolder(),
        CommandArguments(),
        [](forms::Form& form) { win32::DragWindow(win32::Win32FormsBackend::WindowOf(form)); },
        [](forms::Form& form) {
            return reinterpret_cast<WindowHandle>(win32::Win32FormsBackend::WindowOf(form));
        }};
    services.repaintScreen = [] { win32::RepaintAllWindows(); };
    services.wallpaper = &wallpaper;
    services.displays = &displays;
    services.shell = &shell;
    services.programName = ProgramName();
    services.builtInEnglish = win32::ReadDataResource("ENGLISH");
    services.expandEnvironment = [](const std::string& text) {
        return win32::ExpandEnvironment(text);
    };
    frmMenus menus(forms);
    chrome::ProgramFacts facts{kAppTitle};
    if (const auto version = win32::ReadVersionResource()) {
        facts = {kAppTitle,         version->major,    version->minor,
                 version->revision, version->comments, version->legalCopyright};
    }
    chrome::frmAbout about(forms, facts,
                           [&system](const std::string& address) { system.OpenAddress(address); });
    Form1 mainForm(services, menus, about);
    mainForm.SetCheckForNewVersion(update::VersionCheckCommand(
        forms, dialogs, network, system, registry, {facts.major, facts.minor, facts.revision},
        [&mainForm] { return !mainForm.Loaded(); }));
    if (!Main(services, mainForm)) {
        return services.commandLine.empty() ? 0 : static_cast<int>(RunResult::Other);
    }
    static_cast<void>(win32::RunMessageLoop());
    return mainForm.ExitCode();
}
