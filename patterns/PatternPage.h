// The main window's pattern page: the list of saved patterns, their preview, and the
// Save, Load and Delete commands. It owns its controls, which sit in its picture box.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternRestore.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "platform/forms/FileList.h"
#include "platform/forms/Form.h"
#include "tray/frmMenus.h"

namespace pellmark {

inline constexpr int kKeyDelete = 46;

// Runs an event's handling; a run-time error is shown in a message and the event ends
// there.
void RunTrapped(platform::Dialogs& dialogs, const std::function<void()>& handling);

class PatternPage {
  public:
    PatternPage(forms::Form& form, platform::Files& files, platform::Dialogs& dialogs,
                platform::System& system, DesktopIcons& desktopIcons, PatternRestore& restore,
                frmMenus& menus);
    // The pattern list's Delete item of the menu form calls this page: not once it is gone.
    ~PatternPage();
    PatternPage(const PatternPage&) = delete;
    PatternPage& operator=(const PatternPage&) = delete;

    // The folder of the patterns, and the preview scaled to the screen.
    void Open(const std::string& savedFolder);
    void PositionControls();
    // The desktop captions' colour; CLR_NONE gets one that shows on the preview.
    void SetMarkerColour(std::uint32_t colour);
    // The labels are windows of the form itself (a label inside a picture box is drawn by
    // it and has no window that other programs can read), so they show with the page.
    void ShowLabels(bool shown);

    // The icon count again in the current language's words: after a language is applied.
    void ShowTextsAgain();

    void RefreshPatternList();
    void ShowPatternPreview();
    void ShowDesktopPreview();
    void RemoveCurrentSaveItem();
    void DeletePattern(const std::string& name);
    void cmdSave_Click();
    void cmdLoad_Click();
    // Before a pattern is previewed.
    std::function<void()> BeforePatternShown;
    // After the Load button's restore, with the table of its closing read.
    std::function<void(const DesktopIconTable&)> PatternRestored;

    forms::Picture& picContSavePos;
    forms::FileList File1;
    forms::ListBox& List1;
    forms::TextBox& txtFile;
    forms::Button& cmdSave;
    forms::Button& cmdLoad;
    forms::Picture& picPreview;
    std::vector<forms::Label*> lblPrevIcon;  // element 0 is the template of the markers
    forms::Label& lblNoIcons;                // these three on the form, over the page
    forms::Label& lblPatterns;
    forms::Label& lblName;

  private:
    void UnloadMarkers();
    // The icon count's text, shown with the other labels once it has one.
    void SetIconCountText(const std::string& text);
    forms::Label& AddMarker(std::int32_t x, std::int32_t y, const std::string& caption,
                            bool hidden);
    // Save and Load say no, with the old message, where no way to the desktop exists.
    [[nodiscard]] bool RefusedWhereDesktopUnreachable();
    void List1_MouseUp(const forms::MouseEvent& event);
    void Trapped(const std::function<void()>& handling) { RunTrapped(dialogs_, handling); }

    forms::Form& form_;
    platform::Files& files_;
    platform::Dialogs& dialogs_;
    platform::System& system_;
    DesktopIcons& desktopIcons_;
    PatternRestore& restore_;
    frmMenus& menus_;
    std::string savedFolder_;
    std::optional<std::size_t> shownCount_;  // what lblNoIcons counts; none: "Bad file"
    bool labelsShown_ = false;
};

}  // namespace pellmark
