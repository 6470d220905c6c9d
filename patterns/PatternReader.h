// Reading pattern files back. Every field is one whole line; a field that cannot be read
// or converted is left empty or zero and reading goes on, so a damaged file restores
// what it can. A file that starts with a UTF-8 byte-order mark holds UTF-8 captions;
// any other holds them in the system's ANSI code page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/LineReader.h"

namespace pellmark {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// No line of a pattern comes near this (a caption is at most 39 characters); a longer one
// ends the reading, so a file of one endless line costs no more than this to read.
inline constexpr std::size_t kMaxPatternLineLength = 4096;

// The major-version digit of a header line: the third piece between "|", trimmed, first
// character. Nothing when the piece is missing or does not start with a digit.
[[nodiscard]] std::optional<int> PatternMajorVersion(std::string_view header);

// A whole number on a line of its own, surrounding spaces ignored, within [low, high].
// A decimal part rounds half to even. Nothing when the line is not a number or the
// number does not fit.
[[nodiscard]] std::optional<std::int64_t> ParseWholeNumber(std::string_view line, std::int64_t low,
                                                           std::int64_t high);

// The range of the numbers a reader accepts for positions.
struct PositionRange {
    std::int64_t low;
    std::int64_t high;
};
inline constexpr PositionRange kRestorePositions{INT32_MIN, INT32_MAX};
inline constexpr PositionRange kPreviewPositions{INT16_MIN, INT16_MAX};

struct PatternRecord {
    std::string caption;
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool offScreen = false;  // exactly when the line reads "True"
    // False when the line was missing or not a number in range (x or y is then 0).
    bool hasX = true;
    bool hasY = true;
    // The shell's name of the icon it was saved from, unique on the desktop; empty when
    // the file beside the pattern does not tell it (see ReadParsingNames).
    std::string parsingName;
};

struct PatternBody {
    std::int32_t savedWidth = 0;
    std::int32_t savedHeight = 0;
    std::vector<PatternRecord> records;  // in file order
};

// Lines 2 onwards: the count, the saved screen size and up to count records. Reading
// stops at the end of the file whatever the count claims; a record cut short keeps the
// fields it has.
[[nodiscard]] PatternBody ReadPatternBody(platform::LineReader& lines, PositionRange positions);

enum class PatternFileState { Unreadable, Refused, Read };

// The oldest pattern-file major version this release reads.
inline constexpr int kOldestReadableMajorVersion = 2;
// The majors each reader takes: a restore any from the oldest readable on, the preview
// only this program's own.
[[nodiscard]] bool RestorableMajor(int major);
[[nodiscard]] bool PreviewableMajor(int major);

// Reads a whole pattern file, its captions as UTF-8 whichever way they are stored, and
// closes it before returning, so that a refused file can be deleted at once. The header's
// major version is refused when `acceptsMajor` says so, or when it has none. `body` is
// filled only when the result is Read.
[[nodiscard]] PatternFileState ReadPatternFile(platform::Files& files, const std::string& path,
                                               bool (*acceptsMajor)(int major),
                                               PositionRange positions, PatternBody& body);

// The shell's parsing names of a pattern's icons are kept in a file of their own beside it
// (its name with ".names" for ".ips"), so the pattern itself stays exactly what every
// reader of patterns expects, and its "*.ips" listing never shows them. UTF-8, CRLF: the
// header, then for each record its caption and its parsing name (empty when unknown).
inline constexpr std::string_view kParsingNamesHeader = "Pellmark | parsing names | 1";
[[nodiscard]] std::string ParsingNamesPath(std::string_view patternPath);

// Gives each record the parsing name the file beside the pattern keeps for it, when that
// file is there and names the record's own caption at the record's place: a pattern edited
// or replaced by hand since keeps only the names that still fit it.
void ReadParsingNames(platform::Files& files, const std::string& patternPath,
                      std::vector<PatternRecord>& records);

}  // namespace pellmark
