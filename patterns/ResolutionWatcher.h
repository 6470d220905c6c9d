// Restores a chosen pattern when the screen resolution changes. The main window owns the
// timer (2000 ms) and calls Tick; this keeps LastResolution and decides what a tick does.
#pragma once

#include <string>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternRestore.h"
#include "platform/Dialogs.h"
#include "settings/SettingsStore.h"

namespace pellmark {

class ResolutionWatcher {
  public:
    ResolutionWatcher(DesktopIcons& desktop, PatternRestore& restore, SettingsStore& settings,
                      platform::Dialogs& dialogs);

    // At load, when RestoreOnResChange is set: remembers the resolution now and the
    // pattern to restore, and starts watching.
    void Start(std::string savedFolder, std::string patternToRestore);

    // One tick of the timer. Returns whether the watcher is still on; it switches itself
    // off (and the setting with it) when the pattern's file has gone.
    bool Tick();

    [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
    [[nodiscard]] const std::string& LastResolution() const noexcept { return lastResolution_; }

  private:
    DesktopIcons& desktop_;
    PatternRestore& restore_;
    SettingsStore& settings_;
    platform::Dialogs& dialogs_;
    bool enabled_ = false;
    std::string lastResolution_;
    std::string savedFolder_;
    std::string patternToRestore_;
};

}  // namespace pellmark
