// The main window: it loads in fourteen named steps, wears its skin, moves between its
// pages, watches the screen resolution and, when it closes, saves the automatic pattern
// and tidies up. Each page owns its controls.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "app/ProgramServices.h"
#include "chrome/HelpPanel.h"
#include "chrome/IntroductionPage.h"
#include "chrome/MainNavigation.h"
#include "chrome/frmAbout.h"
#include "desktop/DesktopPages.h"
#include "desktop/frmSelectWallpaper.h"
#include "patterns/DesktopIcons.h"
#include "patterns/PatternPage.h"
#include "patterns/PatternRestore.h"
#include "patterns/ResolutionWatcher.h"
#include "platform/forms/Form.h"
#include "screens/ScreenFollower.h"
#include "screens/ScreenLayouts.h"
#include "settings/LanguageFile.h"
#include "settings/LoadSettings.h"
#include "settings/SettingsStore.h"
#include "settings/Shortcuts.h"
#include "settings/frmOptions.h"
#include "tray/MenuCommands.h"
#include "tray/SysTrayIcon.h"
#include "tray/frmMenus.h"

namespace pellmark {

inline constexpr int kKeyF5 = 116;
inline constexpr int kResolutionCheckInterval = 2000;  // milliseconds

class Form1 final : public forms::Form, private chrome::NavigationView {
  private:
    // Before the pages, which work through them.
    ProgramServices& services_;
    frmMenus& menus_;
    chrome::frmAbout& about_;
    CommandLineMessages messages_;  // every message of a command-line run passes here
    SettingsStore settingsStore_;
    DesktopIcons desktopIcons_;
    PatternRestore restore_;
    ResolutionWatcher watcher_;
    SysTrayIcon trayIcon_;
    MenuCommands commands_;

  public:
    Form1(ProgramServices& services, frmMenus& menus, chrome::frmAbout& about);

    // Runs as each load step begins, with the step's name (a failure the handler raises
    // is reported as that step's).
    std::function<void(std::string_view step)> StepStarted;

    [[nodiscard]] const std::string& SavedFolder() const noexcept { return savedFolder_; }
    [[nodiscard]] const SettingsRecord& Settings() const noexcept { return settings_; }
    [[nodiscard]] const std::string& LastResolution() const noexcept {
        return watcher_.LastResolution();
    }
    [[nodiscard]] const DesktopIconTable& IconTable() const noexcept {
        return desktopIcons_.Table();
    }
    [[nodiscard]] chrome::MainNavigation& Navigation() noexcept { return navigation_; }
    [[nodiscard]] forms::Picture& PageBox(chrome::Page page) const;
    [[nodiscard]] const std::string& Title() const noexcept { return title_; }
    [[nodiscard]] MenuCommands& Commands() noexcept { return commands_; }
    // The program's exit code: how a command-line run that closed the program went
    // (CloseWhenRestored); otherwise 0.
    [[nodiscard]] int ExitCode() const noexcept { return exitCode_; }
    [[nodiscard]] frmOptions& Options() noexcept { return options_; }
    // Starts the new-version check from the options dialog's link.
    void SetCheckForNewVersion(std::function<void(forms::Label& link)> check);
    // Puts the language on every form and keeps it as the one in use (the load does this
    // with the setting "Language"; the options dialog with the language chosen there).
    void UseLanguage(const std::string& language);
    // The wallpaper picker, not modal; none when the program has no wallpaper system.
    void ShowWallpaperPicker();
    [[nodiscard]] frmSelectWallpaper* WallpaperPicker() noexcept {
        return wallpaperPicker_ ? &*wallpaperPicker_ : nullptr;
    }

    // The pages, in the order of their windows: the help panel comes last, over the others.
    chrome::IntroductionPage introduction;
    PatternPage patterns;
    ShowHideIconsPage showHideIcons;
    RemoveIconsPage removeIcons;
    IconSizePage iconSize;
    MiscPage misc;
    IconUtilsPage iconUtils;
    chrome::HelpPanel help;

    // The chrome on the skin.
    std::array<forms::Image*, chrome::kSideButtonCount> imgSideButton{};
    forms::Image& imgTabs;
    forms::Image& imgMenu;
    forms::Image& imgWebAdd;
    forms::Timer& tmrCheckForResChange;
    // Ticks when the screens' follower asks to be ticked next.
    forms::Timer& tmrFollowScreens;
    // Ticks once the shown window has painted, for the desktop read the load left till then.
    forms::Timer& tmrReadDesktop;

  protected:
    void OnLoad() override;
    void OnUnload() override;

  private:
    void BeginStep(std::string_view name);
    // One load step, its failure reported with its name; false when it failed.
    bool RunStep(const char* name, const std::function<void()>& run);
    // The desktop read, the Show/Hide list and the preview (with the markers' colour), when
    // the load left them for after the first paint and they have not run yet.
    void ReadDesktopNow();
    void ReadDesktopAndShowHideList();
    void RetrieveDesktopColours();
    // A yes/no setting as stored, anything but "0" and "False" counting as yes.
    [[nodiscard]] bool StoredSwitch(const char* key, const char* defaultText);
    void ReportLoadFailure(int number, const std::string& description);
    void MainLoadingProcedures();
    void ShapeForm();
    void PositionControls();
    void RunGeneralSubRoutines();
    void LoadTheLanguageFile();
    void ImplementSettings();
    void RestorePatternOnStartup();
    // FollowScreens and LockIcons as the settings have them now, taken up at once.
    void FollowScreens(bool atStart = false);
    void ScheduleScreens(int milliseconds);
    void HandleCommandArguments();
    [[nodiscard]] RunResult RunCommand(const Command& command);
    void EndCommandRun(RunResult result);
    void SaveAutomaticPattern();
    void DeleteTransferFiles();
    [[nodiscard]] MenuCommandContext CommandContext();
    void TrayIcon_Mouse(forms::TrayMouse mouse);
    void Trapped(const std::function<void()>& handling) { RunTrapped(services_.dialogs, handling); }
    [[nodiscard]] forms::Bitmap Picture(int id);
    void PaintSkin(forms::Canvas& canvas);
    void Form_MouseDown(const forms::MouseEvent& event);
    void Form_MouseUp(const forms::MouseEvent& event);

    // chrome::NavigationView
    void SetPageVisible(chrome::Page page, bool visible) override;
    [[nodiscard]] bool PageVisible(chrome::Page page) const override;
    void ShowPage(chrome::Page page, const forms::Bounds& area) override;
    void SetTitle(const std::string& title) override;
    void SetInfoText(const std::string& text) override;
    void SetTabStrip(int section, int tab) override;
    void SetSideButtonPressed(int index, bool pressed) override;
    void SetMenuButtonPressed(bool pressed) override;
    void ShowAboutBox() override;
    void ShowOptions();
    void ShowMainMenu() override;
    [[nodiscard]] forms::Form* LoadedWallpaperPicker();

    chrome::MainNavigation navigation_;
    SettingsRecord settings_;
    std::string savedFolder_;
    bool patternFolderReady_ = false;  // the pattern list has its folder open
    bool desktopReadPending_ = false;  // the load's desktop read waits for the first paint
    std::string currentStep_;
    std::string title_;
    int exitCode_ = 0;
    bool titlePressed_ = false;
    forms::Bitmap skin_;
    forms::Bitmap sideUp_;
    forms::Bitmap sideDown_;
    forms::Bitmap menuPicture_;
    std::array<std::array<forms::Bitmap, chrome::kTabCount>, 2> tabStrips_;
    std::function<void(forms::Label&)> checkForNewVersion_;
    std::optional<Shortcuts> shortcuts_;
    std::optional<screens::ScreenLayouts> screenLayouts_;
    std::optional<screens::ScreenFollower> follower_;
    bool following_ = false;
    bool followerStartPending_ = false;
    bool followerTakesRead_ = false;  // the load's late read is the follower's first
    std::optional<platform::Disruption> disruptionBeforeStart_;
    std::optional<LanguageFile> language_;  // the one in use, for the dialog's first load
    frmOptions options_;                    // after the pattern page, whose list of files it reads
    std::optional<frmSelectWallpaper> wallpaperPicker_;
};

}  // namespace pellmark
