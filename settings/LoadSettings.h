// Turns the settings store into the program's running state, at start-up and again when
// the main window closes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Dialogs.h"
#include "settings/SettingsStore.h"

namespace pellmark {

// What the loader keeps; the icon-style values go straight to the main window's controls.
struct SettingsRecord {
    bool LoadInSysTray = false;
    bool RestoreOnStartup = false;
    bool RestoreOnResChange = false;
    std::string PatternToRestore;
    bool CloseWhenRestored = false;
    bool FollowScreens = true;  // keep a layout per screen arrangement and put it back
    bool LockIcons = false;     // put back every icon that moves
    bool OnLoadHide = false;
    bool SavePatternOnStart = false;
    bool SavePatternOnClose = false;
    std::string PatternToAutoSave;
    bool AutoHideDesktop = false;
    std::int16_t ShowDelay = 0;
    std::string Language;
    std::string LanguageFile;
};

// The main window's icon-style controls, in the order the loader fills them.
class IconStyleControls {
  public:
    virtual ~IconStyleControls() = default;
    virtual void SetTextColour(std::uint32_t colour) = 0;
    // A stored -1 (no background) arrives as 0.
    virtual void SetBackgroundColour(std::uint32_t colour) = 0;
    virtual void SetRefreshTime(std::int32_t value) = 0;
    // 0 clear, 1 ticked, 2 greyed. Ticking a box runs its click handling as a user's click
    // does; a state equal to the box's own changes nothing.
    virtual void SetTransparentTitle(int checkState) = 0;
    virtual void SetEnableIconStyle(int checkState) = 0;
    // The sample label's font, one property at a time.
    virtual void SetSampleFontName(const std::string& name) = 0;
    virtual void SetSampleFontBold(bool bold) = 0;
    virtual void SetSampleFontItalic(bool italic) = 0;
    virtual void SetSampleFontSize(double points) = 0;
};

// Reads every setting in six named steps and applies each value as it is read. A stored
// value that does not parse stops the loader: what was read stays applied, the rest keeps
// its previous value, and one message names the step. `programFolder` is the folder of
// the executable; the language file lies in its "Languages" folder.
void LoadSettings(const SettingsStore& store, const std::string& programFolder,
                  SettingsRecord& settings, IconStyleControls& iconStyle,
                  platform::Dialogs& dialogs);

}  // namespace pellmark
