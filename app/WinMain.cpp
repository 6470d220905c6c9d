// Program entry. Until the main window exists, the program's one job is the command
// line SAVE: read the desktop and write it as a pattern in SavedPositions.
#include <windows.h>

#include <string>

#include "app/CommandLine.h"
#include "patterns/DesktopIcons.h"
#include "patterns/PatternFile.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Services.h"

namespace {

std::string ApplicationFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash + 1);
    return folder;
}

int Run(const char* commandLine) {
    using namespace pellmark;
    win32::Win32Dialogs dialogs;
    const auto command = ParseCommandLine(commandLine);
    if (!command || command->action != CommandAction::Save) {
        dialogs.ShowMessage({.text = "This version of Pellmark saves the desktop from the "
                                     "command line:\n\npellmark.exe SAVE name",
                             .icon = platform::MessageIcon::Information});
        return 0;
    }
    if (!ValidatePatternName(command->name + ".ips", dialogs)) {
        return 1;
    }
    const std::string savedFolder = ApplicationFolder() + "SavedPositions\\";
    ::CreateDirectoryA(savedFolder.c_str(), nullptr);

    win32::Win32Desktop desktop;
    win32::Win32Files files;
    DesktopIcons icons(desktop, dialogs);
    return SavePattern(savedFolder + command->name + ".ips", icons, files, dialogs) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    return Run(commandLine);
}
