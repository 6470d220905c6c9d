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
    void SendKeys(std::span<const platform::KeyStroke> sent) override {
        keys.insert(keys.end(), sent.begin(), sent.end());
    }
    bool SetScreenSaverActive(bool active) override {
        screenSaverActive = active;
        ++screenSaverSwitches;
        return true;
    }
    void StartScreenSaver(WindowHandle window) override { screenSaverStartedBy.push_back(window); }
    void WriteToConsole(const std::string& text) override { console.push_back(text); }

    std::vector<std::string> opened;
    std::vector<platform::KeyStroke> keys;  // every key event sent, in order
    bool screenSaverActive = true;
    int screenSaverSwitches = 0;
    std::vector<WindowHandle> screenSaverStartedBy;  // the window of each start
    std::vector<std::string> console;                // every line written there
};

}  // namespace pellmark::sim
