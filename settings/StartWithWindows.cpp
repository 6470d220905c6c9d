#include "settings/StartWithWindows.h"

#include <string_view>

#include "settings/AppInfo.h"
#include "settings/RegistryAccess.h"

namespace pellmark {

std::string RunCommand(const std::string& programPath) {
    std::string command;
    command.reserve(programPath.size() + 2);
    command += '"';
    command += programPath;
    command += '"';
    return command;
}

void SetLoadOnStartup(platform::Registry& registry, bool enable, std::int32_t scope,
                      const std::string& programPath) {
    const std::string_view root = scope == kCurrentUserScope ? "HKCU" : "HKLM";
    if (enable) {
        static_cast<void>(SetRegistryValue(registry, root, kRunKey, kAppTitle, "S",
                                           RegistryValue(RunCommand(programPath))));
    } else {
        std::string key(kRunKey);
        key += '\\';
        static_cast<void>(DeleteRegistryValue(registry, root, key, kAppTitle));
    }
}

}  // namespace pellmark
