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
    explicit LineReader(ByteSource& source) noexcept : source_(source) {}

    // The next line without its ending (CR LF, a lone CR or a lone LF, so files edited
    // elsewhere read the same). False once the file is used up; the last line needs no
    // ending.
    bool ReadLine(std::string& line);

  private:
    bool Refill();

    ByteSource& source_;
    std::array<char, 4096> buffer_{};
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool skipLeadingLf_ = false;  // the previous line ended with CR; a LF may follow
    bool exhausted_ = false;
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
