// Where UTF-8 text meets Windows: the wide calls on the NT family, and the ANSI code page
// where the outside world is ANSI by design (pattern files whose captions it can hold,
// the 95/98/Me desktop and windows).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pellmark::win32 {

// UTF-8 to the wide text of the W calls, and back.
[[nodiscard]] std::wstring Widen(std::string_view utf8);
[[nodiscard]] std::string Narrow(std::wstring_view wide);
// A zero-terminated wide buffer, up to its first zero or `capacity` characters.
[[nodiscard]] std::string NarrowBuffer(const wchar_t* buffer, std::size_t capacity);

// The text in the system's ANSI code page, or nothing when that code page cannot hold
// every character exactly: no best-fit look-alike, no "?" stands in for another character.
[[nodiscard]] std::optional<std::string> ToAnsi(std::string_view utf8);
// ANSI text of the system's code page as UTF-8.
[[nodiscard]] std::string FromAnsi(std::string_view ansi);

// True where the wide calls work (the NT family); 95/98/Me only have stubs of most.
[[nodiscard]] bool UsesWideApi() noexcept;

}  // namespace pellmark::win32
