// Starting the program with Windows: a value named after the program under the Run key.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Registry.h"

namespace pellmark {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// Scope 1 is the user's own Run key; any other, the machine's.
inline constexpr std::int32_t kCurrentUserScope = 1;

// What the Run key starts: the program path in double quotes, so a path with spaces can
// never start another program.
[[nodiscard]] std::string RunCommand(const std::string& programPath);

// Writes the Run value (creating the key) or deletes it; a value that is not there counts
// as deleted. Registry failures are silent: the check box says what the user asked for.
void SetLoadOnStartup(platform::Registry& registry, bool enable, std::int32_t scope,
                      const std::string& programPath);

}  // namespace pellmark
