#include "desktop/ShowHideIconsPage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimForms.h"
#include "tests/common/PatternText.h"
#include "tests/native/ProgramHarness.h"

namespace pellmark {
namespace {

class ShowHideIconsTest : public ::testing::Test {
  protected:
    ShowHideIconsTest() {
        form.Show();
        page.Box().SetVisible(true);  // the user reaches the rows only on a shown page
    }

    void Fill(std::vector<sim::SimIcon> icons) {
        desktop.icons = std::move(icons);
        desktopIcons.ReadDesktopIcons();
        page.FillShowHideList();
    }
    [[nodiscard]] std::vector<IconPosition> Positions() const {
        std::vector<IconPosition> positions;
        for (const sim::SimIcon& icon : desktop.icons) {
            positions.push_back({icon.x, icon.y});
        }
        return positions;
    }
    // Each row as "x" (ticked and dimmed) or "." (clear and plain); "?" when the two differ.
    [[nodiscard]] std::string Marks() const {
        std::string marks;
        for (int row = 0; row < page.ListView1.ItemCount(); ++row) {
            const forms::ListViewItem& item = page.ListView1.Item(row);
            marks += item.checked != item.ghosted ? '?' : item.checked ? 'x' : '.';
        }
        return marks;
    }
    void Toggle(int row) { page.ListView1.UserToggleCheck(row); }
    void HeaderClick() { page.ListView1.UserClickColumn(1); }

    sim::SimFormsBackend backend;
    forms::Form form{backend, "Form1"};
    sim::SimDesktop desktop;
    sim::SimDialogs dialogs;
    DesktopIcons desktopIcons{desktop, dialogs};
    ShowHideIconsPage page{form, desktopIcons, desktop};
};

TEST_F(ShowHideIconsTest, TheListHoldsEveryIconOfTheLoadsReadAndFetchesPicturesWhenFirstShown) {
    desktop.pictures[7] = platform::IconPixels(32 * 32, 0xFF0000FF);
    page.Box().SetVisible(false);
    Fill({{"Recycle Bin", 18, 2, 7}, {"Notes.txt", 18, 80, 3}});
    const int reads = desktop.readCount;
    ASSERT_EQ(page.ListView1.ItemCount(), 2);
    EXPECT_EQ(page.ListView1.Item(1).texts, (std::vector<std::string>{"", "Notes.txt"}));
    EXPECT_EQ(page.ListView1.Item(1).image, 1);
    EXPECT_EQ(Marks(), "..");
    EXPECT_EQ(page.ListView1.Images(), nullptr) << "no empty image list is attached";
    EXPECT_EQ(desktop.pictureReads, 0) << "pictures wait for the page to show";

    page.Box().SetVisible(true);
    page.PageShown();
    page.PageShown();
    EXPECT_EQ(desktop.pictureReads, 1);
    EXPECT_EQ(desktop.readCount, reads) << "the list is filled from the load's read";
    const auto& images = page.ListView1.Images();
    ASSERT_NE(images, nullptr);
    ASSERT_EQ(images->images.size(), 2U);
    EXPECT_EQ(images->width, 45);
    EXPECT_EQ(images->images[0].ColourAt(10 + 16, 16), 0x0000FFu) << "its own picture at x 10";
    EXPECT_TRUE(images->images[0].Large().Empty()) << "kept at the list's size: nothing more";
    for (const std::uint32_t pixel : images->images[1].Pixels()) {
        ASSERT_EQ(pixel >> 24, 0U) << "no picture found: an empty one, never another's";
    }
}

TEST_F(ShowHideIconsTest, PicturesKeptLargerForTheScreenAreShownFromThatSize) {
    // At 144 DPI the desktop keeps its pictures 48 pixels square: red on the left half,
    // blue on the right, so a picture stretched or put out of place shows.
    platform::IconPixels large(48 * 48);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            large[static_cast<std::size_t>(y * 48 + x)] = x < 24 ? 0xFF0000FF : 0xFFFF0000;
        }
    }
    desktop.pictures[7] = large;
    Fill({{"Recycle Bin", 18, 2, 7}});
    page.Box().SetVisible(true);
    page.PageShown();
    EXPECT_EQ(desktop.pictureReads, 2) << "the kept size, then the list's for 96 DPI";
    const auto& images = page.ListView1.Images();
    ASSERT_NE(images, nullptr);
    const forms::Bitmap& picture = images->images.at(0);
    ASSERT_EQ(picture.Width(), 45);
    EXPECT_EQ(picture.ColourAt(10 + 5, 16), 0x0000FFu);
    EXPECT_EQ(picture.ColourAt(10 + 26, 16), 0xFF0000u);
    const forms::Bitmap drawn = picture.Large();
    ASSERT_EQ(drawn.Width(), 68) << "45 by 32 at 144 DPI";
    ASSERT_EQ(drawn.Height(), 48);
    const auto at = [&](int x, int y) {
        return drawn.Pixels()[static_cast<std::size_t>(y * drawn.Width() + x)];
    };
    EXPECT_EQ(at(14, 24) >> 24, 0u) << "15 pixels in, as 10 at 96 DPI";
    EXPECT_EQ(at(15, 24), 0xFF0000FFu);
    EXPECT_EQ(at(15 + 23, 24), 0xFF0000FFu) << "the kept pixels, one for one";
    EXPECT_EQ(at(15 + 24, 24), 0xFFFF0000u);
    EXPECT_EQ(at(15 + 47, 47), 0xFFFF0000u);
    EXPECT_EQ(at(15 + 48, 24) >> 24, 0u);
}

TEST_F(ShowHideIconsTest, TickingPushesTheIconAScreenOfTwipsRightAndClearingBringsItBack) {
    struct Case {
        platform::ScreenSize screen;
        int dpi;
        IconPosition hidden;
    };
    const Case cases[] = {
        {{1024, 768}, 96, {15460, 50}},   // 15 twips a pixel
        {{1024, 768}, 144, {10340, 50}},  // 10 twips a pixel
        {{2560, 1440}, 96, {38500, 50}},  // beyond 16 bits: kept whole
    };
    for (const Case& c : cases) {
        desktop.screen = c.screen;
        desktop.dpi = c.dpi;
        Fill({{"Budget.xlsx", 100, 50, 0}, {"Other", 300, 50, 0}});
        Toggle(0);
        EXPECT_EQ(Positions()[0], c.hidden) << c.screen.width << " at " << c.dpi;
        EXPECT_EQ(Positions()[1], (IconPosition{300, 50}));
        EXPECT_EQ(Marks(), "x.");
        Toggle(0);
        EXPECT_EQ(Positions()[0], (IconPosition{100, 50}));
        EXPECT_EQ(Marks(), "..");
    }
}

TEST_F(ShowHideIconsTest, TheHeaderClickAndARestoreMoveOnlyTheRowsWhoseStateChanges) {
    Fill({{"A", 10, 10, 0}, {"B", 10, 90, 0}, {"C", 10, 170, 0}});
    Toggle(1);  // B hidden by hand
    const std::vector<IconPosition> start{{10, 10}, {15370, 90}, {10, 170}};
    ASSERT_EQ(Positions(), start);

    desktop.moveBatches.clear();
    HeaderClick();  // row 1 is clear: every row ticked
    EXPECT_EQ(Marks(), "xxx");
    EXPECT_EQ(Positions(), (std::vector<IconPosition>{{15370, 10}, {15370, 90}, {15370, 170}}))
        << "B, hidden already, is not pushed a second screen away";
    ASSERT_EQ(desktop.moveBatches.size(), 1U) << "one request for all";
    EXPECT_EQ(desktop.moveBatches[0].size(), 2U);

    HeaderClick();  // row 1 is ticked: every row cleared
    EXPECT_EQ(Marks(), "...");
    EXPECT_EQ(Positions(), (std::vector<IconPosition>{{10, 10}, {10, 90}, {10, 170}}));

    Toggle(0);
    Toggle(2);
    HeaderClick();  // "x.x": row 1 ticked decides for all
    EXPECT_EQ(Marks(), "...");
    EXPECT_EQ(Positions(), (std::vector<IconPosition>{{10, 10}, {10, 90}, {10, 170}}));

    // After a restore the marks follow the off-screen flags without moving anything.
    Fill({{"A", 10, 10, 0}, {"B", 10, 90, 0}, {"C", 10, 170, 0}});
    desktop.icons = {{"A", 2000, 10, 0}, {"Renamed", 2000, 90, 0}, {"C", 10, 170, 0}};
    desktopIcons.ReadDesktopIcons();
    desktop.moveBatches.clear();

    page.MarkHiddenIconsWhereCaptionsMatch(desktopIcons.Table());  // the Load button
    EXPECT_EQ(Marks(), "x..") << "B's row names another icon now: left alone";
    page.MarkHiddenIcons(desktopIcons.Table());  // the tray's restore
    EXPECT_EQ(Marks(), "xx.");
    EXPECT_TRUE(desktop.moveBatches.empty()) << "setting a box from code moves nothing";
}

TEST_F(ShowHideIconsTest, AnIconIsNeverPushedTwiceNorARowActedOnForAnotherIcon) {
    // Hidden before the program started (a restore put it there): ticking its row only
    // marks it; clearing brings it back.
    Fill({{"Far", 40 + 15360, 40, 0}, {"Near", 40, 40, 0}});
    Toggle(0);
    EXPECT_EQ(Positions()[0], (IconPosition{40 + 15360, 40}));
    EXPECT_EQ(Marks(), "x.");
    Toggle(0);
    EXPECT_EQ(Positions()[0], (IconPosition{40, 40}));

    // Off the screen but never pushed (on a monitor the list does not know, below the
    // bottom edge): clearing its row leaves it, rather than sending it off the left edge.
    Fill({{"Right", 1100, 40, 0}, {"Below", 40, 900, 0}, {"Near", 40, 40, 0}});
    Toggle(0);
    Toggle(0);
    Toggle(1);
    Toggle(1);
    EXPECT_EQ(Positions(), (std::vector<IconPosition>{{1100, 40}, {40, 900}, {40, 40}}));
    // With the monitors known, an icon on the second one is on screen, and its row's
    // push and return are exact.
    desktopIcons.UseMonitors([] {
        return std::vector<platform::MonitorRect>{{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
    });
    Fill({{"Second", 1500, 40, 0}, {"Near", 40, 40, 0}});
    EXPECT_EQ(Marks(), "..");
    Toggle(0);
    EXPECT_EQ(Positions()[0], (IconPosition{1500 + 15360, 40}));
    Toggle(0);
    EXPECT_EQ(Positions()[0], (IconPosition{1500, 40}));
    Fill({{"Far", 40 + 15360, 40, 0}, {"Near", 40, 40, 0}});

    // Explorer put a new icon first since the list was filled: the row still means "Near".
    desktop.icons.insert(desktop.icons.begin(), sim::SimIcon{"Arrived", 500, 500, 0});
    Toggle(1);
    EXPECT_EQ(desktop.icons[0].x, 500) << "the icon now at the row's index is not touched";
    EXPECT_EQ(desktop.icons[2].x, 40 + 15360);

    // An icon gone from the desktop moves nothing.
    desktop.icons.erase(desktop.icons.begin() + 2);
    desktop.moveBatches.clear();
    Toggle(1);
    EXPECT_TRUE(desktop.moveBatches.empty() || desktop.moveBatches[0].empty());

    // No rows: a header click reads nothing.
    Fill({});
    const int reads = desktop.readCount;
    HeaderClick();
    EXPECT_EQ(desktop.readCount, reads);
}

// The whole program: the load fills the list, the page shows the pictures, and the Load
// button and the tray's restore bring the marks in line.
TEST(ShowHideIconsProgram, TheLoadFillsTheListAndRestoresMarkIt) {
    testcases::ProgramHarness program;
    program.system.version = {148, 4, 10, 2222, 1, " A "};  // Windows 98: Load works
    program.desktop.icons = {{"Alpha", 10, 10, 1}, {"Beta", 10, 90, 2}};
    program.desktop.pictures[2] = platform::IconPixels(32 * 32, 0xFF00FF00);
    program.AddPattern(
        "Hidden", testcases::PatternText(
                      1024, 768, {{"Alpha", " 10 ", " 10 ", "True"}, {"Beta", " 10 ", " 90 "}}));
    ASSERT_TRUE(program.Start());
    ShowHideIconsPage& page = program.form->showHideIcons;
    ASSERT_EQ(page.ListView1.ItemCount(), 2);
    EXPECT_EQ(program.desktop.pictureReads, 0);

    program.form->Navigation().SideButtonClick(1);
    program.form->Navigation().TabClick(1);
    ASSERT_TRUE(page.Box().Visible());
    ASSERT_NE(page.ListView1.Images(), nullptr);
    EXPECT_EQ(page.ListView1.Images()->images[1].ColourAt(26, 16), 0x00FF00u);

    program.form->Navigation().TabClick(0);
    program.form->patterns.List1.UserSelect(0);
    program.form->patterns.cmdLoad.UserClick();
    EXPECT_EQ(program.desktop.icons[0].x, 10 + 15360);
    EXPECT_TRUE(page.ListView1.Item(0).checked);
    EXPECT_TRUE(page.ListView1.Item(0).ghosted);
    EXPECT_FALSE(page.ListView1.Item(1).checked);

    program.form->Navigation().TabClick(1);
    page.ListView1.UserToggleCheck(0);  // back on screen by hand
    EXPECT_EQ(program.desktop.icons[0].x, 10);
    EXPECT_FALSE(page.ListView1.Item(0).checked);
    program.forms.menuChoices = {"mnuPattern(0)"};  // the tray menu restores it again
    program.form->Commands().ShowTrayMenu();
    EXPECT_EQ(program.desktop.icons[0].x, 10 + 15360);
    EXPECT_TRUE(page.ListView1.Item(0).checked);
}

}  // namespace
}  // namespace pellmark
