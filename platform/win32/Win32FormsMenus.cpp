// Pop-up menus and tool tips: the two pieces of a form that live in windows of their own.
// A form's menus are kept as the system's menus for as long as its window lives, and
// brought in line with the model's tree each time one shows.
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

ToolTips::ToolTips(const FormWindow& owner, HWND form) : owner_(owner), form_(form) {}

// Made with the first tip: a form without tips (or not shown yet) does without the window.
bool ToolTips::Made() {
    if (!window_ && form_ != nullptr) {
        window_.reset(formtext::CreateWindowText(WS_EX_TOPMOST, "tooltips_class32", "",
                                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, {}, form_,
                                                 nullptr, owner_.Backend().Instance()));
        DpiChanged();
    }
    return static_cast<bool>(window_);
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
    if (window == nullptr) {
        return;
    }
    if (text.empty()) {
        RemoveArea(window, id);
        return;
    }
    if (!Made()) {
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
    if (control == nullptr || (text.empty() && tools_.count(control) == 0) || !Made()) {
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

// One level of a menu as the system holds it: an entry per item shown, in order.
struct FormMenus::Level {
    HMENU handle = nullptr;  // a submenu's goes with its parent's
    struct Entry {
        const forms::MenuItem* item = nullptr;
        bool separator = false;
        std::unique_ptr<Level> submenu;
    };
    std::vector<Entry> entries;
};

namespace {

// Every system takes the structure at its first size; the later one only 98 and 2000 on.
constexpr UINT kMenuItemSize = static_cast<UINT>(offsetof(MENUITEMINFOW, hbmpItem));

struct Shown {
    const forms::MenuItem* item;
    bool separator;
    bool submenu;
};

bool Contains(const forms::MenuItem& menu, const forms::MenuItem* item) {
    for (const auto& child : menu.Items()) {
        if (child.get() == item || Contains(*child, item)) {
            return true;
        }
    }
    return false;
}

}  // namespace

FormMenus::FormMenus() = default;
FormMenus::~FormMenus() = default;

FormMenus::Top::~Top() {
    if (level && level->handle != nullptr) {
        ::DestroyMenu(level->handle);  // and every submenu attached to it
    }
}

void FormMenusDeleter::operator()(FormMenus* menus) const noexcept {
    delete menus;
}

FormMenus& FormWindow::Menus() {
    if (!menus_) {
        menus_.reset(new FormMenus());
    }
    return *menus_;
}

HMENU FormMenus::Sync(const forms::MenuItem& menu) {
    Top& top = tops_[&menu];
    if (!top.level) {
        auto level = std::make_unique<Level>();
        level->handle = ::CreatePopupMenu();
        if (level->handle == nullptr) {
            return nullptr;
        }
        top.level = std::move(level);
    }
    ids_.clear();
    SyncLevel(*top.level, menu);
    return top.level->handle;
}

void FormMenus::SyncLevel(Level& level, const forms::MenuItem& menu) {
    auto& entries = level.entries;
    std::size_t at = 0;  // entries before `at` are in step
    for (const forms::MenuItem* item : forms::ShownItems(menu)) {
        const Shown want{item, item->IsSeparator(), forms::OpensSubmenu(*item)};
        const auto position = static_cast<UINT>(at);
        MENUITEMINFOW info{};
        info.cbSize = kMenuItemSize;
        info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID;
        info.fType = want.separator ? MFT_SEPARATOR : MFT_STRING;
        if (!want.separator) {
            info.fState = (want.item->checked ? MFS_CHECKED : MFS_UNCHECKED) |
                          (want.item->enabled ? MFS_ENABLED : MFS_GRAYED) |
                          (want.item->isDefault ? MFS_DEFAULT : 0U);
            ids_.push_back(want.item);
            info.wID = static_cast<UINT>(ids_.size());
        }
        const std::string_view text = want.separator ? std::string_view() : want.item->caption;
        const bool same = at < entries.size() && entries[at].item == want.item &&
                          entries[at].separator == want.separator &&
                          (entries[at].submenu != nullptr) == want.submenu;
        if (same) {
            formtext::PutMenuItem(level.handle, position, false, info, text);
        } else {
            if (at < entries.size()) {
                ::DeleteMenu(level.handle, position, MF_BYPOSITION);  // its submenu goes too
                entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(at));
            }
            Level::Entry entry{want.item, want.separator, nullptr};
            if (want.submenu) {
                entry.submenu = std::make_unique<Level>();
                entry.submenu->handle = ::CreatePopupMenu();
                info.fMask |= MIIM_SUBMENU;
                info.hSubMenu = entry.submenu->handle;
            }
            if (!formtext::PutMenuItem(level.handle, position, true, info, text)) {
                // The system refused it: the level shows one item fewer.
                if (entry.submenu && entry.submenu->handle != nullptr) {
                    ::DestroyMenu(entry.submenu->handle);
                }
                if (!want.separator) {
                    ids_.pop_back();
                }
                continue;
            }
            entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
        }
        if (want.submenu) {
            SyncLevel(*entries[at].submenu, *want.item);
        }
        ++at;
    }
    while (entries.size() > at) {
        ::DeleteMenu(level.handle, static_cast<UINT>(entries.size() - 1), MF_BYPOSITION);
        entries.pop_back();
    }
}

forms::MenuItem* FormMenus::ItemOf(UINT id) const noexcept {
    return id >= 1 && id <= ids_.size() ? const_cast<forms::MenuItem*>(ids_[id - 1]) : nullptr;
}

forms::MenuItem* TrackMenu(FormWindow& owner, forms::MenuItem& menu, const FormWindow* asker,
                           std::optional<forms::MenuPoint> at) {
    HWND window = owner.Handle();
    if (window == nullptr) {
        return nullptr;
    }
    FormMenus& menus = owner.Menus();
    HMENU popup = menus.Sync(menu);
    if (popup == nullptr || ::GetMenuItemCount(popup) <= 0) {
        return nullptr;
    }
    POINT place{};
    if (at && asker != nullptr && asker->Handle() != nullptr) {
        place = {asker->ScaleX(at->x), asker->ScaleY(at->y)};
        ::ClientToScreen(asker->Handle(), &place);
    } else {
        ::GetCursorPos(&place);
    }
    // A menu closes on a click elsewhere only while a window of its thread is in front.
    // When none is (the notification area asked), the owner comes forward for it, and the
    // posted message lets the menu close properly the next time.
    HWND front = ::GetForegroundWindow();
    const bool ours =
        front != nullptr && ::GetWindowThreadProcessId(front, nullptr) == ::GetCurrentThreadId();
    if (!ours) {
        ::SetForegroundWindow(window);
    }
    const BOOL chosen = ::TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, place.x, place.y,
                                         0, window, nullptr);
    if (!ours) {
        ::PostMessageA(window, WM_NULL, 0, 0);
    }
    forms::MenuItem* item = chosen > 0 ? menus.ItemOf(static_cast<UINT>(chosen)) : nullptr;
    // Code that ran while the menu showed (a timer) may have taken the item away.
    return item != nullptr && Contains(menu, item) ? item : nullptr;
}

}  // namespace pellmark::win32::formwindows
