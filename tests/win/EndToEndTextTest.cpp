// pellmark.exe with names, folders and captions that no ANSI code page holds: each stays
// itself from the command line, through the main window, to the files and the desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/win/ProgramProcess.h"
#include "tests/win/ScratchFolder.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::StandInProcess;

const std::string kOmega = "\u03A9mega";                       // Greek capital omega, then "mega"
const std::string kReport = "\u041E\u0442\u0447\u0451\u0442";  // Cyrillic, five letters
const std::string kFolder = "\u041F\u0430\u043F\u043A\u0430";  // Cyrillic, five letters

std::vector<std::string> Sorted(std::vector<std::string> rows) {
    std::sort(rows.begin(), rows.end());
    return rows;
}

int RowOf(HWND list, const std::string& text) {
    const std::vector<std::string> rows = ListBoxRows(list);
    const auto found = std::find(rows.begin(), rows.end(), text);
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

// Runs one command line to its end, as CloseWhenRestored makes it end.
void RunToEnd(const ProgramFolder& folder, const std::string& commandLine) {
    auto run = ProgramProcess::Start(folder.Exe(), commandLine);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0)) << commandLine;
}

class EndToEndTextTest : public ::testing::Test {
  protected:
    EndToEndTextTest() {
        DeleteAllSettings();
        SetSetting("Settings", "CloseWhenRestored", "True");
    }
    ~EndToEndTextTest() override { DeleteAllSettings(); }
};

TEST_F(EndToEndTextTest, OmegaAndItsLookAlikeStayTwoPatternsEverywhere) {
    const ProgramFolder folder;
    const Layout saved{.icons = {{"Recycle Bin", 100, 100, 0},
                                 {kReport, 300, 100, 1},
                                 {"Caf\u00E9", 500, 100, 2}}};
    const auto host = StandInProcess::Start(saved);
    ASSERT_TRUE(host);

    // The plain name first; then, with the icons elsewhere, the Greek one beside it.
    RunToEnd(folder, "SAVE Omega");
    const std::optional<std::string> omega = ReadFileBytes(folder.Pattern("Omega"));
    ASSERT_TRUE(omega);
    host->Scramble();
    const Layout moved = host->Dump();
    ASSERT_NE(moved, saved);
    RunToEnd(folder, "SAVE " + kOmega);
    ASSERT_TRUE(FileExists(folder.Pattern(kOmega)));
    EXPECT_EQ(ReadFileBytes(folder.Pattern("Omega")), omega) << "the plain pattern is kept";
    EXPECT_NE(ReadFileBytes(folder.Pattern(kOmega)), omega);

    RunToEnd(folder, "LOAD Omega");
    EXPECT_EQ(host->Dump(), saved);
    RunToEnd(folder, "LOAD " + kOmega);
    EXPECT_EQ(host->Dump(), moved);

    // The main window lists, previews, loads and deletes each as itself. Its closing removes
    // what an earlier desktop read left behind.
    for (const char* leftover : {"TEMP~~1.tmp", "TEMP~~2.tmp"}) {
        ASSERT_TRUE(WriteFileBytes(testcases::TempPath(leftover), ""));
    }
    auto program = ProgramProcess::Start(folder.Exe(), "");
    ASSERT_TRUE(program);
    HWND form = program->WaitForWindow(kMainWindowClass);
    ASSERT_NE(form, nullptr);
    HWND list = FormControl(form, "List1");
    HWND name = FormControl(form, "txtFile");
    // The icon count has a window once the desktop read after the first paint gives it a text.
    const auto count = [&] { return WindowText(FormControl(form, "lblNoIcons")); };
    ASSERT_NE(list, nullptr);
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(WaitUntil([&] {
        return Sorted(ListBoxRows(list)) == std::vector<std::string>{"Omega", kOmega};
    })) << ::testing::PrintToString(ListBoxRows(list));

    // Saved from the window too: the name typed, then Save.
    ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"My desk"));
    ::PostMessageW(FormControl(form, "cmdSave"), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return RowOf(list, "My desk") >= 0; }));
    EXPECT_TRUE(FileExists(folder.Pattern("My desk")));

    for (const std::string& pattern : {kOmega, std::string("Omega")}) {
        const int row = RowOf(list, pattern);
        ASSERT_GE(row, 0) << pattern;
        SelectListRow(list, row);
        EXPECT_TRUE(WaitUntil([&] { return WindowText(name) == pattern; })) << pattern;
        // The preview read the file the row names: its three records.
        EXPECT_TRUE(WaitUntil([&] { return count() == "3 icons"; })) << pattern << ": " << count();
        EXPECT_EQ(FindShownWindow(program->ProcessId(), "#32770"), nullptr)
            << "no message about " << pattern;
        ::PostMessageW(FormControl(form, "cmdLoad"), BM_CLICK, 0, 0);
        const Layout& want = pattern == "Omega" ? saved : moved;
        EXPECT_TRUE(WaitUntil([&] { return host->Dump() == want; })) << pattern;
    }

    SelectListRow(list, RowOf(list, kOmega));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(name) == kOmega; }));
    ::PostMessageW(list, WM_KEYDOWN, VK_DELETE, 0);
    std::string text;
    HWND box = program->WaitForMessageBox(text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Do you want to delete the pattern \"" + kOmega + "\"");
    ProgramProcess::Answer(box, IDYES);
    EXPECT_TRUE(WaitUntil([&] { return RowOf(list, kOmega) < 0 && RowOf(list, "Omega") >= 0; }))
        << ::testing::PrintToString(ListBoxRows(list));
    EXPECT_FALSE(FileExists(folder.Pattern(kOmega)));
    EXPECT_EQ(ReadFileBytes(folder.Pattern("Omega")), omega);

    // What Alt+F4 and the close box send.
    ::PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    EXPECT_FALSE(FileExists(testcases::TempPath("TEMP~~1.tmp")));
    EXPECT_FALSE(FileExists(testcases::TempPath("TEMP~~2.tmp")));
    EXPECT_TRUE(host->Stop());
}

// From a folder no code page holds, too: CloseWhenRestored ends each run by itself, and a run
// stuck on an error message would not.
TEST_F(EndToEndTextTest, CyrillicCaptionsOfEqualLengthKeepTheirOwnPlacesRunFromAnyFolder) {
    const ProgramFolder folder("C:\\\u65E5\u672C \u8A9E\\pm");
    const Layout layout{.icons = {{kReport, 100, 100, 0}, {kFolder, 300, 100, 1}}};
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);

    RunToEnd(folder, "SAVE Cyr");
    const std::optional<std::string> file = ReadFileBytes(folder.Pattern("Cyr"));
    ASSERT_TRUE(file);
    // No ANSI code page here holds them: the file is UTF-8, marked as such.
    EXPECT_EQ(file->substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(file->find("\r\n" + kReport + "\r\n"), std::string::npos) << *file;
    EXPECT_NE(file->find("\r\n" + kFolder + "\r\n"), std::string::npos) << *file;

    host->Scramble();
    ASSERT_NE(host->Dump(), layout);
    RunToEnd(folder, "LOAD Cyr");
    EXPECT_EQ(host->Dump(), layout);
    EXPECT_TRUE(host->Stop());
}

}  // namespace
}  // namespace pellmark::e2e
