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

// Whether a position a restore worked out can be where an icon belongs: within a few
// screens of the current one either way, a hidden icon `screenTwips` further right. A
// damaged pattern, or one saved on a 1 by 1 screen, gives positions far beyond.
[[nodiscard]] constexpr bool IsWithinReach(std::int32_t x, std::int32_t y, std::int32_t screenWidth,
                                           std::int32_t screenHeight,
                                           std::int32_t screenTwips) noexcept {
    constexpr std::int64_t kScreens = 8;  // more monitors side by side than anyone has
    const std::int64_t width = screenWidth;
    const std::int64_t height = screenHeight;
    return x >= -kScreens * width && x <= screenTwips + (kScreens + 1) * width &&
           y >= -kScreens * height && y <= (kScreens + 1) * height;
}

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4),
// whatever the floating-point rounding mode.
[[nodiscard]] double RoundHalfEven(double value) noexcept;

// The screen width in twips, used as a number of pixels to push a hidden icon away.
[[nodiscard]] std::int32_t ScreenTwips(std::int32_t screenWidth, int logicalDpiX) noexcept;

}  // namespace pellmark
