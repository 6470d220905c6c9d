// What a mouse event on the notification-area icon does, decided apart from the windows so
// the rules can be read and tested in one place.
#pragma once

#include "platform/forms/TrayIcon.h"

namespace pellmark {

enum class TrayAction {
    None,
    ShowMainWindow,  // shown modeless
    HideMainWindow,
    OpenTrayMenu,  // mnuSysTrayIcon at the mouse
};

struct TrayWindowsState {
    bool mainVisible = false;
    bool aboutVisible = false;
    bool optionsVisible = false;
};

// Left button up toggles the main window, unless the about box or the options dialog shows
// (it stays on top and the main window keeps its state); right button down opens the tray
// menu, whatever shows; every other event is ignored.
[[nodiscard]] TrayAction RouteTrayMouse(forms::TrayMouse mouse,
                                        const TrayWindowsState& windows) noexcept;

}  // namespace pellmark
