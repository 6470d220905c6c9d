#include "patterns/PatternReader.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

#include "patterns/IconGeometry.h"
#include "settings/AppInfo.h"

namespace pellmark {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::optional<std::int32_t> ReadNumberLine(platform::LineReader& lines, std::string& line,
                                           PositionRange range, bool& ended) {
    if (!lines.ReadLine(line)) {
        ended = true;
        return std::nullopt;
    }
    const auto number = ParseWholeNumber(line, range.low, range.high);
    return number ? std::optional<std::int32_t>(static_cast<std::int32_t>(*number)) : std::nullopt;
}

}  // namespace

std::optional<int> PatternMajorVersion(std::string_view header) {
    std::size_t pieceStart = 0;
    for (int bar = 0; bar < 2; ++bar) {
        const std::size_t found = header.find('|', pieceStart);
        if (found == std::string_view::npos) {
            return std::nullopt;
        }
        pieceStart = found + 1;
    }
    std::string_view piece = header.substr(pieceStart);
    piece = piece.substr(0, piece.find('|'));
    piece = TrimSpaces(piece);
    if (piece.empty() || piece.front() < '0' || piece.front() > '9') {
        return std::nullopt;
    }
    return piece.front() - '0';
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view line, std::int64_t low,
                                             std::int64_t high) {
    std::string_view text = TrimSpaces(line);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t whole = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (error == std::errc() && end == text.data() + text.size()) {
        if (whole < low || whole > high) {
            return std::nullopt;
        }
        return whole;
    }
    // Not a plain integer: accept a decimal number such as "12.5" and round it.
    double value = 0;
    const auto [dEnd, dError] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (dError != std::errc() || dEnd != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = RoundHalfEven(value);
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(rounded);
}

PatternBody ReadPatternBody(platform::LineReader& lines, PositionRange positions) {
    PatternBody body;
    std::string line;
    bool ended = false;
    const std::int32_t count = ReadNumberLine(lines, line, {0, INT32_MAX}, ended).value_or(0);
    body.savedWidth = ReadNumberLine(lines, line, {INT32_MIN, INT32_MAX}, ended).value_or(0);
    body.savedHeight = ReadNumberLine(lines, line, {INT32_MIN, INT32_MAX}, ended).value_or(0);
    // The count is only a claim: records are added as lines arrive, never reserved.
    for (std::int32_t i = 0; i < count && !ended; ++i) {
        PatternRecord record;
        if (!lines.ReadLine(record.caption)) {
            break;
        }
        const auto x = ReadNumberLine(lines, line, positions, ended);
        const auto y = ReadNumberLine(lines, line, positions, ended);
        record.x = x.value_or(0);
        record.y = y.value_or(0);
        record.hasX = x.has_value();
        record.hasY = y.has_value();
        record.offScreen = !ended && lines.ReadLine(line) && line == "True";
        body.records.push_back(std::move(record));
    }
    return body;
}

bool RestorableMajor(int major) {
    return major >= kOldestReadableMajorVersion;
}

bool PreviewableMajor(int major) {
    return major == kVersionMajor;
}

PatternFileState ReadPatternFile(platform::Files& files, const std::string& path,
                                 bool (*acceptsMajor)(int major), PositionRange positions,
                                 PatternBody& body) {
    OsStatus status;
    const std::unique_ptr<platform::ByteSource> file = files.OpenForReading(path, status);
    if (!file) {
        return PatternFileState::Unreadable;
    }
    platform::LineReader lines(*file, kMaxPatternLineLength);
    std::string header;
    lines.ReadLine(header);
    const bool utf8 = header.starts_with(kUtf8ByteOrderMark);
    if (utf8) {
        header.erase(0, kUtf8ByteOrderMark.size());
    }
    const std::optional<int> major = PatternMajorVersion(header);
    if (!major || !acceptsMajor(*major)) {
        return PatternFileState::Refused;
    }
    body = ReadPatternBody(lines, positions);
    if (!utf8) {
        for (PatternRecord& record : body.records) {
            record.caption = files.FromAnsiCodePage(record.caption);
        }
    }
    return PatternFileState::Read;
}

std::string ParsingNamesPath(std::string_view patternPath) {
    constexpr std::string_view kPatternExtension = ".ips";
    if (patternPath.ends_with(kPatternExtension)) {
        patternPath.remove_suffix(kPatternExtension.size());
    }
    return std::string(patternPath) + ".names";
}

void ReadParsingNames(platform::Files& files, const std::string& patternPath,
                      std::vector<PatternRecord>& records) {
    // The longest path Windows takes, 32,767 UTF-16 units, in UTF-8.
    constexpr std::size_t kMaxNameLength = 3 * 32767;
    OsStatus status;
    const std::unique_ptr<platform::ByteSource> file =
        files.OpenForReading(ParsingNamesPath(patternPath), status);
    if (!file) {
        return;
    }
    platform::LineReader lines(*file, kMaxNameLength);
    std::string line;
    if (!lines.ReadLine(line) || line != kParsingNamesHeader) {
        return;
    }
    std::string name;
    for (PatternRecord& record : records) {
        if (!lines.ReadLine(line) || !lines.ReadLine(name)) {
            return;
        }
        if (line == record.caption) {
            record.parsingName = std::move(name);
        }
    }
}

}  // namespace pellmark
