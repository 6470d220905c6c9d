// Pop-up menus and tool tips: the two pieces of a form that live in windows of their own.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <string>

#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32::formwindows {

namespace {

// The tool of one control, named by its window. Common controls before version 6 refuse
// the structure's later, larger sizes, so it is given at its version-2 size.
TTTOOLINFOA ToolOf(HWND form, HWND control) {
    TTTOOLINFOA tool{};
    tool.cbSize = static_cast<UINT>(offsetof(TTTOOLINFOA, lParam) + sizeof tool.lParam);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

}  // namespace

ToolTips::ToolTips(const Win32FormsBackend& backend, HWND form) : form_(form) {
    if (form == nullptr) {
        return;
    }
    window_.reset(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                    backend.Instance(), nullptr));
    if (window_) {
        // A width lets long tips wrap and line breaks in a tip take effect.
        ::SendMessageA(window_.get(), TTM_SETMAXTIPWIDTH, 0, backend.ScaleX(400));
    }
}

ToolTips::~ToolTips() {
    for (HWND control : tools_) {
        TTTOOLINFOA tool = ToolOf(form_, control);
        ::SendMessageA(window_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    window_.reset();
}

void ToolTips::Set(HWND control, const std::string& text) {
    if (!window_ || control == nullptr) {
        return;
    }
    TTTOOLINFOA tool = ToolOf(form_, control);
    const bool known = tools_.count(control) != 0;
    if (text.empty()) {
        if (known) {
            ::SendMessageA(window_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
            tools_.erase(control);
        }
        return;
    }
    tool.lpszText = const_cast<char*>(text.c_str());
    if (known) {
        ::SendMessageA(window_.get(), TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (::SendMessageA(window_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) !=
               FALSE) {
        tools_.insert(control);
    }
}

int TrackMenu(const forms::PopupMenu& menu, HWND owner) {
    UniqueMenu popup(::CreatePopupMenu());
    if (!popup) {
        return -1;
    }
    // Hidden items take their separators' reason away: no separator leads, trails or
    // follows another.
    bool anyItem = false;
    bool separatorDue = false;
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const forms::MenuItem& item = menu.items[i];
        if (!item.visible) {
            continue;
        }
        if (item.caption == "-") {
            separatorDue = anyItem;
            continue;
        }
        if (separatorDue) {
            ::AppendMenuA(popup.get(), MF_SEPARATOR, 0, nullptr);
            separatorDue = false;
        }
        const UINT flags = MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED) |
                           (item.enabled ? MF_ENABLED : MF_GRAYED);
        ::AppendMenuA(popup.get(), flags, i + 1, item.caption.c_str());
        anyItem = true;
    }
    if (!anyItem) {
        return -1;
    }
    // Without the owner in front, the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(owner);
    POINT at{};
    ::GetCursorPos(&at);
    const BOOL chosen = ::TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                         0, owner, nullptr);
    ::PostMessageA(owner, WM_NULL, 0, 0);
    return chosen > 0 ? static_cast<int>(chosen) - 1 : -1;
}

}  // namespace pellmark::win32::formwindows
