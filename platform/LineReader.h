// Splits a file into text lines as it is read, without holding more than one line.
#pragma once

#include <array>
#include <cstddef>
#include <string>

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

}  // namespace pellmark::platform
