#include "patterns/IconGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

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

std::string CaptionFromBuffer(const char* buffer, std::size_t bufferSize, std::intptr_t copied) {
    if (buffer == nullptr || copied <= 0) {
        return {};
    }
    const std::size_t limit = std::min(static_cast<std::size_t>(copied), bufferSize);
    const void* zero = std::memchr(buffer, 0, limit);
    const std::size_t length =
        zero != nullptr ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer) : limit;
    return std::string(buffer, length);
}

std::string CutCaption(std::string_view caption) {
    const std::size_t zero = caption.find('\0');
    if (zero != std::string_view::npos) {
        caption = caption.substr(0, zero);
    }
    return std::string(caption.substr(0, kMaxCaptionLength));
}

}  // namespace pellmark
