#include "platform/LineReader.h"

#include <algorithm>

namespace pellmark::platform {

bool LineReader::Refill() {
    if (exhausted_) {
        return false;
    }
    begin_ = 0;
    end_ = source_.Read(buffer_.data(), buffer_.size());
    if (end_ == 0) {
        exhausted_ = true;
    }
    return end_ != 0;
}

bool LineReader::ReadLine(std::string& line) {
    line.clear();
    if (overlong_) {
        return false;
    }
    bool readAnything = false;
    for (;;) {
        if (begin_ == end_ && !Refill()) {
            return readAnything;
        }
        if (skipLeadingLf_) {
            skipLeadingLf_ = false;
            if (buffer_[begin_] == '\n') {
                ++begin_;
                continue;
            }
        }
        const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(begin_);
        const auto last = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
        const auto stop = std::find_if(first, last, [](char c) { return c == '\r' || c == '\n'; });
        if (static_cast<std::size_t>(stop - first) > maxLineLength_ - line.size()) {
            // Nothing after it can be trusted to start a line: the reading ends here.
            line.clear();
            overlong_ = true;
            exhausted_ = true;
            begin_ = end_;
            return false;
        }
        line.append(first, stop);
        readAnything = true;
        if (stop == last) {
            begin_ = end_;
            continue;
        }
        skipLeadingLf_ = *stop == '\r';
        begin_ = static_cast<std::size_t>(stop - buffer_.begin()) + 1;
        return true;
    }
}

}  // namespace pellmark::platform
