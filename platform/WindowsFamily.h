// Which family of Windows a version record belongs to: the facts the backends need as well
// as the program.
#pragma once

#include <cstdint>

#include "platform/Types.h"

namespace pellmark {

inline constexpr std::uint32_t kPlatformWindows9x = 1;
inline constexpr std::uint32_t kPlatformWindowsNT = 2;

[[nodiscard]] constexpr bool IsWindows9x(const VersionInfo& v) noexcept {
    return v.platformId == kPlatformWindows9x;
}
// Windows 2000 and XP: NT family, major version 5.
[[nodiscard]] constexpr bool IsWindows2000(const VersionInfo& v) noexcept {
    return v.platformId == kPlatformWindowsNT && v.majorVersion == 5;
}
[[nodiscard]] constexpr bool IsWindowsNT4(const VersionInfo& v) noexcept {
    return v.platformId == kPlatformWindowsNT && v.majorVersion < 5;
}
// Whether one of the program's ways to Explorer's list view exists on this system: the
// shared mappings on 95/98/Me, memory in Explorer's process from NT 4 on (VirtualAllocEx
// came with it), the Shell's view from Vista on. Elsewhere (Win32s, NT 3.x, an unknown
// platform) no read is ever tried.
[[nodiscard]] constexpr bool DesktopReachable(const VersionInfo& v) noexcept {
    return IsWindows9x(v) || (v.platformId == kPlatformWindowsNT && v.majorVersion >= 4);
}

}  // namespace pellmark
