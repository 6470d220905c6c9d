// Which family of Windows the program runs on.
#pragma once

#include "platform/System.h"
#include "platform/Types.h"

namespace pellmark {

inline constexpr std::uint32_t kPlatformWindows9x = 1;
inline constexpr std::uint32_t kPlatformWindowsNT = 2;

// Reads the version afresh and keeps a copy of the last record read.
VersionInfo GetVersionInfo(platform::System& system);
[[nodiscard]] const VersionInfo& LastVersionInfo() noexcept;

[[nodiscard]] bool IsWindows9x(platform::System& system);
// Windows 2000 and XP: NT family, major version 5.
[[nodiscard]] bool IsWindows2000(platform::System& system);
[[nodiscard]] bool IsWindowsNT4(platform::System& system);

// The same tests on a record already read.
[[nodiscard]] constexpr bool IsWindows9x(const VersionInfo& v) noexcept {
    return v.platformId == kPlatformWindows9x;
}
[[nodiscard]] constexpr bool IsWindows2000(const VersionInfo& v) noexcept {
    return v.platformId == kPlatformWindowsNT && v.majorVersion == 5;
}
[[nodiscard]] constexpr bool IsWindowsNT4(const VersionInfo& v) noexcept {
    return v.platformId == kPlatformWindowsNT && v.majorVersion < 5;
}

}  // namespace pellmark
