// pellmark.exe against the stand-in desktop, driven as a user drives it: through its
// message boxes, the controls of its main window and its command line.
#include <windows.h>

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <string>
#include <vector>

#include "tests/win/ProgramProcess.h"
#include "tests/win/StandInProcess.h"

namespace pellmark::e2e {
namespace {

using standin::Layout;
using standin::StandInProcess;

std::string TaskkillPath() {
    char folder[MAX_PATH] = {};
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\taskkill.exe";
}

// Awkward captions, each its own: icons whose captions are cut to the same 39 characters
// all go where the first of them was saved, which a layout compare would count against.
Layout DistinctLayout() {
    Layout layout = standin::AwkwardLayout();
    layout.icons.resize(10);
    return layout;
}

using EndToEndTest = ProgramTest;

TEST_F(EndToEndTest, CommandLineRunsEndByThemselvesWithCloseWhenRestored) {
    SetSetting("Settings", "CloseWhenRestored", "True");
    const Layout layout = DistinctLayout();
    const auto host = StandInProcess::Start(layout);
    ASSERT_TRUE(host);

    auto save = ProgramProcess::Start(folder.Exe(), "SAVE Home");
    ASSERT_TRUE(save);
    EXPECT_EQ(save->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    ASSERT_TRUE(FileExists(folder.Pattern("Home")));

    host->Scramble();
    ASSERT_NE(host->Dump(), layout);
    auto load = ProgramProcess::Start(folder.Exe(), "load Home");
    ASSERT_TRUE(load);
    EXPECT_EQ(load->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(host->Dump(), layout);

    // Without the setting the window stays until something closes it, here taskkill
    // (without /f, which asks the process's windows to close).
    SetSetting("Settings", "CloseWhenRestored", "False");
    auto stays = ProgramProcess::Start(folder.Exe(), "SAVE Again");
    ASSERT_TRUE(stays);
    ASSERT_NE(stays->WaitForWindow(kMainWindowClass), nullptr);
    // The window shows before the command line is acted on.
    EXPECT_TRUE(WaitUntil([&] { return FileExists(folder.Pattern("Again")); }));
    auto taskkill =
        ProgramProcess::Start(TaskkillPath(), "/pid " + std::to_string(stays->ProcessId()));
    ASSERT_TRUE(taskkill);
    EXPECT_EQ(stays->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    EXPECT_TRUE(host->Stop());
}

TEST_F(EndToEndTest, EveryCommandLineRunTellsAScriptHowItWentByItsExitCode) {
    SetSetting("Warn", "GaveNT", "True");
    SetSetting("Settings", "CloseWhenRestored", "True");
    SetSetting("Settings", "QuietCommandLine", "1");
    auto host = StandInProcess::Start(DistinctLayout());
    ASSERT_TRUE(host);
    struct Case {
        std::string line;
        DWORD exitCode;
    };
    const Case withDesktop[] =
        {
            {"SAVE Home", 0}, {"LOAD Home", 0},   {"HELP me", 1},
            {"SAVE CON", 2},  {"SAVE a:b", 2},    {"LOAD Gone", 3},
            {"LOAD Old", 4},  {"SAVE Locked", 6},  // a folder stands where the file would go
        };
    const Case withoutDesktop[] = {{"SAVE Fresh", 5}, {"SAVE Home", 5}};
    const auto run = [&](const Case& c) {
        const auto started = ProgramProcess::Start(folder.Exe(), c.line);
        ASSERT_TRUE(started);
        // Quiet: no message box holds the run up.
        EXPECT_EQ(started->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(c.exitCode)) << c.line;
    };
    run(withDesktop[0]);  // makes SavedPositions
    ASSERT_TRUE(WriteFileBytes(folder.Pattern("Old"), "Pellmark | version | 1.9.0\r\n0\r\n"));
    ASSERT_TRUE(::CreateDirectoryA(folder.Pattern("Locked").c_str(), nullptr));
    for (const Case& c : withDesktop) {
        run(c);
    }
    // Not quiet: the same code once the message is answered.
    SetSetting("Settings", "QuietCommandLine", "0");
    const auto refused = ProgramProcess::Start(folder.Exe(), "SAVE CON");
    ASSERT_TRUE(refused);
    std::string text;
    HWND box = refused->WaitForMessageBox(text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text.substr(0, 28), "A pattern name may not be CO");
    ProgramProcess::Answer(box, IDOK);
    EXPECT_EQ(refused->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(2));
    SetSetting("Settings", "QuietCommandLine", "1");

    const auto home = ReadFileBytes(folder.Pattern("Home"));
    EXPECT_TRUE(host->Stop());
    host.reset();
    for (const Case& c : withoutDesktop) {
        run(c);
    }
    EXPECT_EQ(ReadFileBytes(folder.Pattern("Home")), home);
    EXPECT_FALSE(FileExists(folder.Pattern("Fresh")));
    ::RemoveDirectoryA(folder.Pattern("Locked").c_str());
}

// A log-off ends Explorer first, then tells the program: the save at closing then finds no
// icons, says so, and leaves the saved pattern as it was.
TEST_F(EndToEndTest, ASecondCopySaysSoAndEndsAndLogOffEndsTheFirstKeepingItsPattern) {
    SetSetting("Settings", "SavePatternOnClose", "True");
    SetSetting("Settings", "PatternToAutoSave", "Work");
    auto host = StandInProcess::Start(standin::AwkwardLayout());
    ASSERT_TRUE(host);
    HWND form = StartMainWindow();
    ASSERT_NE(form, nullptr);
    const std::string work =  // as an earlier version wrote it, with an ANSI caption
        "Pellmark | version | 2.14.2\r\n1\r\n800\r\n600\r\nCaf\xe9\r\n 18 \r\n 2 \r\nFalse\r\n";
    ASSERT_TRUE(WriteFileBytes(folder.Pattern("Work"), work));

    auto second = ProgramProcess::Start(folder.Exe(), "SAVE Second");
    ASSERT_TRUE(second);
    std::string text;
    HWND box = second->WaitForMessageBox(text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Pellmark is already running.");
    ProgramProcess::Answer(box, IDOK);
    EXPECT_EQ(second->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(1));
    EXPECT_FALSE(FileExists(folder.Pattern("Second")));
    EXPECT_FALSE(program->WaitForExit(0).has_value());

    EXPECT_TRUE(host->Stop());
    host.reset();
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutA(form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                          &answer);
    EXPECT_EQ(answer, TRUE);
    ::PostMessageA(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    box = program->WaitForMessageBox(text);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(text, "Error occurred: No icons found");
    ProgramProcess::Answer(box, IDOK);
    EXPECT_EQ(program->WaitForExit(kEndTimeoutMs), std::optional<DWORD>(0));
    EXPECT_EQ(ReadFileBytes(folder.Pattern("Work")), std::optional<std::string>(work));
}

}  // namespace
}  // namespace pellmark::e2e
