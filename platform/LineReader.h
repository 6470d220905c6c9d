// Splits a file into text lines as it is read, without holding more than one line.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace pellmark::platform {

class LineReader {
  public:
    // `maxLineLength` bounds what one line may hold, so that a file of one endless line
    // costs no more than that to read.
    explicit LineReader(ByteSource& source, std::size_t maxLineLength = std::string::npos) noexcept
        : source_(source), maxLineLength_(maxLineLength) {}

    // The next line without its ending (CR LF, a lone CR or a lone LF, so files edited
    // elsewhere read the same). False once the file is used up; the last line needs no
    // ending. A line longer than the bound ends the reading there: false from then on,
    // and Overlong() says so.
    bool ReadLine(std::string& line);
    [[nodiscard]] bool Overlong() const noexcept { return overlong_; }

  private:
    bool Refill();

    ByteSource& source_;
    std::size_t maxLineLength_;
    std::array<char, 4096> buffer_{};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool skipLeadingLf_ = false;  // the previous line ended with CR; a LF may follow
    bool exhausted_ = false;
    bool overlong_ = false;
};

// A line or a part of one without the blanks that readers of INI-style files ignore around
// section names, keys and values (spaces, tabs, CR, VT, FF).
[[nodiscard]] constexpr std::string_view TrimProfileBlanks(std::string_view text) noexcept {
    constexpr std::string_view kBlanks = " \t\r\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace pellmark::platform
