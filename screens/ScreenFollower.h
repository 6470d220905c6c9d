// Keeps one layout per screen arrangement and puts it back after every disruption: a small
// state machine driven by the disruptions and by ticks of a clock. Learning while the icons
// stand still; settling for a while after a disruption, putting back what Explorer moves
// once it stops moving them; and, while locked, putting back whatever moves.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternReader.h"
#include "platform/Dialogs.h"
#include "platform/Displays.h"
#include "screens/Arrangement.h"
#include "screens/ScreenLayouts.h"

namespace pellmark::screens {

// Milliseconds.
inline constexpr std::uint32_t kLearnAfterStillness = 5000;
inline constexpr std::uint32_t kSettlingWindow = 15000;
inline constexpr std::uint32_t kRestoreAfterStillness = 2000;
inline constexpr int kSettlingPoll = 250;  // only in the settling window
inline constexpr int kLockPoll = 1000;
inline constexpr int kQuickestIdlePoll = 1000;
inline constexpr int kSlowestIdlePoll = 8000;
// The arrangement is looked at this often whatever happens, for systems that announce
// no display change.
inline constexpr int kArrangementPoll = 2000;

// Each record moved from the monitor it stood on in `from` to the same place, scaled, on
// that monitor in `to`, or on the primary of `to` when that monitor is gone.
[[nodiscard]] std::vector<PatternRecord> ScaleToArrangement(std::vector<PatternRecord> records,
                                                            const Arrangement& from,
                                                            const Arrangement& to);

class ScreenFollower {
  public:
    ScreenFollower(DesktopIcons& desktop, platform::Displays& displays, ScreenLayouts& layouts,
                   platform::Dialogs& dialogs);

    // Takes the desktop as it finds it: its arrangement is the one in force, and its
    // layout is learned once the icons stand still (`justRead`: the table's last read is
    // of this moment, and is taken as it is). Returns when to tick next.
    int Start(std::uint32_t now, bool justRead = false);
    // Learning and restoring (FollowScreens).
    void SetFollow(bool follow) noexcept { follow_ = follow; }
    // While a chosen pattern is restored on a resolution change, a new arrangement is
    // left to it; Explorer restarts are still handled here.
    void SetPatternWinsOnDisplayChange(bool wins) noexcept { patternWins_ = wins; }
    // Locking takes the icons' places now; unlocking stops at once.
    int SetLock(bool locked, std::uint32_t now);

    // Returns when to tick next.
    int Disrupt(platform::Disruption disruption, std::uint32_t now);
    // The work due at `now`; returns the milliseconds until the next tick is wanted.
    int Tick(std::uint32_t now);

    [[nodiscard]] bool Settling() const noexcept { return settling_; }
    [[nodiscard]] bool Locked() const noexcept { return locked_; }
    // Restores that moved icons, since the start.
    [[nodiscard]] int Restores() const noexcept { return restores_; }

  private:
    using Snapshot = std::vector<std::pair<std::string, IconPosition>>;

    // True when something moved since the last poll.
    bool PollIcons(std::uint32_t now, bool read = true);
    void Restore(const Arrangement& now, const std::string& key, std::uint32_t when);
    void HoldLock(const Snapshot& before);
    void TakeLockLayout();
    void Learn(const Arrangement& arrangement, const std::string& key);
    void ReportProblems();
    [[nodiscard]] int NextTick(std::uint32_t now) const;
    [[nodiscard]] bool DesktopReadable() const;
    [[nodiscard]] platform::ScreenSize Screen() const;

    DesktopIcons& desktop_;
    platform::Displays& displays_;
    ScreenLayouts& layouts_;
    platform::Dialogs& dialogs_;

    bool running_ = false;
    bool follow_ = true;
    bool patternWins_ = false;
    bool locked_ = false;
    bool settling_ = false;
    Arrangement inForce_;
    std::string inForceKey_;
    std::uint32_t lastDisruption_ = 0;
    std::uint32_t lastChange_ = 0;
    std::uint32_t nextIconPoll_ = 0;
    int idlePoll_ = kQuickestIdlePoll;
    Snapshot snapshot_;
    WindowHandle listView_ = 0;
    std::vector<std::pair<std::string, Snapshot>> learned_;  // by key
    std::vector<PatternRecord> lockRecords_;
    int restores_ = 0;
    std::set<std::string> reported_;
};

}  // namespace pellmark::screens
