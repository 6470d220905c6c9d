// The monitors attached now, and the events that can move the desktop's icons behind the
// program's back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pellmark::platform {

struct MonitorRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    [[nodiscard]] std::int64_t Width() const noexcept {
        return static_cast<std::int64_t>(right) - left;
    }
    [[nodiscard]] std::int64_t Height() const noexcept {
        return static_cast<std::int64_t>(bottom) - top;
    }
    friend bool operator==(const MonitorRect&, const MonitorRect&) = default;
};

struct Monitor {
    // The monitor's own device id where the system gives one, else its adapter's name.
    std::string id;
    // In the virtual screen, whose origin is the primary's top-left: a monitor left of or
    // above the primary has negative coordinates.
    MonitorRect rect;
    int dpi = 96;
    bool primary = false;
    friend bool operator==(const Monitor&, const Monitor&) = default;
};

enum class Disruption {
    DisplayChange,     // a resolution or colour depth changed
    MonitorsChanged,   // a monitor came or went
    DpiChange,         // a monitor's or the system's DPI changed
    ExplorerRestart,   // "TaskbarCreated"
    ListViewReplaced,  // the desktop's list view is a new window
    SessionChange,     // unlocked, or a remote session connected or disconnected
    Resume,            // back from sleep
};

class Displays {
  public:
    virtual ~Displays() = default;
    // Every monitor attached now, in the system's order.
    virtual std::vector<Monitor> ReadMonitors() = 0;
    // Hands every disruption to `listener` on the window thread, from now on; an empty
    // listener stops them.
    virtual void OnDisruption(std::function<void(Disruption)> listener) = 0;
    // Milliseconds since the system started, wrapping after 49.7 days (GetTickCount).
    [[nodiscard]] virtual std::uint32_t TickCount() = 0;
};

}  // namespace pellmark::platform
