// The control windows: one standard or common control per kind, showing the model's state
// and handing the user's input back to it.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32::formwindows {

namespace {

// Leads from a control window to its peer; the space keeps it apart from the
// "Pellmark." + control name properties that forms carry.
constexpr char kPeerProperty[] = "Pellmark peer";
constexpr char kPictureClass[] = "Pellmark picture";

HBRUSH BackgroundBrush(HWND window) {
    const ControlWindow* peer = ControlWindow::FromHandle(window);
    return peer != nullptr && peer->BackBrush() != nullptr ? peer->BackBrush()
                                                           : ::GetSysColorBrush(COLOR_BTNFACE);
}

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR) {
    LRESULT result = 0;
    if (RouteFromChild(window, message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_ERASEBKGND) {
        FillBackground(window, reinterpret_cast<HDC>(wParam), BackgroundBrush(window));
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &FrameProcedure, id);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK PictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (RouteFromChild(window, message, wParam, lParam, result)) {
        return result;
    }
    if (message == WM_ERASEBKGND) {
        FillBackground(window, reinterpret_cast<HDC>(wParam), BackgroundBrush(window));
        return TRUE;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void RegisterPictureClass(HINSTANCE instance) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (::GetClassInfoExA(instance, kPictureClass, &existing) != FALSE) {
        return;
    }
    WNDCLASSEXA type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = &PictureProcedure;
    type.hInstance = instance;
    type.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    type.lpszClassName = kPictureClass;
    ::RegisterClassExA(&type);
}

class ButtonWindow final : public ControlWindow {
  public:
    ButtonWindow(Win32FormsBackend& backend, FormWindow& form, forms::Button& button)
        : ControlWindow(backend, form, button), button_(button) {
        Create(0, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
    }
    bool OnCommand(int code) override {
        if (code != BN_CLICKED) {
            return false;
        }
        button_.UserClick();
        return true;
    }

  private:
    forms::Button& button_;
};

// Not an automatic check box: the model decides the state and the window shows it.
class CheckBoxWindow final : public ControlWindow {
  public:
    CheckBoxWindow(Win32FormsBackend& backend, FormWindow& form, forms::CheckBox& box)
        : ControlWindow(backend, form, box), box_(box) {
        Create(0, "BUTTON", BS_3STATE | WS_TABSTOP);
        ShowValue();
    }
    bool OnCommand(int code) override {
        if (code != BN_CLICKED) {
            return false;
        }
        box_.UserClick();
        return true;
    }
    void Resync() override {
        if (Send(BM_GETCHECK) != State()) {
            ShowValue();
        }
    }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Value) {
            ShowValue();
        }
    }

  private:
    [[nodiscard]] LRESULT State() const noexcept {
        return box_.Value() == 1   ? BST_CHECKED
               : box_.Value() == 2 ? BST_INDETERMINATE
                                   : BST_UNCHECKED;
    }
    void ShowValue() { Send(BM_SETCHECK, static_cast<WPARAM>(State())); }

    forms::CheckBox& box_;
};

class OptionWindow final : public ControlWindow {
  public:
    OptionWindow(Win32FormsBackend& backend, FormWindow& form, forms::OptionButton& option)
        : ControlWindow(backend, form, option), option_(option) {
        Create(0, "BUTTON", BS_RADIOBUTTON);
        ShowValue();
    }
    bool OnCommand(int code) override {
        if (code != BN_CLICKED) {
            return false;
        }
        option_.UserClick();
        return true;
    }
    void Resync() override {
        if ((Send(BM_GETCHECK) == BST_CHECKED) != option_.Value()) {
            ShowValue();
        }
    }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Value) {
            ShowValue();
        }
    }

  private:
    // Tab reaches only the chosen option: a radio button that gets the focus while
    // unticked clicks itself.
    void ShowValue() {
        Send(BM_SETCHECK, option_.Value() ? BST_CHECKED : BST_UNCHECKED);
        auto style = static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_STYLE));
        style = option_.Value() ? style | WS_TABSTOP : style & ~static_cast<DWORD>(WS_TABSTOP);
        ::SetWindowLongPtrA(Handle(), GWL_STYLE, static_cast<LONG_PTR>(style));
    }

    forms::OptionButton& option_;
};

class SliderWindow final : public ControlWindow {
  public:
    SliderWindow(Win32FormsBackend& backend, FormWindow& form, forms::Slider& slider)
        : ControlWindow(backend, form, slider), slider_(slider) {
        Create(0, TRACKBAR_CLASSA, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP);
        ShowRange();
        ShowValue();
    }
    bool OnScroll() override {
        slider_.UserMove(static_cast<int>(Send(TBM_GETPOS)));
        return true;
    }
    void Resync() override {
        if (static_cast<int>(Send(TBM_GETPOS)) != slider_.Value()) {
            ShowValue();
        }
    }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Range) {
            ShowRange();
        } else if (what == forms::Change::Value) {
            ShowValue();
        }
    }

  private:
    void ShowRange() {
        Send(TBM_SETRANGEMIN, FALSE, slider_.Min());
        Send(TBM_SETRANGEMAX, TRUE, slider_.Max());
    }
    void ShowValue() { Send(TBM_SETPOS, TRUE, slider_.Value()); }

    forms::Slider& slider_;
};

class TextBoxWindow final : public ControlWindow {
  public:
    TextBoxWindow(Win32FormsBackend& backend, FormWindow& form, forms::TextBox& box)
        : ControlWindow(backend, form, box), box_(box) {
        Create(WS_EX_CLIENTEDGE, "EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP);
        ShowText();
    }
    bool OnCommand(int code) override {
        if (code != EN_CHANGE || pushing_) {
            return false;
        }
        box_.UserType(WindowText(Handle()));
        return true;
    }
    void Resync() override { ShowText(); }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Value) {
            ShowText();
        }
    }

  private:
    // Setting the text moves the caret to the start: not done when the user's typing is
    // what the model now holds.
    void ShowText() {
        if (WindowText(Handle()) != box_.Text()) {
            Pushing pushing(pushing_);
            ::SetWindowTextA(Handle(), box_.Text().c_str());
        }
    }

    forms::TextBox& box_;
    bool pushing_ = false;
};

class LabelWindow final : public ControlWindow {
  public:
    LabelWindow(Win32FormsBackend& backend, FormWindow& form, forms::Label& label)
        : ControlWindow(backend, form, label), label_(label) {
        Create(0, "STATIC", SS_LEFT | SS_NOTIFY);
    }
    bool OnCommand(int code) override {
        if (code != STN_CLICKED) {
            return false;
        }
        label_.UserClick();
        return true;
    }

  private:
    forms::Label& label_;
};

// A group box that holds its controls: it hands their notifications on as the form does.
class FrameWindow final : public ControlWindow {
  public:
    FrameWindow(Win32FormsBackend& backend, FormWindow& form, forms::Frame& frame)
        : ControlWindow(backend, form, frame) {
        Create(WS_EX_CONTROLPARENT, "BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN);
        if (Handle() != nullptr) {
            ::SetWindowSubclass(Handle(), &FrameProcedure, 0, 0);
        }
    }
};

}  // namespace

// A container with a scale of its own: the controls inside are placed in its units.
class PictureWindow final : public ControlWindow {
  public:
    PictureWindow(Win32FormsBackend& backend, FormWindow& form, forms::Picture& picture)
        : ControlWindow(backend, form, picture), picture_(picture) {
        RegisterPictureClass(backend.Instance());
        Create(WS_EX_CONTROLPARENT, kPictureClass, WS_CLIPCHILDREN);
    }

    // Bounds in the picture's units, in pixels of its inside.
    [[nodiscard]] RECT FromScale(const forms::Bounds& bounds) const {
        const int unitsX =
            picture_.ScaleWidth() > 0 ? picture_.ScaleWidth() : picture_.GetBounds().width;
        const int unitsY =
            picture_.ScaleHeight() > 0 ? picture_.ScaleHeight() : picture_.GetBounds().height;
        RECT inside{};
        ::GetClientRect(Handle(), &inside);
        if (unitsX <= 0 || unitsY <= 0) {
            return backend_.Scale(bounds);
        }
        return {::MulDiv(bounds.left, inside.right, unitsX),
                ::MulDiv(bounds.top, inside.bottom, unitsY),
                ::MulDiv(bounds.left + bounds.width, inside.right, unitsX),
                ::MulDiv(bounds.top + bounds.height, inside.bottom, unitsY)};
    }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Range) {
            PlaceChildren();
        }
    }
    void AfterPlaced() override { PlaceChildren(); }

  private:
    void PlaceChildren() {
        for (const auto& control : picture_.Owner().Controls()) {
            if (control->Container() == &picture_) {
                if (ControlWindow* child = Of(*control)) {
                    child->Place();
                }
            }
        }
    }

    forms::Picture& picture_;
};

// ---- The base ----

ControlWindow::ControlWindow(Win32FormsBackend& backend, FormWindow& form, forms::Control& control)
    : backend_(backend),
      form_(form),
      control_(control),
      propertyName_("Pellmark." + control.Name()) {}

ControlWindow::~ControlWindow() {
    if (!window_) {
        return;
    }
    form_.Tips().Set(window_.get(), "");
    // Only its own: a later control of the same name has taken the property over.
    if (::GetPropA(form_.Handle(), propertyName_.c_str()) == window_.get()) {
        ::RemovePropA(form_.Handle(), propertyName_.c_str());
    }
    ::RemovePropA(window_.get(), kPeerProperty);
    window_.reset();
}

void ControlWindow::Create(DWORD exStyle, const char* className, DWORD style) {
    HWND parent = form_.Handle();
    if (control_.Container() != nullptr) {
        if (const ControlWindow* container = Of(*control_.Container());
            container != nullptr && container->Handle() != nullptr) {
            parent = container->Handle();
        }
    }
    style |= WS_CHILD;
    if (control_.Visible()) {
        style |= WS_VISIBLE;
    }
    if (!control_.Enabled()) {
        style |= WS_DISABLED;
    }
    const std::string caption = ShowsCaption() ? control_.Caption() : std::string();
    const auto id = static_cast<INT_PTR>(form_.NextControlId());
    window_.reset(::CreateWindowExA(exStyle, className, caption.c_str(), style, 0, 0, 0, 0, parent,
                                    reinterpret_cast<HMENU>(id), backend_.Instance(), nullptr));
    if (!window_) {
        return;
    }
    ::SetPropA(window_.get(), kPeerProperty, this);
    ::SetPropA(form_.Handle(), propertyName_.c_str(), window_.get());
    ApplyFont();
    Place();
    if (control_.BackColour() || control_.ForeColour()) {
        ApplyColours();
    }
    form_.Tips().Set(window_.get(), control_.ToolTip());
}

void ControlWindow::Update(forms::Change what) {
    if (!window_) {
        return;
    }
    switch (what) {
        case forms::Change::Enabled:
            ::EnableWindow(window_.get(), control_.Enabled() ? TRUE : FALSE);
            break;
        case forms::Change::Visible:
            ::ShowWindow(window_.get(), control_.Visible() ? SW_SHOWNA : SW_HIDE);
            break;
        case forms::Change::Caption:
            if (ShowsCaption()) {
                ::SetWindowTextA(window_.get(), control_.Caption().c_str());
            }
            break;
        case forms::Change::ToolTip:
            form_.Tips().Set(window_.get(), control_.ToolTip());
            break;
        case forms::Change::Font:
            ApplyFont();
            break;
        case forms::Change::Bounds:
            Place();
            break;
        case forms::Change::Colours:
            ApplyColours();
            break;
        default:
            UpdateState(what);
            break;
    }
}

void ControlWindow::Place() {
    if (!window_) {
        return;
    }
    const forms::Bounds& bounds = control_.GetBounds();
    RECT place = backend_.Scale(bounds);
    if (const forms::Control* container = control_.Container();
        container != nullptr && container->Kind() == forms::ControlKind::Picture) {
        if (const auto* picture = dynamic_cast<const PictureWindow*>(Of(*container))) {
            place = picture->FromScale(bounds);
        }
    }
    ::SetWindowPos(window_.get(), nullptr, place.left, place.top, place.right - place.left,
                   place.bottom - place.top + ExtraHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
    AfterPlaced();
}

void ControlWindow::ApplyFont() {
    UniqueGdiObject made;
    if (!(control_.GetFont() == forms::Font{})) {
        made = backend_.MakeFont(control_.GetFont());
    }
    HFONT font = made ? static_cast<HFONT>(made.get()) : backend_.DefaultFont();
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    font_ = std::move(made);  // the old font is freed only once the window has let it go
}

void ControlWindow::ApplyColours() {
    const auto back = control_.BackColour();
    brush_.reset(back ? ::CreateSolidBrush(*back) : nullptr);
    ::InvalidateRect(window_.get(), nullptr, TRUE);
}

bool ControlWindow::OnColour(HWND parent, UINT message, WPARAM wParam, LPARAM lParam,
                             LRESULT& result) {
    const auto back = control_.BackColour();
    const auto fore = control_.ForeColour();
    if (!back && !fore) {
        return false;
    }
    auto dc = reinterpret_cast<HDC>(wParam);
    result = ::DefWindowProcA(parent, message, wParam, lParam);
    if (fore) {
        ::SetTextColor(dc, *fore);
    }
    if (back && brush_) {
        ::SetBkColor(dc, *back);
        result = reinterpret_cast<LRESULT>(brush_.get());
    }
    return true;
}

bool ControlWindow::ShowsCaption() const noexcept {
    switch (control_.Kind()) {
        case forms::ControlKind::Button:
        case forms::ControlKind::CheckBox:
        case forms::ControlKind::OptionButton:
        case forms::ControlKind::Label:
        case forms::ControlKind::Frame:
            return true;
        default:
            // A text box shows its text, a drop-down list its chosen row.
            return false;
    }
}

ControlWindow* ControlWindow::FromHandle(HWND window) noexcept {
    return window == nullptr ? nullptr
                             : static_cast<ControlWindow*>(::GetPropA(window, kPeerProperty));
}

ControlWindow* ControlWindow::Of(const forms::Control& control) noexcept {
    return dynamic_cast<ControlWindow*>(control.Peer());
}

std::unique_ptr<ControlWindow> CreateControlWindow(Win32FormsBackend& backend, FormWindow& form,
                                                   forms::Control& control) {
    using forms::ControlKind;
    switch (control.Kind()) {
        case ControlKind::Button:
            return std::make_unique<ButtonWindow>(backend, form,
                                                  static_cast<forms::Button&>(control));
        case ControlKind::CheckBox:
            return std::make_unique<CheckBoxWindow>(backend, form,
                                                    static_cast<forms::CheckBox&>(control));
        case ControlKind::OptionButton:
            return std::make_unique<OptionWindow>(backend, form,
                                                  static_cast<forms::OptionButton&>(control));
        case ControlKind::Slider:
            return std::make_unique<SliderWindow>(backend, form,
                                                  static_cast<forms::Slider&>(control));
        case ControlKind::TextBox:
            return std::make_unique<TextBoxWindow>(backend, form,
                                                   static_cast<forms::TextBox&>(control));
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
            return CreateListWindow(backend, form, static_cast<forms::ListControl&>(control));
        case ControlKind::ListView:
            return CreateListViewWindow(backend, form, static_cast<forms::ListView&>(control));
        case ControlKind::Label:
            return std::make_unique<LabelWindow>(backend, form,
                                                 static_cast<forms::Label&>(control));
        case ControlKind::Picture:
            return std::make_unique<PictureWindow>(backend, form,
                                                   static_cast<forms::Picture&>(control));
        case ControlKind::Frame:
            return std::make_unique<FrameWindow>(backend, form,
                                                 static_cast<forms::Frame&>(control));
    }
    return nullptr;
}

// ---- Routing ----

bool RouteFromChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (message) {
        case WM_COMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            child = reinterpret_cast<HWND>(lParam);
            break;
        case WM_NOTIFY:
            child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
            break;
        default:
            return false;
    }
    ControlWindow* peer = ControlWindow::FromHandle(child);
    if (peer == nullptr) {
        return false;
    }
    bool delivered = false;
    switch (message) {
        case WM_COMMAND:
            delivered = peer->OnCommand(HIWORD(wParam));
            break;
        case WM_HSCROLL:
        case WM_VSCROLL:
            delivered = peer->OnScroll();
            break;
        case WM_NOTIFY:
            delivered = peer->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            break;
        default:
            return peer->OnColour(parent, message, wParam, lParam, result);
    }
    if (!delivered) {
        return false;
    }
    // The model's handlers may have removed the control, or refused the input: the peer is
    // looked up again before it shows the model's state.
    if (ControlWindow* still = ControlWindow::FromHandle(child)) {
        still->Resync();
    }
    result = 0;
    return true;
}

void FillBackground(HWND window, HDC dc, HBRUSH brush) {
    const int saved = ::SaveDC(dc);
    for (HWND child = ::GetWindow(window, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowVisible(child) == FALSE) {
            continue;
        }
        RECT area{};
        ::GetWindowRect(child, &area);
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&area), 2);
        ::ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
    }
    RECT inside{};
    ::GetClientRect(window, &inside);
    ::FillRect(dc, &inside, brush);
    ::RestoreDC(dc, saved);
}

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

}  // namespace pellmark::win32::formwindows
