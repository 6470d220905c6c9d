// The few file operations the logic needs; paths are ANSI text.
#pragma once

#include <string>
#include <string_view>

#include "platform/Types.h"

namespace pellmark::platform {

class Files {
  public:
    virtual ~Files() = default;
    // Creates or truncates the file and writes the bytes. A failure leaves whatever
    // part was written on disk.
    virtual OsStatus WriteWholeFile(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace pellmark::platform
