// Program entry. Until the main window exists, the program does the command line only:
// SAVE reads the desktop and writes it as a pattern in SavedPositions, LOAD puts a saved
// pattern back.
#include <windows.h>

#include <string>

#include "app/CommandLine.h"
#include "patterns/DesktopIcons.h"
#include "patterns/PatternFile.h"
#include "patterns/PatternRestore.h"
#include "patterns/SavedFolder.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Services.h"

namespace {

std::string ApplicationFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash);
    return folder;
}

int Run(const char* commandLine) {
    using namespace pellmark;
    win32::Win32Dialogs dialogs;
    const auto command = ParseCommandLine(commandLine);
    if (!command || command->action == CommandAction::None) {
        dialogs.ShowMessage({.text = "This version of Pellmark works from the command line:\n\n"
                                     "pellmark.exe SAVE name\npellmark.exe LOAD name",
                             .icon = platform::MessageIcon::Information});
        return 0;
    }
    const std::string savedFolder = SavedFolderFor(ApplicationFolder());
    const std::string path = PatternPath(savedFolder, command->name);
    win32::Win32Desktop desktop;
    win32::Win32Files files;
    DesktopIcons icons(desktop, dialogs);
    if (command->action == CommandAction::Load) {
        icons.ReadDesktopIcons();
        PatternRestore restore(icons, files, dialogs);
        return restore.RestorePatternFile(path, true) ? 0 : 1;
    }
    if (!ValidatePatternName(command->name + ".ips", dialogs)) {
        return 1;
    }
    ::CreateDirectoryA(savedFolder.c_str(), nullptr);
    return SavePattern(path, icons, files, dialogs) ? 0 : 1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    return Run(commandLine);
}
