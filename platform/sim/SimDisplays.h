// Monitors the tests set up, disruptions they fire, and a clock they move.
#pragma once

#include <utility>
#include <vector>

#include "platform/Displays.h"

namespace pellmark::sim {

class SimDisplays final : public platform::Displays {
  public:
    std::vector<platform::Monitor> monitors{{"MON-A", {0, 0, 1024, 768}, 96, true}};
    std::uint32_t tickCount = 0;
    std::function<std::uint32_t()> ticks;  // a clock of the test's, in place of tickCount

    std::vector<platform::Monitor> ReadMonitors() override { return monitors; }
    void OnDisruption(std::function<void(platform::Disruption)> listener) override {
        listener_ = std::move(listener);
    }
    std::uint32_t TickCount() override { return ticks ? ticks() : tickCount; }

    // Delivers a disruption as the window thread would.
    void Fire(platform::Disruption disruption) {
        if (listener_) {
            listener_(disruption);
        }
    }
    [[nodiscard]] bool Listening() const noexcept { return static_cast<bool>(listener_); }

  private:
    std::function<void(platform::Disruption)> listener_;
};

}  // namespace pellmark::sim
