// What every way of reaching a desktop list view agrees on: how long a caption may be, how
// a caption comes out of the list view's buffer, and how a position travels in lParam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellmark {

// The list view copies at most this many characters (UTF-16 units) of a caption, plus a
// zero.
inline constexpr std::size_t kCaptionBufferSize = 40;
inline constexpr std::size_t kMaxCaptionLength = kCaptionBufferSize - 1;

// LVM_SETITEMPOSITION's lParam: x in the low word, y in the high word, each 16-bit
// two's complement.
[[nodiscard]] constexpr std::uint32_t PackPositionLParam(std::int32_t x, std::int32_t y) noexcept {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(x))) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16);
}

// The caption in a list view's wide text buffer, as UTF-8: the first `copied` UTF-16 units
// (at most the buffer's), stopping early at a zero. A character the list view cut in two
// at the end of the buffer is left out whole.
[[nodiscard]] std::string CaptionFromBuffer(const char16_t* buffer, std::size_t bufferUnits,
                                            std::intptr_t copied);
// The same for an ANSI buffer (95/98/Me): its bytes as they are, still ANSI.
[[nodiscard]] std::string CaptionFromBuffer(const char* buffer, std::size_t bufferSize,
                                            std::intptr_t copied);

// A UTF-8 caption as the list view would hand it out through a 40-unit buffer: at most 39
// UTF-16 units, never half a character.
[[nodiscard]] std::string CutCaption(std::string_view caption);

}  // namespace pellmark
