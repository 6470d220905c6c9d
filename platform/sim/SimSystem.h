// A system whose version and folders the tests choose.
#pragma once

#include <string>
#include <vector>

#include "platform/System.h"

namespace pellmark::sim {

class SimSystem final : public platform::System {
  public:
    VersionInfo version{148, 10, 0, 19045, 2, ""};
    std::string tempFolder = "C:\\TEMP\\";
    int versionReads = 0;
    bool anotherCopyRunning = false;

    VersionInfo ReadVersion() override {
        ++versionReads;
        return version;
    }
    std::string GetTempFolder() override { return tempFolder; }
    bool ClaimSingleInstance() override { return !anotherCopyRunning; }
    void OpenAddress(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

}  // namespace pellmark::sim
