// The forms on real windows: each form a top-level window of its own class, each control a
// standard or common control, and the program's message loop that feeds them key and mouse
// events.
#pragma once

#include <windows.h>

#include <memory>

#include "platform/forms/Form.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

// Every form must be unloaded (or destroyed) before its backend goes.
class Win32FormsBackend final : public forms::Backend {
  public:
    // dpi: the pixels per inch the 96-DPI bounds are scaled to; 0 takes the screen's.
    explicit Win32FormsBackend(int dpi = 0);
    ~Win32FormsBackend() override;
    Win32FormsBackend(const Win32FormsBackend&) = delete;
    Win32FormsBackend& operator=(const Win32FormsBackend&) = delete;

    std::unique_ptr<forms::FormPeer> CreateFormPeer(forms::Form& form) override;
    std::unique_ptr<forms::ControlPeer> CreateControlPeer(forms::Control& control) override;
    std::unique_ptr<forms::TimerPeer> CreateTimerPeer(forms::Timer& timer) override;
    int TrackPopupMenu(const forms::PopupMenu& menu, forms::Form& owner) override;
    int ListItemAtCursor(const forms::Control& list) override;
    void DoEvents() override;
    void EndProgram() override;

    // The window of a loaded form or control; null when it has none. A label inside a
    // picture box never has one: the picture draws it, so it has no window to look up, and
    // no "Pellmark." + name property on the form either.
    [[nodiscard]] static HWND WindowOf(const forms::Form& form) noexcept;
    [[nodiscard]] static HWND WindowOf(const forms::Control& control) noexcept;

    // The images list view rows refer to; the caller keeps it alive while list views show
    // it. Applies to list views made from now on.
    void SetListImages(HIMAGELIST images) noexcept { listImages_ = images; }
    [[nodiscard]] HIMAGELIST ListImages() const noexcept { return listImages_; }

    // From 96-DPI pixels to this screen's.
    [[nodiscard]] int ScaleX(int pixels) const noexcept { return ::MulDiv(pixels, dpiX_, 96); }
    [[nodiscard]] int ScaleY(int pixels) const noexcept { return ::MulDiv(pixels, dpiY_, 96); }
    [[nodiscard]] RECT Scale(const forms::Bounds& bounds) const noexcept;
    // The system's message font, shared by every control without a font of its own.
    [[nodiscard]] HFONT DefaultFont() const noexcept {
        return static_cast<HFONT>(defaultFont_.get());
    }
    // A font for `font`, built on the message font for what it leaves unset.
    [[nodiscard]] UniqueGdiObject MakeFont(const forms::Font& font) const;
    [[nodiscard]] HINSTANCE Instance() const noexcept { return instance_; }

  private:
    HINSTANCE instance_;
    int dpiX_ = 96;
    int dpiY_ = 96;
    LOGFONTW messageFont_{};
    UniqueGdiObject defaultFont_;
    HIMAGELIST listImages_ = nullptr;
};

// Handles one message as the program's loop does: a control's key and right-button events
// and the form's key preview go to the model first, then Tab and the other dialog keys,
// then the window itself.
void DispatchFormsMessage(MSG& message);

// Runs the program's messages until WM_QUIT; its exit code.
int RunMessageLoop();

}  // namespace pellmark::win32
