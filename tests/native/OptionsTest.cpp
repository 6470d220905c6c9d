// The options dialog, starting with Windows and the shortcuts, on the in-memory backend:
// what the dialog reads, the order and values it writes, its enable rules and tool tips,
// the Run value and the shortcut files.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimForms.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimShell.h"
#include "settings/RegistryAccess.h"
#include "settings/SettingsStore.h"
#include "settings/Shortcuts.h"
#include "settings/StartWithWindows.h"
#include "settings/frmOptions.h"
#include "tests/common/ForwardingRegistry.h"

namespace pellmark {
namespace {

using platform::MessageIcon;
using platform::ShellFolder;

constexpr const char* kFolder = "C:\\Pellmark";
constexpr const char* kPatterns = "C:\\Pellmark\\SavedPositions\\";
constexpr const char* kProgram = "C:\\Pellmark\\pellmark.Exe";
constexpr const char* kDesktopLink = "C:\\Users\\Ada\\Desktop\\Pellmark.lnk";
constexpr const char* kStartMenuLink =
    "C:\\Users\\Ada\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\\\Pellmark.lnk";

// The registry, with every value written or deleted logged as "name=text" or "-name".
class LoggingRegistry final : public testcases::ForwardingRegistry {
  public:
    using ForwardingRegistry::ForwardingRegistry;
    std::vector<std::string> log;

    std::uint32_t DeleteValue(platform::RegistryKey key, const std::string& name) override {
        log.push_back("-" + name);
        return inner_.DeleteValue(key, name);
    }
    std::uint32_t SetValue(platform::RegistryKey key, const std::string& name, std::uint32_t type,
                           std::span<const std::uint8_t> data) override {
        std::string text(data.begin(), data.end());
        if (!text.empty() && text.back() == '\0') {
            text.pop_back();
        }
        log.push_back(name + "=" + text);
        return inner_.SetValue(key, name, type, data);
    }
};

class OptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        files.files["C:\\Pellmark\\Languages\\English.txt"] = "[English]\n";
        files.files["C:\\Pellmark\\Languages\\German.txt"] = "[German]\n";
        patternFiles.SetPattern("*.ips");
    }

    void Setting(const char* key, const std::string& value) {
        store.Save(kSettingsSection, key, value);
    }
    [[nodiscard]] std::string Stored(const char* key) const {
        return store.Get(kSettingsSection, key, "(none)");
    }
    // Loads the dialog over these saved patterns; the log starts empty.
    frmOptions& Open(const std::vector<std::string>& patterns = {"Home", "Work"}) {
        files.folders.insert(kPatterns);
        for (const std::string& name : patterns) {
            files.files[kPatterns + name + ".ips"] = "1\n";
        }
        patternFiles.SetPath(kPatterns);
        dialog = std::make_unique<frmOptions>(
            forms,
            OptionsContext{
                .files = files,
                .dialogs = dialogs,
                .registry = registry,
                .programPath = kProgram,
                .shortcuts = &shortcuts,
                .programFolder = kFolder,
                .patternFiles = patternFiles,
                .applyLanguage = [this](const std::string& name) { applied.push_back(name); },
                .checkForNewVersion = [this](forms::Label& link) { checked.push_back(&link); },
            });
        dialog->Open();
        registry.log.clear();
        return *dialog;
    }
    [[nodiscard]] std::optional<std::string> RunValue() {
        RegistryValue value;
        if (GetRegistryValue(registry, "HKCU", kRunKey, "Pellmark", "S", std::string("(none)"),
                             value) != 0) {
            return std::nullopt;
        }
        return std::get<std::string>(value);
    }

    sim::SimFormsBackend forms;
    sim::SimFiles files;
    sim::SimDialogs dialogs;
    sim::SimRegistry simRegistry;
    LoggingRegistry registry{simRegistry};
    SettingsStore store{registry};
    sim::SimShell shell{files};
    Shortcuts shortcuts{shell, files, dialogs, kFolder, "pellmark"};
    forms::FileList patternFiles{files};
    std::vector<std::string> applied;
    std::vector<forms::Label*> checked;
    std::unique_ptr<frmOptions> dialog;
};

TEST_F(OptionsTest, SaveWritesEveryKeyInOrderAndThePatternOnlyWhenARestoreIsTicked) {
    struct Case {
        int startup;
        int resolution;
        std::vector<std::string> restoreWrites;  // what comes before CloseWhenRestored
    };
    const std::string work = "PatternToRestore=Work";
    const Case cases[] = {
        {0, 0, {"RestoreOnResChange=0", "RestoreOnStartup=0", "PatternToRestore="}},
        {0, 1, {"RestoreOnResChange=1", work, "RestoreOnStartup=0", work}},
        {1, 0, {"RestoreOnResChange=0", "RestoreOnStartup=1", work, work}},
        {1, 1, {"RestoreOnResChange=1", work, "RestoreOnStartup=1", work, work}},
    };
    // The Run key is there, so turning the start with Windows off deletes its value.
    SetLoadOnStartup(registry, true, kCurrentUserScope, kProgram);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.startup) + std::to_string(c.resolution));
        frmOptions& options = Open();
        // The list can be reached only while a restore box is ticked.
        options.chkStartup.SetValue(1);
        options.cboPatterns.UserSelect(1);
        options.chkStartup.SetValue(c.startup);
        options.chkScrRes.SetValue(c.resolution);
        options.chkCloseProgram.SetValue(1);
        options.chkQuietCommandLine.SetValue(1);
        options.chkSaveOnClose.SetValue(1);
        options.cboAutoSave.UserType("Evening");
        options.cboLanguage.UserSelect(1);
        options.SaveOptions();

        std::vector<std::string> expected = c.restoreWrites;
        for (const char* write : {"CloseWhenRestored=1", "QuietCommandLine=1", "LoadInSysTray=0",
                                  "-Pellmark", "LoadOnStartup=0", "OnLoadHide=0", "FollowScreens=1",
                                  "LockIcons=0", "SavePatternOnStart=0", "SavePatternOnClose=1",
                                  "PatternToAutoSave=Evening", "Language=German"}) {
            expected.emplace_back(write);
        }
        EXPECT_EQ(registry.log, expected);
        EXPECT_EQ(Stored("PatternToRestore"), c.startup + c.resolution == 0 ? "" : "Work");
    }
}

TEST_F(OptionsTest, LoadFillsTheListsAndReadsTheStore) {
    // An empty store: what the dialog shows, and what OK then keeps.
    frmOptions& fresh = Open({"Home", "Work"});
    EXPECT_EQ(fresh.cboPatterns.Items(), (std::vector<std::string>{"Home", "Work"}));
    EXPECT_EQ(fresh.cboAutoSave.Items(), (std::vector<std::string>{"Home", "Work"}));
    EXPECT_EQ(fresh.cboLanguage.Items(), (std::vector<std::string>{"English", "German"}));
    EXPECT_EQ(fresh.cboPatterns.Text(), "Home");
    EXPECT_EQ(fresh.cboAutoSave.Text(), kDefaultAutoSavePattern);
    EXPECT_EQ(fresh.cboLanguage.Text(), "English");
    EXPECT_FALSE(fresh.chkStartHidden.Enabled()) << "no tray icon to come back from";
    // Loaded hidden, as at start-up: each opening reads the pattern folder again.
    fresh.Hide();
    files.files[std::string(kPatterns) + "Evening.ips"] = "1\n";
    fresh.Open();
    EXPECT_EQ(fresh.cboPatterns.Items(), (std::vector<std::string>{"Evening", "Home", "Work"}));
    EXPECT_EQ(fresh.cboAutoSave.Items(), (std::vector<std::string>{"Evening", "Home", "Work"}));
    files.files.erase(std::string(kPatterns) + "Evening.ips");
    fresh.cmdOK.UserClick();
    EXPECT_FALSE(fresh.Loaded()) << "OK closes the dialog";
    EXPECT_EQ(Stored("PatternToAutoSave"), kDefaultAutoSavePattern);
    EXPECT_EQ(Stored("PatternToRestore"), "");

    // Stored values; a pattern that is gone leaves the first selected, and a language
    // whose file is gone leaves none, and is kept.
    Setting("RestoreOnResChange", "1");
    Setting("PatternToRestore", "Gone");
    Setting("CloseWhenRestored", "1");
    Setting("QuietCommandLine", "1");
    Setting("LoadInSysTray", "True");
    Setting("OnLoadHide", "1");
    Setting("SavePatternOnStart", "1");
    Setting("PatternToAutoSave", "Night");
    Setting("Language", "Klingon");
    frmOptions& stored = Open();
    EXPECT_EQ((std::vector<int>{stored.chkScrRes.Value(), stored.chkStartup.Value(),
                                stored.chkCloseProgram.Value(), stored.chkQuietCommandLine.Value(),
                                stored.chkStartInSysTray.Value(), stored.chkStartHidden.Value(),
                                stored.chkSaveOnStart.Value()}),
              (std::vector<int>{1, 0, 1, 1, 1, 1, 1}));
    EXPECT_TRUE(stored.chkStartHidden.Enabled());
    EXPECT_EQ(stored.cboPatterns.Text(), "Home");
    EXPECT_EQ(stored.cboAutoSave.Text(), "Night");
    EXPECT_EQ(stored.cboLanguage.ListIndex(), -1);
    stored.cmdOK.UserClick();
    EXPECT_EQ(Stored("PatternToRestore"), "Home");
    EXPECT_EQ(Stored("Language"), "Klingon");
    stored.Hide();
    stored.Open();
    stored.cmdApply.UserClick();
    EXPECT_EQ(applied, (std::vector<std::string>{"Klingon"}));

    // No saved pattern: both restore boxes off and out of reach.
    files.files.clear();
    SetUp();
    Setting("RestoreOnStartup", "0");
    Setting("RestoreOnResChange", "0");
    frmOptions& none = Open({});
    EXPECT_FALSE(none.chkStartup.Enabled());
    EXPECT_FALSE(none.chkScrRes.Enabled());
    EXPECT_FALSE(none.cboPatterns.Enabled());
    none.cmdOK.UserClick();
    EXPECT_EQ(Stored("PatternToRestore"), "");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(OptionsTest, TheEnableRulesAndTheToolTipsFollowTheBoxes) {
    frmOptions& options = Open();
    struct Case {
        int first;
        int second;
        bool enabled;
    };
    for (const Case& c : {Case{0, 0, false}, Case{1, 0, true}, Case{0, 1, true}, Case{1, 1, true},
                          Case{0, 0, false}}) {
        SCOPED_TRACE(std::to_string(c.first) + std::to_string(c.second));
        options.chkStartup.SetValue(c.first);
        options.chkScrRes.SetValue(c.second);
        EXPECT_EQ(options.cboPatterns.Enabled(), c.enabled);
        EXPECT_EQ(options.lblPatterns.Enabled(), c.enabled);
        options.chkSaveOnStart.SetValue(c.first);
        options.chkSaveOnClose.SetValue(c.second);
        EXPECT_EQ(options.cboAutoSave.Enabled(), c.enabled);
        EXPECT_EQ(options.lblAutoSave.Enabled(), c.enabled);
    }
    // Start hidden only with the tray icon; its tick mark stays as it was.
    options.chkStartInSysTray.UserClick();
    EXPECT_TRUE(options.chkStartHidden.Enabled());
    options.chkStartHidden.UserClick();
    options.chkStartInSysTray.UserClick();
    EXPECT_FALSE(options.chkStartHidden.Enabled());
    EXPECT_EQ(options.chkStartHidden.Value(), 1);
    options.SaveOptions();
    EXPECT_EQ(Stored("OnLoadHide"), "0") << "hidden without a tray icon is never stored";

    // The restore boxes' tool tips name the chosen pattern.
    frmOptions& tips = Open({"Home", "Work day"});
    EXPECT_EQ(tips.chkStartup.ToolTip(),
              "When Pellmark is run it will restore the Icon Pattern ''Home''");
    tips.cboPatterns.UserSelect(1);
    EXPECT_EQ(tips.cboPatterns.Text(), "Home") << "out of reach while no restore is ticked";
    tips.chkScrRes.UserClick();
    tips.cboPatterns.UserSelect(1);
    EXPECT_EQ(tips.chkStartup.ToolTip(),
              "When Pellmark is run it will restore the Icon Pattern ''Work day''");
    EXPECT_EQ(tips.chkScrRes.ToolTip(),
              "When the screen resolution changes, the Icon Pattern ''Work day'' will be restored");
    // The other tool tips, spacing as shown.
    EXPECT_EQ(tips.chkStartInSysTray.ToolTip(),
              "When Pellmark is run it will start in the system tray   (Next to the clock, on the "
              "taskbar)");
    EXPECT_EQ(tips.cboAutoSave.ToolTip(),
              "This is the pattern that will be used to  automatically save the icon pattern.");
}

TEST_F(OptionsTest, OkApplyAndCancel) {
    for (const bool apply : {false, true}) {
        frmOptions& options = Open();
        options.chkSaveOnStart.UserClick();
        options.cboAutoSave.UserType("");
        options.cboLanguage.UserSelect(1);
        (apply ? options.cmdApply : options.cmdCancel).UserClick();
        EXPECT_EQ(options.Loaded(), apply) << "Apply leaves the dialog open, Cancel closes it";
        EXPECT_EQ(registry.log.empty(), !apply) << "Cancel writes nothing";
        EXPECT_EQ(applied, apply ? std::vector<std::string>{"German"} : std::vector<std::string>{});
    }
    frmOptions& again = *dialog;
    EXPECT_EQ(Stored("SavePatternOnStart"), "1");
    EXPECT_EQ(Stored("PatternToAutoSave"), kDefaultAutoSavePattern) << "an empty name";
    EXPECT_EQ(again.cboAutoSave.Text(), kDefaultAutoSavePattern);

    // The link starts the check, and the mouse underlines it until it leaves.
    again.lblChkForUpdate.UserClick();
    EXPECT_EQ(checked, (std::vector<forms::Label*>{&again.lblChkForUpdate}));
    again.lblChkForUpdate.UserMouseMove({});
    EXPECT_TRUE(again.lblChkForUpdate.GetFont().underline);
    again.UserMouseMove({});
    EXPECT_FALSE(again.lblChkForUpdate.GetFont().underline);
}

TEST_F(OptionsTest, ALoadFailureIsToldAndTheDialogOpensWithWhatItHas) {
    // No language file, or no Languages folder at all: the English built into the program
    // is offered, and nothing is said.
    files.files.erase("C:\\Pellmark\\Languages\\English.txt");
    frmOptions& options = Open();
    EXPECT_EQ(options.cboLanguage.Items(), (std::vector<std::string>{"English", "German"}));
    files.files.erase("C:\\Pellmark\\Languages\\German.txt");
    frmOptions& alone = Open();
    EXPECT_EQ(alone.cboLanguage.Items(), (std::vector<std::string>{"English"}));
    EXPECT_EQ(alone.cboLanguage.Text(), "English");
    EXPECT_TRUE(dialogs.shown.empty());

    // A stored state no check box can take stops the load: it is told, and the dialog
    // opens with what it has.
    SetUp();
    Setting("CloseWhenRestored", "yes");
    const frmOptions& failed = Open();
    EXPECT_EQ(dialogs.Said(),
              std::vector<std::string>{"None Error: 13\nType mismatch\nFrom Options Load code"});
    EXPECT_EQ(failed.cboPatterns.ListCount(), 2) << "filled before the failure";
}

TEST_F(OptionsTest, TheRunValueAndTheShortcutsFollowTheBoxes) {
    SetLoadOnStartup(registry, false, kCurrentUserScope, kProgram);
    EXPECT_EQ(RunValue(), std::nullopt) << "never on: nothing to remove, nothing said";

    frmOptions& options = Open();
    options.chkLoadOnWinStart.UserClick();
    options.cmdApply.UserClick();
    EXPECT_EQ(RunValue(), "\"C:\\Pellmark\\pellmark.Exe\"");
    EXPECT_EQ(Stored("LoadOnStartup"), "1");
    options.chkLoadOnWinStart.UserClick();
    options.cmdOK.UserClick();
    EXPECT_EQ(RunValue(), std::nullopt);
    EXPECT_EQ(Stored("LoadOnStartup"), "0");

    // Any other scope is the machine's Run key.
    SetLoadOnStartup(registry, true, 2, "C:\\Program Files\\Pellmark\\pellmark.Exe");
    RegistryValue machine;
    EXPECT_EQ(GetRegistryValue(registry, "HKLM", kRunKey, "Pellmark", "S", std::string(), machine),
              0U);
    EXPECT_EQ(std::get<std::string>(machine), "\"C:\\Program Files\\Pellmark\\pellmark.Exe\"");
    EXPECT_TRUE(dialogs.shown.empty());

    // Shortcuts are made, read back and removed as the boxes say.
    frmOptions& boxes = Open();
    EXPECT_EQ(boxes.chkShortcutOnDesktop.Value(), 0);
    boxes.chkShortcutOnStartMenu.UserClick();
    boxes.cmdApply.UserClick();
    EXPECT_EQ(shell.ReadShortcut(kStartMenuLink),
              (platform::ShortcutTarget{kProgram, "C:\\Pellmark"}));
    EXPECT_FALSE(shortcuts.DesktopShortcutExists());

    // The desktop one beside it leaves the Start Menu's in place.
    boxes.chkShortcutOnDesktop.UserClick();
    boxes.cmdOK.UserClick();
    EXPECT_TRUE(shortcuts.StartMenuShortcutExists());
    EXPECT_EQ(shell.ReadShortcut(kDesktopLink),
              (platform::ShortcutTarget{kProgram, "C:\\Pellmark"}));

    // The next opening finds both, and not before it opens: a load alone asks no shell.
    frmOptions& again = Open();
    again.Unload();
    again.chkShortcutOnDesktop.SetValue(0);
    again.Load();
    EXPECT_EQ(again.chkShortcutOnDesktop.Value(), 0);
    again.Open();
    EXPECT_EQ(again.chkShortcutOnDesktop.Value(), 1);
    EXPECT_EQ(again.chkShortcutOnStartMenu.Value(), 1);
    again.chkShortcutOnStartMenu.UserClick();
    again.cmdOK.UserClick();
    EXPECT_FALSE(shortcuts.StartMenuShortcutExists());
    EXPECT_TRUE(shortcuts.DesktopShortcutExists());

    // The desktop one alone leaves nothing in the Start Menu.
    files.files.erase(kDesktopLink);
    EXPECT_TRUE(shortcuts.CreateDesktopShortcut());
    EXPECT_FALSE(shortcuts.StartMenuShortcutExists());
    // Deleting what is not there, or will not go, says nothing.
    files.undeletable.insert(kDesktopLink);
    shortcuts.DeleteDesktopShortcut();
    shortcuts.DeleteStartMenuShortcut();
    EXPECT_TRUE(dialogs.shown.empty());

    // A shortcut the shell cannot make is told, and the box stays what the user chose.
    shell.shortcutFailure = {5, "Access is denied."};
    EXPECT_FALSE(shortcuts.CreateStartMenuShortcut());
    EXPECT_EQ(dialogs.Said(),
              std::vector<std::string>{"Critical There was a problem creating a "
                                       "shortcut to the file:\nC:\\Pellmark\\pellmark.Exe"});
}

TEST_F(OptionsTest, TheFoldersComeFromTheShellOrTheProfileRule) {
    EXPECT_EQ(shortcuts.GetDesktopFolder(), "C:\\Users\\Ada\\Desktop\\");
    EXPECT_EQ(shortcuts.StartMenuShortcutPath(), kStartMenuLink);
    EXPECT_EQ(shortcuts.GetWindowsFolder(), "C:\\WINDOWS\\");

    // Where the shell cannot say: the user's profile, or the Windows folder's own.
    shell.userFolders.clear();
    struct Case {
        std::string user;
        std::string desktop;
        std::string programs;
    };
    const Case cases[] = {
        {"Ada", "C:\\WINDOWS\\Profiles\\Ada\\Desktop\\",
         "C:\\WINDOWS\\Profiles\\Ada\\Start Menu\\Programs\\"},
        {"", "C:\\WINDOWS\\Desktop\\", "C:\\WINDOWS\\Start Menu\\Programs\\"},
        {std::string("\0\0\0", 3), "C:\\WINDOWS\\Desktop\\", "C:\\WINDOWS\\Start Menu\\Programs\\"},
    };
    for (const Case& c : cases) {
        shell.userName = c.user;
        Shortcuts fresh(shell, files, dialogs, kFolder, "pellmark");
        EXPECT_EQ(fresh.GetDesktopFolder(), c.desktop) << c.user.size();
        EXPECT_EQ(fresh.GetProgramsFolder(), c.programs) << c.user.size();
    }

    // The name is asked for until there is one, then kept.
    shell.userName.clear();
    Shortcuts cached(shell, files, dialogs, kFolder, "pellmark");
    const int reads = shell.userNameReads;
    EXPECT_EQ(cached.GetLogonUserName(), "");
    shell.userName = "Bob";
    EXPECT_EQ(cached.GetLogonUserName(), "Bob");
    shell.userName = "Eve";
    EXPECT_EQ(cached.GetLogonUserName(), "Bob");
    EXPECT_EQ(shell.userNameReads, reads + 2);
}

}  // namespace
}  // namespace pellmark
