#include "platform/win32/Win32Forms.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string>

#include "platform/win32/Win32FormsText.h"
#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32 {

using formwindows::ControlWindow;
using formwindows::FormWindow;

namespace {

// Marks a window as a form of ours and leads back to its peer; the space keeps it apart
// from the "Pellmark." + control name properties on the same window.
constexpr char kFormProperty[] = "Pellmark form";
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// A radio button that takes the focus while unticked clicks itself, so focus never goes
// back to one the code has unticked meanwhile.
bool CanTakeFocusBack(HWND form, HWND control) {
    if (control == nullptr || ::IsWindow(control) == FALSE || ::IsChild(form, control) == FALSE ||
        ::IsWindowVisible(control) == FALSE || ::IsWindowEnabled(control) == FALSE) {
        return false;
    }
    const auto style = static_cast<DWORD>(::GetWindowLongPtrA(control, GWL_STYLE));
    const bool radio = (style & BS_TYPEMASK) == BS_RADIOBUTTON;
    char className[16] = {};
    ::GetClassNameA(control, className, sizeof className);
    return !(radio && ::lstrcmpiA(className, "Button") == 0 &&
             formtext::Send(control, BM_GETCHECK) != BST_CHECKED);
}

class TimerWindow final : public forms::TimerPeer {
  public:
    TimerWindow(FormWindow& form, forms::Timer& timer)
        : form_(form), timer_(timer), id_(form.AddTimer(timer)) {
        Update();
    }
    ~TimerWindow() override {
        ::KillTimer(form_.Handle(), id_);
        form_.RemoveTimer(id_);
    }
    TimerWindow(const TimerWindow&) = delete;
    TimerWindow& operator=(const TimerWindow&) = delete;

    void Update() override {
        ::KillTimer(form_.Handle(), id_);
        if (timer_.Running()) {
            ::SetTimer(form_.Handle(), id_, static_cast<UINT>(timer_.Interval()), nullptr);
        }
    }

  private:
    FormWindow& form_;
    forms::Timer& timer_;
    UINT_PTR id_;
};

// The nearest control of ours at or above `window`, short of the form.
ControlWindow* ControlAt(HWND window) {
    for (HWND w = window; w != nullptr; w = ::GetAncestor(w, GA_PARENT)) {
        if (ControlWindow* control = ControlWindow::FromHandle(w)) {
            return control;
        }
        if ((::GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return nullptr;
}

}  // namespace

// ---- The form window ----

namespace formwindows {

FormWindow::FormWindow(Win32FormsBackend& backend, forms::Form& form)
    : backend_(backend), form_(form), style_(kFormStyle) {
    const std::string className = "Pellmark." + form.Name();
    formtext::RegisterWindowClass(
        backend.Instance(), className, &FormWindow::Procedure,
        ::LoadIconW(backend.Instance(), MAKEINTRESOURCEW(1)),  // null when the exe has none
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    const RECT outer = OuterRect();
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int left = work.left + (work.right - work.left - width) / 2;
    const int top = work.top + (work.bottom - work.top - height) / 2;
    const RECT place{left > work.left ? left : work.left, top > work.top ? top : work.top, 0, 0};
    window_.reset(
        formtext::CreateWindowText(0, className, form.Caption(), style_,
                                   {place.left, place.top, place.left + width, place.top + height},
                                   nullptr, nullptr, backend.Instance()));
    if (window_) {
        formtext::SetProperty(window_.get(), kFormProperty, this);
    }
    tips_ = std::make_unique<ToolTips>(backend, window_.get());
}

FormWindow::~FormWindow() {
    for (const auto& [id, timer] : timers_) {
        ::KillTimer(window_.get(), id);
    }
    tips_.reset();
    if (window_) {
        formtext::RemoveProperty(window_.get(), kFormProperty);
    }
    window_.reset();
}

void FormWindow::Update(forms::FormChange what) {
    if (!window_) {
        return;
    }
    switch (what) {
        case forms::FormChange::Caption:
            formtext::SetText(window_.get(), form_.Caption());
            break;
        case forms::FormChange::Visible:
            ::ShowWindow(window_.get(), form_.Visible() ? SW_SHOW : SW_HIDE);
            break;
        case forms::FormChange::Size: {
            const RECT outer = OuterRect();
            ::SetWindowPos(window_.get(), nullptr, 0, 0, outer.right - outer.left,
                           outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            break;
        }
    }
}

RECT FormWindow::OuterRect() const {
    RECT outer{0, 0, backend_.ScaleX(form_.ClientWidth()), backend_.ScaleY(form_.ClientHeight())};
    ::AdjustWindowRectEx(&outer, style_, FALSE, 0);
    return outer;
}

UINT_PTR FormWindow::AddTimer(forms::Timer& timer) {
    const UINT_PTR id = nextTimerId_++;
    timers_[id] = &timer;
    return id;
}

void FormWindow::RemoveTimer(UINT_PTR id) noexcept {
    timers_.erase(id);
}

FormWindow* FormWindow::FromHandle(HWND window) noexcept {
    return window == nullptr ? nullptr
                             : static_cast<FormWindow*>(formtext::Property(window, kFormProperty));
}

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormWindow* self = FromHandle(window);
    if (self == nullptr) {
        return formtext::DefaultProcedure(window, message, wParam, lParam);
    }
    LRESULT result = 0;
    if (RouteFromChild(window, message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_CLOSE:
            // Unloading destroys the window, through its peer.
            self->form_.UserClose();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                self->form_.UserClose();
            }
            return 0;
        case WM_TIMER: {
            const auto found = self->timers_.find(wParam);
            if (found != self->timers_.end()) {
                found->second->Elapse();  // may unload the form
            }
            return 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus != nullptr && ::IsChild(window, focus) != FALSE) {
                    self->lastFocus_ = focus;
                }
            }
            break;
        case WM_SETFOCUS: {
            HWND next = CanTakeFocusBack(window, self->lastFocus_)
                            ? self->lastFocus_
                            : ::GetNextDlgTabItem(window, nullptr, FALSE);
            if (next != nullptr) {
                ::SetFocus(next);
            }
            return 0;
        }
        case WM_NCDESTROY:
            // Destroyed from outside: the peer must not destroy it again.
            formtext::RemoveProperty(window, kFormProperty);
            self->window_.release();
            break;
        default:
            break;
    }
    return formtext::DefaultProcedure(window, message, wParam, lParam);
}

}  // namespace formwindows

// ---- The backend ----

Win32FormsBackend::Win32FormsBackend(int dpi) : instance_(::GetModuleHandleA(nullptr)) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    if (dpi > 0) {
        dpiX_ = dpi;
        dpiY_ = dpi;
    } else if (UniqueScreenDc screen(::GetDC(nullptr)); screen) {
        dpiX_ = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
        dpiY_ = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    messageFont_ = formtext::MessageFont();
    defaultFont_.reset(formtext::CreateFontText(messageFont_));
}

Win32FormsBackend::~Win32FormsBackend() = default;

RECT Win32FormsBackend::Scale(const forms::Bounds& bounds) const noexcept {
    // The far edges are scaled, not the sizes, so that controls that touch still touch.
    return {ScaleX(bounds.left), ScaleY(bounds.top), ScaleX(bounds.left + bounds.width),
            ScaleY(bounds.top + bounds.height)};
}

UniqueGdiObject Win32FormsBackend::MakeFont(const forms::Font& font) const {
    LOGFONTW description = messageFont_;
    if (!font.name.empty()) {
        formtext::SetFaceName(description, font.name);
    }
    if (font.points > 0) {
        description.lfHeight = -static_cast<LONG>(std::lround(font.points * dpiY_ / 72.0));
        description.lfWidth = 0;
    }
    description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    description.lfItalic = font.italic ? TRUE : FALSE;
    return UniqueGdiObject(formtext::CreateFontText(description));
}

std::unique_ptr<forms::FormPeer> Win32FormsBackend::CreateFormPeer(forms::Form& form) {
    return std::make_unique<FormWindow>(*this, form);
}

std::unique_ptr<forms::ControlPeer> Win32FormsBackend::CreateControlPeer(forms::Control& control) {
    auto* form = dynamic_cast<FormWindow*>(control.Owner().Peer());
    if (form == nullptr) {
        return nullptr;
    }
    return formwindows::CreateControlPeer(*this, *form, control);
}

std::unique_ptr<forms::TimerPeer> Win32FormsBackend::CreateTimerPeer(forms::Timer& timer) {
    auto* form = dynamic_cast<FormWindow*>(timer.Owner().Peer());
    if (form == nullptr) {
        return nullptr;
    }
    return std::make_unique<TimerWindow>(*form, timer);
}

int Win32FormsBackend::TrackPopupMenu(const forms::PopupMenu& menu, forms::Form& owner) {
    HWND window = WindowOf(owner);
    return window == nullptr ? -1 : formwindows::TrackMenu(menu, window);
}

int Win32FormsBackend::ListItemAtCursor(const forms::Control& list) {
    HWND window = WindowOf(list);
    if (window == nullptr || list.Kind() != forms::ControlKind::ListBox) {
        return -1;
    }
    POINT cursor{};
    RECT client{};
    if (::GetCursorPos(&cursor) == FALSE || ::ScreenToClient(window, &cursor) == FALSE ||
        ::GetClientRect(window, &client) == FALSE || ::PtInRect(&client, cursor) == FALSE) {
        return -1;
    }
    const auto found = static_cast<DWORD>(
        formtext::Send(window, LB_ITEMFROMPOINT, 0, MAKELPARAM(cursor.x, cursor.y)));
    return HIWORD(found) != 0 ? -1 : static_cast<int>(LOWORD(found));
}

void Win32FormsBackend::DoEvents() {
    MSG message{};
    while (formtext::PeekMessageText(message)) {
        if (message.message == WM_QUIT) {
            // Left for the main loop, which ends the program.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        DispatchFormsMessage(message);
    }
}

void Win32FormsBackend::EndProgram() {
    ::PostQuitMessage(0);
}

HWND Win32FormsBackend::WindowOf(const forms::Form& form) noexcept {
    const auto* peer = dynamic_cast<const FormWindow*>(form.Peer());
    return peer == nullptr ? nullptr : peer->Handle();
}

HWND Win32FormsBackend::WindowOf(const forms::Control& control) noexcept {
    const ControlWindow* peer = ControlWindow::Of(control);
    return peer == nullptr ? nullptr : peer->Handle();
}

// ---- The message loop ----

void DispatchFormsMessage(MSG& message) {
    const HWND target = message.hwnd;
    const int key = static_cast<int>(message.wParam);
    switch (message.message) {
        case WM_KEYDOWN:
            if (ControlWindow* control = ControlAt(target)) {
                control->Model().UserKeyDown(key);
            }
            break;
        case WM_KEYUP:
            if (FormWindow* form = FormWindow::FromHandle(::GetAncestor(target, GA_ROOT))) {
                form->Model().UserKeyUp(key);
            }
            // Looked up again: the form's handler may have unloaded it.
            if (ControlWindow* control = ControlAt(target)) {
                control->Model().UserKeyUp(key);
            }
            break;
        case WM_RBUTTONUP:
            if (ControlWindow* control = ControlAt(target)) {
                control->ModelAt(target, message.lParam).UserMouseUp(forms::MouseButton::Right);
            }
            break;
        default:
            break;
    }
    HWND root = target == nullptr ? nullptr : ::GetAncestor(target, GA_ROOT);
    if (root != nullptr && FormWindow::FromHandle(root) != nullptr &&
        formtext::IsDialogMessageText(root, message)) {
        return;
    }
    ::TranslateMessage(&message);
    formtext::DispatchMessageText(message);
}

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = formtext::GetMessageText(message);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return -1;
        }
        DispatchFormsMessage(message);
    }
}

}  // namespace pellmark::win32
