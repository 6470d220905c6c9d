// Restoring saved patterns onto a stand-in desktop in another process.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternFile.h"
#include "patterns/PatternRestore.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Services.h"
#include "settings/Messages.h"
#include "tests/win/FileBytes.h"
#include "tests/win/ScratchFolder.h"
#include "tests/win/StandInProcess.h"

namespace pellmark {
namespace {

using standin::Layout;
using standin::StandInProcess;

using testcases::TempPath;

class RestoreTest : public ::testing::Test {
  protected:
    ~RestoreTest() override { ::DeleteFileA(path.c_str()); }

    win32::Win32Desktop desktop;
    win32::Win32Files files;
    sim::SimDialogs dialogs;
    DesktopIcons icons{desktop, dialogs};
    PatternRestore restore{icons, files, dialogs};
    const std::string path = TempPath("pellmark-restore-test.ips");
};

TEST_F(RestoreTest, ASavedDesktopScrambledAndRestoredHasEveryIconBack) {
    const Layout layout = standin::AwkwardLayout();
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    icons.ReadDesktopIcons();
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));

    for (int i = 0; i < icons.Table().IconCount; ++i) {
        icons.MoveDesktopIcon(i, (i * 37) % 900, 100 + (i * 11) % 500);
    }
    ASSERT_NE(host->Dump(), layout);

    icons.ReadDesktopIcons();
    ASSERT_TRUE(restore.RestorePatternFile(path, false));
    EXPECT_TRUE(dialogs.shown.empty());

    // Captions longer than 39 characters are cut when read, so some icons share a caption
    // (and the list view tells no other name): each caption's places are all taken again,
    // one icon on each.
    using Places = std::multiset<std::pair<int, int>>;
    std::map<std::string, std::pair<Places, Places>> byCaption;
    const Layout after = host->Dump();
    ASSERT_EQ(after.icons.size(), layout.icons.size());
    for (std::size_t i = 0; i < layout.icons.size(); ++i) {
        auto& [saved, restored] = byCaption[layout.icons[i].caption.substr(0, 39)];
        saved.emplace(layout.icons[i].x, layout.icons[i].y);
        restored.emplace(after.icons[i].x, after.icons[i].y);
    }
    int sharing = 0;
    for (const auto& [caption, places] : byCaption) {
        EXPECT_EQ(places.second, places.first) << caption;
        sharing += places.first.size() > 1;
    }
    EXPECT_GT(sharing, 0) << "the layout should exercise shared captions";
    // The closing read saw the restored desktop, hidden icons hidden.
    EXPECT_EQ(icons.Table().Icons[1].Position, (IconPosition{after.icons[1].x, after.icons[1].y}));
    EXPECT_TRUE(icons.Table().Icons[1].OffScreen);
}

TEST_F(RestoreTest, APatternFromAnotherResolutionIsScaledToThisScreen) {
    Layout layout;
    layout.icons = {{"Recycle Bin", 5, 5, 0},
                    {"Notes", 5, 5, 1},
                    {"Hidden", 5, 5, 2},
                    {"Not saved", 300, 300, 3}};
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    ASSERT_TRUE(testcases::WriteFileBytes(path,
                                          "Pellmark | version | 2.14.2\r\n4\r\n800\r\n600\r\n"
                                          "Notes\r\n 100 \r\n 60 \r\nFalse\r\n"
                                          "Recycle Bin   \r\n 18 \r\n 2 \r\nFalse\r\n"
                                          "Hidden\r\n 40 \r\n 50 \r\nTrue\r\n"
                                          "Gone\r\n 1 \r\n 1 \r\nFalse\r\n"));
    icons.ReadDesktopIcons();
    ASSERT_TRUE(restore.RestorePatternFile(path, true));

    // Computed here from the screen Wine reports, in single precision as the program does.
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    const float rx = static_cast<float>(800.0 / width);
    const float ry = static_cast<float>(600.0 / height);
    const auto scale = [](double v, float r) {
        return static_cast<int>(std::nearbyint(v / static_cast<double>(r)));
    };
    const Layout after = host->Dump();
    EXPECT_EQ(after.icons[0].x, scale(18, rx));
    EXPECT_EQ(after.icons[0].y, scale(2, ry));
    EXPECT_EQ(after.icons[1].x, scale(100, rx));
    EXPECT_EQ(after.icons[1].y, scale(60, ry));
    EXPECT_EQ(after.icons[2].x, scale(40 + width * 15, rx)) << "pushed off the screen again";
    EXPECT_EQ(after.icons[3], layout.icons[3]);
    if (width == 1024 && height == 768) {
        EXPECT_EQ(after.icons[1].x, 128);
        EXPECT_EQ(after.icons[1].y, 77);
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(RestoreTest, AutoArrangeAndOldFilesAreRefusedWithNothingMoved) {
    Layout layout;
    layout.icons = {{"Recycle Bin", 10, 10, 0}, {"Notes", 100, 10, 1}};
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    ASSERT_TRUE(testcases::WriteFileBytes(path,
                                          "Pellmark | version | 2.14.2\r\n1\r\n1024\r\n768\r\n"
                                          "Notes\r\n 500 \r\n 500 \r\nFalse\r\n"));

    host->SetAutoArrange(true);
    const Layout arranged = host->Dump();
    icons.ReadDesktopIcons();
    EXPECT_FALSE(restore.RestorePatternFile(path, true));
    EXPECT_EQ(host->Dump(), arranged);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, MessageText("0937") + "\n\n" + MessageText("0938"));
    host->SetAutoArrange(false);

    dialogs.shown.clear();
    ASSERT_TRUE(testcases::WriteFileBytes(path,
                                          "Pellmark | version | 1.9.0\r\n1\r\n1024\r\n768\r\n"
                                          "Notes\r\n 500 \r\n 500 \r\nFalse\r\n"));
    const Layout before = host->Dump();
    icons.ReadDesktopIcons();
    EXPECT_TRUE(restore.RestorePatternFile(path, false));
    EXPECT_EQ(host->Dump(), before);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, MessageText("0934"));
    // The refused file was closed at once: it can be deleted straight away.
    EXPECT_NE(::DeleteFileA(path.c_str()), FALSE);
    EXPECT_FALSE(restore.PatternFileExists(path));
}

}  // namespace
}  // namespace pellmark
