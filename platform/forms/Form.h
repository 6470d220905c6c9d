// A window of the program: its controls, timers and pop-up menus, loaded and unloaded as
// one. Forms are written once over the controls; a backend gives them real windows or
// keeps them in memory.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Control.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Menu.h"
#include "platform/forms/Timer.h"

namespace pellmark::forms {

enum class FormChange { Caption, Visible, Size };

// The backend's side of one form.
class FormPeer {
  public:
    virtual ~FormPeer() = default;
    virtual void Update(FormChange what) = 0;
};

class Form;

class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<FormPeer> CreateFormPeer(Form& form) = 0;
    // The control's form and container already have their peers.
    virtual std::unique_ptr<ControlPeer> CreateControlPeer(Control& control) = 0;
    virtual std::unique_ptr<TimerPeer> CreateTimerPeer(Timer& timer) = 0;
    // Shows the menu at the cursor and waits; the chosen item's index, or -1.
    virtual int TrackPopupMenu(const PopupMenu& menu, Form& owner) = 0;
    // The row of a list box under the mouse cursor; -1 when the cursor is not over a row.
    virtual int ListItemAtCursor(const Control& list) = 0;
    // Lets the window events that are waiting run.
    virtual void DoEvents() = 0;
    // The main form has gone: the program ends once the current event returns.
    virtual void EndProgram() = 0;
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

    [[nodiscard]] bool Loaded() const noexcept { return peer_ != nullptr; }
    [[nodiscard]] bool Visible() const noexcept { return visible_; }
    // Loads the form first when it is not loaded.
    void Show();
    void Hide();

    // Makes the window (hidden) and the controls' windows, then runs OnLoad. Nothing
    // when already loaded.
    void Load();
    // Runs OnUnload once, then the windows go; the controls keep their values.
    void Unload();
    // The user or the system asked the window to close.
    void UserClose();

    // Keys released anywhere in the form reach this before the control's own handler.
    std::function<void(int keyCode)> KeyUp;
    void UserKeyUp(int keyCode);

    template <class T>
    T& Add(std::string name, Control* container = nullptr) {
        auto control = std::make_unique<T>(*this, std::move(name), container);
        T& added = *control;
        Adopt(std::move(control));
        return added;
    }
    // Takes the control and its window away.
    void Remove(Control& control);
    Timer& AddTimer(std::string name);

    // Shows the menu at the cursor and runs the chosen item's Click.
    void ShowPopup(PopupMenu& menu);

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

  private:
    void Adopt(std::unique_ptr<Control> control);

    Backend& backend_;
    std::string name_;
    std::string caption_;
    int width_ = 400;
    int height_ = 300;
    bool visible_ = false;
    bool unloading_ = false;
    std::unique_ptr<FormPeer> peer_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<Timer>> timers_;
};

}  // namespace pellmark::forms
