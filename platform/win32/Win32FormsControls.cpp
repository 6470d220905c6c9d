// The control windows: one standard or common control per kind, showing the model's state
// and handing the user's input back to it; labels inside a picture box, which the picture
// draws itself.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32::formwindows {

namespace {

// Leads from a control window to its peer; the space keeps it apart from the
// "Pellmark." + control name properties that forms carry.
constexpr char kPeerProperty[] = "Pellmark peer";
constexpr char kPictureClass[] = "Pellmark picture";
constexpr char kImageClass[] = "Pellmark image";

HBRUSH BackgroundBrush(HWND window) {
    const ControlWindow* peer = ControlWindow::FromHandle(window);
    return peer != nullptr && peer->BackBrush() != nullptr ? peer->BackBrush()
                                                           : ::GetSysColorBrush(COLOR_BTNFACE);
}

// A frame's button procedure, kept on the frame: subclassed by hand, since the comctl32
// subclass calls are not exported by name on every system the program runs on.
constexpr char kFrameBaseProperty[] = "Pellmark frame base";

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto base = reinterpret_cast<WNDPROC>(formtext::Property(window, kFrameBaseProperty));
    LRESULT result = 0;
    if (Guarded([&] {
            return static_cast<LRESULT>(RouteFromChild(window, message, wParam, lParam, result));
        }) != FALSE) {
        return result;
    }
    if (message == WM_ERASEBKGND) {
        FillBackground(window, reinterpret_cast<HDC>(wParam), BackgroundBrush(window));
        return TRUE;
    }
    if (message == WM_NCDESTROY) {
        formtext::Subclass(window, base);
        formtext::RemoveProperty(window, kFrameBaseProperty);
    }
    return base == nullptr ? formtext::DefaultProcedure(window, message, wParam, lParam)
                           : formtext::CallProcedure(base, window, message, wParam, lParam);
}

// A window whose one notification is the model's click: a push button, or a label
// outside a picture.
template <class Clickable>
class ClickWindow final : public ControlWindow {
  public:
    ClickWindow(Win32FormsBackend& backend, FormWindow& form, Clickable& model,
                const char* className, DWORD style, int clickCode)
        : ControlWindow(backend, form, model), model_(model), clickCode_(clickCode) {
        Create(0, className, style);
    }
    bool OnCommand(int code) override {
        if (code != clickCode_) {
            return false;
        }
        model_.UserClick();
        return true;
    }

  protected:
    // A default button shows itself as one.
    void UpdateState(forms::Change what) override {
        static_cast<void>(what);
        if constexpr (std::is_same_v<Clickable, forms::Button>) {
            if (what == forms::Change::Value) {
                Send(BM_SETSTYLE, model_.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
            }
        }
    }

  private:
    Clickable& model_;
    int clickCode_;
};

// Check boxes and option buttons are not automatic: the model decides the check and the
// window shows it.
class CheckedButtonWindow : public ControlWindow {
  public:
    using ControlWindow::ControlWindow;
    bool OnCommand(int code) override {
        if (code != BN_CLICKED) {
            return false;
        }
        Clicked();
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
    virtual void Clicked() = 0;
    // The BST_ state the model's value shows as.
    [[nodiscard]] virtual LRESULT State() const noexcept = 0;
    virtual void ShowValue() { Send(BM_SETCHECK, static_cast<WPARAM>(State())); }
};

class CheckBoxWindow final : public CheckedButtonWindow {
  public:
    CheckBoxWindow(Win32FormsBackend& backend, FormWindow& form, forms::CheckBox& box)
        : CheckedButtonWindow(backend, form, box), box_(box) {
        // A caption too long for one line (a translation, say) wraps instead of being cut.
        Create(0, "BUTTON", BS_3STATE | BS_MULTILINE | WS_TABSTOP);
        ShowValue();
    }

  private:
    void Clicked() override { box_.UserClick(); }
    [[nodiscard]] LRESULT State() const noexcept override {
        return box_.Value() == 1   ? BST_CHECKED
               : box_.Value() == 2 ? BST_INDETERMINATE
                                   : BST_UNCHECKED;
    }

    forms::CheckBox& box_;
};

class OptionWindow final : public CheckedButtonWindow {
  public:
    OptionWindow(Win32FormsBackend& backend, FormWindow& form, forms::OptionButton& option)
        : CheckedButtonWindow(backend, form, option), option_(option) {
        Create(0, "BUTTON", BS_RADIOBUTTON);
        ShowValue();
    }

  private:
    void Clicked() override { option_.UserClick(); }
    [[nodiscard]] LRESULT State() const noexcept override {
        return option_.Value() ? BST_CHECKED : BST_UNCHECKED;
    }
    // Tab reaches only the chosen option: a radio button that gets the focus while
    // unticked clicks itself.
    void ShowValue() override {
        CheckedButtonWindow::ShowValue();
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
        // Whether it has tick marks at all is a style, fixed when the window is made.
        Create(0, "msctls_trackbar32",
               TBS_HORZ | TBS_BOTTOM | WS_TABSTOP |
                   (slider.TickEvery() > 0 ? TBS_AUTOTICKS : TBS_NOTICKS));
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
        if (slider_.TickEvery() > 0) {
            Send(TBM_SETTICFREQ, static_cast<WPARAM>(slider_.TickEvery()));
        }
        Send(TBM_SETLINESIZE, 0, slider_.SmallChange());
        Send(TBM_SETPAGESIZE, 0, slider_.LargeChange());
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
        box_.UserType(formtext::Text(Handle()));
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
        if (formtext::Text(Handle()) != box_.Text()) {
            Pushing pushing(pushing_);
            formtext::SetText(Handle(), box_.Text());
        }
    }

    forms::TextBox& box_;
    bool pushing_ = false;
};

// A group box that holds its controls: it hands their notifications on as the form does.
class FrameWindow final : public ControlWindow {
  public:
    FrameWindow(Win32FormsBackend& backend, FormWindow& form, forms::Frame& frame)
        : ControlWindow(backend, form, frame) {
        Create(WS_EX_CONTROLPARENT, "BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN);
        if (Handle() != nullptr) {
            formtext::SetProperty(
                Handle(), kFrameBaseProperty,
                reinterpret_cast<HANDLE>(formtext::Subclass(Handle(), &FrameProcedure)));
        }
    }
};

}  // namespace

// ---- Pictures and the labels they draw ----

class PictureWindow;

// A label inside a picture box: the picture draws it, so it has no window of its own and a
// picture can hold tens of thousands of them cheaply. The picture shows its tool tip.
class PictureLabel final : public forms::ControlPeer {
  public:
    PictureLabel(Win32FormsBackend& backend, FormWindow& form, PictureWindow& picture,
                 forms::Label& label);
    ~PictureLabel() override;
    PictureLabel(const PictureLabel&) = delete;
    PictureLabel& operator=(const PictureLabel&) = delete;

    void Update(forms::Change what) override;
    void UpdateItem(forms::ItemChange, int) override {}

    [[nodiscard]] forms::Label& Model() const noexcept { return label_; }
    // Where it is drawn, in the picture's client pixels.
    [[nodiscard]] const RECT& Area() const noexcept { return area_; }
    // Follows the model's bounds, or the picture's new scale or size.
    void Place();
    // The picture's window is going before the label: it lets go of it.
    void Detach() noexcept;
    // Into a DC whose background mode is transparent.
    void Paint(HDC dc) const;

    // The form's DPI changed: its font again, at the new size.
    void MakeFont();

  private:
    void Invalidate(const RECT& area) const;
    void ShowTip();

    Win32FormsBackend& backend_;
    FormWindow& form_;
    PictureWindow* picture_;
    forms::Label& label_;
    RECT area_{};
    Win32FormsBackend::SharedFont font_;
};

// A container with a scale of its own: the controls inside are placed in its units.
class PictureWindow final : public ControlWindow {
  public:
    PictureWindow(Win32FormsBackend& backend, FormWindow& form, forms::Picture& picture)
        : ControlWindow(backend, form, picture),
          picture_(picture),
          tipId_(static_cast<UINT_PTR>(form.NextControlId())),
          images_(form, this) {
        formtext::RegisterWindowClass(backend.Instance(), kPictureClass, &Procedure, {}, nullptr,
                                      CS_DBLCLKS);
        Create(WS_EX_CONTROLPARENT, kPictureClass, WS_CLIPCHILDREN);
    }
    ~PictureWindow() override {
        form_.Tips().RemoveArea(Handle(), tipId_);
        for (PictureLabel* label : labels_) {
            label->Detach();
        }
    }
    PictureWindow(const PictureWindow&) = delete;
    PictureWindow& operator=(const PictureWindow&) = delete;

    // The picture's own scale, or its size where it has none.
    [[nodiscard]] std::pair<int, int> Units() const {
        return {picture_.ScaleWidth() > 0 ? picture_.ScaleWidth() : picture_.GetBounds().width,
                picture_.ScaleHeight() > 0 ? picture_.ScaleHeight() : picture_.GetBounds().height};
    }
    // Bounds in the picture's units, in pixels of its inside.
    [[nodiscard]] RECT FromScale(const forms::Bounds& bounds) const {
        const auto [unitsX, unitsY] = Units();
        RECT inside{};
        ::GetClientRect(Handle(), &inside);
        if (unitsX <= 0 || unitsY <= 0) {
            return form_.Scale(bounds);
        }
        return {::MulDiv(bounds.left, inside.right, unitsX),
                ::MulDiv(bounds.top, inside.bottom, unitsY),
                ::MulDiv(bounds.left + bounds.width, inside.right, unitsX),
                ::MulDiv(bounds.top + bounds.height, inside.bottom, unitsY)};
    }
    // A point of its inside in the picture's units.
    [[nodiscard]] POINT ToScale(POINT pixel) const {
        const auto [unitsX, unitsY] = Units();
        RECT inside{};
        ::GetClientRect(Handle(), &inside);
        if (unitsX <= 0 || unitsY <= 0 || inside.right <= 0 || inside.bottom <= 0) {
            return {form_.Unscale(pixel.x), form_.Unscale(pixel.y)};
        }
        return {::MulDiv(pixel.x, unitsX, inside.right), ::MulDiv(pixel.y, unitsY, inside.bottom)};
    }

    void DpiChanged() override {
        for (PictureLabel* label : labels_) {
            label->MakeFont();
        }
        ControlWindow::DpiChanged();
    }

    // Labels are drawn in the order they were made, so the last is on top.
    void Adopt(PictureLabel& label) { labels_.push_back(&label); }
    void Forget(const PictureLabel& label) noexcept {
        // Labels mostly go newest first: the search starts at the end.
        const auto found = std::find(labels_.rbegin(), labels_.rend(), &label);
        if (found != labels_.rend()) {
            labels_.erase(std::next(found).base());
        }
        if (pressed_ == &label) {
            pressed_ = nullptr;
        }
        if (tipped_ == &label) {
            ShowTipOf(nullptr);
        }
    }

    // A label's tip, place or visibility changed.
    void TipChanged(const PictureLabel& label) {
        if (tipped_ == &label) {
            ShowTipOf(&label);
        }
    }

    // Marks part of the inside for painting: a few changes exactly what they touch. Showing
    // or leaving a preview changes thousands of labels before the next paint, and each
    // InvalidateRect is a trip to the window system: past a few, the marked part grows as
    // one rectangle around them all, and a label inside it costs nothing.
    void InvalidateArea(const RECT& area) {
        constexpr int kExactAreas = 16;
        if (::IsRectEmpty(&area) != FALSE) {
            return;
        }
        RECT common{};
        if (marked_ > kExactAreas && ::IntersectRect(&common, &area, &invalid_) != FALSE &&
            ::EqualRect(&common, &area) != FALSE) {
            return;
        }
        ::UnionRect(&invalid_, &invalid_, &area);
        ::InvalidateRect(Handle(), marked_ < kExactAreas ? &area : &invalid_, TRUE);
        ++marked_;
    }

    [[nodiscard]] DrawnImages* Images() noexcept override { return &images_; }

    [[nodiscard]] forms::Control& ModelAt(HWND window, LPARAM point) const override {
        if (window == Handle()) {
            if (const PictureLabel* label = LabelAt(point)) {
                return label->Model();
            }
        }
        return ControlWindow::ModelAt(window, point);
    }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Range) {
            PlaceChildren();
            ::InvalidateRect(Handle(), nullptr, TRUE);
        } else if (what == forms::Change::Picture || what == forms::Change::Redraw) {
            ::InvalidateRect(Handle(), nullptr, TRUE);
        }
    }
    void AfterPlaced() override { PlaceChildren(); }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return Guarded([&] { return Respond(window, message, wParam, lParam); });
    }

    static LRESULT Respond(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = 0;
        if (RouteFromChild(window, message, wParam, lParam, result)) {
            return result;
        }
        auto* self = dynamic_cast<PictureWindow*>(FromHandle(window));
        if (self == nullptr) {
            return formtext::DefaultProcedure(window, message, wParam, lParam);
        }
        switch (message) {
            case WM_ERASEBKGND:
                return TRUE;  // painted whole, in WM_PAINT, through a buffer
            case WM_PAINT: {
                PAINTSTRUCT paint{};
                self->invalid_ = {};  // BeginPaint validates all of it
                self->marked_ = 0;
                if (HDC dc = ::BeginPaint(window, &paint)) {
                    self->PaintAll(dc, paint.rcPaint, true);
                    ::EndPaint(window, &paint);
                }
                return 0;
            }
            case WM_PRINTCLIENT: {
                RECT inside{};
                ::GetClientRect(window, &inside);
                self->PaintAll(reinterpret_cast<HDC>(wParam), inside,
                               (lParam & PRF_ERASEBKGND) != 0);
                return 0;
            }
            case WM_MOUSEMOVE:
            case WM_LBUTTONDOWN:
            case WM_LBUTTONUP:
            case WM_MBUTTONDOWN:
            case WM_MBUTTONUP:
            case WM_RBUTTONDOWN:
            case WM_RBUTTONUP:
                if (message == WM_MOUSEMOVE) {
                    // Before the tool tips see the move, so they time it over the new area.
                    self->FollowMouse(lParam);
                }
                self->form_.Tips().Relay(window, message, wParam, lParam);
                if ((message == WM_LBUTTONDOWN || message == WM_LBUTTONUP) &&
                    self->images_.Click(message, lParam)) {
                    // An image's press or click: the image's click may take the picture away.
                    return 0;
                }
                if (message == WM_LBUTTONDOWN) {
                    self->pressed_ = self->LabelAt(lParam);
                    self->pressedInside_ = true;
                } else if (message == WM_LBUTTONUP) {
                    // A click is a press and a release on the same label, or on the
                    // picture's own background. The model's handler may take the label, the
                    // picture or the form away: nothing here is touched after it.
                    const PictureLabel* pressed = std::exchange(self->pressed_, nullptr);
                    const bool inside = std::exchange(self->pressedInside_, false);
                    const PictureLabel* released = self->LabelAt(lParam);
                    RECT client{};
                    ::GetClientRect(window, &client);
                    const POINT at{static_cast<short>(LOWORD(lParam)),
                                   static_cast<short>(HIWORD(lParam))};
                    if (pressed != nullptr && pressed == released) {
                        pressed->Model().UserClick();
                    } else if (inside && pressed == nullptr && released == nullptr &&
                               ::PtInRect(&client, at) != FALSE) {
                        self->picture_.UserClick();
                    }
                    return 0;
                }
                break;
            default:
                break;
        }
        return formtext::DefaultProcedure(window, message, wParam, lParam);
    }

    // The visible label on top at a mouse message's point; null for none.
    [[nodiscard]] const PictureLabel* LabelAt(LPARAM point) const {
        // Signed: left of or above the picture, while the mouse is captured.
        const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
        for (auto it = labels_.rbegin(); it != labels_.rend(); ++it) {
            if ((*it)->Model().Visible() && ::PtInRect(&(*it)->Area(), at) != FALSE) {
                return *it;
            }
        }
        return nullptr;
    }

    // The picture has one tool tip area, over the label under the mouse. An area per label
    // made each label made or taken away cost as much as all before it (tool tips keep
    // their tools in one array), so a preview of thousands of markers took seconds.
    void FollowMouse(LPARAM point) {
        const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
        const PictureLabel* under = nullptr;
        for (auto it = labels_.rbegin(); it != labels_.rend() && under == nullptr; ++it) {
            const forms::Label& model = (*it)->Model();
            if (model.Visible() && !model.ToolTip().empty() &&
                ::PtInRect(&(*it)->Area(), at) != FALSE) {
                under = *it;
            }
        }
        if (under != tipped_) {
            // A new tool, so a tip showing for the last label goes with it.
            form_.Tips().RemoveArea(Handle(), tipId_);
            ShowTipOf(under);
        }
    }

    void ShowTipOf(const PictureLabel* label) {
        if (label == nullptr || !label->Model().Visible() || label->Model().ToolTip().empty()) {
            tipped_ = nullptr;
            form_.Tips().RemoveArea(Handle(), tipId_);
            return;
        }
        tipped_ = label;
        form_.Tips().SetArea(Handle(), tipId_, label->Area(), label->Model().ToolTip());
        form_.Tips().MoveArea(Handle(), tipId_, label->Area());
    }

    // The background, the picture, the Paint handler's drawing and the labels, in a buffer
    // shown in one step.
    void PaintAll(HDC dc, const RECT& area, bool erase) {
        BufferedPaint buffer(dc, area);
        const HDC target = buffer.Dc();
        RECT inside{};
        ::GetClientRect(Handle(), &inside);
        if (erase) {
            ::FillRect(target, &inside, BackgroundBrush(Handle()));
        }
        const forms::Bitmap& picture = picture_.GetPicture();
        if (!picture.Empty()) {
            DrawBitmap(target, picture,
                       {0, 0, form_.ScaleX(picture.Width()), form_.ScaleY(picture.Height())});
        }
        if (picture_.Paint) {
            const auto map = [](const void* context, const forms::Bounds& bounds) {
                return static_cast<const PictureWindow*>(context)->FromScale(bounds);
            };
            const POINT size = ToScale({inside.right, inside.bottom});
            GdiCanvas canvas(target, form_, map, this, size.x, size.y);
            backend_.Guard([&] { picture_.Paint(canvas); });
        }
        PaintLabels(target, &area);
        // Above the labels, as when images had windows of their own.
        images_.Paint(target, area);
    }

    // dirty: null for the whole picture.
    void PaintLabels(HDC dc, const RECT* dirty) const {
        const int saved = ::SaveDC(dc);
        ::SetBkMode(dc, TRANSPARENT);
        for (const PictureLabel* label : labels_) {
            RECT common{};
            if (label->Model().Visible() &&
                (dirty == nullptr || ::IntersectRect(&common, &label->Area(), dirty) != FALSE)) {
                label->Paint(dc);
            }
        }
        ::RestoreDC(dc, saved);
    }

    void PlaceChildren() {
        for (const auto& control : picture_.Owner().Controls()) {
            if (control->Container() == &picture_) {
                if (ControlWindow* child = Of(*control)) {
                    child->Place();
                }
            }
        }
        for (PictureLabel* label : labels_) {
            label->Place();
        }
        images_.Place();
    }

    forms::Picture& picture_;
    std::vector<PictureLabel*> labels_;
    const PictureLabel* pressed_ = nullptr;  // where the left button went down
    bool pressedInside_ = false;             // the left button went down on the picture
    UINT_PTR tipId_;                         // the picture's one area tool
    const PictureLabel* tipped_ = nullptr;   // the label that tool speaks for
    RECT invalid_{};                         // around all marked since the last paint
    int marked_ = 0;                         // InvalidateArea calls since then
    DrawnImages images_;
};

// An image in a frame: its picture at its size, or stretched over the control. A group box
// lets the mouse through to the form and paints over its inside, so it cannot draw one.
class ImageWindow final : public ControlWindow {
  public:
    ImageWindow(Win32FormsBackend& backend, FormWindow& form, forms::Image& image)
        : ControlWindow(backend, form, image), image_(image) {
        formtext::RegisterWindowClass(backend.Instance(), kImageClass, &Procedure, {}, nullptr,
                                      CS_DBLCLKS);
        Create(0, kImageClass, 0);
    }

  protected:
    void UpdateState(forms::Change what) override {
        if (what == forms::Change::Picture || what == forms::Change::Redraw) {
            ::InvalidateRect(Handle(), nullptr, TRUE);
        }
    }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return Guarded([&]() -> LRESULT {
            auto* self = dynamic_cast<ImageWindow*>(FromHandle(window));
            if (self == nullptr) {
                return formtext::DefaultProcedure(window, message, wParam, lParam);
            }
            switch (message) {
                case WM_ERASEBKGND:
                    return TRUE;
                case WM_PAINT: {
                    PAINTSTRUCT paint{};
                    if (HDC dc = ::BeginPaint(window, &paint)) {
                        self->Paint(dc, paint.rcPaint);
                        ::EndPaint(window, &paint);
                    }
                    return 0;
                }
                case WM_PRINTCLIENT: {
                    RECT inside{};
                    ::GetClientRect(window, &inside);
                    self->Paint(reinterpret_cast<HDC>(wParam), inside);
                    return 0;
                }
                case WM_LBUTTONDOWN:
                    self->pressed_ = true;
                    break;
                case WM_LBUTTONUP: {
                    RECT inside{};
                    ::GetClientRect(window, &inside);
                    const POINT at{static_cast<short>(LOWORD(lParam)),
                                   static_cast<short>(HIWORD(lParam))};
                    if (std::exchange(self->pressed_, false) && ::PtInRect(&inside, at) != FALSE) {
                        self->image_.UserClick();  // may take the image away
                    }
                    return 0;
                }
                default:
                    break;
            }
            return formtext::DefaultProcedure(window, message, wParam, lParam);
        });
    }

    void Paint(HDC dc, const RECT& area) {
        BufferedPaint buffer(dc, area);
        RECT inside{};
        ::GetClientRect(Handle(), &inside);
        ::FillRect(buffer.Dc(), &inside, BackgroundBrush(::GetParent(Handle())));
        const forms::Bitmap& picture = image_.GetPicture();
        if (!picture.Empty()) {
            DrawBitmap(buffer.Dc(), picture,
                       image_.Stretch() ? inside
                                        : RECT{0, 0, form_.ScaleX(picture.Width()),
                                               form_.ScaleY(picture.Height())});
        }
    }

    forms::Image& image_;
    bool pressed_ = false;
};

PictureLabel::PictureLabel(Win32FormsBackend& backend, FormWindow& form, PictureWindow& picture,
                           forms::Label& label)
    : backend_(backend), form_(form), picture_(&picture), label_(label) {
    picture.Adopt(*this);
    MakeFont();
    Place();
}

PictureLabel::~PictureLabel() {
    if (picture_ == nullptr) {
        return;
    }
    if (label_.Visible()) {
        Invalidate(area_);
    }
    picture_->Forget(*this);
}

void PictureLabel::Detach() noexcept {
    picture_ = nullptr;
}

void PictureLabel::Update(forms::Change what) {
    if (picture_ == nullptr) {
        return;
    }
    switch (what) {
        case forms::Change::Visible:
            Invalidate(area_);
            ShowTip();
            break;
        case forms::Change::ToolTip:
            ShowTip();
            break;
        case forms::Change::Bounds:
            Place();
            break;
        case forms::Change::Font:
            MakeFont();
            if (label_.Visible() && !label_.Caption().empty()) {
                Invalidate(area_);
            }
            break;
        case forms::Change::Enabled:  // only the caption shows it
            if (label_.Visible() && !label_.Caption().empty()) {
                Invalidate(area_);
            }
            break;
        case forms::Change::Caption:
        case forms::Change::Colours:
            if (label_.Visible()) {
                Invalidate(area_);
            }
            break;
        default:
            break;
    }
}

void PictureLabel::Place() {
    if (picture_ == nullptr) {
        return;
    }
    const RECT area = picture_->FromScale(label_.GetBounds());
    if (::EqualRect(&area, &area_) != FALSE) {
        return;
    }
    if (label_.Visible()) {
        Invalidate(area_);
        Invalidate(area);
    }
    area_ = area;
    picture_->TipChanged(*this);
}

void PictureLabel::Paint(HDC dc) const {
    if (const auto back = label_.BackColour()) {
        // An opaque empty text fills the rectangle: no brush to make and keep per label.
        ::SetBkColor(dc, *back);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area_, nullptr, 0, nullptr);
    }
    const std::string& caption = label_.Caption();
    if (caption.empty()) {
        return;
    }
    ::SelectObject(dc, font_->get());
    ::SetTextColor(dc, !label_.Enabled()     ? ::GetSysColor(COLOR_GRAYTEXT)
                       : label_.ForeColour() ? *label_.ForeColour()
                                             : ::GetSysColor(COLOR_WINDOWTEXT));
    RECT box = area_;
    // As a static control lays out its text.
    formtext::DrawTextIn(dc, caption, box, DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS);
}

void PictureLabel::Invalidate(const RECT& area) const {
    if (picture_ != nullptr) {
        picture_->InvalidateArea(area);
    }
}

void PictureLabel::ShowTip() {
    picture_->TipChanged(*this);
}

void PictureLabel::MakeFont() {
    // The DC it was selected into is restored at the end of every paint, so the old font
    // is free to go.
    font_ = form_.MakeFont(label_.GetFont());
}

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
    if (formtext::Property(form_.Handle(), propertyName_) == window_.get()) {
        formtext::RemoveProperty(form_.Handle(), propertyName_);
    }
    formtext::RemoveProperty(window_.get(), kPeerProperty);
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
    // Made where it belongs: a move afterwards is one more round to the window server for
    // every control, which a start-up with many pays for.
    window_.reset(formtext::CreateWindowText(exStyle, className, caption, style, PlaceRect(),
                                             parent, reinterpret_cast<HMENU>(id),
                                             backend_.Instance()));
    if (!window_) {
        return;
    }
    formtext::SetProperty(window_.get(), kPeerProperty, this);
    formtext::SetProperty(form_.Handle(), propertyName_, window_.get());
    KeepFormOrder();
    ApplyFont();
    AfterPlaced();
    if (control_.BackColour() || control_.ForeColour()) {
        ApplyColours();
    }
    form_.Tips().Set(window_.get(), control_.ToolTip());
}

void ControlWindow::KeepFormOrder() {
    // Siblings stack in the order they were made, and tabbing follows that order. A window
    // made once its page first shows comes after siblings made at load: it goes back
    // where the form's order puts it, beneath the sibling before it.
    HWND before = nullptr;
    bool passed = false;
    for (const auto& control : control_.Owner().Controls()) {
        if (control.get() == &control_) {
            passed = true;
            continue;
        }
        const ControlWindow* sibling =
            control->Container() == control_.Container() ? Of(*control) : nullptr;
        if (sibling == nullptr || sibling->Handle() == nullptr) {
            continue;
        }
        if (!passed) {
            before = sibling->Handle();
        } else {
            ::SetWindowPos(window_.get(), before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return;
        }
    }
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
                formtext::SetText(window_.get(), control_.Caption());
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

RECT ControlWindow::PlaceRect() const {
    const forms::Bounds& bounds = control_.GetBounds();
    RECT place = form_.Scale(bounds);
    if (const forms::Control* container = control_.Container();
        container != nullptr && container->Kind() == forms::ControlKind::Picture) {
        if (const auto* picture = dynamic_cast<const PictureWindow*>(Of(*container))) {
            place = picture->FromScale(bounds);
        }
    }
    place.bottom += ExtraHeight();
    return place;
}

void ControlWindow::Place() {
    if (!window_) {
        return;
    }
    const RECT place = PlaceRect();
    ::SetWindowPos(window_.get(), nullptr, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    AfterPlaced();
}

void ControlWindow::ApplyFont() {
    Win32FormsBackend::SharedFont made = form_.MakeFont(control_.GetFont());
    // A form not yet on screen paints everything when it shows: no control to redraw now.
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(made->get()),
         ::IsWindowVisible(form_.Handle()) != FALSE ? TRUE : FALSE);
    font_ = std::move(made);  // the old font is freed only once the window has let it go
}

void ControlWindow::DpiChanged() {
    ApplyFont();
    Place();
}

POINT ControlWindow::ToPixels(int x, int y) const {
    if (const forms::Control* container = control_.Container();
        container != nullptr && container->Kind() == forms::ControlKind::Picture &&
        control_.Kind() != forms::ControlKind::Picture) {
        // Inside a picture box the control's own points are in pixels of its window, scaled
        // as the picture scales its bounds.
        if (const auto* picture = dynamic_cast<const PictureWindow*>(Of(*container))) {
            const RECT unit = picture->FromScale({0, 0, x, y});
            return {unit.right, unit.bottom};
        }
    }
    if (control_.Kind() == forms::ControlKind::Picture) {
        const RECT unit = static_cast<const PictureWindow&>(*this).FromScale({0, 0, x, y});
        return {unit.right, unit.bottom};
    }
    return {form_.ScaleX(x), form_.ScaleY(y)};
}

forms::Bounds ControlWindow::FromPixels(const RECT& area) const {
    const auto back = [this](POINT pixel) -> POINT {
        if (control_.Kind() == forms::ControlKind::Picture) {
            return static_cast<const PictureWindow&>(*this).ToScale(pixel);
        }
        if (const forms::Control* container = control_.Container();
            container != nullptr && container->Kind() == forms::ControlKind::Picture) {
            if (const auto* picture = dynamic_cast<const PictureWindow*>(Of(*container))) {
                return picture->ToScale(pixel);
            }
        }
        return {form_.Unscale(pixel.x), form_.Unscale(pixel.y)};
    };
    const POINT topLeft = back({area.left, area.top});
    const POINT bottomRight = back({area.right, area.bottom});
    return {topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y};
}

forms::MouseEvent ControlWindow::MouseEventAt(HWND window, const forms::Control& target,
                                              WPARAM wParam, LPARAM lParam) const {
    forms::MouseEvent event = MouseState(WM_MOUSEMOVE, wParam);
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (window != Handle()) {
        ::MapWindowPoints(window, Handle(), &at, 1);
    }
    if (&target != &control_ && control_.Kind() == forms::ControlKind::Picture) {
        // A label the picture draws: the point from its top left, in the picture's units.
        const POINT inScale = static_cast<const PictureWindow&>(*this).ToScale(at);
        event.x = inScale.x - target.GetBounds().left;
        event.y = inScale.y - target.GetBounds().top;
        return event;
    }
    const forms::Bounds point = FromPixels({at.x, at.y, at.x, at.y});
    event.x = point.left;
    event.y = point.top;
    return event;
}

forms::MouseEvent MouseState(UINT message, WPARAM wParam) {
    forms::MouseEvent event;
    switch (message) {
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
            event.button = forms::MouseButton::Right;
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            event.button = forms::MouseButton::Middle;
            break;
        case WM_MOUSEMOVE:
            event.button = (wParam & MK_RBUTTON) != 0   ? forms::MouseButton::Right
                           : (wParam & MK_MBUTTON) != 0 ? forms::MouseButton::Middle
                                                        : forms::MouseButton::Left;
            break;
        default:
            break;
    }
    event.shift = (wParam & MK_SHIFT) != 0;
    event.ctrl = (wParam & MK_CONTROL) != 0;
    event.alt = ::GetKeyState(VK_MENU) < 0;
    return event;
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
    result = formtext::DefaultProcedure(parent, message, wParam, lParam);
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
    return window == nullptr
               ? nullptr
               : static_cast<ControlWindow*>(formtext::Property(window, kPeerProperty));
}

ControlWindow* ControlWindow::Of(const forms::Control& control) noexcept {
    return dynamic_cast<ControlWindow*>(control.Peer());
}

namespace {

std::unique_ptr<ControlWindow> CreateControlWindow(Win32FormsBackend& backend, FormWindow& form,
                                                   forms::Control& control) {
    using forms::ControlKind;
    switch (control.Kind()) {
        case ControlKind::Button:
            return std::make_unique<ClickWindow<forms::Button>>(
                backend, form, static_cast<forms::Button&>(control), "BUTTON",
                (static_cast<forms::Button&>(control).IsDefault() ? BS_DEFPUSHBUTTON
                                                                  : BS_PUSHBUTTON) |
                    WS_TABSTOP,
                BN_CLICKED);
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
            return std::make_unique<ClickWindow<forms::Label>>(
                backend, form, static_cast<forms::Label&>(control), "STATIC", SS_LEFT | SS_NOTIFY,
                STN_CLICKED);
        case ControlKind::Picture:
            return std::make_unique<PictureWindow>(backend, form,
                                                   static_cast<forms::Picture&>(control));
        case ControlKind::Frame:
            return std::make_unique<FrameWindow>(backend, form,
                                                 static_cast<forms::Frame&>(control));
        case ControlKind::Image:
            return std::make_unique<ImageWindow>(backend, form,
                                                 static_cast<forms::Image&>(control));
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<forms::ControlPeer> CreateControlPeer(Win32FormsBackend& backend, FormWindow& form,
                                                      forms::Control& control) {
    if (control.Kind() == forms::ControlKind::Image) {
        DrawnImages* holder = &form.Images();
        if (const forms::Control* container = control.Container()) {
            ControlWindow* peer = ControlWindow::Of(*container);
            holder = peer != nullptr && peer->Handle() != nullptr ? peer->Images() : nullptr;
        }
        if (holder != nullptr) {
            return CreateDrawnImage(*holder, static_cast<forms::Image&>(control));
        }
    }
    if (control.Kind() == forms::ControlKind::Label && control.Container() != nullptr &&
        control.Container()->Kind() == forms::ControlKind::Picture) {
        if (auto* picture = dynamic_cast<PictureWindow*>(ControlWindow::Of(*control.Container()));
            picture != nullptr && picture->Handle() != nullptr) {
            return std::make_unique<PictureLabel>(backend, form, *picture,
                                                  static_cast<forms::Label&>(control));
        }
    }
    return CreateControlWindow(backend, form, control);
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

}  // namespace pellmark::win32::formwindows
