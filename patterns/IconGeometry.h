// Rules about icon positions and captions shared by every desktop mechanism.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ListViewText.h"

namespace pellmark {

// Strictly beyond the right or the bottom edge; an icon on the edge is on screen.
[[nodiscard]] constexpr bool IsOffScreen(std::int32_t x, std::int32_t y, std::int32_t screenWidth,
                                         std::int32_t screenHeight) noexcept {
    return x > screenWidth || y > screenHeight;
}

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4),
// whatever the floating-point rounding mode.
[[nodiscard]] double RoundHalfEven(double value) noexcept;

// The screen width in twips, used as a number of pixels to push a hidden icon away.
[[nodiscard]] std::int32_t ScreenTwips(std::int32_t screenWidth, int logicalDpiX) noexcept;

}  // namespace pellmark
