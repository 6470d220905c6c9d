#include "platform/win32/WideText.h"

#include <cstring>

#include "platform/Utf8.h"

namespace pellmark::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the W calls take UTF-16");

std::wstring Widen(std::string_view utf8) {
    const std::u16string utf16 = platform::Utf8ToUtf16(utf8);
    return std::wstring(reinterpret_cast<const wchar_t*>(utf16.data()), utf16.size());
}

std::string Narrow(std::wstring_view wide) {
    return platform::Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string NarrowBuffer(const wchar_t* buffer, std::size_t capacity) {
    std::size_t length = 0;
    while (length < capacity && buffer[length] != L'\0') {
        ++length;
    }
    return Narrow(std::wstring_view(buffer, length));
}

std::optional<std::string> ToAnsi(std::string_view utf8) {
    if (platform::IsAscii(utf8)) {
        return std::string(utf8);
    }
    const std::wstring wide = Widen(utf8);
    const int wideLength = static_cast<int>(wide.size());
    BOOL usedDefault = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                                           nullptr, 0, nullptr, &usedDefault);
    if (size <= 0 || usedDefault != FALSE) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, ansi.data(), size,
                          nullptr, &usedDefault);
    // Some systems ignore WC_NO_BEST_FIT_CHARS for some code pages: only a text that comes
    // back the same is held exactly.
    if (usedDefault != FALSE || FromAnsi(ansi) != utf8) {
        return std::nullopt;
    }
    return ansi;
}

std::string FromAnsi(std::string_view ansi) {
    if (platform::IsAscii(ansi)) {
        return std::string(ansi);
    }
    const int ansiLength = static_cast<int>(ansi.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), ansiLength, wide.data(), size);
    return Narrow(wide);
}

bool UsesWideApi() noexcept {
    // The high bit of GetVersion is set on 95/98/Me only.
    static const bool wide = (::GetVersion() & 0x80000000u) == 0;
    return wide;
}

}  // namespace pellmark::win32
