// A screen arrangement: the monitors attached, each with its identity, its rectangle in the
// virtual screen and its DPI; and the key under which its layout is kept.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Displays.h"

namespace pellmark::screens {

struct Arrangement {
    // Monitors with an area, in one order whatever order the system listed them in.
    std::vector<platform::Monitor> monitors;
    [[nodiscard]] bool Empty() const noexcept { return monitors.empty(); }
    // The primary, or the first monitor when none says so; null when there is none.
    [[nodiscard]] const platform::Monitor* Primary() const noexcept;
    friend bool operator==(const Arrangement&, const Arrangement&) = default;
};

// More than this many monitors are not a set a person sits at; the rest are left out so
// that the key and the description stay short.
inline constexpr std::size_t kMostMonitors = 16;

// Drops monitors without an area (a monitor asleep can report 0x0) and sorts the rest.
[[nodiscard]] Arrangement MakeArrangement(std::vector<platform::Monitor> monitors);

// 16 hexadecimal digits, the same for the same monitors at the same places, sizes and DPI
// in any order and at any boot; empty for an arrangement without monitors.
[[nodiscard]] std::string ArrangementKey(const Arrangement& arrangement);

// "2 screens: 1920x1080 + 2560x1440", left to right.
[[nodiscard]] std::string DescribeArrangement(const Arrangement& arrangement);

}  // namespace pellmark::screens
