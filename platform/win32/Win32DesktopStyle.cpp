#include "platform/win32/Win32DesktopStyle.h"

#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <utility>

#include "platform/win32/DesktopWindows.h"
#include "platform/win32/WideText.h"

namespace pellmark::win32 {

namespace {

// Long enough for a busy Explorer, short enough that a hung one does not hang us.
constexpr UINT kReplyTimeout = 2000;  // milliseconds

// None of these messages carries an address, so they are safe for a list view in any
// process. False when there was no list view or no answer.
bool Ask(HWND listView, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& answer) {
    return listView != nullptr &&
           ::SendMessageTimeoutA(listView, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyTimeout,
                                 &answer) != 0;
}

std::uint32_t ReadColour(UINT message) {
    DWORD_PTR colour = 0;
    if (!Ask(FindDesktopListView(), message, 0, 0, colour)) {
        return 0;
    }
    return static_cast<std::uint32_t>(colour);
}

void WriteColour(UINT message, std::uint32_t colour) {
    const HWND listView = FindDesktopListView();
    DWORD_PTR ignored = 0;
    if (Ask(listView, message, 0, static_cast<LPARAM>(static_cast<COLORREF>(colour)), ignored)) {
        // The list view keeps the colour for its next paint; the desktop shows it now.
        ::InvalidateRect(listView, nullptr, TRUE);
    }
}

template <class LogFont>
void Describe(const platform::FontChoice& font, LogFont& logFont) {
    LONG dpi = 96;
    if (const HDC screen = ::GetDC(nullptr); screen != nullptr) {
        dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
    }
    logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
    logFont.lfWidth = 0;
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic ? TRUE : FALSE;
    logFont.lfUnderline = FALSE;
    logFont.lfStrikeOut = FALSE;
}

}  // namespace

std::uint32_t Win32DesktopStyle::TextColour() {
    return ReadColour(LVM_GETTEXTCOLOR);
}

std::uint32_t Win32DesktopStyle::TextBackColour() {
    return ReadColour(LVM_GETTEXTBKCOLOR);
}

void Win32DesktopStyle::SetTextColour(std::uint32_t colour) {
    WriteColour(LVM_SETTEXTCOLOR, colour);
}

void Win32DesktopStyle::SetTextBackColour(std::uint32_t colour) {
    WriteColour(LVM_SETTEXTBKCOLOR, colour);
}

void Win32DesktopStyle::SetCaptionFont(const platform::FontChoice& font) {
    if (FindDesktopListView() == nullptr) {
        return;
    }
    if (UsesWideApi()) {
        // A font handle of this process means nothing in Explorer's. Explorer draws the
        // captions in the system's icon-title font and reads it again when told it
        // changed; the change lasts for this session, the user's profile keeps its own.
        LOGFONTW logFont{};
        if (::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof logFont, &logFont, 0) ==
            FALSE) {
            return;
        }
        Describe(font, logFont);
        const std::wstring face = Widen(font.name);
        std::memset(logFont.lfFaceName, 0, sizeof logFont.lfFaceName);
        ::wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        ::SystemParametersInfoW(SPI_SETICONTITLELOGFONT, sizeof logFont, &logFont, SPIF_SENDCHANGE);
        return;
    }
    // 95/98/Me: the list view takes this process's font handle as it is.
    LOGFONTA logFont{};
    Describe(font, logFont);
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (const auto face = ToAnsi(font.name)) {
        ::strncpy(logFont.lfFaceName, face->c_str(), LF_FACESIZE - 1);
    }
    UniqueGdiObject made(::CreateFontIndirectA(&logFont));
    const HWND listView = FindDesktopListView();
    if (!made || listView == nullptr) {
        return;
    }
    DWORD_PTR ignored = 0;
    Ask(listView, WM_SETFONT, reinterpret_cast<WPARAM>(made.get()), TRUE, ignored);
    // The list view now draws with the new font: the old one can go.
    font_ = std::move(made);
}

bool Win32DesktopStyle::PointerOnDesktop() {
    POINT pointer{};
    if (::GetCursorPos(&pointer) == FALSE) {
        return false;  // a secure desktop holds the pointer: not ours
    }
    const HWND parent = ::GetParent(::WindowFromPoint(pointer));
    // Either chain: on Windows 8 and later the view's parent is a WorkerW, not Progman.
    const HWND listView = FindProgmanListView();
    const HWND defView = listView != nullptr ? ::GetParent(listView) : nullptr;
    if (defView == nullptr) {
        // No shell windows: nothing to tell apart, and nothing to hide either.
        return parent == nullptr;
    }
    // The icon view itself, or the view's window, which lies beneath while the icons are
    // hidden.
    return parent == defView || parent == ::GetParent(defView);
}

std::uint32_t Win32DesktopStyle::TickCount() {
    return ::GetTickCount();
}

}  // namespace pellmark::win32
