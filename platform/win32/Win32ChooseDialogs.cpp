// The system's colour and font dialogs. comdlg32 is loaded the first time one opens: a
// start-up never needs it.
#include <windows.h>

#include <commdlg.h>

#include <cmath>
#include <cstring>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {

// Owned by the window the user works in, so the dialog stays in front of it and keeps it
// from taking clicks meanwhile.
HWND DialogOwner(HWND owner) {
    return owner != nullptr ? owner : ::GetActiveWindow();
}

int ScreenDpiY() {
    const UniqueScreenDc screen(::GetDC(nullptr));
    return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

// A font's height in the logical font's terms: negative, the character height in pixels.
LONG HeightOf(double points) {
    return -static_cast<LONG>(std::lround(points * ScreenDpiY() / 72.0));
}

template <class LogFont>
void Describe(const platform::FontChoice& font, LogFont& logFont) {
    logFont.lfHeight = HeightOf(font.points > 0 ? font.points : 10);
    logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.italic ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
}

template <class ChooseFontRecord, class Call>
std::optional<platform::FontChoice> RunFontDialog(ChooseFontRecord& record, Call call) {
    // Printer fonts too, as the dialog always listed them; a system that wants a printer
    // for that is asked again for the screen's fonts alone.
    record.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_INITTOLOGFONTSTRUCT;
    BOOL chosen = call(&record);
    const auto extendedError =
        SystemFunction<DWORD(WINAPI*)()>(SystemLibrary::CommonDialogs, "CommDlgExtendedError");
    if (chosen == FALSE && extendedError != nullptr && extendedError() != 0) {
        record.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
        chosen = call(&record);
    }
    if (chosen == FALSE) {
        return std::nullopt;
    }
    platform::FontChoice result;
    result.points = record.iPointSize / 10.0;
    result.bold = record.lpLogFont->lfWeight >= FW_BOLD;
    result.italic = record.lpLogFont->lfItalic != FALSE;
    return result;
}

// The colour dialog in its wide or ANSI form, which differ only in the record's type.
template <class Record>
std::optional<std::uint32_t> RunColourDialog(const char* function, HWND owner,
                                             std::uint32_t initial, COLORREF* customColours) {
    const auto choose =
        SystemFunction<BOOL(WINAPI*)(Record*)>(SystemLibrary::CommonDialogs, function);
    if (choose == nullptr) {
        return std::nullopt;
    }
    Record record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.rgbResult = initial;
    record.lpCustColors = customColours;
    record.Flags = CC_RGBINIT;
    if (choose(&record) == FALSE) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(record.rgbResult);
}

}  // namespace

std::optional<std::uint32_t> Win32Dialogs::PickColour(std::uint32_t initial) {
    const HWND owner = DialogOwner(owner_);
    return UsesWideApi() ? RunColourDialog<CHOOSECOLORW>("ChooseColorW", owner, initial,
                                                         customColours_.data())
                         : RunColourDialog<CHOOSECOLORA>("ChooseColorA", owner, initial,
                                                         customColours_.data());
}

std::optional<platform::FontChoice> Win32Dialogs::PickFont(const platform::FontChoice& initial) {
    const HWND owner = DialogOwner(owner_);
    if (UsesWideApi()) {
        const auto choose = SystemFunction<BOOL(WINAPI*)(LPCHOOSEFONTW)>(
            SystemLibrary::CommonDialogs, "ChooseFontW");
        if (choose == nullptr) {
            return std::nullopt;
        }
        LOGFONTW logFont{};
        Describe(initial, logFont);
        const std::wstring face = Widen(initial.name);
        ::wcsncpy(logFont.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        CHOOSEFONTW record{};
        record.lStructSize = sizeof record;
        record.hwndOwner = owner;
        record.lpLogFont = &logFont;
        auto result = RunFontDialog(record, choose);
        if (result) {
            result->name = Narrow(logFont.lfFaceName);
        }
        return result;
    }
    const auto choose =
        SystemFunction<BOOL(WINAPI*)(LPCHOOSEFONTA)>(SystemLibrary::CommonDialogs, "ChooseFontA");
    if (choose == nullptr) {
        return std::nullopt;
    }
    LOGFONTA logFont{};
    Describe(initial, logFont);
    // A face name the code page cannot hold opens the dialog on its default face.
    if (const auto face = ToAnsi(initial.name)) {
        ::strncpy(logFont.lfFaceName, face->c_str(), LF_FACESIZE - 1);
    }
    CHOOSEFONTA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = owner;
    record.lpLogFont = &logFont;
    auto result = RunFontDialog(record, choose);
    if (result) {
        result->name = FromAnsi(logFont.lfFaceName);
    }
    return result;
}

}  // namespace pellmark::win32
