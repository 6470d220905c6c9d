#include "platform/Utf8.h"

#include <cstdint>

namespace pellmark::platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one character at `text[pos]`; advances `pos` past it (one byte for a malformed
// one) and returns U+FFFD for a malformed one.
char32_t DecodeOne(std::string_view text, std::size_t& pos, bool& malformed) noexcept {
    const auto lead = static_cast<unsigned char>(text[pos]);
    malformed = false;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1Fu;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0Fu;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07u;
        minimum = 0x10000;
    }
    if (length == 0 || pos + length > text.size()) {
        malformed = true;
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0u) != 0x80u) {
            malformed = true;
            ++pos;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3Fu);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        malformed = true;
        ++pos;
        return kReplacement;
    }
    pos += length;
    return value;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    bool malformed = false;
    while (pos < utf8.size()) {
        const char32_t c = DecodeOne(utf8, pos, malformed);
        if (c >= 0x10000) {
            const char32_t v = c - 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00u);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        AppendUtf8(out, c);
    }
    return out;
}

bool IsValidUtf8(std::string_view text) noexcept {
    std::size_t pos = 0;
    bool malformed = false;
    while (pos < text.size()) {
        DecodeOne(text, pos, malformed);
        if (malformed) {
            return false;
        }
    }
    return true;
}

bool IsAscii(std::string_view text) noexcept {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string_view Utf8PrefixOfUtf16Units(std::string_view utf8, std::size_t units) noexcept {
    std::size_t pos = 0;
    std::size_t used = 0;
    bool malformed = false;
    while (pos < utf8.size()) {
        std::size_t next = pos;
        const char32_t c = DecodeOne(utf8, next, malformed);
        const std::size_t width = c >= 0x10000 ? 2 : 1;
        if (used + width > units) {
            break;
        }
        used += width;
        pos = next;
    }
    return utf8.substr(0, pos);
}

}  // namespace pellmark::platform
