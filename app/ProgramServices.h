// Everything the program reaches the system through, handed to Main and the main window.
#pragma once

#include <functional>
#include <string>

#include "platform/Desktop.h"
#include "platform/DesktopStyle.h"
#include "platform/Dialogs.h"
#include "platform/Displays.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/System.h"
#include "platform/WallpaperSystem.h"
#include "platform/forms/Form.h"

namespace pellmark {

struct ProgramServices {
    platform::Desktop& desktop;
    platform::DesktopStyle& desktopStyle;
    platform::Dialogs& dialogs;
    platform::System& system;
    platform::Files& files;
    platform::Registry& registry;
    forms::Backend& forms;
    std::string programFolder;  // the folder of the program file, as Windows gives it
    std::string commandLine;    // everything after the program's path, as one string
    // Starts the system's move loop for a window pressed on its body; none: it stays.
    std::function<void(forms::Form&)> dragWindow;
    // The window of a form, for the few commands that are messages to a window; none: 0.
    std::function<WindowHandle(forms::Form&)> windowOf;
    // Asks every window on the screen to paint again; none: nothing.
    std::function<void()> repaintScreen;
    // A text with its %variables% replaced as the system replaces them; none: as it is.
    std::function<std::string(const std::string&)> expandEnvironment;
    // The user's folders and shortcut files; none: the options offer no shortcuts.
    platform::Shell* shell = nullptr;
    std::string programName = "pellmark";  // the program file's name, without ".exe"
    // The desktop wallpaper and what its picker browses; none: no picker.
    platform::WallpaperSystem* wallpaper = nullptr;
    // Languages\English.txt as the build put it into the program: the texts when the
    // chosen language's file is not there.
    std::string builtInEnglish;
    // The monitors and what disturbs the desktop; none: the icons follow no screens.
    platform::Displays* displays = nullptr;
};

}  // namespace pellmark
