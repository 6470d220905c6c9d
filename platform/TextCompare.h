// Names compared as Windows compares file, key and pattern names: ordinal, without regard to
// case, each UTF-16 unit upper-cased. The one place the program decides what "the same name
// in another case" means.
#pragma once

#include <string_view>

namespace pellmark::platform {

// Below, equal to or above zero, as `a` sorts before, with or after `b`.
[[nodiscard]] int CompareIgnoringCase(std::string_view a, std::string_view b);
[[nodiscard]] bool EqualIgnoringCase(std::string_view a, std::string_view b);
[[nodiscard]] bool LessIgnoringCase(std::string_view a, std::string_view b);
// "*" (any run of characters) and "?" (one character) against the whole name.
[[nodiscard]] bool MatchesWildcardIgnoringCase(std::string_view name, std::string_view pattern);

// The system's own ordinal comparison, handed in by the Windows backend at start-up
// (CompareStringOrdinal); until then, and on other systems, a built-in upper-case table for
// the Latin, Greek, Cyrillic and full-width letters serves.
using OrdinalIgnoreCaseCompare = int (*)(std::u16string_view a, std::u16string_view b);
void UseSystemCaseComparison(OrdinalIgnoreCaseCompare compare) noexcept;

// The built-in upper case of one UTF-16 unit.
[[nodiscard]] char16_t BuiltInUpperCase(char16_t unit) noexcept;

}  // namespace pellmark::platform
