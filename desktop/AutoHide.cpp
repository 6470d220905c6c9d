#include "desktop/AutoHide.h"

namespace pellmark {

namespace {
constexpr std::int32_t kNoCount = 1;

// The tick count wraps at 2^32 (49.7 days) and is signed past 2^31 (24.8 days): compared
// by their difference, two ticks a few seconds apart stay in order either way.
bool AtOrAfter(std::uint32_t now, std::uint32_t deadline) noexcept {
    return static_cast<std::int32_t>(now - deadline) >= 0;
}
}  // namespace

void AutoHide::Tick() {
    if (pointer_.PointerOnDesktop()) {
        const std::uint32_t now = pointer_.TickCount();
        if (!counting_) {
            counting_ = true;
            const std::uint32_t deadline =
                now + static_cast<std::uint32_t>(static_cast<std::int32_t>(showDelay_) * 1000);
            hoverStartTick_ = static_cast<std::int32_t>(now);
            hoverDeadlineTick_ = static_cast<std::int32_t>(deadline);
        } else if (AtOrAfter(now, static_cast<std::uint32_t>(hoverDeadlineTick_)) &&
                   !shownMark_.checked) {
            desktop_.ShowDesktopIcons(true);
            shownMark_.checked = true;
        }
        mouseOverDesktop_ = true;
        return;
    }
    mouseOverDesktop_ = false;
    counting_ = false;
    hoverStartTick_ = kNoCount;
    hoverDeadlineTick_ = kNoCount;
    if (shownMark_.checked) {
        shownMark_.checked = false;
        desktop_.ShowDesktopIcons(false);
    }
}

}  // namespace pellmark
