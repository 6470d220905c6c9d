// Auto-hide: the icons hide at the first look with the pointer away and show once it has
// rested on the desktop for the delay, whatever the tick count, and the tray menu's mark
// follows; then the page's switch and slider as a user works them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/AutoHide.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopStyle.h"
#include "tests/native/ProgramHarness.h"

namespace pellmark {
namespace {

// Ticks 100 ms apart from `start` (wrapping as the system's count does); the pointer is on
// the desktop from the second tick on. Returns the index of the tick that showed the
// icons, -1 when none did.
int TickThatShows(std::uint32_t start, std::int16_t delay, int ticks) {
    sim::SimDesktop desktop;
    sim::SimDesktopStyle pointer;
    forms::MenuItem mark("mnuShowDesktop");
    mark.checked = true;
    AutoHide hide(pointer, desktop, mark);
    hide.SetShowDelay(delay);
    pointer.pointerOnDesktop = false;
    pointer.tickCount = start;
    hide.Tick();
    EXPECT_FALSE(desktop.listViewShown);
    EXPECT_FALSE(mark.checked);
    pointer.pointerOnDesktop = true;
    for (int i = 1; i < ticks; ++i) {
        pointer.tickCount = start + static_cast<std::uint32_t>(i) * 100;
        hide.Tick();
        if (desktop.listViewShown) {
            EXPECT_TRUE(mark.checked);
            return i - 1;  // ticks after the one that saw the pointer arrive
        }
    }
    return -1;
}

TEST(AutoHide, TheIconsShowAfterTheDelayWhateverTheTickCount) {
    const std::vector<std::uint32_t> starts = {
        0,           1,           2,           99,          1000,        0x7FFFFF00u, 0x7FFFFFFFu,
        0x80000000u, 0x80000001u, 0xFFFFFF00u, 0xFFFFFFFFu, 0xFFFFD8F0u, 0x7FFFD8F0u};
    // Delay 0: the second tick on the desktop. Delay n: the first tick at or after arrival
    // plus n seconds, which at 100 ms a tick is the (10 n)th after arrival.
    const std::vector<std::pair<std::int16_t, int>> delays = {{0, 1}, {1, 10}, {2, 20}, {10, 100}};
    for (const std::uint32_t start : starts) {
        for (const auto& [delay, expected] : delays) {
            EXPECT_EQ(TickThatShows(start, delay, 200), expected)
                << "start " << start << ", delay " << delay;
        }
    }
}

TEST(AutoHide, LeavingForOneTickRestartsTheCountAndTheMarkIsShared) {
    sim::SimDesktop desktop;
    sim::SimDesktopStyle pointer;
    forms::MenuItem mark("mnuShowDesktop");
    mark.checked = true;
    AutoHide hide(pointer, desktop, mark);
    hide.SetShowDelay(1);
    pointer.tickCount = 0xFFFFFC00u;  // the count wraps during this test

    const auto tick = [&](bool onDesktop) {
        pointer.pointerOnDesktop = onDesktop;
        hide.Tick();
        pointer.tickCount += 100;
    };
    tick(true);
    EXPECT_TRUE(hide.MouseOverDesktop());
    EXPECT_EQ(hide.HoverStartTick(), static_cast<std::int32_t>(0xFFFFFC00u));
    EXPECT_EQ(hide.HoverDeadlineTick(), static_cast<std::int32_t>(0xFFFFFC00u + 1000));
    EXPECT_TRUE(desktop.listViewShown) << "shown already: the mark says so, nothing to do";
    tick(false);
    EXPECT_FALSE(desktop.listViewShown);
    EXPECT_FALSE(mark.checked);
    EXPECT_FALSE(hide.MouseOverDesktop());
    EXPECT_EQ(hide.HoverStartTick(), 1);
    EXPECT_EQ(hide.HoverDeadlineTick(), 1);
    for (int i = 0; i < 9; ++i) {
        tick(true);
    }
    tick(false);  // one tick away, just before the delay was up
    for (int i = 0; i < 10; ++i) {
        tick(true);
        EXPECT_FALSE(desktop.listViewShown) << i;
    }
    tick(true);
    EXPECT_TRUE(desktop.listViewShown);
    EXPECT_TRUE(mark.checked);

    // The tray menu hid the icons (clearing the mark) while the pointer rests: the count is
    // over, so the next tick shows them again.
    mark.checked = false;
    desktop.ShowDesktopIcons(false);
    tick(true);
    EXPECT_TRUE(desktop.listViewShown);
    EXPECT_TRUE(mark.checked);

    // Hidden by hand while the pointer is away stays hidden, with no sends at all.
    mark.checked = false;
    desktop.ShowDesktopIcons(false);
    tick(false);
    EXPECT_FALSE(desktop.listViewShown);
}

class AutoHidePageTest : public ::testing::Test, public testcases::ProgramHarness {
  protected:
    AutoHidePageTest() {
        desktopStyle.ticks = [this] { return kBoot + static_cast<std::uint32_t>(forms.Now()); };
    }
    // 2^31 - 1 s: the signed tick count turns negative during the test.
    static constexpr std::uint32_t kBoot = 0x7FFFFC18u;
};

TEST_F(AutoHidePageTest, StoredAutoHideStartsTheTimerAndTheIconsFollowThePointer) {
    Setting("AutoHideDesktop", "True");
    Setting("ShowDelay", "2");
    ASSERT_TRUE(Start());
    form->Navigation().SideButtonClick(2);
    form->Navigation().TabClick(2);
    IconUtilsPage& page = form->iconUtils;
    EXPECT_EQ(page.chkAutoHideDesktop.Value(), 1);
    EXPECT_EQ(page.sldHideDesktopDelay.Value(), 2);
    EXPECT_TRUE(page.sldHideDesktopDelay.Enabled());
    EXPECT_TRUE(page.tmrAutoHideDesktop.Enabled());
    EXPECT_EQ(page.tmrAutoHideDesktop.Interval(), 100);
    EXPECT_TRUE(menus.mnuShowDesktop.checked);

    desktopStyle.pointerOnDesktop = false;
    forms.AdvanceClock(100);
    EXPECT_FALSE(desktop.listViewShown);
    EXPECT_FALSE(menus.mnuShowDesktop.checked);
    desktopStyle.pointerOnDesktop = true;
    forms.AdvanceClock(2000);  // arrival tick, then 1.9 s
    EXPECT_FALSE(desktop.listViewShown);
    forms.AdvanceClock(100);
    EXPECT_TRUE(desktop.listViewShown);
    EXPECT_TRUE(menus.mnuShowDesktop.checked);

    // The tray's Show Desktop and auto-hide share the mark.
    menus.mnuShowDesktop.Click();
    EXPECT_FALSE(desktop.listViewShown);
    EXPECT_FALSE(menus.mnuShowDesktop.checked);

    page.sldHideDesktopDelay.UserMove(7);
    EXPECT_EQ(store.Get(kSettingsSection, "ShowDelay", ""), "7");
    EXPECT_EQ(page.AutoHiding().ShowDelay(), 7);

    // Switching off brings the icons back at once and leaves the mark as it is.
    page.chkAutoHideDesktop.UserClick();
    EXPECT_TRUE(desktop.listViewShown);
    EXPECT_FALSE(menus.mnuShowDesktop.checked);
    EXPECT_FALSE(page.tmrAutoHideDesktop.Enabled());
    EXPECT_FALSE(page.sldHideDesktopDelay.Enabled());
    EXPECT_EQ(store.Get(kSettingsSection, "AutoHideDesktop", ""), "False");
}

TEST_F(AutoHidePageTest, EveryEndingShowsTheIconsAgain) {
    Setting("AutoHideDesktop", "True");
    ASSERT_TRUE(Start());
    desktopStyle.pointerOnDesktop = false;  // on Pellmark's own window, closing it
    forms.AdvanceClock(100);
    ASSERT_FALSE(desktop.listViewShown);
    form->UserClose();
    EXPECT_FALSE(form->Loaded());
    EXPECT_TRUE(desktop.listViewShown);

    // The tray's Exit, after its item hid them with auto-hide off.
    Setting("AutoHideDesktop", "False");
    ASSERT_TRUE(Start());
    menus.mnuShowDesktop.Click();
    ASSERT_FALSE(desktop.listViewShown);
    dialogs.answers = {platform::MessageAnswer::Yes};
    menus.mnuExitFromSysTray.Click();
    EXPECT_FALSE(form->Loaded());
    EXPECT_TRUE(desktop.listViewShown);

    // A command-line run that ends by itself, with auto-hide on and the icons as a killed
    // run left them.
    Setting("AutoHideDesktop", "True");
    Setting("CloseWhenRestored", "True");
    desktop.listViewShown = false;
    ASSERT_TRUE(Start("LOAD Nothing"));
    EXPECT_FALSE(form->Loaded());
    EXPECT_TRUE(desktop.listViewShown);
}

TEST_F(AutoHidePageTest, AStartWithAutoHideOffShowsIconsAnEarlierRunLeftHidden) {
    desktop.listViewShown = false;
    ASSERT_TRUE(Start());
    EXPECT_TRUE(desktop.listViewShown);
    EXPECT_FALSE(form->iconUtils.tmrAutoHideDesktop.Enabled());
    EXPECT_FALSE(form->iconUtils.sldHideDesktopDelay.Enabled());
    // The absent delay is two seconds, read back and saved by the load.
    EXPECT_EQ(form->iconUtils.sldHideDesktopDelay.Value(), 2);
    EXPECT_EQ(store.Get(kSettingsSection, "ShowDelay", ""), "2");
    EXPECT_EQ(store.Get(kSettingsSection, "AutoHideDesktop", ""), "False");
}

}  // namespace
}  // namespace pellmark
