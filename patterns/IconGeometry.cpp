#include "patterns/IconGeometry.h"

#include <cmath>

namespace pellmark {

double RoundHalfEven(double value) noexcept {
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5) {
        return floor + 1;
    }
    if (fraction < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::int32_t ScreenTwips(std::int32_t screenWidth, int logicalDpiX) noexcept {
    if (logicalDpiX <= 0) {
        logicalDpiX = 96;
    }
    return static_cast<std::int32_t>(static_cast<std::int64_t>(screenWidth) * 1440 / logicalDpiX);
}

}  // namespace pellmark
