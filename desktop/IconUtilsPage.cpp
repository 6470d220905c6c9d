#include "desktop/IconUtilsPage.h"

#include <cmath>
#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace pellmark {

namespace {

constexpr std::uint32_t kRuleColour = 0xD8CEC4;   // the line between the two features
constexpr std::uint32_t kSwatchFrame = 0x5A4A3C;  // around each colour swatch
constexpr int kRuleTop = 150;
// The font's label, framed so it reads as something to click.
constexpr forms::Bounds kFontField{222, 35, 140, 20};

std::string Decimal(std::uint32_t colour) {
    return std::to_string(colour);
}

// Points as the loader reads them back: "10", "10.5", with a point whatever the locale.
// The font dialog gives tenths of a point; written by hand because the standard library's
// shortest double formatting alone would add 170 KB to the program.
std::string FontSizeText(double points) {
    const long tenths = std::lround(std::fabs(points) * 10);
    std::string text(points < 0 && tenths != 0 ? 1 : 0, '-');
    text += std::to_string(tenths / 10);
    if (tenths % 10 != 0) {
        text += '.';
        text += static_cast<char>('0' + tenths % 10);
    }
    return text;
}

}  // namespace

IconUtilsPage::IconUtilsPage(forms::Form& form, platform::DesktopStyle& style,
                             platform::Desktop& desktop, platform::Dialogs& dialogs,
                             SettingsStore& store, forms::MenuItem& shownMark)
    : PageBox(form, "picContIconUtils"),
      chkChangeIconStyle(form.Add<forms::CheckBox>("chkChangeIconStyle", &Box())),
      lblForeColour(form.Add<forms::Label>("lblForeColour", &Box())),
      picForePicker(form.Add<forms::Picture>("picForePicker", &Box())),
      chkTransparentBG(form.Add<forms::CheckBox>("chkTransparentBG", &Box())),
      lblBGColour(form.Add<forms::Label>("lblBGColour", &Box())),
      picBGPicker(form.Add<forms::Picture>("picBGPicker", &Box())),
      lblUpdateIconStyleTime(form.Add<forms::Label>("lblUpdateIconStyleTime", &Box())),
      sldIconRefreshTime(form.Add<forms::Slider>("sldIconRefreshTime", &Box())),
      lblIconFont(form.Add<forms::Label>("lblIconFont", &Box())),
      chkTester(form.Add<forms::CheckBox>("chkTester", &Box())),
      tmrUpdateDesktopIconStyle(form.AddTimer("tmrUpdateDesktopIconStyle")),
      chkAutoHideDesktop(form.Add<forms::CheckBox>("chkAutoHideDesktop", &Box())),
      sldHideDesktopDelay(form.Add<forms::Slider>("sldHideDesktopDelay", &Box())),
      tmrAutoHideDesktop(form.AddTimer("tmrAutoHideDesktop")),
      style_(style),
      desktop_(desktop),
      dialogs_(dialogs),
      store_(store),
      shownMark_(shownMark),
      autoHide_(style, desktop, shownMark) {
    // The English texts, each with its language key.
    chkChangeIconStyle.SetCaption("Change Icon Style");
    chkChangeIconStyle.Tag = "0601";
    lblForeColour.SetCaption("Foreground colour: ");
    lblForeColour.Tag = "0602";
    chkTransparentBG.SetCaption("Transparent Icon titles");
    chkTransparentBG.Tag = "0603";
    lblBGColour.SetCaption("Background colour: ");
    lblBGColour.Tag = "0604";
    lblUpdateIconStyleTime.SetCaption("Update style every n seconds:");
    lblUpdateIconStyleTime.Tag = "0605";
    lblIconFont.SetCaption("Font");
    lblIconFont.Tag = "0606";
    chkTester.SetCaption("This should be INVisible");
    chkTester.SetVisible(false);
    chkAutoHideDesktop.SetCaption("Hide desktop if mouse not over for more than n second(s)");
    chkAutoHideDesktop.Tag = "0607";
    chkAutoHideDesktop.SetToolTip("Hide Desktop automatically");
    sldHideDesktopDelay.SetToolTip("The amount of seconds to delay before the desktop is shown");

    picForePicker.SetBackColour(0);
    picBGPicker.SetBackColour(0);
    sldIconRefreshTime.SetRange(kRefreshTimeMin, kRefreshTimeMax);
    sldIconRefreshTime.SetSteps(5, 1, 5);
    sldIconRefreshTime.SetValue(kRefreshTimeMin);
    sldHideDesktopDelay.SetRange(0, kShowDelayMax);
    sldHideDesktopDelay.SetSteps(1, 1, 2);
    sldHideDesktopDelay.SetValue(0);
    // Both stopped until the load or the user starts them; the period follows the slider.
    tmrUpdateDesktopIconStyle.SetInterval(RefreshPeriod(sldIconRefreshTime.Value()));
    tmrAutoHideDesktop.SetInterval(kAutoHideInterval);
    EnableStyleControls(false);
    sldHideDesktopDelay.SetEnabled(false);

    chkChangeIconStyle.Click = [this] { chkChangeIconStyle_Click(); };
    chkTransparentBG.Click = [this] { chkTransparentBG_Click(); };
    picForePicker.Click = [this] { picForePicker_Click(); };
    picBGPicker.Click = [this] { picBGPicker_Click(); };
    lblIconFont.Click = [this] { lblIconFont_Click(); };
    sldIconRefreshTime.Change = [this] { sldIconRefreshTime_Change(); };
    tmrUpdateDesktopIconStyle.Tick = [this] { tmrUpdateDesktopIconStyle_Timer(); };
    chkAutoHideDesktop.Click = [this] { chkAutoHideDesktop_Click(); };
    sldHideDesktopDelay.Change = [this] { sldHideDesktopDelay_Change(); };
    tmrAutoHideDesktop.Tick = [this] { tmrAutoHideDesktop_Timer(); };

    // A frame around each swatch, so black and white swatches show on the white page.
    for (forms::Picture* swatch : {&picForePicker, &picBGPicker}) {
        swatch->Paint = [swatch](forms::Canvas& canvas) {
            const forms::Bounds& area = swatch->GetBounds();
            canvas.Frame({0, 0, area.width, area.height}, kSwatchFrame);
        };
    }
    Box().Paint = [this](forms::Canvas& canvas) {
        canvas.Line(12, kRuleTop, Box().GetBounds().width - 12, kRuleTop, kRuleColour);
        canvas.Frame(
            {kFontField.left - 3, kFontField.top - 2, kFontField.width + 6, kFontField.height + 4},
            kRuleColour);
    };
}

// In the page box's pixels: the page area is 377 by 225.
void IconUtilsPage::PositionControls() {
    chkChangeIconStyle.Move({12, 8, 300, 20});
    lblForeColour.Move({30, 38, 130, 16});
    picForePicker.Move({164, 34, 40, 22});
    lblIconFont.Move(kFontField);
    lblBGColour.Move({30, 66, 130, 16});
    picBGPicker.Move({164, 62, 40, 22});
    chkTransparentBG.Move({30, 90, 330, 20});
    lblUpdateIconStyleTime.Move({30, 120, 178, 16});
    sldIconRefreshTime.Move({210, 114, 156, 28});
    chkTester.Move({0, 0, 10, 10});
    chkAutoHideDesktop.Move({12, 158, 355, 30});
    sldHideDesktopDelay.Move({30, 190, 200, 28});
    for (forms::Control* control : std::initializer_list<forms::Control*>{
             &chkChangeIconStyle, &lblForeColour, &chkTransparentBG, &lblBGColour,
             &lblUpdateIconStyleTime, &lblIconFont, &chkAutoHideDesktop, &sldIconRefreshTime,
             &sldHideDesktopDelay}) {
        control->SetBackColour(chrome::kPageBack);
    }
    for (forms::Label* label : {&lblForeColour, &lblBGColour, &lblUpdateIconStyleTime}) {
        label->SetForeColour(chrome::kPageText);
    }
}

ChosenCaptionStyle IconUtilsPage::Chosen() const {
    return {.textColour = picForePicker.BackColour().value_or(0),
            .backColour = picBGPicker.BackColour().value_or(0),
            .transparent = chkTransparentBG.Value() == 1};
}

void IconUtilsPage::EnableStyleControls(bool enabled) {
    for (forms::Control* control : std::initializer_list<forms::Control*>{
             &lblForeColour, &picForePicker, &chkTransparentBG, &lblBGColour, &picBGPicker,
             &lblUpdateIconStyleTime, &sldIconRefreshTime, &lblIconFont}) {
        control->SetEnabled(enabled);
    }
}

void IconUtilsPage::chkChangeIconStyle_Click() {
    const bool on = chkChangeIconStyle.Value() == 1;
    if (on) {
        tmrUpdateDesktopIconStyle.SetEnabled(true);
        EnableStyleControls(true);
    } else {
        // Transparency goes with the feature, putting the saved background back.
        if (chkTransparentBG.Value() == 1) {
            chkTransparentBG.SetValue(0);
        }
        tmrUpdateDesktopIconStyle.SetEnabled(false);
        EnableStyleControls(false);
    }
    store_.Save(kIconStyleSection, "EnableIconStyle", on ? "1" : "0");
}

void IconUtilsPage::chkTransparentBG_Click() {
    const bool transparent = chkTransparentBG.Value() == 1;
    lblBGColour.SetEnabled(!transparent);
    picBGPicker.SetEnabled(!transparent);
    style_.SetTextBackColour(transparent ? platform::kNoColour : savedDesktopBackColour_);
    store_.Save(kIconStyleSection, "TransparentTitle", transparent ? "1" : "0");
}

std::optional<std::uint32_t> IconUtilsPage::PickColour(std::uint32_t initial) {
    dialogColour_ = initial;
    const std::optional<std::uint32_t> chosen = dialogs_.PickColour(initial);
    if (chosen) {
        dialogColour_ = *chosen;
    }
    return chosen;
}

// A cancelled dialog, or anything that fails in a picker, ends it with nothing sent or
// saved.
void IconUtilsPage::picForePicker_Click() {
    try {
        const auto chosen = PickColour(style_.TextColour());
        if (!chosen) {
            return;
        }
        style_.SetTextColour(*chosen);
        picForePicker.SetBackColour(*chosen);
        store_.Save(kIconStyleSection, "IconForeColour", Decimal(*chosen));
    } catch (const std::exception&) {
    }
}

void IconUtilsPage::picBGPicker_Click() {
    try {
        const std::uint32_t back = style_.TextBackColour();
        // A transparent background is no colour to start on.
        const auto chosen = PickColour(back != platform::kNoColour ? back : dialogColour_);
        if (!chosen) {
            return;
        }
        style_.SetTextBackColour(*chosen);
        picBGPicker.SetBackColour(*chosen);
        store_.Save(kIconStyleSection, "BGColour", Decimal(*chosen));
    } catch (const std::exception&) {
    }
}

void IconUtilsPage::lblIconFont_Click() {
    try {
        const forms::Font& current = chkTester.GetFont();
        const auto chosen =
            dialogs_.PickFont({current.name, current.points, current.bold, current.italic});
        if (!chosen) {
            return;
        }
        const forms::Font font{chosen->name, chosen->points, chosen->bold, chosen->italic};
        chkTester.SetFont(font);
        style_.SetCaptionFont(*chosen);
        lblIconFont.SetFont(font);
        store_.Save(kIconStyleSection, "FontName", chosen->name);
        store_.Save(kIconStyleSection, "FontBold", chosen->bold ? "True" : "False");
        store_.Save(kIconStyleSection, "FontItalic", chosen->italic ? "True" : "False");
        store_.Save(kIconStyleSection, "FontSize", FontSizeText(chosen->points));
    } catch (const std::exception&) {
    }
}

void IconUtilsPage::sldIconRefreshTime_Change() {
    tmrUpdateDesktopIconStyle.SetInterval(RefreshPeriod(sldIconRefreshTime.Value()));
    store_.Save(kIconStyleSection, "IconRefreshTime", std::to_string(sldIconRefreshTime.Value()));
}

void IconUtilsPage::tmrUpdateDesktopIconStyle_Timer() {
    static_cast<void>(ReapplyCaptionStyle(style_, Chosen()));
}

void IconUtilsPage::chkAutoHideDesktop_Click() {
    autoHideDesktop_ = chkAutoHideDesktop.Value() != 0;
    if (autoHideDesktop_) {
        sldHideDesktopDelay.SetEnabled(true);
        tmrAutoHideDesktop.SetEnabled(true);
    } else {
        sldHideDesktopDelay.SetEnabled(false);
        tmrAutoHideDesktop.SetEnabled(false);
        // Switching off always brings the icons back; the tray's mark stays as it is.
        desktop_.ShowDesktopIcons(true);
    }
    store_.Save(kSettingsSection, "AutoHideDesktop", autoHideDesktop_ ? "True" : "False");
}

void IconUtilsPage::sldHideDesktopDelay_Change() {
    autoHide_.SetShowDelay(static_cast<std::int16_t>(sldHideDesktopDelay.Value()));
    store_.Save(kSettingsSection, "ShowDelay", std::to_string(sldHideDesktopDelay.Value()));
}

void IconUtilsPage::tmrAutoHideDesktop_Timer() {
    autoHide_.Tick();
}

void IconUtilsPage::ShowIconsAtEnd() {
    tmrAutoHideDesktop.SetEnabled(false);
    // With auto-hide on they may be hidden whatever the mark says: an earlier run that
    // was killed left them so.
    if (autoHideDesktop_ || !shownMark_.checked) {
        desktop_.ShowDesktopIcons(true);
        shownMark_.checked = true;
    }
}

void IconUtilsPage::ReadSavedDesktopBackColour() {
    savedDesktopBackColour_ = style_.TextBackColour();
}

void IconUtilsPage::ImplementSettings(const SettingsRecord& settings, bool hasCommandLine) {
    // Switched off, the feature leaves the desktop and the stored style alone.
    if (hasCommandLine && chkChangeIconStyle.Value() == 1) {
        tmrUpdateDesktopIconStyle.SetInterval(RefreshPeriod(sldIconRefreshTime.Value()));
        tmrUpdateDesktopIconStyle.SetEnabled(true);
        chkChangeIconStyle_Click();
    }
    chkAutoHideDesktop.SetValue(settings.AutoHideDesktop ? 1 : 0);
    sldHideDesktopDelay.SetValue(settings.ShowDelay);
    sldHideDesktopDelay_Change();
    chkAutoHideDesktop_Click();
}

void IconUtilsPage::SetTextColour(std::uint32_t colour) {
    picForePicker.SetBackColour(colour);
}

void IconUtilsPage::SetBackgroundColour(std::uint32_t colour) {
    picBGPicker.SetBackColour(colour);
}

void IconUtilsPage::SetRefreshTime(std::int32_t value) {
    sldIconRefreshTime.SetValue(static_cast<int>(value));
}

void IconUtilsPage::SetTransparentTitle(int checkState) {
    if (chkChangeIconStyle.Value() == 1) {
        chkTransparentBG.SetValue(checkState);
        return;
    }
    // While the feature is off the box only shows what switching it on will bring: nothing
    // is sent to the desktop and nothing written.
    std::function<void()> click;
    std::swap(click, chkTransparentBG.Click);
    chkTransparentBG.SetValue(checkState);
    std::swap(click, chkTransparentBG.Click);
}

void IconUtilsPage::SetEnableIconStyle(int checkState) {
    const bool wasOn = chkChangeIconStyle.Value() == 1;
    chkChangeIconStyle.SetValue(checkState);
    // A stored transparency, read before the feature, takes effect with it.
    if (!wasOn && chkChangeIconStyle.Value() == 1 && chkTransparentBG.Value() == 1) {
        chkTransparentBG_Click();
    }
}

void IconUtilsPage::SetSampleFont(forms::Font font) {
    lblIconFont.SetFont(std::move(font));
}

void IconUtilsPage::SetSampleFontName(const std::string& name) {
    forms::Font font = lblIconFont.GetFont();
    font.name = name;
    SetSampleFont(font);
}

void IconUtilsPage::SetSampleFontBold(bool bold) {
    forms::Font font = lblIconFont.GetFont();
    font.bold = bold;
    SetSampleFont(font);
}

void IconUtilsPage::SetSampleFontItalic(bool italic) {
    forms::Font font = lblIconFont.GetFont();
    font.italic = italic;
    SetSampleFont(font);
}

void IconUtilsPage::SetSampleFontSize(double points) {
    forms::Font font = lblIconFont.GetFont();
    font.points = points;
    SetSampleFont(font);
}

}  // namespace pellmark
