// The main window's navigation: sections, tabs, titles, the help panel and the button
// pictures, driven through a recording view.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "chrome/MainNavigation.h"

namespace pellmark::chrome {
namespace {

class RecordingView final : public NavigationView {
  public:
    void SetPageVisible(Page page, bool visible) override { visible_[Index(page)] = visible; }
    bool PageVisible(Page page) const override { return visible_[Index(page)]; }
    void ShowPage(Page page, const forms::Bounds& area) override {
        visible_[Index(page)] = true;
        front = page;
        EXPECT_EQ(area, (forms::Bounds{56, 80, 377, 225}));
    }
    void SetTitle(const std::string& text) override { title = text; }
    void SetInfoText(const std::string& text) override { info = text; }
    void SetTabStrip(int section, int tab) override { strip = {section, tab}; }
    void SetSideButtonPressed(int index, bool pressed) override {
        events.push_back("side " + std::to_string(index) + (pressed ? " down" : " up"));
    }
    void SetMenuButtonPressed(bool pressed) override {
        events.push_back(pressed ? "menu down" : "menu up");
    }
    void ShowAboutBox() override { events.push_back("about"); }
    void ShowMainMenu() override { events.push_back("mnuMain"); }

    std::vector<Page> Visible() const {
        std::vector<Page> pages;
        for (int i = 0; i < kPageCount; ++i) {
            if (visible_[static_cast<std::size_t>(i)]) {
                pages.push_back(static_cast<Page>(i));
            }
        }
        return pages;
    }

    std::string title;
    std::string info;
    std::array<int, 2> strip{-1, -1};
    Page front = Page::Introduction;
    std::vector<std::string> events;

  private:
    static std::size_t Index(Page page) { return static_cast<std::size_t>(page); }
    std::array<bool, kPageCount> visible_{};
};

class MainNavigationTest : public ::testing::Test {
  protected:
    RecordingView view;
    MainNavigation navigation{view};
};

TEST_F(MainNavigationTest, SideButtonsAndTabsShowOnePageWithItsTitle) {
    struct Case {
        int side;
        int tab;  // -1: the side button alone
        int section;
        Page page;
        std::array<int, 2> strip;
        const char* title;
    };
    const std::vector<Case> cases = {
        {0, -1, 0, Page::Introduction, {0, 0}, "Introduction"},
        {1, -1, 1, Page::SavePositions, {1, 0}, "Icon Positions"},
        {1, 1, 1, Page::ShowHideIcons, {1, 1}, "Show and Hide Icons"},
        {1, 2, 1, Page::RemoveIcons, {1, 2}, "Special Desktop Icons"},
        {2, -1, 2, Page::IconSize, {2, 0}, "Icon Size and Cache"},
        {2, 1, 2, Page::Miscellaneous, {2, 1}, "Explorer and Wallpaper"},
        {2, 2, 2, Page::IconUtilities, {2, 2}, "Captions and Auto-Hide"},
        {2, 0, 2, Page::IconSize, {2, 0}, "Icon Size and Cache"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        navigation.SideButtonClick(c.side);
        if (c.tab >= 0) {
            navigation.TabClick(c.tab);
        }
        EXPECT_EQ(navigation.Section(), c.section);
        EXPECT_EQ(view.Visible(), std::vector<Page>{c.page});
        EXPECT_EQ(view.strip, c.strip);
        EXPECT_EQ(view.title, c.title);
    }
}

TEST_F(MainNavigationTest, TabsDoNothingOnTheIntroductionAndUnknownButtonsShowNothing) {
    navigation.SideButtonClick(0);
    for (int tab : {0, 1, 2, 3}) {
        navigation.TabClick(tab);
    }
    EXPECT_EQ(view.Visible(), std::vector<Page>{Page::Introduction});
    EXPECT_EQ(view.title, "Introduction");
    EXPECT_EQ(view.strip, (std::array<int, 2>{0, 0}));

    navigation.SideButtonClick(3);  // no such button: nothing changes
    EXPECT_EQ(navigation.Section(), 0);
    EXPECT_EQ(view.Visible(), std::vector<Page>{Page::Introduction});

    navigation.SideButtonClick(1);
    navigation.TabClick(3);  // no such tab: every page hidden, nothing shown
    EXPECT_TRUE(view.Visible().empty());
    EXPECT_EQ(navigation.Section(), 1);
}

TEST_F(MainNavigationTest, TitleOpensTheAboutBoxOnTheIntroductionAndHelpElsewhere) {
    navigation.SideButtonClick(0);
    navigation.TitleClick();
    EXPECT_EQ(view.events, std::vector<std::string>{"about"});
    EXPECT_EQ(view.Visible(), std::vector<Page>{Page::Introduction});

    navigation.SideButtonClick(2);
    navigation.TabClick(1);
    navigation.TitleClick();
    EXPECT_EQ(view.info,
              "Switch Explorer's desktop settings on and off, and choose the wallpaper and how "
              "it is placed on the screen.");
    EXPECT_EQ(view.Visible(), (std::vector<Page>{Page::Miscellaneous, Page::Info}));
    EXPECT_EQ(view.front, Page::Info);
    EXPECT_EQ(view.title, "Explorer and Wallpaper");  // the title stays
    EXPECT_EQ(view.events.size(), 1u);

    navigation.DoneClick();
    EXPECT_EQ(view.Visible(), std::vector<Page>{Page::Miscellaneous});
}

TEST_F(MainNavigationTest, EveryPageHasItsOwnHelp) {
    const std::vector<std::pair<int, int>> tabs = {{1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}};
    std::vector<std::string> seen;
    for (const auto& [side, tab] : tabs) {
        navigation.SideButtonClick(side);
        navigation.TabClick(tab);
        view.info.clear();
        navigation.TitleClick();
        EXPECT_EQ(view.info, PageHelp(PageOfTab(side, tab)));
        EXPECT_FALSE(view.info.empty());
        for (const std::string& earlier : seen) {
            EXPECT_NE(view.info, earlier);
        }
        seen.push_back(view.info);
    }
    EXPECT_EQ(PageHelp(Page::SavePositions),
              "Type a name and click Save to remember where the desktop icons stand now. "
              "Select a saved pattern to see it on the small screen, and click Load to put the "
              "icons back there. Delete removes the selected pattern; F5 reads the list again.");
}

TEST_F(MainNavigationTest, AnyNavigationHidesTheHelpPanel) {
    const std::vector<std::pair<const char*, std::function<void()>>> moves = {
        {"side button 1", [this] { navigation.SideButtonClick(1); }},
        {"side button 0", [this] { navigation.SideButtonClick(0); }},
        {"tab 2", [this] { navigation.TabClick(2); }},
        {"the same tab", [this] { navigation.TabClick(0); }},
    };
    for (const auto& [what, move] : moves) {
        SCOPED_TRACE(what);
        navigation.SideButtonClick(1);
        navigation.TitleClick();
        ASSERT_TRUE(view.PageVisible(Page::Info));
        move();
        EXPECT_FALSE(view.PageVisible(Page::Info));
        EXPECT_EQ(view.Visible().size(), 1u);
    }
}

TEST_F(MainNavigationTest, ButtonPicturesFollowTheMouseAndTheMenuButtonOpensTheMenu) {
    navigation.SideButtonMouseDown(2);
    navigation.SideButtonMouseUp(2);
    navigation.MenuMouseDown();
    navigation.MenuMouseUp();
    navigation.MenuClick();
    EXPECT_EQ(view.events, (std::vector<std::string>{"side 2 down", "side 2 up", "menu down",
                                                     "menu up", "mnuMain"}));
}

}  // namespace
}  // namespace pellmark::chrome
