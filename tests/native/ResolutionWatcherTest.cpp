#include "patterns/ResolutionWatcher.h"

#include <gtest/gtest.h>

#include <string>

#include "patterns/PatternFile.h"
#include "patterns/TrayPatternRestore.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimRegistry.h"
#include "settings/Messages.h"

namespace pellmark {
namespace {

class WatcherTest : public ::testing::Test {
  protected:
    WatcherTest() {
        // "Hidden" stood at x 100 and was pushed off the screen by the screen's twips.
        desktop.icons = {{"Recycle Bin", 18, 2, 0}, {"Hidden", 100 + 15360, 300, 1}};
        icons.ReadDesktopIcons();
        EXPECT_TRUE(SavePattern(folder + "Home.ips", icons, files, dialogs));
        desktop.icons[0].x = 500;
        icons.ReadDesktopIcons();
    }

    sim::SimDesktop desktop;
    sim::SimDialogs dialogs;
    sim::SimFiles files;
    sim::SimRegistry registry;
    SettingsStore settings{registry};
    DesktopIcons icons{desktop, dialogs};
    PatternRestore restore{icons, files, dialogs};
    ResolutionWatcher watcher{icons, restore, settings, dialogs};
    const std::string folder = "C:\\Pellmark\\SavedPositions\\";
};

TEST_F(WatcherTest, RestoresOnceWhenTheResolutionChangesAndNotWhileItStays) {
    watcher.Start(folder, "Home");
    EXPECT_EQ(watcher.LastResolution(), "1024x768");
    EXPECT_TRUE(watcher.Tick());
    EXPECT_EQ(desktop.icons[0].x, 500) << "no change, no restore";

    desktop.screen = {800, 600};
    EXPECT_TRUE(watcher.Tick());
    EXPECT_EQ(watcher.LastResolution(), "800x600");
    // Saved at 1024 wide, now 800: 18 / 1.28 = 14.06.
    EXPECT_EQ(desktop.icons[0].x, 14);
    EXPECT_EQ(desktop.icons[0].y, 2);
    // The hidden icon is pushed by the new screen's twips: (100 + 12000) / 1.28.
    EXPECT_EQ(desktop.icons[1].x, 9453);
    EXPECT_EQ(desktop.icons[1].y, 234);

    desktop.icons[0].x = 300;
    const int reads = desktop.readCount;
    EXPECT_TRUE(watcher.Tick());
    EXPECT_TRUE(watcher.Tick());
    EXPECT_EQ(desktop.icons[0].x, 300) << "the resolution stayed";
    EXPECT_EQ(desktop.readCount, reads);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(WatcherTest, AMissingPatternSwitchesTheWatcherAndItsSettingOff) {
    settings.Save(kSettingsSection, "RestoreOnResChange", "1");
    watcher.Start(folder, "Gone");
    desktop.screen = {800, 600};
    EXPECT_FALSE(watcher.Tick());
    EXPECT_EQ(dialogs.Said(), (std::vector<std::string>{"Exclamation [File not found] " +
                                                        MessageText("0936") + " 'Gone'"}));
    EXPECT_EQ(settings.Get(kSettingsSection, "RestoreOnResChange", "x"), "0");
    EXPECT_EQ(watcher.LastResolution(), "800x600");

    desktop.screen = {1024, 768};
    EXPECT_FALSE(watcher.Tick());
    EXPECT_EQ(dialogs.shown.size(), 1u) << "a stopped watcher stays quiet";
}

TEST_F(WatcherTest, TheTrayCommandRestoresByCaptionAndMarksHiddenIcons) {
    std::vector<bool> marks;
    const auto mark = [&](const DesktopIconTable& table) {
        marks.clear();
        for (const DesktopIcon& icon : table.Icons) {
            marks.push_back(icon.OffScreen);
        }
    };
    RestorePatternFromMenu("", "C:\\Pellmark", restore, icons.Table(), mark);
    EXPECT_EQ(desktop.icons[0].x, 500);
    EXPECT_TRUE(marks.empty()) << "an empty caption does nothing";

    desktop.icons[1].x = 40;  // brought back on screen since saving
    icons.ReadDesktopIcons();
    RestorePatternFromMenu("Home", "C:\\Pellmark", restore, icons.Table(), mark);
    EXPECT_EQ(desktop.icons[0].x, 18);
    EXPECT_EQ(marks, (std::vector<bool>{false, true}));

    // A program folder at a drive's root already ends with a backslash.
    RestorePatternFromMenu("Home", "C:\\", restore, icons.Table(), mark);
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"Exclamation File: C:\\SavedPositions\\Home.ips not found. "
                                        "Unable to restore pattern."}));
}

}  // namespace
}  // namespace pellmark
