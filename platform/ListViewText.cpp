#include "platform/ListViewText.h"

#include <algorithm>

#include "platform/Utf8.h"

namespace pellmark {

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
