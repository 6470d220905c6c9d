// The icon-utilities page: the colours, background and font of the desktop icons'
// captions, kept in force by a timer, and auto-hide of the desktop icons.
#pragma once

#include <cstdint>
#include <optional>

#include "chrome/PageBox.h"
#include "desktop/AutoHide.h"
#include "desktop/DesktopStyle.h"
#include "platform/Desktop.h"
#include "platform/DesktopStyle.h"
#include "platform/Dialogs.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"
#include "settings/LoadSettings.h"
#include "settings/SettingsStore.h"

namespace pellmark {

// The icon-style controls the settings loader fills are this page's own.
class IconUtilsPage final : public chrome::PageBox, public IconStyleControls {
  public:
    // `shownMark`: the tray menu's Show Desktop item, whose check mark auto-hide shares.
    IconUtilsPage(forms::Form& form, platform::DesktopStyle& style, platform::Desktop& desktop,
                  platform::Dialogs& dialogs, SettingsStore& store, forms::MenuItem& shownMark);

    void PositionControls();

    // Load steps. After the settings loader: the captions' background as the desktop has
    // it now, which is what unticking transparency puts back.
    void ReadSavedDesktopBackColour();
    [[nodiscard]] std::uint32_t SavedDesktopBackColour() const noexcept {
        return savedDesktopBackColour_;
    }
    // With the settings read: the caption style once more when there is a command line,
    // then auto-hide as stored.
    void ImplementSettings(const SettingsRecord& settings, bool hasCommandLine);

    // The chosen style as the controls hold it.
    [[nodiscard]] ChosenCaptionStyle Chosen() const;
    [[nodiscard]] const AutoHide& AutoHiding() const noexcept { return autoHide_; }
    // The program ends: auto-hide stops, and icons that it or the tray's item hid show
    // again, since nothing would bring them back.
    void ShowIconsAtEnd();

    // Event handlers, as the controls run them.
    void chkChangeIconStyle_Click();
    void chkTransparentBG_Click();
    void picForePicker_Click();
    void picBGPicker_Click();
    void lblIconFont_Click();
    void sldIconRefreshTime_Change();
    void tmrUpdateDesktopIconStyle_Timer();
    void chkAutoHideDesktop_Click();
    void sldHideDesktopDelay_Change();
    void tmrAutoHideDesktop_Timer();

    // IconStyleControls: the settings loader sets the controls as a user would.
    void SetTextColour(std::uint32_t colour) override;
    void SetBackgroundColour(std::uint32_t colour) override;
    void SetRefreshTime(std::int32_t value) override;
    void SetTransparentTitle(int checkState) override;
    void SetEnableIconStyle(int checkState) override;
    void SetSampleFontName(const std::string& name) override;
    void SetSampleFontBold(bool bold) override;
    void SetSampleFontItalic(bool italic) override;
    void SetSampleFontSize(double points) override;

    forms::CheckBox& chkChangeIconStyle;
    forms::Label& lblForeColour;
    forms::Picture& picForePicker;
    forms::CheckBox& chkTransparentBG;
    forms::Label& lblBGColour;
    forms::Picture& picBGPicker;
    forms::Label& lblUpdateIconStyleTime;
    forms::Slider& sldIconRefreshTime;
    forms::Label& lblIconFont;
    forms::CheckBox& chkTester;  // never shown: it carries the chosen font
    forms::Timer& tmrUpdateDesktopIconStyle;
    forms::CheckBox& chkAutoHideDesktop;
    forms::Slider& sldHideDesktopDelay;
    forms::Timer& tmrAutoHideDesktop;

  private:
    // The eight controls that work only while the caption style is on.
    void EnableStyleControls(bool enabled);
    // The colour dialog, shared by both swatches: it remembers the colour it last held.
    [[nodiscard]] std::optional<std::uint32_t> PickColour(std::uint32_t initial);
    void SetSampleFont(forms::Font font);

    platform::DesktopStyle& style_;
    platform::Desktop& desktop_;
    platform::Dialogs& dialogs_;
    SettingsStore& store_;
    forms::MenuItem& shownMark_;
    AutoHide autoHide_;
    std::uint32_t savedDesktopBackColour_ = 0;
    std::uint32_t dialogColour_ = 0;
    bool autoHideDesktop_ = false;
};

}  // namespace pellmark
