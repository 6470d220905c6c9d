#include "platform/win32/Win32Forms.h"

#include <cmath>
#include <cstddef>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Controls.h"
#include "platform/win32/Win32FormsText.h"
#include "platform/win32/Win32FormsWindows.h"
#include "platform/win32/Win32TrayIcon.h"

namespace pellmark::win32 {

using formwindows::ControlWindow;
using formwindows::FormWindow;
using formwindows::Guarded;

namespace {

// Marks a window as a form of ours and leads back to its peer; the space keeps it apart
// from the "Pellmark." + control name properties on the same window.
constexpr char kFormProperty[] = "Pellmark form";
#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

// The process's one backend: window procedures report run-time errors through it.
Win32FormsBackend* currentBackend = nullptr;

DWORD StyleOf(const forms::WindowSettings& settings) {
    switch (settings.border) {
        case forms::BorderStyle::Fixed:
            return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
        case forms::BorderStyle::FixedDialog:
            return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        case forms::BorderStyle::Sizable:
            return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        case forms::BorderStyle::None:
            // The system menu stays, so Alt+F4 and the taskbar's menu still close it.
            return WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    }
    return WS_OVERLAPPEDWINDOW;
}

DWORD ExStyleOf(const forms::WindowSettings& settings) {
    DWORD style = settings.border == forms::BorderStyle::FixedDialog ? WS_EX_DLGMODALFRAME : 0;
    if (settings.topmost) {
        style |= WS_EX_TOPMOST;
    }
    if (settings.showInTaskbar && settings.owner != nullptr) {
        style |= WS_EX_APPWINDOW;
    }
    return style;
}

// A function of a system library, found at run time; null where the system has none.
template <class Function>
Function LookUp(HMODULE library, const char* name) {
    // Through void (*)(): a function pointer's type is only a claim until it is called.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(library, name)));
}

// The work area of the monitor that holds the window or the point; the primary monitor's
// where there is only one (the monitor calls are looked up: 95 and NT 4 have none).
RECT WorkAreaOf(HWND window, POINT point) {
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    HMODULE user = ::GetModuleHandleA("user32.dll");
    using FromWindow = HMONITOR(WINAPI*)(HWND, DWORD);
    using FromPoint = HMONITOR(WINAPI*)(POINT, DWORD);
    using Info = BOOL(WINAPI*)(HMONITOR, MONITORINFO*);
    const auto fromWindow = LookUp<FromWindow>(user, "MonitorFromWindow");
    const auto fromPoint = LookUp<FromPoint>(user, "MonitorFromPoint");
    const auto info = LookUp<Info>(user, "GetMonitorInfoW");
    if (fromWindow == nullptr || fromPoint == nullptr || info == nullptr) {
        return work;
    }
    HMONITOR monitor = window != nullptr ? fromWindow(window, MONITOR_DEFAULTTONEAREST)
                                         : fromPoint(point, MONITOR_DEFAULTTONEAREST);
    MONITORINFO details{};
    details.cbSize = sizeof details;
    if (monitor != nullptr && info(monitor, &details) != FALSE) {
        work = details.rcWork;
    }
    return work;
}

// The program's icon at the size of those system metrics, drawn from the image of that
// size in the resource; null when the exe has none. Shared: the system keeps it.
HICON ProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), LR_SHARED));
}

// A hidden window that owns the forms kept out of the taskbar.
HWND ParkingWindow(HINSTANCE instance) {
    static HWND parking = nullptr;
    if (parking == nullptr || ::IsWindow(parking) == FALSE) {
        formtext::RegisterWindowClass(instance, "Pellmark parking", &::DefWindowProcW, {}, nullptr);
        parking = formtext::CreateWindowText(0, "Pellmark parking", "", WS_POPUP, {}, nullptr,
                                             nullptr, instance);
    }
    return parking;
}

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

bool IsMouseMessage(UINT message) {
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

// A control and a form take the same four mouse calls.
template <class Model>
void PassMouse(Model& model, bool down, bool up, bool dblclk, const forms::MouseEvent& event) {
    if (down) {
        model.UserMouseDown(event);
    } else if (up) {
        model.UserMouseUp(event);
    } else if (dblclk) {
        model.UserDblClick();
    } else {
        model.UserMouseMove(event);
    }
}

// Hands a mouse message to the model of the control or form under it. A press captures the
// mouse for the windows of ours that draw themselves (standard controls capture their own).
void DeliverMouse(const MSG& message) {
    const HWND target = message.hwnd;
    const UINT kind = message.message;
    const bool down = kind == WM_LBUTTONDOWN || kind == WM_RBUTTONDOWN || kind == WM_MBUTTONDOWN;
    const bool up = kind == WM_LBUTTONUP || kind == WM_RBUTTONUP || kind == WM_MBUTTONUP;
    const bool dblclk =
        kind == WM_LBUTTONDBLCLK || kind == WM_RBUTTONDBLCLK || kind == WM_MBUTTONDBLCLK;
    forms::MouseEvent event = formwindows::MouseState(kind, message.wParam);
    // Images have no windows: the mouse messages of the window that draws them are theirs
    // where they are (or while a press on one lasts).
    ControlWindow* control = ControlAt(target);
    FormWindow* form = control == nullptr ? FormWindow::FromHandle(target) : nullptr;
    formwindows::DrawnImages* images = nullptr;
    if (control != nullptr && target == control->Handle()) {
        images = control->Images();
    } else if (form != nullptr) {
        images = &form->Images();
    }
    if (forms::Image* drawn =
            images == nullptr ? nullptr
                              : images->MouseTarget(kind, message.wParam, message.lParam, event)) {
        if (down) {
            ::SetCapture(target);
        }
        PassMouse(*drawn, down, up, dblclk, event);  // may take the image away
    } else if (control != nullptr) {
        forms::Control& model = control->ModelAt(target, message.lParam);
        const forms::MouseButton button = event.button;
        event = control->MouseEventAt(target, model, message.wParam, message.lParam);
        event.button = button;
        const bool ownDrawn = model.Kind() == forms::ControlKind::Picture ||
                              model.Kind() == forms::ControlKind::Image ||
                              model.Kind() == forms::ControlKind::Label;
        if (down && ownDrawn && target == control->Handle()) {
            ::SetCapture(target);
        }
        // The model's handler may take the control away: nothing of it is touched after.
        PassMouse(model, down, up, dblclk, event);
    } else if (form != nullptr) {
        event.x = form->Unscale(static_cast<short>(LOWORD(message.lParam)));
        event.y = form->Unscale(static_cast<short>(HIWORD(message.lParam)));
        if (down) {
            ::SetCapture(target);
        }
        PassMouse(form->Model(), down, up, dblclk, event);
    }
    if (up && ::GetCapture() == target &&
        (message.wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
        ::ReleaseCapture();
    }
}

}  // namespace

// ---- The form window ----

namespace formwindows {

FormWindow::FormWindow(Win32FormsBackend& backend, forms::Form& form)
    : backend_(backend),
      form_(form),
      style_(StyleOf(form.Settings())),
      exStyle_(ExStyleOf(form.Settings())),
      dpi_(backend.Dpi()) {
    const std::string className = "Pellmark." + form.Name();
    formtext::RegisterWindowClass(backend.Instance(), className, &FormWindow::Procedure,
                                  {ProgramIcon(backend.Instance(), SM_CXICON, SM_CYICON),
                                   ProgramIcon(backend.Instance(), SM_CXSMICON, SM_CYSMICON)},
                                  reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)),
                                  CS_DBLCLKS);
    const forms::WindowSettings& settings = form.Settings();
    if (settings.owner != nullptr) {
        settings.owner->MakeWindow();  // an owned window is made above its owner's
    }
    HWND owner = settings.owner != nullptr ? Win32FormsBackend::WindowOf(*settings.owner) : nullptr;
    if (owner == nullptr && !settings.showInTaskbar) {
        owner = ParkingWindow(backend.Instance());
    }
    // WM_NCCREATE binds the window to this peer (see Procedure), so every message from the
    // first reaches it.
    const HWND made =
        formtext::CreateWindowText(exStyle_, className, form.Caption(), style_, StartRect(owner),
                                   owner, nullptr, backend.Instance(), this);
    if (made != nullptr) {
        ApplyRegion();
    }
    tips_ = std::make_unique<ToolTips>(*this, window_.get());
}

FormWindow::~FormWindow() {
    destroying_ = true;
    for (const auto& [id, timer] : timers_) {
        ::KillTimer(window_.get(), id);
    }
    tips_.reset();
    if (window_) {
        formtext::RemoveProperty(window_.get(), kFormProperty);
    }
    if (destroyedOutside_) {
        window_.release();  // Windows is destroying it already
    } else {
        window_.reset();
    }
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
        case forms::FormChange::Region:
            ApplyRegion();
            break;
        case forms::FormChange::Redraw:
            ::InvalidateRect(window_.get(), nullptr, TRUE);
            break;
    }
}

RECT FormWindow::Scale(const forms::Bounds& bounds) const noexcept {
    // The far edges are scaled, not the sizes, so that controls that touch still touch.
    return {ScaleX(bounds.left), ScaleY(bounds.top), ScaleX(bounds.left + bounds.width),
            ScaleY(bounds.top + bounds.height)};
}

RECT FormWindow::OuterRect() const {
    RECT outer{0, 0, ScaleX(form_.ClientWidth()), ScaleY(form_.ClientHeight())};
    ::AdjustWindowRectEx(&outer, style_, FALSE, exStyle_);
    return outer;
}

RECT FormWindow::StartRect(HWND owner) const {
    const RECT outer = OuterRect();
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const forms::WindowSettings& settings = form_.Settings();
    if (settings.start == forms::StartPosition::Manual) {
        const int left = ScaleX(settings.left);
        const int top = ScaleY(settings.top);
        return {left, top, left + width, top + height};
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    const bool visibleOwner = owner != nullptr && ::IsWindowVisible(owner) != FALSE;
    const RECT work = WorkAreaOf(visibleOwner ? owner : nullptr, cursor);
    const int left = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
    const int top = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);
    return {left, top, left + width, top + height};
}

void FormWindow::ApplyRegion() {
    const auto& runs = form_.Region();
    if (!runs) {
        ::SetWindowRgn(window_.get(), nullptr, TRUE);
        return;
    }
    // One region from every rectangle at once, scaled to the window's DPI on the way.
    std::vector<RECT> rects;
    rects.reserve(runs->size());
    RECT bound{0, 0, 0, 0};
    for (const forms::Bounds& run : *runs) {
        if (run.width <= 0 || run.height <= 0) {
            continue;
        }
        const RECT rect{run.left, run.top, run.left + run.width, run.top + run.height};
        ::UnionRect(&bound, &bound, &rect);
        rects.push_back(rect);
    }
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(rects.size());
    header->nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    header->rcBound = bound;
    if (!rects.empty()) {
        std::memcpy(data.data() + sizeof(RGNDATAHEADER), rects.data(), rects.size() * sizeof(RECT));
    }
    const float factor = static_cast<float>(dpi_) / 96.0f;
    const XFORM scale{factor, 0, 0, factor, 0, 0};
    HRGN region = ::ExtCreateRegion(dpi_ == 96 ? nullptr : &scale, static_cast<DWORD>(data.size()),
                                    reinterpret_cast<const RGNDATA*>(data.data()));
    if (region == nullptr) {
        region = ::CreateRectRgn(0, 0, 0, 0);
    }
    // The window owns the region from here.
    if (::SetWindowRgn(window_.get(), region, TRUE) == 0) {
        ::DeleteObject(region);
    }
}

void FormWindow::DpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    ::SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    // Containers come before what they hold, so each is placed before its insides.
    for (const auto& control : form_.Controls()) {
        if (ControlWindow* peer = ControlWindow::Of(*control)) {
            peer->DpiChanged();
        }
    }
    images_.Place();
    tips_->DpiChanged();
    if (form_.Region()) {
        ApplyRegion();
    }
    ::InvalidateRect(window_.get(), nullptr, TRUE);
}

void FormWindow::Paint(HDC dc, const RECT& area) {
    BufferedPaint buffer(dc, area);
    RECT inside{};
    ::GetClientRect(window_.get(), &inside);
    ::FillRect(buffer.Dc(), &inside, ::GetSysColorBrush(COLOR_BTNFACE));
    const auto map = [](const void* context, const forms::Bounds& bounds) {
        return static_cast<const FormWindow*>(context)->Scale(bounds);
    };
    if (form_.Paint) {
        GdiCanvas canvas(buffer.Dc(), *this, map, this, form_.ClientWidth(), form_.ClientHeight());
        backend_.Guard([&] { form_.Paint(canvas); });
    }
    images_.Paint(buffer.Dc(), area);
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
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(
            reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        formtext::SetProperty(window, kFormProperty, self);
        self->window_.reset(window);
    }
    FormWindow* self = FromHandle(window);
    if (self == nullptr) {
        return formtext::DefaultProcedure(window, message, wParam, lParam);
    }
    return Guarded([&] {
        bool handled = false;
        const LRESULT result = self->Respond(message, wParam, lParam, handled);
        // Handle may have unloaded the form: only the window's default is left to run.
        return handled ? result : formtext::DefaultProcedure(window, message, wParam, lParam);
    });
}

LRESULT FormWindow::Respond(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    const HWND window = window_.get();
    handled = true;
    if (taker_ != nullptr && taker_->Take(message, wParam, lParam)) {
        return 0;  // the form may have unloaded
    }
    if (form_.Raw) {
        forms::RawMessage raw{message, wParam, lParam};
        form_.Raw(raw);
        if (raw.handled) {
            return raw.result;
        }
    }
    LRESULT result = 0;
    if (RouteFromChild(window, message, wParam, lParam, result)) {
        return result;
    }
    switch (message) {
        case WM_CLOSE:
            // Unloading destroys the window, through its peer.
            form_.UserClose();
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != FALSE) {
                form_.UserClose();
            }
            return 0;
        case WM_TIMER: {
            const auto found = timers_.find(wParam);
            if (found != timers_.end()) {
                forms::Timer& timer = *found->second;
                backend_.Guard([&timer] { timer.Elapse(); });  // may unload the form
            }
            return 0;
        }
        case WM_COMMAND:
            // Enter and Esc, as IsDialogMessage turns them into IDOK and IDCANCEL.
            if (lParam == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                form_.UserDialogKey(LOWORD(wParam) == IDOK ? VK_RETURN : VK_ESCAPE);
                return 0;
            }
            break;
        case DM_GETDEFID:
            for (const auto& control : form_.Controls()) {
                if (control->Kind() == forms::ControlKind::Button && control->Usable() &&
                    static_cast<const forms::Button&>(*control).IsDefault()) {
                    if (const ControlWindow* button = ControlWindow::Of(*control)) {
                        return MAKELRESULT(::GetDlgCtrlID(button->Handle()), DC_HASDEFID);
                    }
                }
            }
            return 0;
        // The form draws its images itself, over its own drawing.
        case WM_ERASEBKGND:
            if (form_.Paint || !images_.Empty()) {
                return TRUE;  // painted whole, in WM_PAINT
            }
            break;
        case WM_PAINT:
            if (form_.Paint || !images_.Empty()) {
                PAINTSTRUCT paint{};
                if (HDC dc = ::BeginPaint(window, &paint)) {
                    Paint(dc, paint.rcPaint);
                    ::EndPaint(window, &paint);
                }
                return 0;
            }
            break;
        case WM_PRINTCLIENT:
            if (form_.Paint || !images_.Empty()) {
                RECT inside{};
                ::GetClientRect(window, &inside);
                Paint(reinterpret_cast<HDC>(wParam), inside);
                return 0;
            }
            break;
        case WM_DPICHANGED:
            DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            // The images' tool tips are areas of this window, and their clicks its presses.
            if (images_.HasTips()) {
                tips_->Relay(window, message, wParam, lParam);
            }
            if (images_.Click(message, lParam)) {
                return 0;  // the image's click may have unloaded the form
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus != nullptr && ::IsChild(window, focus) != FALSE) {
                    lastFocus_ = focus;
                }
            }
            break;
        case WM_SETFOCUS: {
            HWND next = CanTakeFocusBack(window, lastFocus_)
                            ? lastFocus_
                            : ::GetNextDlgTabItem(window, nullptr, FALSE);
            if (next != nullptr) {
                ::SetFocus(next);
            }
            return 0;
        }
        case WM_DESTROY:
            if (!destroying_) {
                // Windows destroys it (its owner went): the model unloads once, while the
                // controls' windows still stand, and this peer goes with it.
                destroyedOutside_ = true;
                form_.Unload();
                handled = false;
                return 0;
            }
            break;
        case WM_NCDESTROY:
            // Destroyed from outside: the peer must not destroy it again.
            formtext::RemoveProperty(window, kFormProperty);
            window_.release();
            break;
        default:
            break;
    }
    handled = false;
    return 0;
}

}  // namespace formwindows

// ---- The backend ----

Win32FormsBackend::Win32FormsBackend(int dpi) : instance_(::GetModuleHandleA(nullptr)) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    if (dpi > 0) {
        dpi_ = dpi;
    } else if (UniqueScreenDc screen(::GetDC(nullptr)); screen) {
        dpi_ = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    }
    messageFont_ = formtext::MessageFont();
    currentBackend = this;
}

Win32FormsBackend::~Win32FormsBackend() {
    if (currentBackend == this) {
        currentBackend = nullptr;
    }
}

Win32FormsBackend* Win32FormsBackend::Current() noexcept {
    return currentBackend;
}

forms::TextSize Win32FormsBackend::MeasureText(const std::string& text, const forms::Font& font,
                                               int wrapWidth) {
    if (text.empty()) {
        return {};
    }
    // Measured at the windows' DPI, where the text will be drawn: fonts do not scale
    // exactly in proportion.
    const SharedFont made = MakeFont(font, dpi_);
    UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    const HGDIOBJ old = ::SelectObject(dc.get(), made->get());
    RECT box{0, 0, wrapWidth > 0 ? ::MulDiv(wrapWidth, dpi_, 96) : 0, 0};
    // As a static control lays out its text.
    const UINT format = DT_CALCRECT | DT_LEFT | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : 0u);
    formtext::DrawTextIn(dc.get(), text, box, format);
    ::SelectObject(dc.get(), old);
    // Back to 96-DPI pixels, rounded up: scaled again, the room never falls short.
    const auto unscale = [this](LONG pixels) {
        return static_cast<int>((static_cast<long long>(pixels) * 96 + dpi_ - 1) / dpi_);
    };
    return {unscale(box.right - box.left), unscale(box.bottom - box.top)};
}

Win32FormsBackend::SharedFont Win32FormsBackend::MakeFont(const forms::Font& font, int dpi) {
    const std::string key = font.name + "|" + std::to_string(font.points) + "|" +
                            (font.bold ? "b" : "") + (font.italic ? "i" : "") +
                            (font.underline ? "u" : "") + "|" + std::to_string(dpi) +
                            (font == forms::Font{} ? "|default" : "");
    if (auto cached = fonts_[key].lock()) {
        return cached;
    }
    LOGFONTW description = messageFont_;
    // The message font was read at the screen's DPI.
    description.lfHeight = ::MulDiv(description.lfHeight, dpi, dpi_);
    if (!(font == forms::Font{})) {
        if (!font.name.empty()) {
            formtext::SetFaceName(description, font.name);
        }
        if (font.points > 0) {
            description.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
            description.lfWidth = 0;
        }
        description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
        description.lfItalic = font.italic ? TRUE : FALSE;
        description.lfUnderline = font.underline ? TRUE : FALSE;
    }
    auto made = std::make_shared<const UniqueGdiObject>(formtext::CreateFontText(description));
    fonts_[key] = made;
    // Fonts no longer held leave the cache as new ones come.
    std::erase_if(fonts_, [](const auto& entry) { return entry.second.expired(); });
    return made;
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

std::unique_ptr<forms::TrayIconPeer> Win32FormsBackend::CreateTrayIconPeer(forms::TrayIcon& icon) {
    auto* form = dynamic_cast<FormWindow*>(icon.Owner().Peer());
    if (form == nullptr || form->Handle() == nullptr) {
        return nullptr;
    }
    return std::make_unique<Win32TrayIcon>(*form, icon);
}

forms::MenuItem* Win32FormsBackend::TrackPopupMenu(forms::MenuItem& menu, forms::Form& owner,
                                                   forms::Form& asker,
                                                   std::optional<forms::MenuPoint> at) {
    auto* window = dynamic_cast<formwindows::FormWindow*>(owner.Peer());
    if (window == nullptr) {
        return nullptr;
    }
    return formwindows::TrackMenu(*window, menu,
                                  dynamic_cast<const formwindows::FormWindow*>(asker.Peer()), at);
}

void Win32FormsBackend::RunModal(forms::Form& form) {
    HWND window = WindowOf(form);
    const forms::Form* ownerForm = form.Settings().owner;
    HWND owner = ownerForm != nullptr ? WindowOf(*ownerForm) : nullptr;
    if (window == nullptr) {
        return;
    }
    const bool disabled = owner != nullptr && ::EnableWindow(owner, FALSE) == FALSE;
    form.Show();
    MSG message{};
    while (form.Loaded() && form.Visible()) {
        const BOOL got = formtext::GetMessageText(message);
        if (got == 0) {
            // Left for the main loop, which ends the program.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        DispatchFormsMessage(message);
    }
    if (disabled && ::IsWindow(owner) != FALSE) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
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
    Guarded([&] {
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
            default:
                if (IsMouseMessage(message.message)) {
                    DeliverMouse(message);
                }
                break;
        }
        return LRESULT{0};
    });
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
