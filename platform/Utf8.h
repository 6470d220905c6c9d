// Text is UTF-8 inside the program; Windows' wide calls take UTF-16. These convert between
// the two without the operating system, so every backend and the tests share one rule.
#pragma once

#include <string>
#include <string_view>

namespace pellmark::platform {

// UTF-8 to UTF-16. A byte that does not start a well-formed sequence (or a sequence for a
// surrogate or beyond U+10FFFF) becomes U+FFFD, one per byte, so nothing is dropped
// silently and the result is always valid UTF-16.
[[nodiscard]] std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
[[nodiscard]] std::string Utf16ToUtf8(std::u16string_view utf16);

// True when the text is well-formed UTF-8.
[[nodiscard]] bool IsValidUtf8(std::string_view text) noexcept;

// True when every byte is below 0x80.
[[nodiscard]] bool IsAscii(std::string_view text) noexcept;

// The longest prefix of `utf8` that holds at most `units` UTF-16 code units and does not
// split a character.
[[nodiscard]] std::string_view Utf8PrefixOfUtf16Units(std::string_view utf8,
                                                      std::size_t units) noexcept;

}  // namespace pellmark::platform
