// Program entry on Windows: the real services, the forms on real windows, then Main and
// the message loop until the main window has closed.
#include <windows.h>

#include <string>

#include "app/Form1.h"
#include "app/Main.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "tray/frmMenus.h"

namespace {

std::string ApplicationFolder() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    folder.resize(slash == std::string::npos ? 0 : slash);
    return folder;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    using namespace pellmark;
    win32::Win32Desktop desktop;
    win32::Win32Dialogs dialogs;
    win32::Win32System system;
    win32::Win32Files files;
    win32::Win32Registry registry;
    win32::Win32FormsBackend forms;  // outlives every form
    ProgramServices services{desktop,
                             dialogs,
                             system,
                             files,
                             registry,
                             forms,
                             ApplicationFolder(),
                             commandLine != nullptr ? commandLine : ""};
    frmMenus menus(forms);
    Form1 mainForm(services, menus);
    if (!Main(services, mainForm)) {
        return 0;
    }
    return win32::RunMessageLoop();
}
