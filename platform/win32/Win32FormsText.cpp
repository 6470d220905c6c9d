#include "platform/win32/Win32FormsText.h"

#include <commctrl.h>

#include <cstddef>
#include <cstring>

#include "platform/win32/WideText.h"

namespace pellmark::win32::formtext {

static_assert(sizeof(LVITEMA) == sizeof(LVITEMW) && sizeof(LVCOLUMNA) == sizeof(LVCOLUMNW) &&
                  sizeof(TTTOOLINFOA) == sizeof(TTTOOLINFOW),
              "a W structure carries ANSI text on 95/98/Me");
static_assert(offsetof(LOGFONTA, lfFaceName) == offsetof(LOGFONTW, lfFaceName));

namespace {

// On 95/98/Me a text the code page cannot hold shows as nothing rather than as another text.
std::string AnsiOf(std::string_view utf8) {
    return ToAnsi(utf8).value_or(std::string());
}

LOGFONTW FromAnsiFont(const LOGFONTA& ansi) {
    LOGFONTW wide{};
    std::memcpy(&wide, &ansi, offsetof(LOGFONTA, lfFaceName));
    SetFaceName(
        wide, FromAnsi(std::string_view(ansi.lfFaceName, ::strnlen(ansi.lfFaceName, LF_FACESIZE))));
    return wide;
}

}  // namespace

SystemText::SystemText(std::string_view utf8) {
    if (UsesWideApi()) {
        wide_ = Widen(utf8);
    } else {
        ansi_ = AnsiOf(utf8);
    }
}

wchar_t* SystemText::get() noexcept {
    return UsesWideApi() ? wide_.data() : reinterpret_cast<wchar_t*>(ansi_.data());
}

UINT Pick(UINT ansiMessage, UINT wideMessage) noexcept {
    return UsesWideApi() ? wideMessage : ansiMessage;
}

void RegisterWindowClass(HINSTANCE instance, const std::string& name, WNDPROC procedure,
                         ClassIcons icons, HBRUSH background, UINT style) {
    HCURSOR arrow = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    if (UsesWideApi()) {
        const std::wstring wide = Widen(name);
        WNDCLASSEXW type{};
        type.cbSize = sizeof type;
        if (::GetClassInfoExW(instance, wide.c_str(), &type) != FALSE) {
            return;
        }
        type = {sizeof type, style,   procedure,    0,          0, instance, icons.large, arrow,
                background,  nullptr, wide.c_str(), icons.small};
        ::RegisterClassExW(&type);
        return;
    }
    const std::string ansi = AnsiOf(name);
    WNDCLASSEXA type{};
    type.cbSize = sizeof type;
    if (::GetClassInfoExA(instance, ansi.c_str(), &type) != FALSE) {
        return;
    }
    type = {sizeof type, style,   procedure,    0,          0, instance, icons.large, arrow,
            background,  nullptr, ansi.c_str(), icons.small};
    ::RegisterClassExA(&type);
}

HWND CreateWindowText(DWORD exStyle, const std::string& className, const std::string& text,
                      DWORD style, const RECT& place, HWND parent, HMENU menuOrId,
                      HINSTANCE instance, void* parameter) {
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    if (UsesWideApi()) {
        return ::CreateWindowExW(exStyle, Widen(className).c_str(), Widen(text).c_str(), style,
                                 place.left, place.top, width, height, parent, menuOrId, instance,
                                 parameter);
    }
    return ::CreateWindowExA(exStyle, AnsiOf(className).c_str(), AnsiOf(text).c_str(), style,
                             place.left, place.top, width, height, parent, menuOrId, instance,
                             parameter);
}

LRESULT DefaultProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return UsesWideApi() ? ::DefWindowProcW(window, message, wParam, lParam)
                         : ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CallProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return UsesWideApi() ? ::CallWindowProcW(procedure, window, message, wParam, lParam)
                         : ::CallWindowProcA(procedure, window, message, wParam, lParam);
}

WNDPROC Subclass(HWND window, WNDPROC procedure) {
    const auto value = reinterpret_cast<LONG_PTR>(procedure);
    return reinterpret_cast<WNDPROC>(UsesWideApi()
                                         ? ::SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                                         : ::SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return UsesWideApi() ? ::SendMessageW(window, message, wParam, lParam)
                         : ::SendMessageA(window, message, wParam, lParam);
}

void SetText(HWND window, std::string_view text) {
    if (UsesWideApi()) {
        ::SetWindowTextW(window, Widen(text).c_str());
    } else {
        ::SetWindowTextA(window, AnsiOf(text).c_str());
    }
}

std::string Text(HWND window) {
    if (UsesWideApi()) {
        const int length = ::GetWindowTextLengthW(window);
        if (length <= 0) {
            return {};
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        const int copied = ::GetWindowTextW(window, text.data(), length + 1);
        return NarrowBuffer(text.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
    }
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return FromAnsi(text);
}

LRESULT SendString(HWND window, UINT message, WPARAM wParam, std::string_view text) {
    SystemText systemText(text);
    return Send(window, message, wParam, systemText.lparam());
}

void SetProperty(HWND window, const std::string& name, HANDLE value) {
    if (UsesWideApi()) {
        ::SetPropW(window, Widen(name).c_str(), value);
    } else {
        ::SetPropA(window, AnsiOf(name).c_str(), value);
    }
}

HANDLE Property(HWND window, const std::string& name) {
    return UsesWideApi() ? ::GetPropW(window, Widen(name).c_str())
                         : ::GetPropA(window, AnsiOf(name).c_str());
}

void RemoveProperty(HWND window, const std::string& name) {
    if (UsesWideApi()) {
        ::RemovePropW(window, Widen(name).c_str());
    } else {
        ::RemovePropA(window, AnsiOf(name).c_str());
    }
}

void AppendMenuText(HMENU menu, UINT flags, UINT_PTR id, const std::string& text) {
    if (UsesWideApi()) {
        ::AppendMenuW(menu, flags, id, Widen(text).c_str());
    } else {
        ::AppendMenuA(menu, flags, id, AnsiOf(text).c_str());
    }
}

bool PutMenuItem(HMENU menu, UINT position, bool insert, MENUITEMINFOW info,
                 std::string_view text) {
    SystemText shown(text);
    if ((info.fMask & MIIM_TYPE) != 0 && (info.fType & MFT_SEPARATOR) == 0) {
        info.dwTypeData = shown.get();
    }
    // The two kinds of the structure share one layout.
    if (UsesWideApi()) {
        return (insert ? ::InsertMenuItemW(menu, position, TRUE, &info)
                       : ::SetMenuItemInfoW(menu, position, TRUE, &info)) != FALSE;
    }
    auto* ansi = reinterpret_cast<MENUITEMINFOA*>(&info);
    return (insert ? ::InsertMenuItemA(menu, position, TRUE, ansi)
                   : ::SetMenuItemInfoA(menu, position, TRUE, ansi)) != FALSE;
}

BOOL GetMessageText(MSG& message) {
    return UsesWideApi() ? ::GetMessageW(&message, nullptr, 0, 0)
                         : ::GetMessageA(&message, nullptr, 0, 0);
}

bool PeekMessageText(MSG& message) {
    return (UsesWideApi() ? ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)
                          : ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) != FALSE;
}

bool IsDialogMessageText(HWND dialog, MSG& message) {
    return (UsesWideApi() ? ::IsDialogMessageW(dialog, &message)
                          : ::IsDialogMessageA(dialog, &message)) != FALSE;
}

void DispatchMessageText(const MSG& message) {
    if (UsesWideApi()) {
        ::DispatchMessageW(&message);
    } else {
        ::DispatchMessageA(&message);
    }
}

LOGFONTW MessageFont() {
    // Before Vista the structure ends before iPaddedBorderWidth, and the full size fails.
    const bool beforeVista = LOBYTE(LOWORD(::GetVersion())) < 6;
    if (UsesWideApi()) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = beforeVista
                             ? static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth))
                             : static_cast<UINT>(sizeof metrics);
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) !=
            FALSE) {
            return metrics.lfMessageFont;
        }
        LOGFONTW font{};
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        return font;
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = static_cast<UINT>(offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth));
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE) {
        return FromAnsiFont(metrics.lfMessageFont);
    }
    LOGFONTA font{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return FromAnsiFont(font);
}

HFONT CreateFontText(const LOGFONTW& description) {
    if (UsesWideApi()) {
        return ::CreateFontIndirectW(&description);
    }
    LOGFONTA ansi{};
    std::memcpy(&ansi, &description, offsetof(LOGFONTA, lfFaceName));
    const std::string face = AnsiOf(FaceName(description));
    std::memcpy(ansi.lfFaceName, face.data(),
                face.size() < LF_FACESIZE ? face.size() : LF_FACESIZE - 1);
    return ::CreateFontIndirectA(&ansi);
}

void SetFaceName(LOGFONTW& description, std::string_view name) {
    const std::wstring wide = Widen(name);
    std::memset(description.lfFaceName, 0, sizeof description.lfFaceName);
    std::memcpy(description.lfFaceName, wide.data(),
                (wide.size() < LF_FACESIZE ? wide.size() : LF_FACESIZE - 1) * sizeof(wchar_t));
}

std::string FaceName(const LOGFONTW& description) {
    return NarrowBuffer(description.lfFaceName, LF_FACESIZE);
}

int DrawTextIn(HDC dc, std::string_view text, RECT& box, UINT format) {
    if (UsesWideApi()) {
        const std::wstring wide = Widen(text);
        return ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &box, format);
    }
    const std::string ansi = AnsiOf(text);
    return ::DrawTextA(dc, ansi.c_str(), static_cast<int>(ansi.size()), &box, format);
}

}  // namespace pellmark::win32::formtext

#if defined(__i386__)
// The thread library's timed waits import GetTickCount64, which Windows XP lacks, so the
// 32-bit program would not start there. Its import slot is answered here instead: the
// system's own function where there is one, GetTickCount's count elsewhere (its wrap after
// 49 days only lengthens a wait that spans it). Plain globals, not function statics: those
// take the very lock that waits on this.
namespace {
using TickCount64Function = ULONGLONG(WINAPI*)();
TickCount64Function systemTickCount64 = nullptr;
bool tickCount64LookedUp = false;

ULONGLONG WINAPI TickCount64() {
    if (!tickCount64LookedUp) {
        systemTickCount64 = reinterpret_cast<TickCount64Function>(reinterpret_cast<void (*)()>(
            ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
        tickCount64LookedUp = true;
    }
    return systemTickCount64 != nullptr ? systemTickCount64() : ::GetTickCount();
}
}  // namespace

extern "C" {
extern const TickCount64Function pellmarkTickCount64Import __asm__("__imp__GetTickCount64@0");
const TickCount64Function pellmarkTickCount64Import = &TickCount64;
}
#endif
