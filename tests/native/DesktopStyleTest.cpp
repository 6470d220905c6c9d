// The captions' colours and font: the rule that finds a drifted style and what it sends,
// and the icon-utilities page driven as a user drives it, on the in-memory program.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "desktop/DesktopStyle.h"
#include "platform/sim/SimDesktopStyle.h"
#include "tests/common/PatternText.h"
#include "tests/native/ProgramHarness.h"

namespace pellmark {
namespace {

using platform::kNoColour;
using Sent = sim::SimDesktopStyle::Sent;

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kTeal = 0x808000;
constexpr std::uint32_t kNavy = 0x800000;

TEST(CaptionStyle, ATickSendsOnlyWhenTheStyleDriftedAndThenInItsOrder) {
    struct Case {
        const char* what;
        ChosenCaptionStyle chosen;
        std::uint32_t text;  // what the desktop shows before the tick
        std::uint32_t back;
        std::vector<Sent> sent;
    };
    const ChosenCaptionStyle opaque{kWhite, kTeal, false};
    const ChosenCaptionStyle clear{kWhite, kTeal, true};
    const std::vector<Sent> resend{{"text", kWhite}, {"back", kTeal}};
    const std::vector<Sent> resendClear{{"text", kWhite}, {"back", kTeal}, {"back", kNoColour}};
    const std::vector<Case> cases = {
        {"as chosen: nothing", opaque, kWhite, kTeal, {}},
        {"transparent as chosen: nothing", clear, kWhite, kNoColour, {}},
        {"Explorer made the background opaque", clear, kWhite, kNavy, resendClear},
        {"the chosen background is the desktop's, but it should be transparent", clear, kWhite,
         kTeal, resendClear},
        {"text colour changed", opaque, kRed, kTeal, resend},
        {"background changed", opaque, kWhite, kNavy, resend},
        {"transparent but it should not be", opaque, kWhite, kNoColour, resend},
        {"only the text drifted while transparent", clear, kRed, kNoColour, resendClear},
        // Exact comparisons: a colour one bit off is a drift; the top byte counts too.
        {"one bit off", opaque, kWhite - 1, kTeal, resend},
        {"black chosen, no background read as -1 is not black",
         {0, 0, false},
         0,
         kNoColour,
         {{"text", 0}, {"back", 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimDesktopStyle desktop;
        desktop.textColour = c.text;
        desktop.backColour = c.back;
        EXPECT_EQ(CaptionStyleDrifted(c.chosen, c.text, c.back), !c.sent.empty());
        EXPECT_EQ(ReapplyCaptionStyle(desktop, c.chosen), !c.sent.empty());
        EXPECT_EQ(desktop.sent, c.sent);
        EXPECT_EQ(desktop.reads, 2);
        // Put back, the next tick finds nothing to do.
        desktop.sent.clear();
        EXPECT_FALSE(ReapplyCaptionStyle(desktop, c.chosen));
        EXPECT_TRUE(desktop.sent.empty());
    }

    // No desktop: both colours read 0, the sends go nowhere, nothing fails.
    sim::SimDesktopStyle none;
    none.present = false;
    EXPECT_TRUE(ReapplyCaptionStyle(none, {kWhite, kTeal, true}));
    EXPECT_TRUE(none.sent.empty());
    EXPECT_FALSE(ReapplyCaptionStyle(none, {0, 0, false}));
}

const char* const kStyleKeys[] = {"EnableIconStyle", "TransparentTitle", "IconForeColour",
                                  "BGColour",        "IconRefreshTime",  "FontName",
                                  "FontBold",        "FontItalic",       "FontSize"};

class IconUtilsPageTest : public ::testing::Test, public testcases::ProgramHarness {
  protected:
    IconUtilsPageTest() {
        desktopStyle.textColour = kWhite;
        desktopStyle.backColour = kTeal;
    }
    void Style(const std::string& key, const std::string& value) {
        store.Save(kIconStyleSection, key, value);
    }
    [[nodiscard]] std::map<std::string, std::string> StoredStyle() const {
        std::map<std::string, std::string> stored;
        for (const char* key : kStyleKeys) {
            stored[key] = store.Get(kIconStyleSection, key, "(none)");
        }
        return stored;
    }
    // Starts the program and goes to the page as a user does: the desktop section, third tab.
    IconUtilsPage& StartOnPage(const std::string& commandLine = "") {
        EXPECT_TRUE(Start(commandLine));
        form->Navigation().SideButtonClick(2);
        form->Navigation().TabClick(2);
        EXPECT_TRUE(form->iconUtils.Box().Visible());
        return form->iconUtils;
    }
    [[nodiscard]] std::vector<bool> StyleControlsEnabled() const {
        const IconUtilsPage& page = form->iconUtils;
        return {page.lblForeColour.Enabled(),      page.picForePicker.Enabled(),
                page.chkTransparentBG.Enabled(),   page.lblBGColour.Enabled(),
                page.picBGPicker.Enabled(),        page.lblUpdateIconStyleTime.Enabled(),
                page.sldIconRefreshTime.Enabled(), page.lblIconFont.Enabled()};
    }
};

const std::vector<bool> kAllEnabled(8, true);
const std::vector<bool> kAllDisabled(8, false);

TEST_F(IconUtilsPageTest, SwitchingTheFeatureOnAndOffWithTransparency) {
    IconUtilsPage& page = StartOnPage();
    EXPECT_EQ(page.chkChangeIconStyle.Value(), 0);
    EXPECT_EQ(StyleControlsEnabled(), kAllDisabled);
    EXPECT_FALSE(page.tmrUpdateDesktopIconStyle.Enabled());
    EXPECT_EQ(page.SavedDesktopBackColour(), kTeal);
    // Absent "IconRefreshTime" leaves the slider at its minimum, so the period is one second.
    EXPECT_EQ(page.sldIconRefreshTime.Value(), 1);
    EXPECT_EQ(page.tmrUpdateDesktopIconStyle.Interval(), 1000);
    EXPECT_TRUE(desktopStyle.sent.empty());

    page.chkChangeIconStyle.UserClick();
    EXPECT_TRUE(page.tmrUpdateDesktopIconStyle.Enabled());
    EXPECT_EQ(StyleControlsEnabled(), kAllEnabled);
    EXPECT_EQ(store.Get(kIconStyleSection, "EnableIconStyle", ""), "1");
    EXPECT_TRUE(desktopStyle.sent.empty()) << "switching on sends nothing by itself";

    page.chkTransparentBG.UserClick();
    EXPECT_EQ(desktopStyle.sent, (std::vector<Sent>{{"back", kNoColour}}));
    EXPECT_FALSE(page.lblBGColour.Enabled());
    EXPECT_FALSE(page.picBGPicker.Enabled());
    EXPECT_EQ(store.Get(kIconStyleSection, "TransparentTitle", ""), "1");

    // Off while transparent: transparency goes first, putting the saved background back.
    desktopStyle.sent.clear();
    page.chkChangeIconStyle.UserClick();
    EXPECT_EQ(page.chkTransparentBG.Value(), 0);
    EXPECT_EQ(desktopStyle.sent, (std::vector<Sent>{{"back", kTeal}}));
    EXPECT_FALSE(page.tmrUpdateDesktopIconStyle.Enabled());
    EXPECT_EQ(StyleControlsEnabled(), kAllDisabled);
    EXPECT_EQ(store.Get(kIconStyleSection, "TransparentTitle", ""), "0");
    EXPECT_EQ(store.Get(kIconStyleSection, "EnableIconStyle", ""), "0");
}

TEST_F(IconUtilsPageTest, TheTimerPutsBackWhatExplorerChangedWithinOnePeriod) {
    Style("EnableIconStyle", "1");
    Style("IconForeColour", std::to_string(kWhite));
    Style("BGColour", std::to_string(kTeal));
    Style("IconRefreshTime", "3");
    IconUtilsPage& page = StartOnPage();
    EXPECT_EQ(page.tmrUpdateDesktopIconStyle.Interval(), 3000);
    EXPECT_TRUE(page.tmrUpdateDesktopIconStyle.Enabled());

    forms.AdvanceClock(3000);
    EXPECT_TRUE(desktopStyle.sent.empty()) << "nothing drifted: nothing sent";
    desktopStyle.textColour = kRed;  // Explorer's own idea
    forms.AdvanceClock(2999);
    EXPECT_TRUE(desktopStyle.sent.empty());
    forms.AdvanceClock(1);
    EXPECT_EQ(desktopStyle.sent, (std::vector<Sent>{{"text", kWhite}, {"back", kTeal}}));

    // The period follows the slider at both ends, the timer running as it was.
    page.sldIconRefreshTime.UserMove(60);
    EXPECT_EQ(page.tmrUpdateDesktopIconStyle.Interval(), 60000);
    EXPECT_EQ(store.Get(kIconStyleSection, "IconRefreshTime", ""), "60");
    page.sldIconRefreshTime.UserMove(1);
    EXPECT_EQ(page.tmrUpdateDesktopIconStyle.Interval(), 1000);
    EXPECT_EQ(store.Get(kIconStyleSection, "IconRefreshTime", ""), "1");
    EXPECT_TRUE(page.tmrUpdateDesktopIconStyle.Enabled());
    page.chkChangeIconStyle.UserClick();
    page.SetRefreshTime(7);  // as the settings loader sets it
    EXPECT_FALSE(page.tmrUpdateDesktopIconStyle.Enabled());
    EXPECT_EQ(page.tmrUpdateDesktopIconStyle.Interval(), 7000);
}

TEST_F(IconUtilsPageTest, StoredTransparencyAppliesAtLoadAndTheSavedBackgroundIsReadAfterIt) {
    Style("EnableIconStyle", "1");
    Style("TransparentTitle", "1");
    Style("BGColour", "-1");
    Style("IconForeColour", std::to_string(kWhite));
    IconUtilsPage& page = StartOnPage();
    EXPECT_EQ(page.picBGPicker.BackColour(), 0u) << "-1 shows as a black swatch";
    EXPECT_EQ(page.picForePicker.BackColour(), kWhite);
    EXPECT_EQ(desktopStyle.sent, (std::vector<Sent>{{"back", kNoColour}}));
    EXPECT_EQ(page.SavedDesktopBackColour(), kNoColour);
    EXPECT_TRUE(page.tmrUpdateDesktopIconStyle.Enabled());

    // Unticking sends the saved colour, transparent again; the next tick puts the chosen one.
    desktopStyle.sent.clear();
    page.chkTransparentBG.UserClick();
    EXPECT_EQ(desktopStyle.sent, (std::vector<Sent>{{"back", kNoColour}}));
    forms.AdvanceClock(1000);
    EXPECT_EQ(desktopStyle.sent,
              (std::vector<Sent>{{"back", kNoColour}, {"text", kWhite}, {"back", 0}}));
}

TEST_F(IconUtilsPageTest, ACommandLineStartRunsTheSwitchOnceMore) {
    Style("EnableIconStyle", "1");
    Style("IconRefreshTime", "4");
    AddPattern("Here", testcases::PatternText(1024, 768, {}));
    IconUtilsPage& page = StartOnPage("LOAD Here");
    EXPECT_TRUE(page.tmrUpdateDesktopIconStyle.Enabled());
    EXPECT_EQ(page.tmrUpdateDesktopIconStyle.Interval(), 4000);
    EXPECT_EQ(StyleControlsEnabled(), kAllEnabled);
    EXPECT_EQ(store.Get(kIconStyleSection, "EnableIconStyle", ""), "1");

    // Switched off, the feature leaves the desktop and the stored style as they are.
    Style("EnableIconStyle", "0");
    Style("TransparentTitle", "1");
    desktopStyle.sent.clear();
    const auto stored = StoredStyle();
    StartOnPage("LOAD Here");
    form->Unload();
    EXPECT_TRUE(desktopStyle.sent.empty());
    EXPECT_EQ(StoredStyle(), stored);
}

TEST_F(IconUtilsPageTest, ThePickersSendShowAndSaveAndACancelChangesNothing) {
    Style("EnableIconStyle", "1");
    IconUtilsPage& page = StartOnPage();
    const auto before = StoredStyle();

    // Cancelled, each of the three: nothing sent, nothing written.
    page.picForePicker.UserClick();
    page.picBGPicker.UserClick();
    page.lblIconFont.UserClick();
    EXPECT_EQ(dialogs.colourDialogs, (std::vector<std::uint32_t>{kWhite, kTeal}));
    EXPECT_EQ(dialogs.fontDialogs.size(), 1u);
    EXPECT_TRUE(desktopStyle.sent.empty());
    EXPECT_TRUE(desktopStyle.fonts.empty());
    EXPECT_EQ(StoredStyle(), before);
    EXPECT_EQ(page.picForePicker.BackColour(), 0u);

    dialogs.colourAnswers = {kRed};
    page.picForePicker.UserClick();
    EXPECT_EQ(desktopStyle.sent, (std::vector<Sent>{{"text", kRed}}));
    EXPECT_EQ(page.picForePicker.BackColour(), kRed);
    EXPECT_EQ(store.Get(kIconStyleSection, "IconForeColour", ""), "255");

    dialogs.colourAnswers = {kNavy};
    page.picBGPicker.UserClick();
    EXPECT_EQ(page.picBGPicker.BackColour(), kNavy);
    EXPECT_EQ(store.Get(kIconStyleSection, "BGColour", ""), "8388608");

    // While the captions are transparent the dialog opens on the colour it last held.
    desktopStyle.backColour = kNoColour;
    dialogs.colourAnswers = {std::nullopt};
    page.picBGPicker.UserClick();
    EXPECT_EQ(dialogs.colourDialogs.back(), kNavy);

    // The font dialog opens on the invisible box's font and the choice goes everywhere.
    const platform::FontChoice chosen{"DejaVu Sans", 10.5, true, false};
    dialogs.fontAnswers = {chosen};
    page.lblIconFont.UserClick();
    EXPECT_EQ(desktopStyle.fonts, std::vector<platform::FontChoice>{chosen});
    const forms::Font shown{"DejaVu Sans", 10.5, true, false};
    EXPECT_EQ(page.chkTester.GetFont(), shown);
    EXPECT_EQ(page.lblIconFont.GetFont(), shown);
    EXPECT_FALSE(page.chkTester.Visible());
    EXPECT_EQ(store.Get(kIconStyleSection, "FontName", ""), "DejaVu Sans");
    EXPECT_EQ(store.Get(kIconStyleSection, "FontBold", ""), "True");
    EXPECT_EQ(store.Get(kIconStyleSection, "FontItalic", ""), "False");
    EXPECT_EQ(store.Get(kIconStyleSection, "FontSize", ""), "10.5");
    dialogs.fontAnswers = {std::nullopt};
    page.lblIconFont.UserClick();
    EXPECT_EQ(dialogs.fontDialogs.back(), chosen);
}

TEST_F(IconUtilsPageTest, TheStoredFontShowsOnTheLabelOnlyAndRestartsReadWhatWasSaved) {
    Style("FontName", "Verdana");
    Style("FontItalic", "True");
    Style("FontSize", "12.5");
    IconUtilsPage& page = StartOnPage();
    EXPECT_EQ(page.lblIconFont.GetFont(), (forms::Font{"Verdana", 12.5, false, true}));
    EXPECT_TRUE(desktopStyle.fonts.empty()) << "not sent until the user picks one";

    page.chkChangeIconStyle.UserClick();
    dialogs.fontAnswers = {platform::FontChoice{"Tahoma", 9, false, false}};
    page.lblIconFont.UserClick();
    dialogs.colourAnswers = {kNavy};
    page.picForePicker.UserClick();
    page.sldIconRefreshTime.UserMove(20);
    IconUtilsPage& again = StartOnPage();
    EXPECT_EQ(again.lblIconFont.GetFont(), (forms::Font{"Tahoma", 9, false, false}));
    EXPECT_EQ(again.picForePicker.BackColour(), kNavy);
    EXPECT_EQ(again.sldIconRefreshTime.Value(), 20);
    EXPECT_EQ(again.chkChangeIconStyle.Value(), 1);
}

}  // namespace
}  // namespace pellmark
