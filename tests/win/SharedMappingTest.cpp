// The Windows 95/98/Me way of reading the desktop, run for real: the list view lives in
// this process (as a view of a named mapping has the same address in every process on
// those systems) and the family test is told it runs on 9x.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "patterns/DesktopIcons.h"
#include "platform/sim/SimDialogs.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Desktop.h"
#include "tests/win/ScratchFolder.h"
#include "tests/win/StandInProcess.h"
#include "tools/desktophost/StandInDesktop.h"

namespace pellmark {
namespace {

using standin::Layout;
using Mechanism = win32::Win32Desktop::Mechanism;

// What the list view saw while it was being read.
struct Traffic {
    WNDPROC original = nullptr;
    int positionMessages = 0;
    int textMessages = 0;
    int itemMessages = 0;
    int messagesWithoutBothMappings = 0;
};
Traffic traffic;

bool MappingExists(const char* name) {
    return static_cast<bool>(
        win32::UniqueKernelHandle(::OpenFileMappingA(FILE_MAP_READ, FALSE, name)));
}

LRESULT CALLBACK WatchListView(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LVM_GETITEMPOSITION || message == LVM_GETITEMTEXTA || message == LVM_GETITEMA) {
        ++(message == LVM_GETITEMPOSITION ? traffic.positionMessages
           : message == LVM_GETITEMTEXTA  ? traffic.textMessages
                                          : traffic.itemMessages);
        if (!MappingExists("MyMapping") || !MappingExists("MyMapping2")) {
            ++traffic.messagesWithoutBothMappings;
        }
    }
    return ::CallWindowProcA(traffic.original, window, message, wParam, lParam);
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class SharedMappingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 12; ++i) {
            // Icon 7's caption is ANSI on that side and UTF-8 on this one.
            layout.icons.push_back(
                {(i == 7 ? "Ic\u00F4ne, \"num\u00E9ro\" " : "Icon, \"number\" ") +
                     std::to_string(i) + (i == 3 ? std::string(40, '*') : std::string()),
                 20 + i * 80, i == 5 ? 900 : 30, i % 8});
        }
        made = standin::StandInDesktop::Create(layout);
        ASSERT_TRUE(made.has_value());
        traffic = {};
        traffic.original = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            made->listView(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WatchListView)));
    }
    void TearDown() override {
        if (made) {
            ::SetWindowLongPtrA(made->listView(), GWLP_WNDPROC,
                                reinterpret_cast<LONG_PTR>(traffic.original));
        }
    }

    static win32::Win32Desktop::Seams Windows98(std::string temp) {
        win32::Win32Desktop::Seams seams;
        seams.version = [] { return VersionInfo{148, 4, 10, 2222, 1, " A "}; };
        seams.tempFolder = [temp] { return temp; };
        return seams;
    }

    Layout layout;
    std::optional<standin::StandInDesktop> made;
    sim::SimDialogs dialogs;
};

TEST_F(SharedMappingTest, ReadsEveryIconThroughTheTwoNamedMappingsAndReleasesThem) {
    const std::string temp = testcases::TempPath("");
    win32::Win32Desktop desktop(Windows98(temp));
    DesktopIcons icons(desktop, dialogs);

    icons.ReadDesktopIcons();
    EXPECT_EQ(desktop.LastMechanism(), Mechanism::SharedMappings);
    ASSERT_EQ(icons.Table().IconCount, 12);
    for (int i = 0; i < 12; ++i) {
        const DesktopIcon& icon = icons.Table().Icons[i];
        // Icon 3's caption is longer than the buffer: Windows hands out 39 characters and a
        // zero, Wine fills all 40 without one; either way the table keeps 39.
        EXPECT_EQ(icon.Caption, layout.icons[i].caption.substr(0, 39)) << i;
        EXPECT_EQ(icon.Position, (IconPosition{layout.icons[i].x, layout.icons[i].y})) << i;
        EXPECT_EQ(icon.ImageIndex, layout.icons[i].image) << i;
        EXPECT_EQ(icon.OffScreen, i == 5) << i;
    }
    EXPECT_TRUE(dialogs.shown.empty());

    // Three messages an icon, each while both mappings exist; none left afterwards.
    EXPECT_EQ(traffic.positionMessages, 12);
    EXPECT_EQ(traffic.textMessages, 12);
    EXPECT_EQ(traffic.itemMessages, 12);
    EXPECT_EQ(traffic.messagesWithoutBothMappings, 0);
    EXPECT_FALSE(MappingExists("MyMapping"));
    EXPECT_FALSE(MappingExists("MyMapping2"));
    EXPECT_TRUE(FileExists(temp + "TEMP~~1.tmp"));
    EXPECT_TRUE(FileExists(temp + "TEMP~~2.tmp"));

    // The same names again on the next read, and the same table.
    const auto first = icons.Table().Icons;
    icons.ReadDesktopIcons();
    EXPECT_EQ(icons.Table().Icons, first);
    EXPECT_EQ(traffic.positionMessages, 24);
    EXPECT_FALSE(MappingExists("MyMapping"));

    icons.MoveDesktopIcon(2, -5, 200);
    EXPECT_EQ(made->CurrentIcons()[2].x, -5);
    EXPECT_EQ(made->CurrentIcons()[2].y, 200);
}

TEST_F(SharedMappingTest, NoMessageCarriesAnAddressWhenTheMappingsCannotBeMade) {
    win32::Win32Desktop desktop(Windows98("C:\\no such folder\\"));
    DesktopIcons icons(desktop, dialogs);
    icons.ReadDesktopIcons();

    EXPECT_EQ(traffic.positionMessages + traffic.textMessages + traffic.itemMessages, 0);
    EXPECT_EQ(icons.Table().IconCount, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.rfind("Err: 3\n", 0), 0u) << dialogs.shown[0].text;
    EXPECT_NE(dialogs.shown[0].text.find("\n\nProblem finding desktop icons "), std::string::npos);
    EXPECT_FALSE(MappingExists("MyMapping"));
}

TEST_F(SharedMappingTest, AListViewInAnotherProcessIsNeverSentAMappingAddressOnNt) {
    TearDown();
    made.reset();  // only the other process's desktop is left
    Layout other;
    other.icons = {{"Elsewhere", 40, 40, 0}};
    const auto host = standin::StandInProcess::Start(other);
    ASSERT_TRUE(host);

    win32::Win32Desktop desktop(Windows98(testcases::TempPath("")));
    DesktopIcons icons(desktop, dialogs);
    icons.ReadDesktopIcons();
    EXPECT_EQ(icons.Table().IconCount, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Error occurred: No icons found");
    EXPECT_EQ(host->Dump(), other) << "the other desktop is untouched";
}

}  // namespace
}  // namespace pellmark
