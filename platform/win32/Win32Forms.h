// The forms on real windows: each form a top-level window of its own class, each control a
// standard or common control, and the program's message loop that feeds them key and mouse
// events.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>

#include "platform/forms/Form.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

// The picture as a 32-bit GDI bitmap of premultiplied pixels; empty when GDI cannot make it.
[[nodiscard]] UniqueGdiObject DibSectionOf(const forms::Bitmap& picture);

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
    // Shell_NotifyIcon on the form's window (see Win32TrayIcon.h).
    std::unique_ptr<forms::TrayIconPeer> CreateTrayIconPeer(forms::TrayIcon& icon) override;
    forms::MenuItem* TrackPopupMenu(forms::MenuItem& menu, forms::Form& owner, forms::Form& asker,
                                    std::optional<forms::MenuPoint> at) override;
    void RunModal(forms::Form& form) override;
    // Through the Windows Imaging Component, which Wine and Windows from Vista on have for
    // BMP, JPEG, GIF, PNG and ICO (on XP it comes with .NET 3.0 or on its own); where it is
    // missing, only BMP files load.
    forms::Bitmap LoadPicture(const std::string& path) override;
    // Cut and scaled by the imaging component while it decodes; a placeable Windows
    // metafile is drawn by GDI at the size asked for.
    forms::Bitmap LoadPicturePart(const std::string& path,
                                  const forms::PictureCutter& cut) override;
    // A raw resource (RCDATA) of the program's file holding a PNG file.
    forms::Bitmap LoadResourcePicture(const std::string& name) override;
    // ExtractIconEx, loaded with the shell when first asked for.
    forms::Bitmap LoadFileIcon(const std::string& file, int index, int size) override;
    forms::TextSize MeasureText(const std::string& text, const forms::Font& font,
                                int wrapWidth) override;
    forms::Bitmap LoadScalablePicture(const std::string& name,
                                      const std::string& largeName) override;
    void DoEvents() override;
    void EndProgram() override;
    // The owner-drawn menus' engine on the form's window (Win32CoolMenu.cpp).
    void InstallOwnerDrawnMenus(forms::Form& owner,
                                std::shared_ptr<forms::MenuImages> images) override;
    void UninstallOwnerDrawnMenus(forms::Form& owner) override;

    // Runs code of a form for a window procedure: a run-time error goes to the reporter.
    template <class Call>
    void Guard(Call&& call) noexcept {
        try {
            call();
        } catch (...) {
            Report(std::current_exception());
        }
    }
    // The backend of this program; null before one is made.
    [[nodiscard]] static Win32FormsBackend* Current() noexcept;

    // The window of a loaded form or control; null when it has none. A label inside a
    // picture box never has one: the picture draws it, so it has no window to look up, and
    // no "Pellmark." + name property on the form either.
    [[nodiscard]] static HWND WindowOf(const forms::Form& form) noexcept;
    [[nodiscard]] static HWND WindowOf(const forms::Control& control) noexcept;

    // The pixels per inch a new window starts at; a window moved to another monitor
    // follows that monitor's (WM_DPICHANGED).
    [[nodiscard]] int Dpi() const noexcept { return dpi_; }
    // A font for `font` at `dpi`, built on the message font for what it leaves unset
    // (the default font for Font{}); shared while anything holds it.
    using SharedFont = std::shared_ptr<const UniqueGdiObject>;
    [[nodiscard]] SharedFont MakeFont(const forms::Font& font, int dpi);
    [[nodiscard]] HINSTANCE Instance() const noexcept { return instance_; }

  private:
    HINSTANCE instance_;
    int dpi_ = 96;
    LOGFONTW messageFont_{};
    std::map<std::string, std::weak_ptr<const UniqueGdiObject>> fonts_;
};

// Handles one message as the program's loop does: a control's key and right-button events
// and the form's key preview go to the model first, then Tab and the other dialog keys,
// then the window itself.
void DispatchFormsMessage(MSG& message);

// Runs the program's messages until WM_QUIT; its exit code.
int RunMessageLoop();

}  // namespace pellmark::win32
