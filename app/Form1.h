// The main window: it loads in fourteen named steps, carries the pattern page, watches
// the screen resolution and, when it closes, saves the automatic pattern and tidies up.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/IconStyleValues.h"
#include "app/ProgramServices.h"
#include "patterns/DesktopIcons.h"
#include "patterns/PatternRestore.h"
#include "patterns/ResolutionWatcher.h"
#include "platform/forms/FileList.h"
#include "platform/forms/Form.h"
#include "settings/LoadSettings.h"
#include "settings/SettingsStore.h"
#include "tray/frmMenus.h"

namespace pellmark {

inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyF5 = 116;
inline constexpr int kResolutionCheckInterval = 2000;  // milliseconds

class Form1 final : public forms::Form {
  public:
    Form1(ProgramServices& services, frmMenus& menus);

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

    void RefreshPatternList();
    void ShowPatternPreview();
    void ShowDesktopPreview();
    void RemoveCurrentSaveItem();
    void DeletePattern(const std::string& name);
    void cmdSave_Click();
    void cmdLoad_Click();

    // The pattern page.
    forms::FileList File1;
    forms::ListBox& List1;
    forms::TextBox& txtFile;
    forms::Button& cmdSave;
    forms::Button& cmdLoad;
    forms::Picture& picPreview;
    std::vector<forms::Label*> lblPrevIcon;  // element 0 is the template of the markers
    forms::Label& lblNoIcons;
    forms::Label& lblPatterns;
    forms::Label& lblName;
    forms::Timer& tmrCheckForResChange;

  protected:
    void OnLoad() override;
    void OnUnload() override;

  private:
    void BeginStep(std::string_view name);
    void ReportLoadFailure(int number, const std::string& description);
    void MainLoadingProcedures();
    void PositionControls();
    void RunGeneralSubRoutines();
    void LoadTheLanguageFile();
    void ImplementSettings();
    void RestorePatternOnStartup();
    void HandleCommandArguments();
    void SaveAutomaticPattern();
    void DeleteTransferFiles();

    void UnloadMarkers();
    forms::Label& AddMarker(std::int32_t x, std::int32_t y, const std::string& caption,
                            bool hidden);
    [[nodiscard]] bool RefusedOnWindowsNT();
    void List1_MouseUp(const forms::MouseEvent& event);
    // Runs an event's handling; a run-time error is reported and the event ends there.
    void Trapped(const std::function<void()>& handling);

    ProgramServices& services_;
    frmMenus& menus_;
    SettingsStore settingsStore_;
    DesktopIcons desktopIcons_;
    PatternRestore restore_;
    ResolutionWatcher watcher_;
    SettingsRecord settings_;
    IconStyleValues iconStyle_;
    std::string savedFolder_;
    std::string currentStep_;
};

}  // namespace pellmark
