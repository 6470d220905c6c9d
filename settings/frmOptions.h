// The options dialog: start-up, restore, automatic save, shortcuts and language. It reads
// the settings into its controls when it loads (whether the shortcuts exist when it opens)
// and writes them back, with the Run value and the shortcuts, on OK or Apply.
#pragma once

#include <functional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/forms/FileList.h"
#include "platform/forms/Form.h"
#include "settings/SettingsStore.h"
#include "settings/Shortcuts.h"

namespace pellmark {

inline constexpr const char* kDefaultAutoSavePattern = "My Default Pattern";

// What the dialog works with, given by the main window.
struct OptionsContext {
    platform::Files& files;
    platform::Dialogs& dialogs;
    platform::Registry& registry;
    std::string programPath;  // what the Run value starts
    // None: the system offers no shortcuts, and their boxes stay clear and disabled.
    Shortcuts* shortcuts = nullptr;
    std::string programFolder;
    // The main window's list of pattern files, in its order.
    const forms::FileList& patternFiles;
    // Puts the language on every form and keeps it as the one in use.
    std::function<void(const std::string& language)> applyLanguage;
    // Starts the check for a new version; the link label is handed to it.
    std::function<void(forms::Label& link)> checkForNewVersion;
    // The settings were written (OK or Apply): what takes effect at once is taken up.
    std::function<void()> saved;
    // Puts the language in use on the dialog each time it loads, its lists and settings read:
    // it loads when it first opens, not with the main window.
    std::function<void(forms::Form& dialog)> translate;
};

class frmOptions final : public forms::Form {
  public:
    frmOptions(forms::Backend& backend, OptionsContext context);

    forms::Frame& Frame3;
    forms::CheckBox& chkLoadOnWinStart;
    forms::CheckBox& chkStartInSysTray;
    forms::CheckBox& chkStartHidden;
    forms::Frame& Frame1;
    forms::CheckBox& chkShortcutOnDesktop;
    forms::CheckBox& chkShortcutOnStartMenu;
    forms::Frame& Frame5;
    forms::ComboBox& cboLanguage;
    forms::Label& lblChkForUpdate;
    forms::Frame& Frame2;
    forms::Label& Label1;
    forms::CheckBox& chkStartup;
    forms::CheckBox& chkScrRes;
    forms::Label& lblPatterns;
    forms::ComboBox& cboPatterns;
    forms::CheckBox& chkCloseProgram;
    forms::CheckBox& chkQuietCommandLine;
    forms::Frame& Frame4;
    forms::CheckBox& chkSaveOnStart;
    forms::CheckBox& chkSaveOnClose;
    forms::Label& lblAutoSave;
    forms::ComboBox& cboAutoSave;
    forms::Frame& Frame6;
    forms::CheckBox& chkFollowScreens;
    forms::CheckBox& chkLockIcons;
    forms::Button& cmdOK;
    forms::Button& cmdCancel;
    forms::Button& cmdApply;

    // Loads it when it is not loaded, or reads the pattern folder and the settings again
    // when it was loaded hidden; ticks the shortcut boxes of the shortcuts there are, and
    // shows it.
    void Open();
    void LoadOptions();
    void SaveOptions();
    void UpdatePatternControls();
    void UpdateAutoSaveControls();

  protected:
    void OnLoad() override;

  private:
    // The loading steps, with the pattern files given.
    void ReadControls(const forms::FileList& patterns);
    void FillLists(const forms::FileList& patterns);
    void ShowPatternToolTips();
    void SetLinkUnderlined(bool underlined);

    OptionsContext context_;
    SettingsStore store_;
};

}  // namespace pellmark
