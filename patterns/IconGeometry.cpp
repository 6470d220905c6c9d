#include "patterns/IconGeometry.h"

#include <algorithm>
#include <cmath>

#include "platform/Utf8.h"

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

std::string CaptionFromBuffer(const char16_t* buffer, std::size_t bufferUnits,
                              std::intptr_t copied) {
    if (buffer == nullptr || copied <= 0) {
        return {};
    }
    const std::size_t limit = std::min(static_cast<std::size_t>(copied), bufferUnits);
    std::u16string_view text(
        buffer, static_cast<std::size_t>(std::find(buffer, buffer + limit, u'\0') - buffer));
    if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) {
        text.remove_suffix(1);  // the first half of a character whose second half did not fit
    }
    return platform::Utf16ToUtf8(text);
}

std::string CaptionFromBuffer(const char* buffer, std::size_t bufferSize, std::intptr_t copied) {
    if (buffer == nullptr || copied <= 0) {
        return {};
    }
    const std::size_t limit = std::min(static_cast<std::size_t>(copied), bufferSize);
    return std::string(buffer,
                       static_cast<std::size_t>(std::find(buffer, buffer + limit, '\0') - buffer));
}

std::string CutCaption(std::string_view caption) {
    const std::size_t zero = caption.find('\0');
    if (zero != std::string_view::npos) {
        caption = caption.substr(0, zero);
    }
    return std::string(platform::Utf8PrefixOfUtf16Units(caption, kMaxCaptionLength));
}

}  // namespace pellmark
