// Auto-hide: the desktop icons hide while the mouse pointer is away from the desktop and
// show again once it has rested there for the chosen delay.
#pragma once

#include <cstdint>

#include "platform/Desktop.h"
#include "platform/DesktopStyle.h"
#include "platform/forms/Menu.h"

namespace pellmark {

inline constexpr int kAutoHideInterval = 100;  // milliseconds between looks at the pointer
inline constexpr int kShowDelayMax = 10;       // seconds

class AutoHide {
  public:
    // `shownMark` is the tray menu's Show Desktop item: its check mark says the icons show,
    // whoever showed or hid them last.
    AutoHide(platform::DesktopStyle& pointer, platform::Desktop& desktop,
             forms::MenuItem& shownMark) noexcept
        : pointer_(pointer), desktop_(desktop), shownMark_(shownMark) {}

    // Seconds the pointer must rest on the desktop before the icons show.
    void SetShowDelay(std::int16_t seconds) noexcept { showDelay_ = seconds; }
    [[nodiscard]] std::int16_t ShowDelay() const noexcept { return showDelay_; }

    // One look at the pointer: hides the icons as soon as it is away; shows them at the
    // first look at or after its arrival plus the delay, never at the look that saw it
    // arrive.
    void Tick();

    [[nodiscard]] bool MouseOverDesktop() const noexcept { return mouseOverDesktop_; }
    // When the pointer came onto the desktop and from when the icons may show, as tick
    // counts; both 1 while no count runs.
    [[nodiscard]] std::int32_t HoverStartTick() const noexcept { return hoverStartTick_; }
    [[nodiscard]] std::int32_t HoverDeadlineTick() const noexcept { return hoverDeadlineTick_; }

  private:
    platform::DesktopStyle& pointer_;
    platform::Desktop& desktop_;
    forms::MenuItem& shownMark_;
    std::int16_t showDelay_ = 0;
    bool mouseOverDesktop_ = false;
    // A tick count can itself be 1, so whether a count runs is kept apart from it.
    bool counting_ = false;
    std::int32_t hoverStartTick_ = 0;
    std::int32_t hoverDeadlineTick_ = 0;
};

}  // namespace pellmark
