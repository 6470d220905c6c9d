// Writing the desktop as a pattern file (".ips"), CRLF after every line: ANSI text when the
// system's code page holds every caption, as every version has written it, otherwise
// UTF-8 after a byte-order mark.
#pragma once

#include <cstddef>
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
// The text is UTF-8.
[[nodiscard]] std::string FormatPattern(const DesktopIconTable& table, std::int32_t screenTwips);

// The file of parsing names kept beside the pattern (see ParsingNamesPath), UTF-8; empty
// when no icon has one, as the desktop's list view never tells them.
[[nodiscard]] std::string FormatParsingNames(const DesktopIconTable& table);

// The bytes of the file for a formatted pattern.
[[nodiscard]] std::string EncodePattern(std::string_view text, platform::Files& files);

// The nine characters a pattern name may not contain.
inline constexpr std::string_view kForbiddenNameCharacters = "?*:/\\\"<>|";

inline constexpr std::string_view kReservedNameMessage =
    "A pattern name may not be CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, alone or "
    "before a dot: Windows keeps these names for devices.";
inline constexpr std::string_view kTrailingDotOrSpaceMessage =
    "A pattern name may not end with a dot or a space.";

// True for a name Windows takes as a device, whatever follows it: CON, PRN, AUX, NUL,
// COM1-COM9 or LPT1-LPT9 (the superscript digits 1, 2 and 3 count there too) in any case,
// then optional spaces, then a dot and anything, or nothing.
[[nodiscard]] bool IsReservedDeviceName(std::string_view name) noexcept;

// Accepts or refuses a proposed name; shows the refusal itself.
[[nodiscard]] bool ValidatePatternName(std::string_view name, platform::Dialogs& dialogs);

// The longest path the program's file calls take: MAX_PATH less its terminating null, in
// UTF-16 units. They use no long-path prefix, which 95/98/Me and most Windows refuse.
inline constexpr std::size_t kLongestPath = 259;

// The most characters (UTF-16 units) a pattern name can have in `savedFolder`.
[[nodiscard]] std::size_t LongestPatternName(std::string_view savedFolder);

// What a save came to; true exactly when the file was written.
struct SaveResult {
    enum Outcome { Saved, NameTooLong, NoIcons, NotWritten } outcome = Saved;
    explicit operator bool() const noexcept { return outcome == Saved; }
};

// Reads the desktop and writes it to `path` in one step, so a failure leaves the old file
// as it was; shows "Saving pattern" with the reason. A name too long for its folder is
// refused before the desktop is read. A read that found no icons writes nothing: an
// existing pattern stays, and no empty one is made. The icons' parsing names go beside
// the file, or the names of an older save there are removed.
[[nodiscard]] SaveResult SavePattern(const std::string& path, DesktopIcons& desktop,
                                     platform::Files& files, platform::Dialogs& dialogs);

}  // namespace pellmark
