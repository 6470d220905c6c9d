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

}  // namespace pellmark
