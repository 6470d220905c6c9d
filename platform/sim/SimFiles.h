// An in-memory file system: whole files by path, and failures on demand.
#pragma once

#include <map>
#include <string>

#include "platform/Files.h"

namespace pellmark::sim {

class SimFiles final : public platform::Files {
  public:
    std::map<std::string, std::string> files;
    OsStatus writeFailure;  // non-zero code: writes fail with it and leave nothing

    OsStatus WriteWholeFile(const std::string& path, std::string_view bytes) override {
        if (!writeFailure.ok()) {
            return writeFailure;
        }
        files[path] = std::string(bytes);
        return {};
    }
};

}  // namespace pellmark::sim
