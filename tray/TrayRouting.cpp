#include "tray/TrayRouting.h"

namespace pellmark {

TrayAction RouteTrayMouse(forms::TrayMouse mouse, const TrayWindowsState& windows) noexcept {
    switch (mouse) {
        case forms::TrayMouse::LeftUp:
            if (windows.aboutVisible || windows.optionsVisible) {
                return TrayAction::None;
            }
            return windows.mainVisible ? TrayAction::HideMainWindow : TrayAction::ShowMainWindow;
        case forms::TrayMouse::RightDown:
            return TrayAction::OpenTrayMenu;
        default:
            return TrayAction::None;
    }
}

}  // namespace pellmark
