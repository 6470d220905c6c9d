// A form's notification-area icon on Windows: Shell_NotifyIcon in the shell's first record
// layout, which every Windows from 95 on takes. The icon is added again when Explorer
// starts again and tells every window with "TaskbarCreated".
#pragma once

#include <windows.h>

#include <memory>

#include "platform/forms/TrayIcon.h"
#include "platform/win32/Win32FormsWindows.h"

namespace pellmark::win32 {

// The shell reports the mouse on the icon with this message to the form's window, the
// mouse message itself in lParam. A message of our own rather than WM_MOUSEMOVE: with
// WM_MOUSEMOVE the mouse message would arrive as a horizontal coordinate and a real
// movement over the window at that x would be taken for a click.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 0x1C0;

class Win32TrayIcon final : public forms::TrayIconPeer, private formwindows::MessageTaker {
  public:
    // Adds the icon; the shell's answer is not looked at (no notification area, no icon).
    Win32TrayIcon(formwindows::FormWindow& form, forms::TrayIcon& icon);
    // Removes it.
    ~Win32TrayIcon() override;
    Win32TrayIcon(const Win32TrayIcon&) = delete;
    Win32TrayIcon& operator=(const Win32TrayIcon&) = delete;

  private:
    // The form window's messages: true for the ones the icon takes.
    bool Take(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Notify(DWORD request) const;
    [[nodiscard]] HICON WindowIcon() const;

    formwindows::FormWindow& form_;
    forms::TrayIcon& icon_;
    UINT taskbarCreated_;
};

}  // namespace pellmark::win32
