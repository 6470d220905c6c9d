// Writing the desktop as a pattern file (".ips"): ANSI text, CRLF after every line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "patterns/DesktopIconTable.h"
#include "patterns/DesktopIcons.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace pellmark {

// "Pellmark | version | 2.14.2"
[[nodiscard]] std::string PatternHeader();

// A number as the print statement writes it: a space or a minus sign, the digits, a space.
[[nodiscard]] std::string PrintStyleNumber(std::int32_t value);

// The whole file for a table. Off-screen icons are written `screenTwips` further left,
// where they stood before they were pushed off the screen.
[[nodiscard]] std::string FormatPattern(const DesktopIconTable& table, std::int32_t screenTwips);

// The nine characters a pattern name may not contain.
inline constexpr std::string_view kForbiddenNameCharacters = "?*:/\\\"<>|";

// Accepts or refuses a proposed name; shows the refusal itself.
[[nodiscard]] bool ValidatePatternName(std::string_view name, platform::Dialogs& dialogs);

// Reads the desktop and writes it to `path`. Shows "Saving pattern" on a failure.
[[nodiscard]] bool SavePattern(const std::string& path, DesktopIcons& desktop,
                               platform::Files& files, platform::Dialogs& dialogs);

}  // namespace pellmark
