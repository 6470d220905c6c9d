// Pop-up menus and tool tips: the two pieces of a form that live in windows of their own.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32::formwindows {

namespace {

// Common controls before version 6 refuse the structure's later, larger sizes, so it is
// given at its version-2 size.
constexpr UINT kToolSize = static_cast<UINT>(offsetof(TTTOOLINFOW, lParam) + sizeof(LPARAM));

// The tool of one control, named by its window.
TTTOOLINFOW ToolOf(HWND form, HWND control) {
    TTTOOLINFOW tool{};
    tool.cbSize = kToolSize;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

// The tool of an area of a window. Not TTF_SUBCLASS: the area tools of one window share
// a single subclass, and deleting any of them (Wine's tool tips at least) switches it off
// for the rest, so the window relays its mouse messages itself.
TTTOOLINFOW AreaToolOf(HWND window, UINT_PTR id) {
    TTTOOLINFOW tool{};
    tool.cbSize = kToolSize;
    tool.hwnd = window;
    tool.uId = id;
    return tool;
}

// A tool message, in the kind that matches the tool's text.
LRESULT SendTool(HWND tips, UINT ansiMessage, UINT wideMessage, TTTOOLINFOW& tool) {
    return formtext::Send(tips, formtext::Pick(ansiMessage, wideMessage), 0,
                          reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

ToolTips::ToolTips(const FormWindow& owner, HWND form) : owner_(owner), form_(form) {
    if (form == nullptr) {
        return;
    }
    window_.reset(formtext::CreateWindowText(WS_EX_TOPMOST, "tooltips_class32", "",
                                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, {}, form,
                                             nullptr, owner.Backend().Instance()));
    DpiChanged();
}

void ToolTips::DpiChanged() {
    if (window_) {
        // A width lets long tips wrap and line breaks in a tip take effect.
        formtext::Send(window_.get(), TTM_SETMAXTIPWIDTH, 0, owner_.ScaleX(400));
    }
}

ToolTips::~ToolTips() {
    if (window_ && ::IsWindow(window_.get()) == FALSE) {
        window_.release();  // went with the form's window, which owned it
        return;
    }
    for (HWND control : tools_) {
        TTTOOLINFOW tool = ToolOf(form_, control);
        SendTool(window_.get(), TTM_DELTOOLA, TTM_DELTOOLW, tool);
    }
    for (const auto& [window, id] : areas_) {
        TTTOOLINFOW tool = AreaToolOf(window, id);
        SendTool(window_.get(), TTM_DELTOOLA, TTM_DELTOOLW, tool);
    }
    window_.reset();
}

void ToolTips::SetArea(HWND window, UINT_PTR id, const RECT& area, const std::string& text) {
    if (!window_ || window == nullptr) {
        return;
    }
    if (text.empty()) {
        RemoveArea(window, id);
        return;
    }
    TTTOOLINFOW tool = AreaToolOf(window, id);
    const bool known = areas_.count(std::make_pair(window, id)) != 0;
    formtext::SystemText tip(text);
    tool.lpszText = tip.get();
    if (known) {
        SendTool(window_.get(), TTM_UPDATETIPTEXTA, TTM_UPDATETIPTEXTW, tool);
        return;
    }
    tool.rect = area;
    if (SendTool(window_.get(), TTM_ADDTOOLA, TTM_ADDTOOLW, tool) != FALSE) {
        areas_.insert(std::make_pair(window, id));
    }
}

void ToolTips::RemoveArea(HWND window, UINT_PTR id) noexcept {
    if (areas_.erase(std::make_pair(window, id)) == 0) {
        return;
    }
    TTTOOLINFOW tool = AreaToolOf(window, id);
    SendTool(window_.get(), TTM_DELTOOLA, TTM_DELTOOLW, tool);
}

void ToolTips::MoveArea(HWND window, UINT_PTR id, const RECT& area) {
    if (!window_ || areas_.count(std::make_pair(window, id)) == 0) {
        return;
    }
    TTTOOLINFOW tool = AreaToolOf(window, id);
    tool.rect = area;
    SendTool(window_.get(), TTM_NEWTOOLRECTA, TTM_NEWTOOLRECTW, tool);
}

void ToolTips::Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!window_) {
        return;
    }
    MSG relayed{};
    relayed.hwnd = window;
    relayed.message = message;
    relayed.wParam = wParam;
    relayed.lParam = lParam;
    formtext::Send(window_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void ToolTips::Set(HWND control, const std::string& text) {
    if (!window_ || control == nullptr) {
        return;
    }
    TTTOOLINFOW tool = ToolOf(form_, control);
    const bool known = tools_.count(control) != 0;
    if (text.empty()) {
        if (known) {
            SendTool(window_.get(), TTM_DELTOOLA, TTM_DELTOOLW, tool);
            tools_.erase(control);
        }
        return;
    }
    formtext::SystemText tip(text);
    tool.lpszText = tip.get();
    if (known) {
        SendTool(window_.get(), TTM_UPDATETIPTEXTA, TTM_UPDATETIPTEXTW, tool);
    } else if (SendTool(window_.get(), TTM_ADDTOOLA, TTM_ADDTOOLW, tool) != FALSE) {
        tools_.insert(control);
    }
}

namespace {
// Appends the visible items under `menu`, numbering them into `chosen`; false when none.
bool AppendItems(HMENU popup, const forms::MenuItem& menu, std::vector<forms::MenuItem*>& ids,
                 std::vector<UniqueMenu>& made) {
    // Hidden items take their separators' reason away: no separator leads, trails or
    // follows another.
    bool anyItem = false;
    bool separatorDue = false;
    for (const auto& entry : menu.Items()) {
        forms::MenuItem& item = *entry;
        if (!item.visible) {
            continue;
        }
        if (item.IsSeparator()) {
            separatorDue = anyItem;
            continue;
        }
        if (separatorDue) {
            ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
            separatorDue = false;
        }
        UINT flags = MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED) |
                     (item.enabled ? MF_ENABLED : MF_GRAYED);
        UINT_PTR id = 0;
        if (item.HasSubmenu()) {
            UniqueMenu sub(::CreatePopupMenu());
            if (!sub || !AppendItems(sub.get(), item, ids, made)) {
                continue;
            }
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(sub.get());
            made.push_back(std::move(sub));
        } else {
            ids.push_back(&item);
            id = ids.size();
        }
        formtext::AppendMenuText(popup, flags, id, item.caption);
        anyItem = true;
    }
    return anyItem;
}
}  // namespace

forms::MenuItem* TrackMenu(forms::MenuItem& menu, HWND owner) {
    UniqueMenu popup(::CreatePopupMenu());
    std::vector<forms::MenuItem*> ids;
    std::vector<UniqueMenu> submenus;
    if (!popup || !AppendItems(popup.get(), menu, ids, submenus)) {
        return nullptr;
    }
    // The top menu destroys its submenus.
    for (UniqueMenu& sub : submenus) {
        sub.release();
    }
    // Without the owner in front, the menu would not close when the user clicks elsewhere.
    ::SetForegroundWindow(owner);
    POINT at{};
    ::GetCursorPos(&at);
    const BOOL chosen = ::TrackPopupMenu(popup.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y,
                                         0, owner, nullptr);
    ::PostMessageW(owner, WM_NULL, 0, 0);
    return chosen > 0 && static_cast<std::size_t>(chosen) <= ids.size() ? ids[chosen - 1] : nullptr;
}

}  // namespace pellmark::win32::formwindows
