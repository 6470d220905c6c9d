// What the forms backend's files share: the form window, the base of the control windows,
// the tool tips and the routing of the notifications a control sends its parent.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/Form.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32FormsText.h"

namespace pellmark::win32::formwindows {

// Runs a window procedure's work: an exception from form code stops here and goes to the
// program's reporter, since it must never unwind through user32.
template <class Body>
LRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        if (Win32FormsBackend* backend = Win32FormsBackend::Current()) {
            backend->Report(std::current_exception());
        }
        return 0;
    }
}

// One tool tip window per form, with a tool for each control that has a tip.
class FormWindow;

class ToolTips {
  public:
    ToolTips(const FormWindow& owner, HWND form);
    ~ToolTips();
    ToolTips(const ToolTips&) = delete;
    ToolTips& operator=(const ToolTips&) = delete;

    // An empty text takes the control's tool away.
    void Set(HWND control, const std::string& text);
    // The tool of something drawn inside `window` without a window of its own: `id` tells
    // the window's areas apart, `area` is in its client pixels. An empty text takes the
    // tool away. The window relays its mouse messages itself (see Relay).
    void SetArea(HWND window, UINT_PTR id, const RECT& area, const std::string& text);
    // Both nothing for an area without a tool.
    void MoveArea(HWND window, UINT_PTR id, const RECT& area);
    void RemoveArea(HWND window, UINT_PTR id) noexcept;
    // Hands a mouse message of a window with areas to the tool tips.
    void Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    [[nodiscard]] HWND Handle() const noexcept { return window_.get(); }
    // Long tips wrap at a width that follows the form's DPI.
    void DpiChanged();

  private:
    // The tool tip window, made with the first tip; false when it cannot be made.
    bool Made();

    const FormWindow& owner_;
    HWND form_;
    std::set<HWND> tools_;
    std::set<std::pair<HWND, UINT_PTR>> areas_;
    UniqueWindow window_;
};

class ControlWindow;
class DrawnImage;

// The images a window draws itself: the form's own, or a picture box's. An image only shows
// a picture and takes the mouse, and every child window costs start-up time, so an image
// has no window: the window that holds it paints it over its own drawing and hands it the
// mouse messages that fall on it.
class DrawnImages {
  public:
    // `picture`: the picture box whose window draws them; null for the form's window.
    DrawnImages(FormWindow& form, const ControlWindow* picture) noexcept
        : form_(form), picture_(picture) {}
    ~DrawnImages();
    DrawnImages(const DrawnImages&) = delete;
    DrawnImages& operator=(const DrawnImages&) = delete;

    [[nodiscard]] FormWindow& Form() const noexcept { return form_; }
    [[nodiscard]] bool Empty() const noexcept { return images_.empty(); }
    // The window that draws them; null until it has been made.
    [[nodiscard]] HWND Window() const noexcept;
    // From the images' scale to pixels of the window; a distance in pixels back.
    [[nodiscard]] RECT ToPixels(const forms::Bounds& bounds) const;
    [[nodiscard]] POINT ToScale(POINT pixels) const;
    // What shows through a picture's transparent pixels: the holder's background colour.
    [[nodiscard]] HBRUSH Background() const;

    // Kept in the form's order, which is the order they are drawn in.
    void Adopt(DrawnImage& image);
    void Forget(const DrawnImage& image) noexcept;
    // The window's DPI, scale or size changed.
    void Place();
    // Draws the visible images that meet `dirty`, over what the window has drawn.
    void Paint(HDC dc, const RECT& dirty) const;
    // The image a mouse message of the window is for, with the point in its scale: the
    // image pressed while a button is still held, else the top one that takes the mouse at
    // the point; null for the window itself. The message loop asks as it delivers.
    [[nodiscard]] forms::Image* MouseTarget(UINT message, WPARAM wParam, LPARAM lParam,
                                            forms::MouseEvent& event);
    // The window's procedure saw a left press or release: a press and a release on the same
    // image click it. True when the press was an image's, so the window's own click is not.
    bool Click(UINT message, LPARAM lParam);
    // Some image has a tool tip, so the window relays its mouse messages to the tool tips.
    [[nodiscard]] bool HasTips() const noexcept;

  private:
    [[nodiscard]] DrawnImage* At(LPARAM point) const;

    FormWindow& form_;
    const ControlWindow* picture_;
    std::vector<DrawnImage*> images_;
    DrawnImage* captured_ = nullptr;  // takes every mouse message until the buttons are up
    WPARAM capturedButtons_ = 0;      // the buttons pressed on it (MK_ flags)
    DrawnImage* pressed_ = nullptr;   // where the left button went down
};

// Takes some of a form window's messages for something of the form's that has no window
// of its own (its notification-area icon).
class MessageTaker {
  public:
    // True when it took the message. Form code it runs may unload the form.
    virtual bool Take(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  protected:
    ~MessageTaker() = default;
};

// The system's menus for a form's top-level menus, made on first show and kept in step with
// the model's tree; they go with the form's window.
class FormMenus {
  public:
    FormMenus();
    ~FormMenus();
    FormMenus(const FormMenus&) = delete;
    FormMenus& operator=(const FormMenus&) = delete;

    // Brings the menu's items in line with the model (added, removed, moved, captions,
    // states, submenus at any depth); its handle, null when it cannot be made.
    HMENU Sync(const forms::MenuItem& menu);
    // The item of a command id of the menu synced last; null for none.
    [[nodiscard]] forms::MenuItem* ItemOf(UINT id) const noexcept;

  private:
    struct Level;
    struct Top {
        std::unique_ptr<Level> level;
        Top() = default;
        Top(Top&&) = default;
        ~Top();
    };
    void SyncLevel(Level& level, const forms::MenuItem& menu);

    std::map<const forms::MenuItem*, Top> tops_;
    std::vector<const forms::MenuItem*> ids_;  // id - 1 gives the item
};
struct FormMenusDeleter {
    void operator()(FormMenus* menus) const noexcept;
};

class FormWindow final : public forms::FormPeer {
  public:
    FormWindow(Win32FormsBackend& backend, forms::Form& form);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    void Update(forms::FormChange what) override;

    [[nodiscard]] HWND Handle() const noexcept { return window_.get(); }
    [[nodiscard]] forms::Form& Model() const noexcept { return form_; }
    [[nodiscard]] Win32FormsBackend& Backend() const noexcept { return backend_; }
    [[nodiscard]] ToolTips& Tips() noexcept { return *tips_; }
    [[nodiscard]] int NextControlId() noexcept { return nextControlId_++; }

    // The window's pixels per inch, and 96-DPI pixels in them.
    [[nodiscard]] int Dpi() const noexcept { return dpi_; }
    [[nodiscard]] int ScaleX(int pixels) const noexcept { return ::MulDiv(pixels, dpi_, 96); }
    [[nodiscard]] int ScaleY(int pixels) const noexcept { return ::MulDiv(pixels, dpi_, 96); }
    [[nodiscard]] RECT Scale(const forms::Bounds& bounds) const noexcept;
    [[nodiscard]] int Unscale(int pixels) const noexcept { return ::MulDiv(pixels, 96, dpi_); }
    [[nodiscard]] Win32FormsBackend::SharedFont MakeFont(const forms::Font& font) const {
        return backend_.MakeFont(font, dpi_);
    }

    // The timer ticks on this window under the id returned.
    UINT_PTR AddTimer(forms::Timer& timer);
    void RemoveTimer(UINT_PTR id) noexcept;

    // The form whose window this is; null for any other window.
    [[nodiscard]] static FormWindow* FromHandle(HWND window) noexcept;
    // The form's menus as the system shows them; they go with this peer.
    [[nodiscard]] FormMenus& Menus();
    // Sees the window's messages before the form does, until set to null.
    void SetTaker(MessageTaker* taker) noexcept { taker_ = taker; }
    // The images the form's window draws itself.
    [[nodiscard]] DrawnImages& Images() noexcept { return images_; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // A message for the form; `handled` false leaves it to the window's default.
    LRESULT Respond(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    [[nodiscard]] RECT OuterRect() const;
    [[nodiscard]] RECT StartRect(HWND owner) const;
    void ApplyRegion();
    void DpiChanged(int dpi, const RECT& suggested);
    void Paint(HDC dc, const RECT& area);

    Win32FormsBackend& backend_;
    forms::Form& form_;
    DWORD style_;
    DWORD exStyle_;
    int dpi_;
    std::map<UINT_PTR, forms::Timer*> timers_;
    UINT_PTR nextTimerId_ = 1;
    int nextControlId_ = 1000;
    HWND lastFocus_ = nullptr;
    bool destroying_ = false;        // the peer itself destroys the window
    bool destroyedOutside_ = false;  // Windows destroys it, and the model unloads
    UniqueWindow window_;
    std::unique_ptr<ToolTips> tips_;
    std::unique_ptr<FormMenus, FormMenusDeleter> menus_;
    MessageTaker* taker_ = nullptr;
    DrawnImages images_{*this, nullptr};
};

// The base of every control's window: the properties all controls share, and the hooks
// through which the parent hands on the control's notifications.
class ControlWindow : public forms::ControlPeer {
  public:
    ControlWindow(Win32FormsBackend& backend, FormWindow& form, forms::Control& control);
    ~ControlWindow() override;
    ControlWindow(const ControlWindow&) = delete;
    ControlWindow& operator=(const ControlWindow&) = delete;

    void Update(forms::Change what) override;
    void UpdateItem(forms::ItemChange, int) override {}

    [[nodiscard]] HWND Handle() const noexcept { return window_.get(); }
    [[nodiscard]] forms::Control& Model() const noexcept { return control_; }
    // The back colour's brush; null when the control has the system's colour.
    [[nodiscard]] HBRUSH BackBrush() const noexcept { return static_cast<HBRUSH>(brush_.get()); }

    // The control's notifications, as its parent receives them. They pass the user's input
    // to the model and say whether they did; the model's handlers may unload the form and
    // this peer with it, so nothing may touch the peer once the model has been called.
    virtual bool OnCommand(int) { return false; }
    virtual bool OnNotify(const NMHDR&) { return false; }
    virtual bool OnScroll() { return false; }
    // WM_CTLCOLOR*: false leaves the parent's default colours.
    bool OnColour(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Shows the model's state again, where the window may hold input the model refused.
    virtual void Resync() {}
    // The control a mouse message for `window` (this control's or one inside it) at `point`
    // is meant for: this one, unless it draws controls of its own there.
    [[nodiscard]] virtual forms::Control& ModelAt(HWND, LPARAM) const { return control_; }
    // The images this control's window draws itself (a picture box's); null for none.
    [[nodiscard]] virtual DrawnImages* Images() noexcept { return nullptr; }

    // Moves the window to the model's bounds.
    // Where the control goes, in pixels of its parent window.
    [[nodiscard]] RECT PlaceRect() const;
    void Place();
    // The form's DPI changed: the font again at the new size, then the place.
    virtual void DpiChanged();

    // Mouse messages of this control's window (or one drawn inside it) for the model: the
    // point in the model's scale.
    [[nodiscard]] forms::MouseEvent MouseEventAt(HWND window, const forms::Control& target,
                                                 WPARAM wParam, LPARAM lParam) const;
    // From the control's scale to its window's pixels, and back.
    [[nodiscard]] POINT ToPixels(int x, int y) const;
    [[nodiscard]] forms::Bounds FromPixels(const RECT& area) const;

    // The peer of a control window of ours; null for any other window.
    [[nodiscard]] static ControlWindow* FromHandle(HWND window) noexcept;
    [[nodiscard]] static ControlWindow* Of(const forms::Control& control) noexcept;

  protected:
    // Makes the window; each kind's constructor calls it, then shows its own state.
    void Create(DWORD exStyle, const char* className, DWORD style);
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return formtext::Send(window_.get(), message, wParam, lParam);
    }

    // Value, Selection, Range and Columns: each kind's own.
    virtual void UpdateState(forms::Change) {}
    virtual void ApplyColours();
    // The window's height beyond the model's (a combo box's drop-down list).
    [[nodiscard]] virtual int ExtraHeight() const { return 0; }
    virtual void AfterPlaced() {}

    Win32FormsBackend& backend_;
    FormWindow& form_;

  private:
    void ApplyFont();
    void KeepFormOrder();
    [[nodiscard]] bool ShowsCaption() const noexcept;

    forms::Control& control_;
    std::string propertyName_;  // on the form: finds the window from other processes
    Win32FormsBackend::SharedFont font_;
    UniqueGdiObject brush_;
    UniqueWindow window_;
};

// Set while the peer pushes the model's state, so the notifications the window sends back
// are not taken for the user's input.
class Pushing {
  public:
    explicit Pushing(bool& flag) noexcept : flag_(flag), was_(std::exchange(flag, true)) {}
    ~Pushing() { flag_ = was_; }
    Pushing(const Pushing&) = delete;
    Pushing& operator=(const Pushing&) = delete;

  private:
    bool& flag_;
    bool was_;
};

// The peer a control of any kind gets: a window of its own, except for a label inside a
// picture box, which the picture draws, and an image outside a frame, which the form or
// the picture box draws.
std::unique_ptr<forms::ControlPeer> CreateControlPeer(Win32FormsBackend& backend, FormWindow& form,
                                                      forms::Control& control);

// An image drawn by the window that holds it.
std::unique_ptr<forms::ControlPeer> CreateDrawnImage(DrawnImages& holder, forms::Image& image);

std::unique_ptr<ControlWindow> CreateListWindow(Win32FormsBackend& backend, FormWindow& form,
                                                forms::ListControl& list);
std::unique_ptr<ControlWindow> CreateListViewWindow(Win32FormsBackend& backend, FormWindow& form,
                                                    forms::ListView& view);

// Hands a child control's notification (WM_COMMAND, WM_NOTIFY, WM_HSCROLL, WM_CTLCOLOR*) to
// its peer; false when the message is none of those or not from a control of ours. Forms,
// pictures and frames all route through here.
bool RouteFromChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Fills a container's background around its visible children: the button class draws with
// its parent's clipping, so a frame would otherwise paint over the controls inside it.
void FillBackground(HWND window, HDC dc, HBRUSH brush);

// Shows the form's menu with the owner's window as the menu's window, at the asker's client
// point (96-DPI pixels) or the cursor, and waits: the chosen item, or null.
forms::MenuItem* TrackMenu(FormWindow& owner, forms::MenuItem& menu, const FormWindow* asker,
                           std::optional<forms::MenuPoint> at);

// The mouse and key state of a mouse message's wParam, with the button it is about.
forms::MouseEvent MouseState(UINT message, WPARAM wParam);

// Draws with GDI for a Paint handler: the handler's coordinates (a control's scale) mapped
// to the DC's pixels by `map`.
class GdiCanvas final : public forms::Canvas {
  public:
    using Map = RECT (*)(const void* context, const forms::Bounds& area);
    GdiCanvas(HDC dc, FormWindow& form, Map map, const void* context, int width, int height);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    void Fill(const forms::Bounds& area, std::uint32_t colour) override;
    void Frame(const forms::Bounds& area, std::uint32_t colour) override;
    void Line(int x1, int y1, int x2, int y2, std::uint32_t colour) override;
    void Text(const std::string& text, const forms::Bounds& area,
              const forms::TextStyle& style) override;
    void Draw(const forms::Bitmap& picture, const forms::Bounds& area) override;
    void Clip(const forms::Bounds& area) override;
    [[nodiscard]] int Width() const override { return width_; }
    [[nodiscard]] int Height() const override { return height_; }

  private:
    [[nodiscard]] RECT Mapped(const forms::Bounds& area) const { return map_(context_, area); }

    HDC dc_;
    FormWindow& form_;
    Map map_;
    const void* context_;
    int width_;
    int height_;
    int saved_;
    std::vector<Win32FormsBackend::SharedFont> fonts_;  // selected while the canvas lives
};

// Draws a picture stretched over `area` of the DC; transparent pixels blend.
void DrawBitmap(HDC dc, const forms::Bitmap& picture, const RECT& area);

// The pictures as a system image list of `size` pixels square.
[[nodiscard]] UniqueImageList MakeImageList(const forms::ImageList& images, int width, int size);

// Paints into a buffer the size of `area` and shows it in one step, so nothing flickers.
class BufferedPaint {
  public:
    BufferedPaint(HDC target, const RECT& area);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    // Draws in the target's coordinates; the target itself when no buffer could be made.
    [[nodiscard]] HDC Dc() const noexcept { return buffer_ ? buffer_.get() : target_; }

  private:
    HDC target_;
    RECT area_;
    UniqueGdiObject bitmap_;
    UniqueMemoryDc buffer_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace pellmark::win32::formwindows
