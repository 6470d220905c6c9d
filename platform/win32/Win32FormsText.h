// The one place where the forms' windows meet text: the wide calls on the NT family, so that
// every caption, list row and tip shows exactly what the program holds in UTF-8, and the ANSI
// calls on 95/98/Me, which have only stubs of most wide ones. Everything else in the forms
// backend calls these and never an A or W function that carries text.
// Calls that carry no text use their ANSI form, which every system has.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pellmark::win32::formtext {

// A text as this system's calls take it. The A and W structures of the common controls
// (LVITEM, LVCOLUMN, TTTOOLINFO) share one layout, so a W structure carries it on both:
// on 95/98/Me the pointer is really to ANSI characters, and the A message is sent (Pick).
class SystemText {
  public:
    explicit SystemText(std::string_view utf8);
    [[nodiscard]] wchar_t* get() noexcept;
    [[nodiscard]] LPARAM lparam() noexcept { return reinterpret_cast<LPARAM>(get()); }

  private:
    std::wstring wide_;
    std::string ansi_;
};

// The message of the pair that matches SystemText.
[[nodiscard]] UINT Pick(UINT ansiMessage, UINT wideMessage) noexcept;

// A window class's icons: for the title bar and the task switcher, and the small one for
// the caption and the taskbar. A class given only the large one has Windows make the small
// one from it at every registration.
struct ClassIcons {
    HICON large = nullptr;
    HICON small = nullptr;
};

// Registers a window class once; later calls for the same name do nothing.
void RegisterWindowClass(HINSTANCE instance, const std::string& name, WNDPROC procedure,
                         ClassIcons icons, HBRUSH background, UINT style = 0);
[[nodiscard]] HWND CreateWindowText(DWORD exStyle, const std::string& className,
                                    const std::string& text, DWORD style, const RECT& place,
                                    HWND parent, HMENU menuOrId, HINSTANCE instance,
                                    void* parameter = nullptr);
LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Puts `procedure` in front of the window's own; the procedure it had.
WNDPROC Subclass(HWND window, WNDPROC procedure);
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

void SetText(HWND window, std::string_view text);
[[nodiscard]] std::string Text(HWND window);
// For messages whose text goes in lParam under one number for both kinds (LB_ADDSTRING,
// CB_INSERTSTRING, WM_SETTEXT).
LRESULT SendString(HWND window, UINT message, WPARAM wParam, std::string_view text);

// Window properties: named by an atom, so another process finds them with either kind.
void SetProperty(HWND window, const std::string& name, HANDLE value);
[[nodiscard]] HANDLE Property(HWND window, const std::string& name);
void RemoveProperty(HWND window, const std::string& name);

void AppendMenuText(HMENU menu, UINT flags, UINT_PTR id, const std::string& text);
// Sets the item at `position` (or inserts one there) from `info`, whose type data is
// `text` when it is a string item. `info` is at its first size, which every system takes.
bool PutMenuItem(HMENU menu, UINT position, bool insert, MENUITEMINFOW info, std::string_view text);

// The message loop's calls.
[[nodiscard]] BOOL GetMessageText(MSG& message);
[[nodiscard]] bool PeekMessageText(MSG& message);
[[nodiscard]] bool IsDialogMessageText(HWND dialog, MSG& message);
void DispatchMessageText(const MSG& message);

// The system's message font; a font made from a description.
[[nodiscard]] LOGFONTW MessageFont();
[[nodiscard]] HFONT CreateFontText(const LOGFONTW& description);
// The face name of a description, and a face name put into one.
void SetFaceName(LOGFONTW& description, std::string_view name);
[[nodiscard]] std::string FaceName(const LOGFONTW& description);

int DrawTextIn(HDC dc, std::string_view text, RECT& box, UINT format);

}  // namespace pellmark::win32::formtext
