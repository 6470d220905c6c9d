// pellmark.exe saving patterns as a user meets it: a desktop that is gone or empty never
// costs a saved pattern, names Windows keeps for devices are refused, and no temporary
// file is left beside the patterns.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "tests/win/ProgramProcess.h"
#include "tests/win/ScratchFolder.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::StandInProcess;

constexpr const char* kNoIcons = "Error occurred: No icons found";
constexpr const char* kReservedName =
    "A pattern name may not be CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, alone or "
    "before a dot: Windows keeps these names for devices.";

using testcases::FolderNames;
using Names = std::vector<std::string>;
using Texts = std::vector<std::string>;

Layout TwoIcons() {
    Layout layout;
    layout.icons = {{"Recycle Bin", 18, 2, 0}, {"Notes", 100, 60, 1}};
    return layout;
}

class EndToEndSaveTest : public ProgramTest {
  protected:
    EndToEndSaveTest() { SetSetting("Settings", "CloseWhenRestored", "True"); }

    [[nodiscard]] std::string Saved() const { return folder.Path() + "\\SavedPositions"; }

    // Runs a command line to its end, answering every message box it shows; their texts.
    std::vector<std::string> RunAnsweringMessages(const std::string& commandLine) {
        std::vector<std::string> texts;
        const auto run = ProgramProcess::Start(folder.Exe(), commandLine);
        if (!run) {
            return {"(not started)"};
        }
        const DWORD start = ::GetTickCount();
        while (!run->WaitForExit(100)) {
            if (::GetTickCount() - start > kEndTimeoutMs) {
                texts.push_back("(still running)");
                break;
            }
            std::string text;
            if (HWND box = run->WaitForMessageBox(text, 400)) {
                texts.push_back(text);
                ProgramProcess::Answer(box, IDOK);
                ::Sleep(200);  // until the box has gone
            }
        }
        return texts;
    }

    // A pattern as an earlier version wrote it, with an ANSI caption.
    const std::string work =
        "Pellmark | version | 2.14.2\r\n1\r\n800\r\n600\r\nCaf\xe9\r\n 18 \r\n 2 \r\nFalse\r\n";
};

TEST_F(EndToEndSaveTest, AnEmptyOrMissingDesktopLeavesASavedPatternAsItWas) {
    // The first start makes SavedPositions; Work.ips is then the user's pattern.
    {
        const auto host = StandInProcess::Start(TwoIcons());
        ASSERT_TRUE(host);
        auto first = ProgramProcess::Start(folder.Exe(), "SAVE First");
        ASSERT_TRUE(first);
        EXPECT_EQ(first->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
        EXPECT_TRUE(host->Stop());
    }
    ASSERT_TRUE(WriteFileBytes(folder.Pattern("Work"), work));

    {
        const auto empty = StandInProcess::Start(Layout{});
        ASSERT_TRUE(empty);
        // Once as the window loads, once for the save.
        EXPECT_EQ(RunAnsweringMessages("SAVE Work"), Texts(2, kNoIcons));
        EXPECT_EQ(ReadFileBytes(folder.Pattern("Work")), std::optional<std::string>(work));
        // Nor is a pattern of no icons made for a new name.
        EXPECT_EQ(RunAnsweringMessages("SAVE Fresh"), Texts(2, kNoIcons));
        EXPECT_TRUE(empty->Stop());
    }

    // No desktop at all, as when Explorer has gone.
    EXPECT_EQ(RunAnsweringMessages("SAVE Work"), Texts(2, kNoIcons));
    EXPECT_EQ(ReadFileBytes(folder.Pattern("Work")), std::optional<std::string>(work));
    EXPECT_EQ(FolderNames(Saved()), (Names{"First.ips", "Work.ips"}));
}

TEST_F(EndToEndSaveTest, TheSaveAtClosingWithExplorerGoneLeavesThePatternAsItWas) {
    SetSetting("Settings", "SavePatternOnClose", "True");
    SetSetting("Settings", "PatternToAutoSave", "Work");
    auto host = StandInProcess::Start(TwoIcons());
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(WriteFileBytes(folder.Pattern("Work"), work));

    // Log-off: Explorer ends first, then the program is told the session ends.
    EXPECT_TRUE(host->Stop());
    host.reset();
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                          &answer);
    ::PostMessageW(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    std::string text;
    HWND box = program->WaitForMessageBox(text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, kNoIcons);
    ProgramProcess::Answer(box, IDOK);
    EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(ReadFileBytes(folder.Pattern("Work")), std::optional<std::string>(work));
    EXPECT_EQ(FolderNames(Saved()), Names{"Work.ips"});
}

TEST_F(EndToEndSaveTest, DeviceNamesAreRefusedAndNothingIsWritten) {
    const auto host = StandInProcess::Start(TwoIcons());
    ASSERT_TRUE(host);
    for (const char* name : {"nul", "CON", "Com1", "lpt9.old"}) {
        program = ProgramProcess::Start(folder.Exe(), std::string("SAVE ") + name);
        ASSERT_TRUE(program);
        std::string text;
        HWND box = program->WaitForMessageBox(text);
        ASSERT_NE(box, nullptr) << name;
        EXPECT_EQ(text, kReservedName) << name;
        ProgramProcess::Answer(box, IDOK);
        // CloseWhenRestored ends a refused run too, telling the script why.
        EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(2)) << name;
        EXPECT_EQ(FolderNames(Saved()), Names{}) << name;
    }
    EXPECT_TRUE(host->Stop());
}

TEST_F(EndToEndSaveTest, SavesReplaceInOneStepAndLeaveNoTemporaryFile) {
    Layout layout = TwoIcons();
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);
    auto save = ProgramProcess::Start(folder.Exe(), "SAVE Home");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    const auto first = ReadFileBytes(folder.Pattern("Home"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->substr(0, 32), "Pellmark | version | 2.14.2\r\n2\r\n");

    // Saved again over itself, and once more with a caption no ANSI code page holds: the
    // file is then UTF-8 after a byte-order mark.
    host->Scramble();
    save = ProgramProcess::Start(folder.Exe(), "SAVE Home");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    EXPECT_NE(ReadFileBytes(folder.Pattern("Home")), first);
    EXPECT_TRUE(host->Stop());

    layout.icons.push_back({"\u65e5\u672c \u03a9", 300, 60, 2});
    const auto wide = StandInProcess::Start(layout);
    ASSERT_TRUE(wide);
    save = ProgramProcess::Start(folder.Exe(), "SAVE Home");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    const auto utf8 = ReadFileBytes(folder.Pattern("Home"));
    ASSERT_TRUE(utf8);
    EXPECT_EQ(utf8->substr(0, 35), "\xEF\xBB\xBFPellmark | version | 2.14.2\r\n3\r\n");
    EXPECT_NE(utf8->find("\r\n\u65e5\u672c \u03a9\r\n 300 \r\n 60 \r\nFalse\r\n"),
              std::string::npos);
    EXPECT_TRUE(wide->Stop());
    EXPECT_EQ(FolderNames(Saved()), Names{"Home.ips"});
}

}  // namespace
}  // namespace pellmark::e2e
