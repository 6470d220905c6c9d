// Reading, saving and moving the icons of a stand-in desktop in another process, the way
// Pellmark reaches Explorer on the NT family.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "patterns/DesktopIcons.h"
#include "patterns/PatternFile.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32Services.h"
#include "tests/win/FileBytes.h"
#include "tests/win/ScratchFolder.h"
#include "tests/win/StandInProcess.h"

namespace pellmark {
namespace {

using standin::Layout;
using standin::StandInProcess;
using Mechanism = win32::Win32Desktop::Mechanism;

// What a pattern file of `layout` holds, written out independently of the writer. Its
// captions are ones the ANSI code page holds, so the file is in that code page.
std::string ExpectedPattern(const Layout& layout, int width, int height) {
    std::ostringstream out;
    out << "Pellmark | version | 2.14.2\r\n" << layout.icons.size() << "\r\n";
    out << width << "\r\n" << height << "\r\n";
    const auto number = [](std::int64_t v) {
        std::ostringstream text;
        text << (v < 0 ? '-' : ' ') << (v < 0 ? -v : v) << ' ';
        return text.str();
    };
    for (const auto& icon : layout.icons) {
        const bool off = icon.x > width || icon.y > height;
        out << win32::ToAnsi(icon.caption.substr(0, 39)).value_or("(not ANSI)") << "\r\n"
            << number(off ? icon.x - width * 15 : icon.x) << "\r\n"
            << number(icon.y) << "\r\n"
            << (off ? "True" : "False") << "\r\n";
    }
    return out.str();
}

class DesktopReadTest : public ::testing::Test {
  protected:
    win32::Win32Desktop desktop;
    sim::SimDialogs dialogs;
    DesktopIcons icons{desktop, dialogs};
};

TEST_F(DesktopReadTest, SixtyIconsAreReadAndSavedByteForByte) {
    const Layout layout = standin::AwkwardLayout();
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);

    icons.ReadDesktopIcons();
    EXPECT_EQ(desktop.LastMechanism(), Mechanism::RemoteMemory);
    const DesktopIconTable& table = icons.Table();
    ASSERT_EQ(table.IconCount, 60);
    EXPECT_EQ(table.ListViewWindow, reinterpret_cast<WindowHandle>(host->listView()));
    // The list view's own image list belongs to its process: it is not handed on.
    EXPECT_EQ(table.ImageListHandle, 0u);
    for (int i = 0; i < 60; ++i) {
        const auto& want = layout.icons[i];
        EXPECT_EQ(table.Icons[i].Caption, want.caption.substr(0, 39)) << i;
        EXPECT_EQ(table.Icons[i].Position, (IconPosition{want.x, want.y})) << i;
        EXPECT_EQ(table.Icons[i].ImageIndex, want.image) << i;
    }
    EXPECT_TRUE(dialogs.shown.empty());

    const std::string path = testcases::TempPath("pellmark-sixty.ips");
    win32::Win32Files files;
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    ASSERT_EQ(desktop.LogicalDpiX(), 96) << "the expectation uses 15 twips a pixel";
    EXPECT_EQ(testcases::ReadFileBytes(path), ExpectedPattern(layout, width, height));
    ::DeleteFileW(win32::Widen(path).c_str());
}

TEST_F(DesktopReadTest, CaptionsOfEveryScriptAreReadExactlyAndCutAt39Units) {
    std::string cyrillic45;
    std::string cyrillic39;
    for (int i = 0; i < 45; ++i) {
        cyrillic45 += "\u0416";
        if (i < 39) {
            cyrillic39 += "\u0416";
        }
    }
    const struct {
        std::string shown;
        std::string read;
    } cases[] = {
        {"\u041E\u0442\u0447\u0451\u0442", "\u041E\u0442\u0447\u0451\u0442"},
        {"\u041F\u0430\u043F\u043A\u0430", "\u041F\u0430\u043F\u043A\u0430"},
        {"\u03A9mega", "\u03A9mega"},
        {"Omega", "Omega"},
        {"\u65E5\u672C\u8A9E\u306E\u30D5\u30A1\u30A4\u30EB",
         "\u65E5\u672C\u8A9E\u306E\u30D5\u30A1\u30A4\u30EB"},
        {"\U0001F4C1 Folder \U0001F600", "\U0001F4C1 Folder \U0001F600"},
        {"Caf\u00E9 na\u00EFve", "Caf\u00E9 na\u00EFve"},
        {cyrillic45, cyrillic39},
        // The list view copies 39 units: the emoji's second half does not fit.
        {std::string(38, 'x') + "\U0001F4C1", std::string(38, 'x')},
        {std::string(37, 'x') + "\U0001F4C1z", std::string(37, 'x') + "\U0001F4C1"},
    };
    Layout layout;
    for (const auto& c : cases) {
        layout.icons.push_back({c.shown, 20 + static_cast<int>(layout.icons.size()) * 80, 100, 0});
    }
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    icons.ReadDesktopIcons();
    EXPECT_EQ(desktop.LastMechanism(), Mechanism::RemoteMemory);
    ASSERT_EQ(icons.Table().IconCount, static_cast<int>(std::size(cases)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(icons.Table().Icons[i].Caption, cases[i].read) << i;
        EXPECT_EQ(icons.Table().Icons[i].Position, (IconPosition{layout.icons[i].x, 100})) << i;
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DesktopReadTest, MovedIconsStayWhereTheyArePutAndTwoReadsAgree) {
    Layout layout = standin::AwkwardLayout();
    layout.icons.resize(8);
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);

    icons.ReadDesktopIcons();
    const auto first = icons.Table().Icons;
    icons.ReadDesktopIcons();
    EXPECT_EQ(icons.Table().Icons, first);

    const IconPosition moves[] = {{100, 200}, {-5, 200}, {16460, 300}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        icons.MoveDesktopIcon(i, moves[i].x, moves[i].y);
        layout.icons[i].x = moves[i].x;
        layout.icons[i].y = moves[i].y;
    }
    EXPECT_EQ(host->Dump(), layout) << "the host's own account of its icons";
    icons.ReadDesktopIcons();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(icons.Table().Icons[i].Position, moves[i]) << i;
    }
    EXPECT_TRUE(icons.Table().Icons[2].OffScreen);
}

TEST_F(DesktopReadTest, EmptyDesktopAndNoDesktopGiveTheNoIconsMessage) {
    {
        const auto host = StandInProcess::Start(Layout{.textColor = CLR_NONE});
        ASSERT_TRUE(host);
        EXPECT_EQ(desktop.GetDesktopTextColour(), CLR_NONE) << "the preview picks its own";
        icons.ReadDesktopIcons();
        EXPECT_EQ(desktop.LastMechanism(), Mechanism::RemoteMemory);
        EXPECT_EQ(icons.Table().IconCount, 0);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, "Error occurred: No icons found");
    }
    dialogs.shown.clear();
    ASSERT_EQ(::FindWindowA("Progman", nullptr), nullptr) << "no desktop left behind";
    icons.ReadDesktopIcons();
    EXPECT_EQ(desktop.LastMechanism(), Mechanism::None);
    EXPECT_EQ(icons.Table().IconCount, 0);
    EXPECT_EQ(icons.Table().ListViewWindow, 0u);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Error occurred: No icons found");
    EXPECT_FALSE(icons.IsDesktopAutoArrange());
    EXPECT_EQ(icons.FindDesktopListView(), 0u);
    EXPECT_EQ(desktop.GetDesktopTextColour(), 0u);
}

TEST_F(DesktopReadTest, WorkerWShapeAndAutoArrangeAreFound) {
    Layout layout = standin::AwkwardLayout();
    layout.icons.resize(5);
    layout.workerW = true;
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);

    EXPECT_EQ(icons.FindDesktopListView(), reinterpret_cast<WindowHandle>(host->listView()));
    icons.ReadDesktopIcons();
    ASSERT_EQ(icons.Table().IconCount, 5);
    EXPECT_EQ(icons.Table().Icons[4].Caption, layout.icons[4].caption.substr(0, 39));

    EXPECT_FALSE(icons.IsDesktopAutoArrange());
    host->SetAutoArrange(true);
    EXPECT_TRUE(icons.IsDesktopAutoArrange());
    host->SetAutoArrange(false);
    EXPECT_FALSE(icons.IsDesktopAutoArrange());
}

}  // namespace
}  // namespace pellmark
