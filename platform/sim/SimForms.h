// Forms in memory: controls keep their state without windows, timers tick on a clock the
// test advances, and pop-up menus are answered from a queue.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/forms/Form.h"

namespace pellmark::sim {

class SimFormsBackend final : public forms::Backend {
  public:
    SimFormsBackend() = default;
    SimFormsBackend(const SimFormsBackend&) = delete;
    SimFormsBackend& operator=(const SimFormsBackend&) = delete;

    std::unique_ptr<forms::FormPeer> CreateFormPeer(forms::Form& form) override;
    std::unique_ptr<forms::ControlPeer> CreateControlPeer(forms::Control& control) override;
    std::unique_ptr<forms::TimerPeer> CreateTimerPeer(forms::Timer& timer) override;
    int TrackPopupMenu(const forms::PopupMenu& menu, forms::Form& owner) override;
    int ListItemAtCursor(const forms::Control&) override { return itemUnderCursor; }
    void DoEvents() override {
        ++doEventsCalls;
        if (pendingEvents) {
            std::exchange(pendingEvents, nullptr)();
        }
    }
    void EndProgram() override { programEnded = true; }

    // Moves the clock on; every running timer ticks once per interval that ends on the
    // way, in time order.
    void AdvanceClock(std::int64_t milliseconds);
    [[nodiscard]] std::int64_t Now() const noexcept { return now_; }

    std::deque<std::string> menuChoices;  // item names to choose; empty: dismissed
    std::vector<std::string> menusShown;  // names of the menus popped up
    int itemUnderCursor = -1;             // the list row a right-click lands on
    int doEventsCalls = 0;
    std::function<void()> pendingEvents;  // what the next DoEvents lets happen, once
    bool programEnded = false;

  private:
    class TimerPeer;
    std::int64_t now_ = 0;
    std::set<TimerPeer*> timers_;
};

}  // namespace pellmark::sim
