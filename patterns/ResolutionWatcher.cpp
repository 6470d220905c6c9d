#include "patterns/ResolutionWatcher.h"

#include <utility>

#include "patterns/SavedFolder.h"
#include "settings/Messages.h"

namespace pellmark {

ResolutionWatcher::ResolutionWatcher(DesktopIcons& desktop, PatternRestore& restore,
                                     SettingsStore& settings, platform::Dialogs& dialogs)
    : desktop_(desktop), restore_(restore), settings_(settings), dialogs_(dialogs) {}

void ResolutionWatcher::Start(std::string savedFolder, std::string patternToRestore) {
    savedFolder_ = std::move(savedFolder);
    patternToRestore_ = std::move(patternToRestore);
    lastResolution_ = desktop_.GetScreenResolution();
    enabled_ = true;
}

bool ResolutionWatcher::Tick() {
    if (!enabled_) {
        return false;
    }
    std::string resolution = desktop_.GetScreenResolution();
    if (resolution == lastResolution_) {
        return true;
    }
    const std::string path = PatternPath(savedFolder_, patternToRestore_);
    if (restore_.PatternFileExists(path)) {
        static_cast<void>(restore_.RestorePatternFile(path, true));
    } else {
        dialogs_.ShowMessage({.text = MessageText("0936") + " '" + patternToRestore_ + "'",
                              .caption = "File not found",
                              .icon = platform::MessageIcon::Exclamation});
        settings_.Save(kSettingsSection, "RestoreOnResChange", "0");
        enabled_ = false;
    }
    // Only now, after the restore or the message has returned.
    lastResolution_ = std::move(resolution);
    return enabled_;
}

}  // namespace pellmark
