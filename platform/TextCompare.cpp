#include "platform/TextCompare.h"

#include <algorithm>
#include <string>

#include "platform/Utf8.h"

namespace pellmark::platform {

namespace {

OrdinalIgnoreCaseCompare systemCompare = nullptr;

// Works on UTF-16 units and, for ASCII text, on its bytes directly.
template <class Text>
int BuiltInCompare(Text a, Text b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = BuiltInUpperCase(static_cast<char16_t>(a[i]));
        const char16_t y = BuiltInUpperCase(static_cast<char16_t>(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int CompareUnits(std::u16string_view a, std::u16string_view b) {
    return systemCompare != nullptr ? systemCompare(a, b) : BuiltInCompare(a, b);
}

bool SameUnit(char16_t a, char16_t b) {
    return a == b || CompareUnits(std::u16string_view(&a, 1), std::u16string_view(&b, 1)) == 0;
}

bool Matches(std::u16string_view name, std::u16string_view pattern) {
    // Iterative, with one back-track point per "*": linear in practice, never exponential.
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::u16string_view::npos;
    std::size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || SameUnit(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

}  // namespace

char16_t BuiltInUpperCase(char16_t c) noexcept {
    if (c < 0x80) {
        return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
    }
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) ||     // Latin-1
        (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||  // Greek; systems differ on final sigma
        (c >= 0x430 && c <= 0x44F) ||                // Cyrillic
        (c >= 0xFF41 && c <= 0xFF5A)) {              // full-width Latin
        return static_cast<char16_t>(c - 0x20);
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return static_cast<char16_t>(c - 0x50);
    }
    if (c == 0x3AC) {
        return 0x386;
    }
    if (c >= 0x3AD && c <= 0x3AF) {
        return static_cast<char16_t>(c - 0x25);
    }
    if (c == 0x3CC) {
        return 0x38C;
    }
    if (c == 0x3CD || c == 0x3CE) {
        return static_cast<char16_t>(c - 0x3F);
    }
    // Latin Extended-A pairs capital/small letters on even/odd units, with a shift at 0x139.
    if ((c >= 0x100 && c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177)) {
        return (c & 1) != 0 ? static_cast<char16_t>(c - 1) : c;
    }
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) {
        return (c & 1) == 0 ? static_cast<char16_t>(c - 1) : c;
    }
    // Cyrillic's paired letters from U+0460 to U+04FF (capital on even units).
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF)) {
        return (c & 1) != 0 ? static_cast<char16_t>(c - 1) : c;
    }
    return c;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    // Every system upper-cases ASCII alike; most names are ASCII and need no conversion.
    if (IsAscii(a) && IsAscii(b)) {
        return BuiltInCompare(a, b);
    }
    return CompareUnits(Utf8ToUtf16(a), Utf8ToUtf16(b));
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return CompareIgnoringCase(a, b) == 0;
}

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return CompareIgnoringCase(a, b) < 0;
}

bool MatchesWildcardIgnoringCase(std::string_view name, std::string_view pattern) {
    return Matches(Utf8ToUtf16(name), Utf8ToUtf16(pattern));
}

void UseSystemCaseComparison(OrdinalIgnoreCaseCompare compare) noexcept {
    systemCompare = compare;
}

}  // namespace pellmark::platform
