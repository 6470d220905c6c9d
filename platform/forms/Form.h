// A window of the program: its controls, timers and menus, loaded and unloaded as
// one. Forms are written once over the controls; a backend gives them real windows or
// keeps them in memory.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/forms/Canvas.h"
#include "platform/forms/Control.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Timer.h"
#include "platform/forms/TrayIcon.h"

namespace pellmark::forms {

enum class FormChange { Caption, Visible, Size, Region, Redraw };

// What to decode of a picture: the part `source`, in the picture's own pixels, at `width`
// by `height`.
struct PictureCut {
    Bounds source;
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureCut&, const PictureCut&) = default;
};
// Told a picture's own width and height, says what of it to decode.
using PictureCutter = std::function<PictureCut(int width, int height)>;
// The cut kept within a picture of that size, at least one pixel each way.
[[nodiscard]] PictureCut WithinPicture(PictureCut cut, int width, int height) noexcept;

enum class BorderStyle {
    Fixed,        // a caption with the system menu and a minimize box; not sizable
    FixedDialog,  // a dialog frame, caption and system menu
    Sizable,
    None,  // no frame and no caption; it keeps a system menu (Alt+F4, the taskbar's menu)
};

enum class StartPosition {
    Centred,  // on the work area of the monitor that holds the owner, else the cursor
    Manual,   // at WindowSettings::left and top
};

class Form;

// How a form's window is made; read when the window is made (its region also later).
struct WindowSettings {
    BorderStyle border = BorderStyle::Fixed;
    Form* owner = nullptr;  // an owned window stays above its owner and goes with it
    bool showInTaskbar = true;
    bool topmost = false;
    StartPosition start = StartPosition::Centred;
    int left = 0;  // pixels at 96 DPI, for a manual start
    int top = 0;
};

// A message of the window itself, for the few a form must answer on its own (a hit test,
// a notification-area callback). Set `handled` and `result` to answer it.
struct RawMessage {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
    bool handled = false;
    std::intptr_t result = 0;
};

// The backend's side of one form.
class FormPeer {
  public:
    virtual ~FormPeer() = default;
    virtual void Update(FormChange what) = 0;
};

// Receives a run-time error that form code raised while the backend called it (an event,
// a timer, a paint); the backend goes on.
using ErrorReporter = std::function<void(std::exception_ptr error)>;

class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<FormPeer> CreateFormPeer(Form& form) = 0;
    // The control's form and container already have their peers.
    virtual std::unique_ptr<ControlPeer> CreateControlPeer(Control& control) = 0;
    virtual std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) = 0;
    // Tells the shell about the form's notification-area icon (the form is loaded); null
    // where the backend has no notification area.
    virtual std::unique_ptr<TrayIconPeer> CreateTrayIconPeer(TrayIcon& /*icon*/) { return nullptr; }
    // Shows the menu (one of the owner's) for the asker, at the asker's client point or the
    // cursor, and waits: the chosen item at any depth, or null when dismissed.
    virtual MenuItem* TrackPopupMenu(MenuItem& menu, Form& owner, Form& asker,
                                     std::optional<MenuPoint> at) = 0;
    // Owner-drawn menus on the form's menus, until uninstalled or the form unloads.
    virtual void InstallOwnerDrawnMenus(Form& /*owner*/, std::shared_ptr<MenuImages> /*images*/) {}
    virtual void UninstallOwnerDrawnMenus(Form& /*owner*/) {}
    // Disables the form's owner, then shows the form (already loaded), and returns once it
    // is hidden or unloaded. In that order, so the owner never takes input while the form
    // shows.
    virtual void RunModal(Form& form) = 0;
    // A picture from a file (BMP, JPEG, GIF, PNG, ICO, and WMF where the system draws
    // metafiles) or from the program's resources; a file that is missing is run-time error
    // 53, one that is no picture, or is over 16,384 pixels a side, 481.
    [[nodiscard]] virtual Bitmap LoadPicture(const std::string& path) = 0;
    // The same, decoded as `cut` asks once it is told the picture's own size: the picture
    // is scaled while it is decoded, so one of many pixels costs what is asked for.
    [[nodiscard]] virtual Bitmap LoadPicturePart(const std::string& path,
                                                 const PictureCutter& cut) = 0;
    [[nodiscard]] virtual Bitmap LoadResourcePicture(const std::string& name) = 0;
    // The icon `index` of a file (an icon file, a program, a library) drawn `size` pixels
    // square, 16 being the file's small icon, with what lies around it transparent. Index 0
    // and up counts the file's icons, a negative one names a resource number. Empty when the
    // file or the icon is missing.
    [[nodiscard]] virtual Bitmap LoadFileIcon(const std::string& file, int index, int size) = 0;
    // A resource picture that has a second drawing for high DPI (`largeName`, half as large
    // again): where the windows are at 120 DPI or more the picture carries it (Bitmap::Large),
    // so it shows sharp instead of stretched.
    [[nodiscard]] virtual Bitmap LoadScalablePicture(const std::string& name,
                                                     const std::string& largeName) {
        static_cast<void>(largeName);
        return LoadResourcePicture(name);
    }
    // The room `text` takes in `font` (the message font where it sets nothing), in 96-DPI
    // pixels, broken into lines at spaces to fit `wrapWidth` as a label breaks it (0: only
    // at the text's own line ends).
    [[nodiscard]] virtual TextSize MeasureText(const std::string& text, const Font& font,
                                               int wrapWidth) = 0;
    // Lets the window events that are waiting run.
    virtual void DoEvents() = 0;
    // The main form has gone: the program ends once the current event returns.
    virtual void EndProgram() = 0;

    void SetErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }
    // Runs form code on the backend's behalf: a run-time error it raises goes to the
    // reporter and no further (never through a window procedure).
    void Deliver(const std::function<void()>& call) noexcept;
    // Hands an error to the reporter; with none, the error is dropped.
    void Report(std::exception_ptr error) noexcept;

  private:
    ErrorReporter reporter_;
};

class Form {
  public:
    Form(Backend& backend, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    [[nodiscard]] Backend& GetBackend() const noexcept { return backend_; }
    [[nodiscard]] const std::string& Name() const noexcept { return name_; }
    [[nodiscard]] const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    // The inside of the window, in pixels at 96 DPI.
    [[nodiscard]] int ClientWidth() const noexcept { return width_; }
    [[nodiscard]] int ClientHeight() const noexcept { return height_; }
    void SetClientSize(int width, int height);

    [[nodiscard]] const WindowSettings& Settings() const noexcept { return settings_; }
    // Taken when the window is next made.
    void SetSettings(const WindowSettings& settings);
    // The window's shape as rectangles in pixels at 96 DPI of its outside (the runs of a
    // skin picture); none: a plain rectangle; empty: nothing shows.
    [[nodiscard]] const std::optional<std::vector<Bounds>>& Region() const noexcept {
        return region_;
    }
    void SetRegion(std::optional<std::vector<Bounds>> region);

    [[nodiscard]] bool Loaded() const noexcept { return loaded_; }
    [[nodiscard]] bool Visible() const noexcept { return visible_; }
    // Loads the form first when it is not loaded.
    void Show();
    void Hide();
    // Shows the form with its owner disabled; returns once it is hidden or unloaded.
    void ShowModal();
    [[nodiscard]] bool Modal() const noexcept { return modal_; }

    // Runs OnLoad; nothing when already loaded. The window is made when it is first needed:
    // the form shows, a timer of it runs, its tray icon or a menu of it is shown (or
    // MakeWindow). A control gets its window when it first shows: when the form shows, or
    // later when the control or its container is made visible. So a form loaded hidden (to
    // be translated, say) and a page the user never opens cost no windows.
    void Load();
    // The window of a loaded form that has none yet, made hidden; nothing otherwise.
    void MakeWindow();
    // Runs OnUnload once, then unloads the forms it owns, then the windows go; the controls
    // keep their values.
    void Unload();
    // Asks QueryUnload, then unloads unless it refused; true when the form unloaded.
    bool Close();
    // The user or the system asked the window to close.
    void UserClose();
    // Runs before a close; setting `cancel` keeps the form.
    std::function<void(bool& cancel)> QueryUnload;

    // Keys released anywhere in the form reach this before the control's own handler.
    std::function<void(int keyCode)> KeyUp;
    void UserKeyUp(int keyCode);
    // Enter (13) clicks the default button, Esc (27) the cancel button; false when no
    // usable button took the key.
    bool UserDialogKey(int keyCode);

    // The mouse on the form's background, in pixels at 96 DPI.
    std::function<void(const MouseEvent&)> MouseDown;
    std::function<void(const MouseEvent&)> MouseMove;
    std::function<void(const MouseEvent&)> MouseUp;
    std::function<void()> DblClick;
    void UserMouseDown(const MouseEvent& event);
    void UserMouseMove(const MouseEvent& event);
    void UserMouseUp(const MouseEvent& event);
    void UserDblClick();

    // Paints the background, beneath the controls.
    std::function<void(Canvas&)> Paint;
    void Refresh();
    // The window's own messages, before the form handles them.
    std::function<void(RawMessage&)> Raw;

    template <class T>
    T& Add(std::string name, Control* container = nullptr) {
        auto control = std::make_unique<T>(*this, std::move(name), container);
        T& added = *control;
        Adopt(std::move(control));
        return added;
    }
    // Takes the control and its window away.
    void Remove(Control& control);
    // Takes several away in one pass over the form's controls, newest first.
    void Remove(std::span<Control* const> controls);
    Timer& AddTimer(std::string name);
    // The form's icon in the notification area (none shows until it is added); it goes
    // when the form unloads.
    TrayIcon& Tray();

    // A top-level menu of this form (not shown until ShowPopup).
    MenuItem& AddMenu(std::string name);
    [[nodiscard]] const std::vector<std::unique_ptr<MenuItem>>& Menus() const noexcept {
        return menus_;
    }
    // Pops up one of this form's menus on behalf of `asker` (the window that keeps its
    // activation; this form when null), at `at` in the asker's client area, or at the cursor
    // when none; runs the chosen item's Click (enabled and visible items only). Loads this
    // form first: its window owns the menu.
    void ShowPopup(MenuItem& menu, Form* asker = nullptr, std::optional<MenuPoint> at = {});
    // Owner-drawn menus on this form's menus, until uninstalled or the form unloads. Loads
    // the form first.
    void InstallOwnerDrawnMenus(std::shared_ptr<MenuImages> images);
    void UninstallOwnerDrawnMenus();
    [[nodiscard]] const std::shared_ptr<MenuImages>& OwnerDrawnImages() const noexcept {
        return menuImages_;
    }

    [[nodiscard]] const std::vector<std::unique_ptr<Control>>& Controls() const noexcept {
        return controls_;
    }
    [[nodiscard]] const std::vector<std::unique_ptr<Timer>>& Timers() const noexcept {
        return timers_;
    }
    [[nodiscard]] FormPeer* Peer() const noexcept { return peer_.get(); }

  protected:
    virtual void OnLoad() {}
    virtual void OnUnload() {}
    // Just before the form's window is made: what only a form that shows needs.
    virtual void OnMakingWindow() {}
    // After Show made a hidden form visible, and after Hide hid a visible one (an unload
    // hides without it): for work that runs only while the form is seen.
    virtual void OnShown() {}
    virtual void OnHidden() {}

  private:
    friend class Control;
    void Adopt(std::unique_ptr<Control> control);
    // The control now shows: its window, and those of what it holds that show.
    void ControlShown(Control& control);
    // Windows for the controls from `from` on that show and have none yet.
    void MakePeers(std::size_t from);

    Backend& backend_;
    std::string name_;
    std::string caption_;
    int width_ = 400;
    int height_ = 300;
    bool loaded_ = false;
    bool visible_ = false;
    bool unloading_ = false;
    bool modal_ = false;
    WindowSettings settings_;
    std::optional<std::vector<Bounds>> region_;
    std::unique_ptr<FormPeer> peer_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Timer>> timers_;
    std::vector<std::unique_ptr<MenuItem>> menus_;
    std::shared_ptr<MenuImages> menuImages_;  // set while owner-drawn menus are on
    std::unique_ptr<TrayIcon> tray_;          // before the window goes, the icon goes
    std::vector<Form*> owned_;                // the forms whose owner this is
};

}  // namespace pellmark::forms
