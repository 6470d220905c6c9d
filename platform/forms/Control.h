// The control base of every form: a control keeps its own state, and a backend peer shows
// it. Setting a value from code runs the same handling as the user's change whenever the
// value actually changes; enable, visible, caption, tool tip, font and tag are plain
// properties.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pellmark::forms {

// The name of element `index` of a control array: "lblPrevIcon(3)".
[[nodiscard]] std::string ElementName(std::string_view array, std::size_t index);

// Positions and sizes are in pixels at 96 DPI (the backend scales them to the screen), or
// in the scale of a picture box for the controls inside one.
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct Font {
    std::string name;   // empty: the system's message font
    double points = 0;  // 0: the system's size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class ControlKind {
    Button,
    CheckBox,
    OptionButton,
    Slider,
    TextBox,
    ComboBox,
    ListBox,
    ListView,
    Label,
    Picture,
    Frame,
    Image,
};

// What a peer must show again.
enum class Change {
    Enabled,
    Visible,
    Caption,
    ToolTip,
    Font,
    Bounds,
    Colours,
    Value,      // check state, slider position, text box text, option value
    Selection,  // list index
    Range,      // slider minimum and maximum, picture scale
    Columns,    // list view columns
    Picture,    // the picture of an image or picture box, or a list view's image list
    Redraw,     // the control paints itself again
};

// A row of a list was added, removed or changed; All: every row again.
enum class ItemChange { Added, Removed, Changed, All };

enum class MouseButton { Left, Right, Middle };

// A mouse event: the button (for a move, the one held down, Left when none), the shift keys
// held, and the point in the control's scale (a picture box's units, else pixels at 96 DPI).
struct MouseEvent {
    MouseButton button = MouseButton::Left;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    int x = 0;
    int y = 0;
    // Only Ctrl of the three shift keys.
    [[nodiscard]] bool CtrlAlone() const noexcept { return ctrl && !shift && !alt; }
};

class Control;

// The backend's side of one control.
class ControlPeer {
  public:
    virtual ~ControlPeer() = default;
    virtual void Update(Change what) = 0;
    virtual void UpdateItem(ItemChange change, int index) = 0;
    // The row of a list under a point in the control's scale; -1 for none.
    [[nodiscard]] virtual int RowAt(int /*x*/, int /*y*/) const { return -1; }
    // Where a row of a list is, in the control's scale.
    [[nodiscard]] virtual Bounds RowBounds(int /*index*/) const { return {}; }
};

class Form;

class Control {
  public:
    Control(Form& form, ControlKind kind, std::string name, Control* container);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    [[nodiscard]] ControlKind Kind() const noexcept { return kind_; }
    [[nodiscard]] const std::string& Name() const noexcept { return name_; }
    [[nodiscard]] Form& Owner() const noexcept { return form_; }
    // The picture box or frame this control sits in; null for the form itself.
    [[nodiscard]] Control* Container() const noexcept { return container_; }

    [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
    void SetEnabled(bool enabled);
    [[nodiscard]] bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    [[nodiscard]] const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    [[nodiscard]] const std::string& ToolTip() const noexcept { return toolTip_; }
    void SetToolTip(std::string text);
    [[nodiscard]] const Font& GetFont() const noexcept { return font_; }
    void SetFont(Font font);
    [[nodiscard]] const Bounds& GetBounds() const noexcept { return bounds_; }
    void Move(Bounds bounds);
    // Colours as COLORREF (red in the low byte); none: the system's colour.
    [[nodiscard]] std::optional<std::uint32_t> BackColour() const noexcept { return back_; }
    void SetBackColour(std::optional<std::uint32_t> colour);
    [[nodiscard]] std::optional<std::uint32_t> ForeColour() const noexcept { return fore_; }
    void SetForeColour(std::optional<std::uint32_t> colour);
    std::string Tag;

    // True when the user can reach the control: it and every container are enabled and
    // visible.
    [[nodiscard]] bool Usable() const noexcept;

    // Paints again whatever the control draws itself (its picture, its Paint handler).
    void Refresh();

    // Key and mouse events; a key's code is the virtual-key code. While a button is held
    // down over a control the mouse is captured: moves and the release come to it even
    // outside it.
    std::function<void(int keyCode)> KeyDown;
    std::function<void(int keyCode)> KeyUp;
    std::function<void(const MouseEvent&)> MouseDown;
    std::function<void(const MouseEvent&)> MouseMove;
    std::function<void(const MouseEvent&)> MouseUp;
    std::function<void()> DblClick;

    // Input from the user, delivered by the backend (or by a test on the sim backend).
    void UserKeyDown(int keyCode);
    void UserKeyUp(int keyCode);
    void UserMouseDown(const MouseEvent& event);
    void UserMouseMove(const MouseEvent& event);
    void UserMouseUp(const MouseEvent& event);
    void UserDblClick();

    void AttachPeer(std::unique_ptr<ControlPeer> peer);
    [[nodiscard]] ControlPeer* Peer() const noexcept { return peer_.get(); }

  protected:
    void Notify(Change what);
    void NotifyItem(ItemChange change, int index);

  private:
    Form& form_;
    ControlKind kind_;
    std::string name_;
    Control* container_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string caption_;
    std::string toolTip_;
    Font font_;
    Bounds bounds_;
    std::optional<std::uint32_t> back_;
    std::optional<std::uint32_t> fore_;
    std::unique_ptr<ControlPeer> peer_;
};

}  // namespace pellmark::forms
