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

// Item of the current table and where it goes.
using IconMove = platform::IconPlacement;

// Saved size / current size, in single precision as the positions have always been scaled.
struct ScaleRatios {
    float x = 0;
    float y = 0;
};
[[nodiscard]] ScaleRatios ComputeScaleRatios(std::int32_t savedWidth, std::int32_t savedHeight,
                                             std::int32_t width, std::int32_t height) noexcept;

// The icons a pattern moves, and where, in icon order. Each record places at most one icon
// and each icon follows at most one record: first by the shell's parsing name where both
// know it, then by caption (trailing spaces ignored, case-sensitive), where icons that
// share a caption are paired with its records so that the fewest move (an icon already at
// a record's place keeps it) and then over the shortest way. A record's position is scaled
// by `ratios`, a hidden one pushed right by `screenTwips` again. An icon in no record, one
// whose record's position cannot be read or lands beyond reach of `screen`, and one whose
// place another icon keeps or an earlier record takes, stays where it is: two icons never
// end on one spot.
[[nodiscard]] std::vector<IconMove> PlanPatternMoves(const std::vector<DesktopIcon>& icons,
                                                     const std::vector<PatternRecord>& records,
                                                     ScaleRatios ratios, std::int32_t screenTwips,
                                                     platform::ScreenSize screen);

// What a restore came to.
enum class RestoreResult {
    Restored,
    AutoArranged,  // refused: Explorer places the icons itself
    Missing,       // no such file
    Unreadable,    // the file exists but could not be read
    Refused,       // no header of a version this release reads
    NoIcons,       // the desktop could not be read, or shows no icons
};

class PatternRestore {
  public:
    PatternRestore(DesktopIcons& desktop, platform::Files& files, platform::Dialogs& dialogs);

    // Refuses an auto-arranged desktop and a missing file with a message (also when
    // silent); otherwise applies the file at the current screen size and returns true.
    bool RestorePatternFile(const std::string& path, bool silent);
    // The same, saying how it went.
    RestoreResult RestorePattern(const std::string& path, bool silent);

    // Reads the desktop as it is now, moves in one request the icons that the pattern puts
    // elsewhere, then reads the desktop again. Only that closing read reports an empty or
    // unreadable desktop. Silent suppresses the messages for an unreadable file and a
    // refused version.
    RestoreResult ApplyPattern(const std::string& path, std::int32_t width, std::int32_t height,
                               bool silent);

    // True when the file can be opened for reading; it is closed again at once.
    [[nodiscard]] bool PatternFileExists(const std::string& path);

  private:
    DesktopIcons& desktop_;
    platform::Files& files_;
    platform::Dialogs& dialogs_;
};

}  // namespace pellmark
