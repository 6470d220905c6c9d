// Putting the desktop icons back where a pattern file says they stood.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "patterns/DesktopIconTable.h"
#include "patterns/DesktopIcons.h"
#include "patterns/PatternReader.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace pellmark {

// The oldest pattern-file major version this release reads.
inline constexpr int kOldestReadableMajorVersion = 2;

// Item of the current table and where it goes.
using IconMove = platform::IconPlacement;

// Saved size / current size, in single precision as the positions have always been scaled.
struct ScaleRatios {
    float x = 0;
    float y = 0;
};
[[nodiscard]] ScaleRatios ComputeScaleRatios(std::int32_t savedWidth, std::int32_t savedHeight,
                                             std::int32_t width, std::int32_t height) noexcept;

// Matches every current icon with the first record of the same caption (trailing spaces
// ignored, case-sensitive) and scales its position. Hidden records are pushed right by
// `screenTwips` again. Icons without a record, and positions that cannot be computed
// (a file with no usable screen size), are left out.
[[nodiscard]] std::vector<IconMove> PlanPatternMoves(const std::vector<DesktopIcon>& icons,
                                                     const std::vector<PatternRecord>& records,
                                                     ScaleRatios ratios, std::int32_t screenTwips);

// The moves whose icon is not already at its place.
[[nodiscard]] std::vector<IconMove> MisplacedOnly(std::vector<IconMove> moves,
                                                  const std::vector<DesktopIcon>& icons);

class PatternRestore {
  public:
    PatternRestore(DesktopIcons& desktop, platform::Files& files, platform::Dialogs& dialogs);

    // Refuses an auto-arranged desktop and a missing file with a message (also when
    // silent); otherwise applies the file at the current screen size and returns true.
    bool RestorePatternFile(const std::string& path, bool silent);

    // Reads the desktop as it is now, moves in one request the icons that the pattern puts
    // elsewhere, then reads the desktop again. Only that closing read reports an empty or
    // unreadable desktop. Silent suppresses the messages for an unreadable file and a
    // refused version.
    void ApplyPattern(const std::string& path, std::int32_t width, std::int32_t height,
                      bool silent);

    // True when the file can be opened for reading; it is closed again at once.
    [[nodiscard]] bool PatternFileExists(const std::string& path);

  private:
    DesktopIcons& desktop_;
    platform::Files& files_;
    platform::Dialogs& dialogs_;
};

}  // namespace pellmark
