// Which family of Windows the program runs on.
#pragma once

#include "platform/System.h"
#include "platform/Types.h"
#include "platform/WindowsFamily.h"

namespace pellmark {

// Reads the version afresh and keeps a copy of the last record read.
VersionInfo GetVersionInfo(platform::System& system);
[[nodiscard]] const VersionInfo& LastVersionInfo() noexcept;

[[nodiscard]] bool IsWindows9x(platform::System& system);
// Windows 2000 and XP: NT family, major version 5.
[[nodiscard]] bool IsWindows2000(platform::System& system);
[[nodiscard]] bool IsWindowsNT4(platform::System& system);

// The same tests on a record already read are in platform/WindowsFamily.h.

}  // namespace pellmark
