// Starting with Windows and the shortcuts on a real system: the Run value in the user's
// registry, the shell's own folders, and shortcut files made through the shell's link
// object (wide on the NT family, ANSI as on 95/98/Me), read back and removed.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/SimDialogs.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32Shell.h"
#include "settings/Shortcuts.h"
#include "settings/StartWithWindows.h"
#include "tests/win/RegistryText.h"
#include "tests/win/ScratchFolder.h"

namespace pellmark::win32 {
namespace {

using platform::ShellFolder;
using platform::ShortcutTarget;

using testcases::IsFolder;

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

using testcases::ScratchFolder;

// The Run value; "(absent)" when it is not there as REG_SZ.
std::string RunValue() {
    return testcases::RegistryText(HKEY_CURRENT_USER, kRunKey, "Pellmark");
}

TEST(ShortcutsTest, TheRunValueIsWrittenQuotedAndRemoved) {
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wide" : "ANSI");
        Win32Registry registry(wide);
        SetLoadOnStartup(registry, true, kCurrentUserScope,
                         "C:\\Program Files\\Pellmark\\pellmark.Exe");
        EXPECT_EQ(RunValue(), "\"C:\\Program Files\\Pellmark\\pellmark.Exe\"");
        SetLoadOnStartup(registry, false, kCurrentUserScope, "");
        EXPECT_EQ(RunValue(), "(absent)");
        // Off when it is off already: nothing happens.
        SetLoadOnStartup(registry, false, kCurrentUserScope, "");
        EXPECT_EQ(RunValue(), "(absent)");
    }
}

TEST(ShortcutsTest, TheShellNamesTheUsersFoldersAndTheLogonName) {
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wide" : "ANSI");
        Win32Shell shell(wide);
        EXPECT_FALSE(shell.LogonUserName().empty());
        const std::string windows = shell.WindowsFolder();
        EXPECT_TRUE(IsFolder(windows)) << windows;
        EXPECT_NE(windows.back(), '\\');
        for (const ShellFolder folder : {ShellFolder::Desktop, ShellFolder::Programs}) {
            const std::optional<std::string> path = shell.UserFolder(folder);
            ASSERT_TRUE(path.has_value());
            EXPECT_TRUE(IsFolder(*path)) << *path;
            EXPECT_NE(path->back(), '\\');
        }
    }
}

TEST(ShortcutsTest, ALinkIsMadeReadBackAndReplaced) {
    ScratchFolder folder("PellmarkLinks");
    ASSERT_TRUE(IsFolder(folder.Path()));
    const std::string program = ProgramFilePath();
    const std::string programFolder = program.substr(0, program.find_last_of('\\'));
    struct Case {
        bool wide;
        std::string link;
    };
    const Case cases[] = {{true, "Ωmega 日本.lnk"}, {false, "Plain.lnk"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        Win32Shell shell(c.wide);
        const std::string link = folder.File(c.link);
        ASSERT_TRUE(shell.CreateShortcut(link, program, programFolder).ok());
        EXPECT_TRUE(IsFile(link));
        EXPECT_EQ(shell.ReadShortcut(link), (ShortcutTarget{program, programFolder}));
        // Made again over itself, to another target.
        const std::string other = shell.WindowsFolder() + "\\notepad.exe";
        ASSERT_TRUE(shell.CreateShortcut(link, other, shell.WindowsFolder()).ok());
        EXPECT_EQ(shell.ReadShortcut(link), (ShortcutTarget{other, shell.WindowsFolder()}));
    }
    // A file that is no link, and one that is not there.
    Win32Shell shell;
    const std::string text = folder.File("text.lnk");
    const HANDLE file = ::CreateFileW(Widen(text).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "not a link", 10, &written, nullptr);
    ::CloseHandle(file);
    EXPECT_EQ(shell.ReadShortcut(text), std::nullopt);
    EXPECT_EQ(shell.ReadShortcut(folder.Path() + "\\missing.lnk"), std::nullopt);
    // Nowhere to put it: the shell's failure, not a link.
    EXPECT_FALSE(
        shell.CreateShortcut(folder.Path() + "\\no such folder\\x.lnk", program, programFolder)
            .ok());
}

// The program's own shortcuts in the user's real Desktop and Start Menu folders.
TEST(ShortcutsTest, TheProgramsShortcutsLandWhereTheShellKeepsThemAndGo) {
    Win32Shell shell;
    Win32Files files;
    sim::SimDialogs dialogs;
    Shortcuts shortcuts(shell, files, dialogs, "C:\\Pellmark Test", "pellmark");
    const std::string desktop = shortcuts.DesktopShortcutPath();
    const std::string startMenu = shortcuts.StartMenuShortcutPath();
    EXPECT_EQ(desktop, *shell.UserFolder(ShellFolder::Desktop) + "\\Pellmark.lnk");
    EXPECT_EQ(startMenu, *shell.UserFolder(ShellFolder::Programs) + "\\\\Pellmark.lnk");
    ASSERT_FALSE(shortcuts.DesktopShortcutExists()) << "left over: " << desktop;
    ASSERT_FALSE(shortcuts.StartMenuShortcutExists()) << "left over: " << startMenu;

    EXPECT_TRUE(shortcuts.CreateStartMenuShortcut());
    EXPECT_TRUE(shortcuts.CreateDesktopShortcut());
    EXPECT_TRUE(shortcuts.StartMenuShortcutExists());
    EXPECT_TRUE(shortcuts.DesktopShortcutExists());
    const ShortcutTarget expected{"C:\\Pellmark Test\\pellmark.Exe", "C:\\Pellmark Test"};
    EXPECT_EQ(shell.ReadShortcut(desktop), expected);
    EXPECT_EQ(shell.ReadShortcut(startMenu), expected);

    shortcuts.DeleteStartMenuShortcut();
    EXPECT_FALSE(shortcuts.StartMenuShortcutExists());
    EXPECT_TRUE(shortcuts.DesktopShortcutExists());
    shortcuts.DeleteDesktopShortcut();
    EXPECT_FALSE(shortcuts.DesktopShortcutExists());
    shortcuts.DeleteDesktopShortcut();  // gone already: nothing said
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace pellmark::win32
