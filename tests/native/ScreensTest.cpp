#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "patterns/DesktopIcons.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimDisplays.h"
#include "platform/sim/SimFiles.h"
#include "screens/Arrangement.h"
#include "screens/ScreenFollower.h"
#include "screens/ScreenLayouts.h"
#include "tests/common/PatternText.h"

namespace pellmark::screens {
namespace {

using platform::Disruption;
using platform::Monitor;
using Positions = std::vector<std::pair<int, int>>;

const Monitor kA{"MONITOR\\GSM5B08\\{4d36e96e}\\0001", {0, 0, 1024, 768}, 96, true};
const Monitor kLeft{"MONITOR\\DEL40F0\\{4d36e96e}\\0002", {-1280, 0, 0, 1024}, 96, false};
const Monitor kSmaller{kA.id, {0, 0, 800, 600}, 96, true};  // kA at another resolution

TEST(ArrangementKeyTest, StableForTheSameMonitorsAndDifferentForAnyChange) {
    const std::string key = ArrangementKey(MakeArrangement({kA, kLeft}));
    EXPECT_EQ(key.size(), 16u);
    EXPECT_EQ(ArrangementKey(MakeArrangement({kLeft, kA})), key);  // another order, a new boot
    Monitor wider = kA;
    wider.rect.right = 1280;
    Monitor sharper = kA;
    sharper.dpi = 144;
    Monitor other = kA;
    other.id = "MONITOR\\GSM5B09\\{4d36e96e}\\0001";
    for (const Monitor& changed : {wider, sharper, other}) {
        EXPECT_NE(ArrangementKey(MakeArrangement({changed, kLeft})), key);
    }
    EXPECT_NE(ArrangementKey(MakeArrangement({kA})), key);
    // A monitor without an area is no monitor; none at all is no arrangement.
    Monitor asleep = kLeft;
    asleep.rect = {0, 0, 0, 0};
    EXPECT_EQ(ArrangementKey(MakeArrangement({kA, asleep})), ArrangementKey(MakeArrangement({kA})));
    EXPECT_EQ(ArrangementKey(MakeArrangement({asleep})), "");

    EXPECT_EQ(DescribeArrangement(MakeArrangement({kA, kLeft})), "2 screens: 1280x1024 + 1024x768");
    EXPECT_EQ(DescribeArrangement(MakeArrangement({sharper})), "1 screen: 1024x768 at 144 dpi");
    std::vector<Monitor> wall;
    for (int i = 0; i < 17; ++i) {
        wall.push_back({"M" + std::to_string(i), {i * 1920, 0, i * 1920 + 1920, 1080}, 96, i == 0});
    }
    const Arrangement sixteen = MakeArrangement(wall);
    EXPECT_EQ(sixteen.monitors.size(), 16u);
    EXPECT_EQ(ArrangementKey(sixteen).size(), 16u);
    EXPECT_TRUE(DescribeArrangement(sixteen).starts_with("16 screens: 1920x1080 + 1920x1080 +"));
}

class ScreenFollowerTest : public ::testing::Test {
  protected:
    ScreenFollowerTest() {
        displays.monitors = {kA};
        desktop.icons = {
            {"Recycle Bin", 100, 100, 0}, {"Notes", 900, 700, 1}, {"Work", 500, 300, 2}};
        files.folders.insert("C:\\P\\SavedPositions\\");
    }

    // Ticks the follower whenever it asked to be ticked, up to `until`.
    void RunTo(std::uint32_t until) {
        while (next_ <= until) {
            now_ = next_;
            next_ = now_ + static_cast<std::uint32_t>(follower.Tick(now_));
        }
        now_ = until;
    }
    void Start() { next_ = follower.Start(0); }
    void Disrupt(std::uint32_t at, Disruption kind = Disruption::ExplorerRestart) {
        RunTo(at);
        next_ = std::min(next_, at + static_cast<std::uint32_t>(follower.Disrupt(kind, at)));
    }
    // A disruption at `at`, after which Explorer piles the icons up 0.7 s later; with
    // monitors, they change with it.
    void Upset(std::uint32_t at, Disruption kind = Disruption::ExplorerRestart) {
        Disrupt(at, kind);
        Stack(at + 700);
    }
    void ChangeTo(const std::vector<Monitor>& monitors, std::uint32_t at,
                  Disruption kind = Disruption::DisplayChange) {
        displays.monitors = monitors;
        Upset(at, kind);
    }
    // Explorer piles the icons up on the left, as it does after a change.
    void Stack(std::uint32_t at) {
        RunTo(at);
        for (std::size_t i = 0; i < desktop.icons.size(); ++i) {
            desktop.icons[i].x = 2;
            desktop.icons[i].y = 2 + 75 * static_cast<int>(i);
        }
    }
    void Move(std::uint32_t at, std::size_t icon, int x, int y) {
        RunTo(at);
        desktop.icons.at(icon).x = x;
        desktop.icons.at(icon).y = y;
    }
    Positions Places() const {
        Positions places;
        for (const sim::SimIcon& icon : desktop.icons) {
            places.emplace_back(icon.x, icon.y);
        }
        return places;
    }
    std::string LayoutFile(const std::vector<Monitor>& monitors) const {
        return "C:\\P\\SavedPositions\\Screens\\" + ArrangementKey(MakeArrangement(monitors)) +
               ".ips";
    }
    std::string Index() const {
        const auto found = files.files.find("C:\\P\\SavedPositions\\Screens\\Index.txt");
        return found == files.files.end() ? "" : found->second;
    }

    sim::SimDesktop desktop;
    sim::SimDialogs dialogs;
    sim::SimFiles files;
    sim::SimDisplays displays;
    DesktopIcons icons{desktop, dialogs};
    ScreenLayouts layouts{files, "C:\\P\\SavedPositions\\"};
    ScreenFollower follower{icons, displays, layouts, dialogs};
    const Positions start{{100, 100}, {900, 700}, {500, 300}};

  private:
    std::uint32_t now_ = 0;
    std::uint32_t next_ = 0;
};

TEST_F(ScreenFollowerTest, LearnsAfterStillnessAndPutsBackWhatExplorerMovesInTheWindow) {
    Start();
    RunTo(4500);
    EXPECT_EQ(files.files.count(LayoutFile({kA})), 0u) << "learned before 5 s of stillness";
    RunTo(5600);
    EXPECT_EQ(files.files.count(LayoutFile({kA})), 1u);
    EXPECT_NE(Index().find("\t1 screen: 1024x768\t"), std::string::npos) << Index();

    struct Case {
        const char* name;
        std::function<void(std::uint32_t t)> events;  // from t, the window's start
        int restores;  // after which the icons are back where they were
    };
    const std::vector<Case> cases = {
        {"one restart", [&](std::uint32_t t) { Upset(t); }, 1},
        {"two disruptions in one window, Explorer stacking after each",
         [&](std::uint32_t t) {
             Upset(t);
             Upset(t + 4000, Disruption::Resume);
         },
         2},
        {"a user's move inside the window goes back",
         [&](std::uint32_t t) {
             Disrupt(t, Disruption::SessionChange);
             Move(t + 5000, 1, 300, 300);
         },
         1},
        {"a storm of 100 display changes in 10 s ends in one restore",
         [&](std::uint32_t t) {
             for (std::uint32_t i = 0; i < 100; ++i) {
                 Disrupt(t + i * 100, Disruption::DisplayChange);
                 Stack(t + i * 100 + 50);
             }
         },
         1},
    };
    std::uint32_t t = 10000;
    int restores = 0;
    for (const Case& c : cases) {
        c.events(t);
        EXPECT_TRUE(follower.Settling()) << c.name;
        RunTo(t + 27000);
        EXPECT_FALSE(follower.Settling()) << c.name;
        EXPECT_EQ(Places(), start) << c.name;
        EXPECT_EQ(follower.Restores() - restores, c.restores) << c.name;
        restores = follower.Restores();
        t += 30000;
    }

    // After the window the user's move is learned, and the next restart brings it back.
    Move(t, 1, 640, 480);
    Upset(t + 8000);
    RunTo(t + 12000);
    const Positions moved{{100, 100}, {640, 480}, {500, 300}};
    EXPECT_EQ(Places(), moved);

    // Put back within a quarter second of 2 s of stillness (here ticks cost nothing), not
    // a whole slow poll later.
    t += 30000;
    Upset(t);
    RunTo(t + 700 + 2000 + 250);
    EXPECT_EQ(Places(), moved);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ScreenFollowerTest, ANewResolutionGetsTheLastLayoutScaledAndGoingBackGivesItExactly) {
    Start();
    RunTo(6000);
    const std::string firstLayout = files.files.at(LayoutFile({kA}));

    ChangeTo({kSmaller}, 10000);
    RunTo(14000);
    // 100 / (1024 / 800) = 78.125; 700 / (768 / 600) = 546.875.
    EXPECT_EQ(Places(), (Positions{{78, 78}, {703, 547}, {391, 234}}));
    Move(20000, 2, 10, 500);  // inside the window: put back
    RunTo(40000);
    EXPECT_EQ(files.files.at(LayoutFile({kA})), firstLayout)
        << "the fallback was learned as the old";
    ASSERT_EQ(files.files.count(LayoutFile({kSmaller})), 1u);
    Move(41000, 2, 10, 500);  // after it: the new arrangement's own
    RunTo(60000);

    displays.monitors = {kA};  // no event: the poll notices
    Stack(62000);
    RunTo(68000);
    EXPECT_EQ(Places(), start);

    // The program starts again on the second arrangement: the user's move there comes back.
    displays.monitors = {kSmaller};
    ScreenLayouts again{files, "C:\\P\\SavedPositions\\"};
    ScreenFollower restarted{icons, displays, again, dialogs};
    restarted.Start(90000);
    Stack(90000);
    restarted.Disrupt(Disruption::DisplayChange, 90000);
    for (std::uint32_t at = 90500; at <= 94000; at += 500) {
        restarted.Tick(at);
    }
    EXPECT_EQ(Places(), (Positions{{78, 78}, {703, 547}, {10, 500}}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ScreenFollowerTest, EachIconScalesWithinItsOwnMonitorOrOntoThePrimaryWhenItsMonitorIsGone) {
    displays.monitors = {kLeft, kA};
    desktop.icons = {{"Left", -1000, 500, 0}, {"Main", 100, 100, 1}};
    Start();
    RunTo(6000);

    Monitor larger = kLeft;
    larger.rect = {-1600, 0, 0, 1200};
    ChangeTo({kA, larger}, 10000);
    RunTo(14000);
    // -1600 + 280 / (1280 / 1600); 500 / (1024 / 1200) = 585.9.
    EXPECT_EQ(Places(), (Positions{{-1250, 586}, {100, 100}}));

    ChangeTo({kA}, 30000, Disruption::MonitorsChanged);
    RunTo(34000);
    // The last layout in force is still the two-monitor one: 280 / 1.25, 500 / (1024 / 768).
    EXPECT_EQ(Places(), (Positions{{224, 375}, {100, 100}}));
}

TEST_F(ScreenFollowerTest, TheChosenPatternWinsOnANewResolutionButNotOnARestart) {
    follower.SetPatternWinsOnDisplayChange(true);
    Start();
    RunTo(6000);
    ChangeTo({kSmaller}, 10000);
    RunTo(20000);
    EXPECT_EQ(follower.Restores(), 0);
    displays.monitors = {kA};
    Disrupt(30000, Disruption::DisplayChange);
    RunTo(50000);
    Upset(50000);
    RunTo(54000);
    EXPECT_EQ(Places(), start);
}

TEST_F(ScreenFollowerTest, LockPutsBackMovesWithin3sKeepsNewIconsAndForgetsRemovedOnes) {
    Start();
    RunTo(1000);
    follower.SetLock(true, 1000);
    Move(2000, 1, 300, 300);
    RunTo(2000 + 1000 + 3000);  // at rest from 3000 at the latest
    EXPECT_EQ(Places(), start);
    desktop.icons.push_back({"New", 700, 100, 3});
    desktop.icons.erase(desktop.icons.begin());  // Recycle Bin gone
    RunTo(10000);
    desktop.icons.push_back({"Recycle Bin", 800, 200, 0});  // back, elsewhere: a new icon
    RunTo(14000);
    EXPECT_EQ(Places(), (Positions{{900, 700}, {500, 300}, {700, 100}, {800, 200}}));
    Move(15000, 2, 10, 10);
    RunTo(19000);
    EXPECT_EQ(Places().at(2), std::make_pair(700, 100));
    follower.SetLock(false, 19000);
    Move(19500, 2, 10, 10);
    RunTo(25000);
    EXPECT_EQ(Places().at(2), std::make_pair(10, 10));
}

TEST_F(ScreenFollowerTest, BadFilesAreReportedOnceAndNothingIsLost) {
    const std::string folder = "C:\\P\\SavedPositions\\Screens\\";
    const std::string foreign = "not a layout\r\n";
    const std::string damagedLine = "0123456789abcdef\tx.ips\tsomething else\t1,2,3\r\n";
    files.files[LayoutFile({kA})] = foreign;
    const std::string missing = ArrangementKey(MakeArrangement({kSmaller})) + "\t" +
                                ArrangementKey(MakeArrangement({kSmaller})) +
                                ".ips\t1 screen: 800x600\t0,0,800,600,96,P," + kA.id;
    const std::string listed = FormatIndexLine({ArrangementKey(MakeArrangement({kA})),
                                                ArrangementKey(MakeArrangement({kA})) + ".ips",
                                                "1 screen: 1024x768", MakeArrangement({kA})});
    files.files[folder + "Index.txt"] =
        std::string(kIndexHeader) + "\r\n" + listed + "\r\n" + missing + "\r\n" + damagedLine;
    Start();
    Upset(1000);
    RunTo(5000);
    // The damaged layout stays as it was, and nothing moved on its word.
    EXPECT_EQ(follower.Restores(), 0);
    EXPECT_EQ(files.files.at(LayoutFile({kA})), foreign);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text,
              "Pellmark cannot read all of its list of screen arrangements. It keeps what it "
              "cannot read as it is, and learns those arrangements again.\n\n" +
                  folder + "Index.txt");
    EXPECT_EQ(dialogs.shown[1].text,
              "Pellmark cannot read the layout it keeps for this screen arrangement, so it did "
              "not put the icons back. The file is left as it was; Pellmark keeps the next "
              "layout beside it.\n\n" +
                  LayoutFile({kA}));
    RunTo(30000);
    // Learning put the damaged file aside, not over it, and kept the unreadable index line.
    EXPECT_EQ(files.files.at(LayoutFile({kA}) + ".damaged"), foreign);
    EXPECT_NE(files.files.at(LayoutFile({kA})), foreign);
    EXPECT_NE(Index().find(damagedLine), std::string::npos) << Index();

    displays.monitors = {kSmaller};  // the index names its file, which is not there
    Disrupt(40000, Disruption::DisplayChange);
    RunTo(70000);
    EXPECT_EQ(files.files.count(LayoutFile({kSmaller})), 1u);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].text,
              "The list of screen arrangements names a layout file that is not there. Pellmark "
              "learns the layout of this arrangement again.\n\n" +
                  LayoutFile({kSmaller}));
}

TEST_F(ScreenFollowerTest, ExplorerGoneForAMinuteIsNeitherLearnedNorRestoredUntilItIsBack) {
    Start();
    RunTo(6000);
    desktop.present = false;
    Disrupt(10000);
    RunTo(70000);
    EXPECT_EQ(follower.Restores(), 0);
    EXPECT_NE(files.files.at(LayoutFile({kA})).find("Notes"), std::string::npos);
    desktop.present = true;
    desktop.listViewHandle = 0x9999;  // a new list view, announced by nothing
    Stack(70000);
    RunTo(76000);
    EXPECT_EQ(Places(), start);

    // Idle after the window, the look at the icons backs off to one read in 8 s.
    RunTo(100000);
    const int reads = desktop.readCount;
    RunTo(220000);
    EXPECT_LE(desktop.readCount - reads, 16);
}

}  // namespace
}  // namespace pellmark::screens
