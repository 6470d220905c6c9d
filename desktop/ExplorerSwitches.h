// Explorer's switches as registry values: five policy switches, the size of the shell's
// icons and the size of its icon cache. Only the values are written; Explorer takes them at
// the next log-on or restart, so the pages say that.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Dialogs.h"
#include "platform/Registry.h"

namespace pellmark {

inline constexpr const char* kExplorerPoliciesKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr const char* kWindowMetricsKey = "Control Panel\\Desktop\\WindowMetrics";
inline constexpr const char* kExplorerKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// One policy switch: its value under HKCU's Explorer policies, and whether a ticked box
// stores 1 (Hide Desktop) or 0 (the four "Show"/"Allow" boxes, whose values forbid).
struct ExplorerSwitch {
    const char* valueName;
    bool tickedStoresOne;
};
inline constexpr std::array<ExplorerSwitch, 5> kExplorerSwitches{{
    {"NoDesktop", true},
    {"NoNetHood", false},
    {"NoInternetIcon", false},
    {"NoActiveDesktop", false},
    {"NoSaveSettings", false},
}};

// The state a box shows: an absent value reads as 0, and only a stored 1 counts as set.
[[nodiscard]] bool GetExplorerSwitch(platform::Registry& registry, std::size_t index);
// Writes 1 or 0 as a DWORD; a failure is not reported (Explorer simply keeps its state).
void SetExplorerSwitch(platform::Registry& registry, std::size_t index, bool ticked);

[[nodiscard]] inline bool GetHideDesktop(platform::Registry& r) {
    return GetExplorerSwitch(r, 0);
}
inline void SetHideDesktop(platform::Registry& r, bool hide) {
    SetExplorerSwitch(r, 0, hide);
}
[[nodiscard]] inline bool GetShowNetHood(platform::Registry& r) {
    return GetExplorerSwitch(r, 1);
}
inline void SetShowNetHood(platform::Registry& r, bool show) {
    SetExplorerSwitch(r, 1, show);
}
[[nodiscard]] inline bool GetShowInternetIcon(platform::Registry& r) {
    return GetExplorerSwitch(r, 2);
}
inline void SetShowInternetIcon(platform::Registry& r, bool show) {
    SetExplorerSwitch(r, 2, show);
}
[[nodiscard]] inline bool GetAllowActiveDesktop(platform::Registry& r) {
    return GetExplorerSwitch(r, 3);
}
inline void SetAllowActiveDesktop(platform::Registry& r, bool allow) {
    SetExplorerSwitch(r, 3, allow);
}
[[nodiscard]] inline bool GetSaveSettings(platform::Registry& r) {
    return GetExplorerSwitch(r, 4);
}
inline void SetSaveSettings(platform::Registry& r, bool save) {
    SetExplorerSwitch(r, 4, save);
}

// "Max Cached Icons" under HKLM's Explorer key, stored as decimal text. Reading takes the
// number the text begins with, rounded; an absent or non-numeric value is 0.
[[nodiscard]] std::int32_t GetMaxCachedIcons(platform::Registry& registry);
void SetMaxCachedIcons(platform::Registry& registry, std::int32_t count);

// "Shell Icon Size" under HKCU's window metrics, as decimal text. 0 is refused with a
// message; a failed write says so. True when the size was stored.
bool SetDesktopIconSize(platform::Registry& registry, platform::Dialogs& dialogs, int size);

// A whole text that reads as a number (blanks around, a sign, a fraction, an exponent),
// rounded to a whole number with halves going to the even neighbour; nothing when it is no
// number or lies beyond 32 bits.
[[nodiscard]] std::optional<std::int32_t> RoundedNumber(std::string_view text);
// The number a text begins with, rounded the same way; 0 when it begins with none or the
// number lies beyond 32 bits.
[[nodiscard]] std::int32_t LeadingNumber(std::string_view text);

}  // namespace pellmark
