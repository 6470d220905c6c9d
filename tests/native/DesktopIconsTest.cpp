#include "patterns/DesktopIcons.h"

#include <gtest/gtest.h>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"

namespace pellmark {
namespace {

class DesktopIconsTest : public ::testing::Test {
  protected:
    DesktopIconsTest() {
        icons.OnIconCountText([this](const std::string& text) { countTexts.push_back(text); });
    }
    sim::SimDesktop desktop;
    sim::SimDialogs dialogs;
    DesktopIcons icons{desktop, dialogs};
    std::vector<std::string> countTexts;
};

TEST_F(DesktopIconsTest, ReadFillsTheTableInItemOrderAndMarksOffScreenIconsAndMoves) {
    desktop.icons = {{"Recycle Bin", 18, 2, 5}, {"Hidden", 1025, 40, 1}, {"Edge", 1024, 768, 2}};
    icons.ReadDesktopIcons();

    const DesktopIconTable& table = icons.Table();
    EXPECT_EQ(table.IconCount, 3);
    EXPECT_EQ(table.ScreenWidth, 1024);
    EXPECT_EQ(table.ScreenHeight, 768);
    EXPECT_EQ(table.ListViewWindow, desktop.listViewHandle);
    EXPECT_EQ(table.ImageListHandle, desktop.imageListHandle);
    ASSERT_EQ(table.Icons.size(), 3u);
    EXPECT_EQ(table.Icons[0], (DesktopIcon{"Recycle Bin", {18, 2}, 5, false}));
    EXPECT_EQ(table.Icons[1], (DesktopIcon{"Hidden", {1025, 40}, 1, true}));
    EXPECT_EQ(table.Icons[2], (DesktopIcon{"Edge", {1024, 768}, 2, false}));
    EXPECT_EQ(countTexts, std::vector<std::string>{"3 icons"});
    EXPECT_TRUE(dialogs.shown.empty());

    // The resolution, the auto-arrange flag and a move.
    desktop.screen = {1280, 1024};
    EXPECT_EQ(icons.GetScreenResolution(), "1280x1024");
    EXPECT_EQ(icons.Table().ScreenWidth, 1280);

    desktop.icons = {{"A", 1, 2, 0}};
    icons.ReadDesktopIcons();
    icons.MoveDesktopIcon(0, -5, 200);
    EXPECT_EQ(desktop.icons[0].x, -5);
    EXPECT_EQ(desktop.icons[0].y, 200);

    desktop.autoArrange = true;
    EXPECT_TRUE(icons.IsDesktopAutoArrange());
    desktop.present = false;
    EXPECT_FALSE(icons.IsDesktopAutoArrange());
    EXPECT_EQ(icons.FindDesktopListView(), 0u);
}

TEST_F(DesktopIconsTest, NoIconsOrNoTransferGiveAnEmptyTableAndTheirMessage) {
    for (const bool present : {true, false}) {
        desktop.present = present;
        dialogs.shown.clear();
        countTexts.clear();
        icons.ReadDesktopIcons();
        EXPECT_EQ(icons.Table().IconCount, 0);
        EXPECT_TRUE(icons.Table().Icons.empty());
        EXPECT_EQ(dialogs.Said(),
                  (std::vector<std::string>{"None Error occurred: No icons found"}));
        EXPECT_EQ(countTexts, std::vector<std::string>{"0 icons"});
    }

    // A transfer that cannot be made.
    desktop.present = true;
    desktop.icons = {{"A", 1, 2, 0}};
    icons.ReadDesktopIcons();
    dialogs.shown.clear();
    desktop.transferFailure = {8, "Not enough memory resources are available."};
    icons.ReadDesktopIcons();
    EXPECT_EQ(dialogs.Said(), (std::vector<std::string>{
                                  "Critical Err: 8\nNot enough memory resources are available.\n\n"
                                  "Problem finding desktop icons "}));
    EXPECT_EQ(icons.Table().IconCount, 0);
}

}  // namespace
}  // namespace pellmark
