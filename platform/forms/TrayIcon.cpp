#include "platform/forms/TrayIcon.h"

#include <utility>

#include "platform/forms/Form.h"

namespace pellmark::forms {

std::optional<TrayMouse> TrayMouseFromMessage(std::uint32_t message) noexcept {
    switch (message) {
        case 0x200:
            return TrayMouse::Move;  // WM_MOUSEMOVE
        case 0x201:
            return TrayMouse::LeftDown;  // WM_LBUTTONDOWN
        case 0x202:
            return TrayMouse::LeftUp;  // WM_LBUTTONUP
        case 0x203:
            return TrayMouse::LeftDoubleClick;  // WM_LBUTTONDBLCLK
        case 0x204:
            return TrayMouse::RightDown;  // WM_RBUTTONDOWN
        case 0x205:
            return TrayMouse::RightUp;  // WM_RBUTTONUP
        case 0x206:
            return TrayMouse::RightDoubleClick;  // WM_RBUTTONDBLCLK
        case 0x207:
            return TrayMouse::MiddleDown;  // WM_MBUTTONDOWN
        case 0x208:
            return TrayMouse::MiddleUp;  // WM_MBUTTONUP
        case 0x209:
            return TrayMouse::MiddleDoubleClick;  // WM_MBUTTONDBLCLK
        default:
            return std::nullopt;
    }
}

const char* TrayMouseName(TrayMouse mouse) noexcept {
    switch (mouse) {
        case TrayMouse::Move:
            return "move";
        case TrayMouse::LeftDown:
            return "left button down";
        case TrayMouse::LeftUp:
            return "left button up";
        case TrayMouse::LeftDoubleClick:
            return "left double-click";
        case TrayMouse::RightDown:
            return "right button down";
        case TrayMouse::RightUp:
            return "right button up";
        case TrayMouse::RightDoubleClick:
            return "right double-click";
        case TrayMouse::MiddleDown:
            return "middle button down";
        case TrayMouse::MiddleUp:
            return "middle button up";
        case TrayMouse::MiddleDoubleClick:
            return "middle double-click";
    }
    return "?";
}

TrayIcon::TrayIcon(Form& form) : form_(form) {}

// The peer tells the shell while the form's window still stands.
TrayIcon::~TrayIcon() {
    peer_.reset();
}

void TrayIcon::Add(std::string tip) {
    if (peer_ && tip == tip_) {
        return;
    }
    peer_.reset();
    tip_ = std::move(tip);
    form_.Load();
    form_.MakeWindow();    // the shell calls back through it
    if (form_.Loaded()) {  // its load may have unloaded it
        peer_ = form_.GetBackend().CreateTrayIconPeer(*this);
    }
}

void TrayIcon::Remove() {
    peer_.reset();
}

void TrayIcon::UserMouse(TrayMouse mouse) {
    if (peer_ && Mouse) {
        Mouse(mouse);
    }
}

void TrayIcon::FormUnloading() noexcept {
    peer_.reset();
}

}  // namespace pellmark::forms
