// What the forms backend's files share: the form window, the base of the control windows,
// the tool tips and the routing of the notifications a control sends its parent.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "platform/forms/Form.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32FormsText.h"

namespace pellmark::win32::formwindows {

// One tool tip window per form, with a tool for each control that has a tip.
class ToolTips {
  public:
    ToolTips(const Win32FormsBackend& backend, HWND form);
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

  private:
    HWND form_;
    std::set<HWND> tools_;
    std::set<std::pair<HWND, UINT_PTR>> areas_;
    UniqueWindow window_;
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
    [[nodiscard]] ToolTips& Tips() noexcept { return *tips_; }
    [[nodiscard]] int NextControlId() noexcept { return nextControlId_++; }

    // The timer ticks on this window under the id returned.
    UINT_PTR AddTimer(forms::Timer& timer);
    void RemoveTimer(UINT_PTR id) noexcept;

    // The form whose window this is; null for any other window.
    [[nodiscard]] static FormWindow* FromHandle(HWND window) noexcept;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] RECT OuterRect() const;

    Win32FormsBackend& backend_;
    forms::Form& form_;
    DWORD style_;
    std::map<UINT_PTR, forms::Timer*> timers_;
    UINT_PTR nextTimerId_ = 1;
    int nextControlId_ = 1000;
    HWND lastFocus_ = nullptr;
    UniqueWindow window_;
    std::unique_ptr<ToolTips> tips_;
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

    // Moves the window to the model's bounds.
    void Place();

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
    [[nodiscard]] bool ShowsCaption() const noexcept;

    forms::Control& control_;
    std::string propertyName_;  // on the form: finds the window from other processes
    UniqueGdiObject font_;
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
// picture box, which the picture draws.
std::unique_ptr<forms::ControlPeer> CreateControlPeer(Win32FormsBackend& backend, FormWindow& form,
                                                      forms::Control& control);

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

// Shows the menu's visible items at the cursor and waits: the chosen item's index in
// menu.items, or -1.
int TrackMenu(const forms::PopupMenu& menu, HWND owner);

}  // namespace pellmark::win32::formwindows
