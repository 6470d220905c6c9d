#include "update/VersionText.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace pellmark::update {

namespace {

constexpr int kLargestNumber = 32767;  // what a 16-bit whole number holds

std::optional<int> ParseNumber(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > kLargestNumber) {
            return std::nullopt;
        }
    }
    return value;
}

}  // namespace

std::string VersionString(const ProgramVersion& version) {
    std::string text = std::to_string(version.major);
    text += '.';
    text += std::to_string(version.minor);
    text += '.';
    text += std::to_string(version.revision);
    return text;
}

std::optional<ProgramVersion> ParsePublishedVersion(std::string_view text) {
    std::array<int, 3> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t dot = i + 1 < numbers.size() ? text.find('.') : text.size();
        if (dot == std::string_view::npos) {
            return std::nullopt;
        }
        const auto number = ParseNumber(text.substr(0, dot));
        if (!number) {
            return std::nullopt;
        }
        numbers[i] = *number;
        text.remove_prefix(std::min(dot + 1, text.size()));
    }
    return ProgramVersion{numbers[0], numbers[1], numbers[2]};
}

bool IsNewer(const ProgramVersion& published, const ProgramVersion& running) {
    return std::tie(published.major, published.minor, published.revision) >
           std::tie(running.major, running.minor, running.revision);
}

void AnswerScanner::Take(std::string_view block) {
    if (complete_) {
        return;
    }
    if (!markerSeen_) {
        kept_.append(block);
        const std::size_t found = kept_.find(kVersionMarker);
        if (found == std::string::npos) {
            // Only a tail shorter than the marker can still begin it.
            const std::size_t keep = std::min(kept_.size(), kVersionMarker.size() - 1);
            kept_.erase(0, kept_.size() - keep);
            return;
        }
        markerSeen_ = true;
        kept_.erase(0, found + kVersionMarker.size());
    } else {
        kept_.append(block.substr(0, kAnswerLimit - kept_.size()));
    }
    if (kept_.size() > kAnswerLimit) {
        kept_.resize(kAnswerLimit);
    }
    complete_ = kept_.find('"') != std::string::npos || kept_.size() >= kAnswerLimit;
}

std::optional<std::string> AnswerScanner::PublishedText() const {
    const std::size_t quote = markerSeen_ ? kept_.find('"') : std::string::npos;
    if (quote == std::string::npos) {
        return std::nullopt;
    }
    return kept_.substr(0, quote);
}

}  // namespace pellmark::update
