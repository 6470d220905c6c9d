#include "settings/WindowsVersion.h"

namespace pellmark {

namespace {
VersionInfo lastVersion;
}

VersionInfo GetVersionInfo(platform::System& system) {
    lastVersion = system.ReadVersion();
    return lastVersion;
}

const VersionInfo& LastVersionInfo() noexcept {
    return lastVersion;
}

bool IsWindows9x(platform::System& system) {
    return IsWindows9x(GetVersionInfo(system));
}
bool IsWindows2000(platform::System& system) {
    return IsWindows2000(GetVersionInfo(system));
}
bool IsWindowsNT4(platform::System& system) {
    return IsWindowsNT4(GetVersionInfo(system));
}

}  // namespace pellmark
