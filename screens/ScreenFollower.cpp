#include "screens/ScreenFollower.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "patterns/IconGeometry.h"
#include "patterns/PatternRestore.h"
#include "settings/Messages.h"

namespace pellmark::screens {

namespace {

// Time since `then`, across the tick count's wrap.
std::uint32_t Since(std::uint32_t now, std::uint32_t then) noexcept {
    return now - then;
}

bool Contains(const platform::MonitorRect& r, std::int64_t x, std::int64_t y) noexcept {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

std::int64_t DistanceSquared(const platform::MonitorRect& r, std::int64_t x, std::int64_t y) {
    const std::int64_t dx = x < r.left ? r.left - x : (x >= r.right ? x - r.right + 1 : 0);
    const std::int64_t dy = y < r.top ? r.top - y : (y >= r.bottom ? y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

const platform::Monitor* MonitorOf(const Arrangement& arrangement, std::int64_t x, std::int64_t y) {
    const platform::Monitor* nearest = nullptr;
    std::int64_t best = std::numeric_limits<std::int64_t>::max();
    for (const platform::Monitor& m : arrangement.monitors) {
        if (Contains(m.rect, x, y)) {
            return &m;
        }
        if (const std::int64_t d = DistanceSquared(m.rect, x, y); d < best) {
            best = d;
            nearest = &m;
        }
    }
    return nearest;
}

// The monitor of `to` that stands for `monitor` of `from`: the same device, the first as
// often as it is there twice; otherwise the primary.
const platform::Monitor* Counterpart(const Arrangement& from, const platform::Monitor& monitor,
                                     const Arrangement& to) {
    int ordinal = 0;
    for (const platform::Monitor& m : from.monitors) {
        if (&m == &monitor) {
            break;
        }
        ordinal += m.id == monitor.id ? 1 : 0;
    }
    for (const platform::Monitor& m : to.monitors) {
        if (m.id == monitor.id && ordinal-- == 0) {
            return &m;
        }
    }
    return to.Primary();
}

// One coordinate scaled as every restore scales: saved size over current size in single
// precision, rounded half to even; nothing when it does not fit.
std::optional<std::int32_t> ScaleWithin(std::int64_t offset, float ratio, std::int32_t origin) {
    if (!(ratio > 0) || !std::isfinite(ratio)) {
        return std::nullopt;
    }
    const double scaled =
        origin + RoundHalfEven(static_cast<double>(offset) / static_cast<double>(ratio));
    if (!(scaled >= INT32_MIN && scaled <= INT32_MAX)) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(scaled);
}

std::int32_t Clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

// The moves whose icon is not already at its place.
std::vector<IconMove> MisplacedOnly(std::vector<IconMove> moves,
                                    const std::vector<DesktopIcon>& icons) {
    std::erase_if(moves, [&](const IconMove& move) {
        const auto index = static_cast<std::size_t>(move.index);
        return index < icons.size() && icons[index].Position == IconPosition{move.x, move.y};
    });
    return moves;
}

}  // namespace

platform::ScreenSize ScreenFollower::Screen() const {
    return {desktop_.Table().ScreenWidth, desktop_.Table().ScreenHeight};
}

std::vector<PatternRecord> ScaleToArrangement(std::vector<PatternRecord> records,
                                              const Arrangement& from, const Arrangement& to) {
    for (PatternRecord& record : records) {
        const platform::Monitor* source = MonitorOf(from, record.x, record.y);
        const platform::Monitor* target = source ? Counterpart(from, *source, to) : to.Primary();
        if (!source || !target) {
            continue;
        }
        const ScaleRatios ratios =
            ComputeScaleRatios(Clamp32(source->rect.Width()), Clamp32(source->rect.Height()),
                               Clamp32(target->rect.Width()), Clamp32(target->rect.Height()));
        const auto x = ScaleWithin(static_cast<std::int64_t>(record.x) - source->rect.left,
                                   ratios.x, target->rect.left);
        const auto y = ScaleWithin(static_cast<std::int64_t>(record.y) - source->rect.top, ratios.y,
                                   target->rect.top);
        if (x && y) {
            record.x = *x;
            record.y = *y;
        }
    }
    return records;
}

ScreenFollower::ScreenFollower(DesktopIcons& desktop, platform::Displays& displays,
                               ScreenLayouts& layouts, platform::Dialogs& dialogs)
    : desktop_(desktop), displays_(displays), layouts_(layouts), dialogs_(dialogs) {}

int ScreenFollower::Start(std::uint32_t now, bool justRead) {
    running_ = true;
    settling_ = false;
    inForce_ = MakeArrangement(displays_.ReadMonitors());
    inForceKey_ = ArrangementKey(inForce_);
    layouts_.Load();
    PollIcons(now, !justRead);
    lastChange_ = now;
    ReportProblems();
    return NextTick(now);
}

int ScreenFollower::SetLock(bool locked, std::uint32_t now) {
    locked_ = locked;
    lockRecords_.clear();
    if (locked_ && running_) {
        PollIcons(now);
        TakeLockLayout();
        nextIconPoll_ = now + kLockPoll;
    }
    return NextTick(now);
}

int ScreenFollower::Disrupt(platform::Disruption, std::uint32_t now) {
    // Every disruption opens the window afresh and waits for stillness again, so a storm
    // of them ends in one restore once the last has passed.
    settling_ = true;
    lastDisruption_ = now;
    if (Since(nextIconPoll_, now) > static_cast<std::uint32_t>(kSettlingPoll)) {
        nextIconPoll_ = now + kSettlingPoll;
    }
    return NextTick(now);
}

bool ScreenFollower::DesktopReadable() const {
    const DesktopIconTable& table = desktop_.Table();
    return table.ListViewWindow != 0 && !table.Icons.empty();
}

bool ScreenFollower::PollIcons(std::uint32_t now, bool read) {
    if (read) {
        desktop_.ReadDesktopIconsQuietly();
    }
    const DesktopIconTable& table = desktop_.Table();
    Snapshot snapshot;
    snapshot.reserve(table.Icons.size());
    for (const DesktopIcon& icon : table.Icons) {
        snapshot.emplace_back(icon.Caption, icon.Position);
    }
    const bool moved = snapshot != snapshot_;
    if (moved) {
        snapshot_ = std::move(snapshot);
        lastChange_ = now;
    }
    return moved;
}

int ScreenFollower::Tick(std::uint32_t now) {
    if (!running_) {
        return kSlowestIdlePoll;
    }
    const Arrangement arrangement = MakeArrangement(displays_.ReadMonitors());
    const std::string key = ArrangementKey(arrangement);
    if (key.empty()) {
        // Every monitor asleep or without a size: nothing to learn or put back now.
        return NextTick(now);
    }
    if (!settling_ && key != inForceKey_) {
        Disrupt(platform::Disruption::MonitorsChanged, now);
    }
    if (Since(now, nextIconPoll_) >= std::numeric_limits<std::uint32_t>::max() / 2) {
        return NextTick(now);  // not due yet
    }
    const Snapshot before = snapshot_;
    const bool moved = PollIcons(now);
    const WindowHandle listView = desktop_.Table().ListViewWindow;
    if (listView != 0 && listView_ != 0 && listView != listView_) {
        Disrupt(platform::Disruption::ListViewReplaced, now);
    }
    if (listView != 0) {
        listView_ = listView;
    }

    if (settling_ && Since(now, lastDisruption_) >= kSettlingWindow) {
        settling_ = false;
        const bool changed = key != inForceKey_;
        inForce_ = arrangement;
        inForceKey_ = key;
        lastChange_ = now;
        if (locked_ && changed) {
            TakeLockLayout();
        }
    }
    if (settling_) {
        const std::uint32_t still = std::min(Since(now, lastChange_), Since(now, lastDisruption_));
        if (follow_ && still >= kRestoreAfterStillness && DesktopReadable()) {
            Restore(arrangement, key, now);
        }
        // Looked at again when the stillness could be complete, not a whole poll later.
        const std::uint32_t left =
            still < kRestoreAfterStillness ? kRestoreAfterStillness - still : kSettlingPoll;
        nextIconPoll_ = now + std::min<std::uint32_t>(left, kSettlingPoll);
    } else {
        if (locked_) {
            HoldLock(before);
        }
        if (follow_ && Since(now, lastChange_) >= kLearnAfterStillness && DesktopReadable()) {
            Learn(arrangement, key);
        }
        idlePoll_ = moved ? kQuickestIdlePoll : std::min(idlePoll_ * 2, kSlowestIdlePoll);
        int wait = locked_ ? kLockPoll : idlePoll_;
        if (follow_) {
            // A move not yet learned is looked at again when it may be.
            const auto learned =
                std::find_if(learned_.begin(), learned_.end(),
                             [&](const auto& entry) { return entry.first == key; });
            if (DesktopReadable() && (learned == learned_.end() || learned->second != snapshot_)) {
                const std::uint32_t still = Since(now, lastChange_);
                const std::uint32_t due =
                    still >= kLearnAfterStillness ? 0 : kLearnAfterStillness - still;
                wait = std::min(wait, static_cast<int>(std::max<std::uint32_t>(due, 250)));
            }
        }
        nextIconPoll_ = now + static_cast<std::uint32_t>(wait);
    }
    ReportProblems();
    return NextTick(now);
}

int ScreenFollower::NextTick(std::uint32_t now) const {
    if (Since(now, nextIconPoll_) < std::numeric_limits<std::uint32_t>::max() / 2) {
        return 1;  // due now
    }
    return static_cast<int>(std::min<std::uint32_t>(Since(nextIconPoll_, now), kArrangementPoll));
}

void ScreenFollower::Restore(const Arrangement& arrangement, const std::string& key,
                             std::uint32_t now) {
    const bool newArrangement = key != inForceKey_;
    if ((newArrangement && patternWins_) || desktop_.IsDesktopAutoArrange()) {
        return;
    }
    PatternBody body;
    std::vector<PatternRecord> records;
    const StoredLayout* own = layouts_.Find(key);
    if (own && layouts_.Read(*own, body) == LayoutState::Read) {
        records = std::move(body.records);
    } else if (const StoredLayout* last = newArrangement ? layouts_.Find(inForceKey_) : nullptr;
               last && layouts_.Read(*last, body) == LayoutState::Read) {
        // Never seen: the last layout in force, scaled, until the user makes it its own.
        records = ScaleToArrangement(std::move(body.records), last->arrangement, arrangement);
    } else {
        return;
    }
    const std::vector<DesktopIcon>& icons = desktop_.Table().Icons;
    const std::vector<IconMove> moves = MisplacedOnly(
        PlanPatternMoves(icons, records, {1, 1}, desktop_.ScreenTwips(), Screen()), icons);
    if (moves.empty()) {
        return;
    }
    desktop_.MoveDesktopIcons(moves);
    ++restores_;
    // What it put in place is where the stillness starts again.
    PollIcons(now);
    lastChange_ = now;
}

void ScreenFollower::Learn(const Arrangement& arrangement, const std::string& key) {
    auto learned = std::find_if(learned_.begin(), learned_.end(),
                                [&](const auto& entry) { return entry.first == key; });
    if (learned != learned_.end() && learned->second == snapshot_) {
        return;
    }
    if (!layouts_.Learn(arrangement, desktop_.Table(), desktop_.ScreenTwips())) {
        return;
    }
    if (learned == learned_.end()) {
        learned_.emplace_back(key, snapshot_);
    } else {
        learned->second = snapshot_;
    }
}

void ScreenFollower::TakeLockLayout() {
    lockRecords_.clear();
    const std::int32_t twips = desktop_.ScreenTwips();
    for (const DesktopIcon& icon : desktop_.Table().Icons) {
        lockRecords_.push_back({icon.Caption, icon.Position.x - (icon.OffScreen ? twips : 0),
                                icon.Position.y, icon.OffScreen, true, true});
    }
}

void ScreenFollower::HoldLock(const Snapshot& before) {
    const std::vector<DesktopIcon>& icons = desktop_.Table().Icons;
    if (!DesktopReadable()) {
        return;
    }
    // A new icon joins the layout where it landed; a removed one is forgotten.
    std::vector<bool> kept(lockRecords_.size(), false);
    std::vector<PatternRecord> joined;
    const std::int32_t twips = desktop_.ScreenTwips();
    for (const DesktopIcon& icon : icons) {
        bool found = false;
        for (std::size_t r = 0; r < lockRecords_.size() && !found; ++r) {
            if (!kept[r] && lockRecords_[r].caption == icon.Caption) {
                kept[r] = found = true;
            }
        }
        if (!found) {
            joined.push_back({icon.Caption, icon.Position.x - (icon.OffScreen ? twips : 0),
                              icon.Position.y, icon.OffScreen, true, true});
        }
    }
    std::vector<PatternRecord> layout;
    for (std::size_t r = 0; r < lockRecords_.size(); ++r) {
        if (kept[r]) {
            layout.push_back(std::move(lockRecords_[r]));
        }
    }
    layout.insert(layout.end(), joined.begin(), joined.end());
    lockRecords_ = std::move(layout);

    // Only icons at rest since the last look go back: one being dragged is left alone.
    std::vector<IconMove> moves =
        MisplacedOnly(PlanPatternMoves(icons, lockRecords_, {1, 1}, twips, Screen()), icons);
    std::erase_if(moves, [&](const IconMove& move) {
        const auto i = static_cast<std::size_t>(move.index);
        return before.size() != icons.size() || i >= before.size() ||
               before[i].second != icons[i].Position;
    });
    if (!moves.empty()) {
        desktop_.MoveDesktopIcons(moves);
        desktop_.ReadDesktopIconsQuietly();
    }
}

void ScreenFollower::ReportProblems() {
    for (const StoreProblem& problem : layouts_.TakeProblems()) {
        if (!reported_.insert(problem.key + problem.path).second) {
            continue;
        }
        std::string text = MessageText(problem.key) + "\n\n" + problem.path;
        if (!problem.detail.empty()) {
            text += "\n" + problem.detail;
        }
        dialogs_.ShowMessage(
            {.text = std::move(text), .caption = "", .icon = platform::MessageIcon::Exclamation});
    }
}

}  // namespace pellmark::screens
