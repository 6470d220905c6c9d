// Writing a whole file so that a crash, a full disk or a killed process never leaves it
// cut short: the bytes go to a new file in the same folder, which then takes the old
// file's place in one step.
#pragma once

#include <string>
#include <string_view>

#include "platform/Files.h"

namespace pellmark::platform {

// Makes `bytes` the whole content of the file at `path`, creating it when it is missing.
// On any failure the old file stays exactly as it was, the temporary file is removed and
// the status says why. Temporary files are called "~pellmark<n>.tmp": the extension keeps
// them out of every "*.ips" listing, short names included.
[[nodiscard]] OsStatus SafeFileWrite(Files& files, const std::string& path, std::string_view bytes);

}  // namespace pellmark::platform
