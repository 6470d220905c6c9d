#include "platform/sim/SimForms.h"

#include <limits>

namespace pellmark::sim {

namespace {
class FormPeer final : public forms::FormPeer {
  public:
    void Update(forms::FormChange) override {}
};
}  // namespace

class SimFormsBackend::TimerPeer final : public forms::TimerPeer {
  public:
    TimerPeer(SimFormsBackend& backend, forms::Timer& timer) : backend_(backend), timer_(timer) {
        backend_.timers_.insert(this);
        Update();
    }
    ~TimerPeer() override { backend_.timers_.erase(this); }
    TimerPeer(const TimerPeer&) = delete;
    TimerPeer& operator=(const TimerPeer&) = delete;

    // Starting or changing a timer starts its interval again, as SetTimer does.
    void Update() override { due_ = backend_.now_ + timer_.Interval(); }

    [[nodiscard]] bool Running() const noexcept { return timer_.Running(); }
    [[nodiscard]] std::int64_t Due() const noexcept { return due_; }
    void Fire() {
        due_ += timer_.Interval();
        timer_.Elapse();  // may unload the form and this peer with it
    }

  private:
    SimFormsBackend& backend_;
    forms::Timer& timer_;
    std::int64_t due_ = 0;
};

std::unique_ptr<forms::FormPeer> SimFormsBackend::CreateFormPeer(forms::Form&) {
    return std::make_unique<FormPeer>();
}

std::unique_ptr<forms::ControlPeer> SimFormsBackend::CreateControlPeer(forms::Control&) {
    return nullptr;  // the control's own state is all there is
}

std::unique_ptr<forms::TimerPeer> SimFormsBackend::CreateTimerPeer(forms::Timer& timer) {
    return std::make_unique<TimerPeer>(*this, timer);
}

int SimFormsBackend::TrackPopupMenu(const forms::PopupMenu& menu, forms::Form&) {
    menusShown.push_back(menu.Name());
    if (menuChoices.empty()) {
        return -1;
    }
    const std::string choice = menuChoices.front();
    menuChoices.pop_front();
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        if (menu.items[i].name == choice) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void SimFormsBackend::AdvanceClock(std::int64_t milliseconds) {
    const std::int64_t end = now_ + milliseconds;
    for (;;) {
        TimerPeer* next = nullptr;
        for (TimerPeer* timer : timers_) {
            if (timer->Running() && timer->Due() <= end &&
                (next == nullptr || timer->Due() < next->Due())) {
                next = timer;
            }
        }
        if (next == nullptr) {
            break;
        }
        now_ = next->Due();
        next->Fire();
    }
    now_ = end;
}

}  // namespace pellmark::sim
