// The version numbers of the program and of the page that publishes it: reading the
// published one out of the page as it arrives, and comparing the two.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellmark::update {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
    friend bool operator==(const ProgramVersion&, const ProgramVersion&) = default;
};

// "2.1.0".
[[nodiscard]] std::string VersionString(const ProgramVersion& version);

// Three dot-separated decimal whole numbers, each 0 to 32767; none for anything else.
[[nodiscard]] std::optional<ProgramVersion> ParsePublishedVersion(std::string_view text);

// Newer when its numbers, read from the major one down, come later: 2.13.9 is older than
// 2.14.2.
[[nodiscard]] bool IsNewer(const ProgramVersion& published, const ProgramVersion& running);

// The text the page publishes its version in, right before the version and its quote.
inline constexpr std::string_view kVersionMarker = "<meta name=\"PellmarkVersion\" content=\"";
// Everything kept of one answer; the rest is dropped.
inline constexpr std::size_t kAnswerLimit = 64 * 1024;

// Reads the published version out of an answer given in blocks as they were received.
// The marker and the version may be split across blocks anywhere; before the marker only
// its length is kept, after it at most kAnswerLimit bytes.
class AnswerScanner {
  public:
    void Take(std::string_view block);
    [[nodiscard]] bool MarkerSeen() const noexcept { return markerSeen_; }
    // The marker was seen and the version after it ended with its quote, or the answer
    // reached its limit: nothing further can change the outcome.
    [[nodiscard]] bool Complete() const noexcept { return complete_; }
    // The text between the marker and its quote; none until both were seen.
    [[nodiscard]] std::optional<std::string> PublishedText() const;

  private:
    std::string kept_;  // before the marker: the tail that may begin it; after: what follows it
    bool markerSeen_ = false;
    bool complete_ = false;
};

}  // namespace pellmark::update
