// The program on the in-memory backend: start-up, the main window's load and close, the
// command line and the pattern page, driven as a user drives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/RunTimeError.h"
#include "settings/LanguageFile.h"
#include "settings/Messages.h"
#include "tests/common/PatternText.h"
#include "tests/native/ProgramHarness.h"

namespace pellmark {
namespace {

using platform::MessageAnswer;
using platform::MessageIcon;
using testcases::PatternText;

constexpr const char* kFolder = testcases::kPatternFolder;

class MainWindowTest : public ::testing::Test, public testcases::ProgramHarness {
  protected:
    MainWindowTest() {
        desktop.icons = {{"Recycle Bin", 18, 2, 0}, {"Notes", 100, 100, 1}, {"Tools", 200, 100, 2}};
        // Work.ips puts the three icons elsewhere.
        AddPattern("Work", PatternText(1024, 768,
                                       {{"Recycle Bin", " 500 ", " 400 "},
                                        {"Notes", " 600 ", " 400 "},
                                        {"Tools", " 700 ", " 400 ", "True"}}));
    }

    [[nodiscard]] int Markers() const {
        return static_cast<int>(form->patterns.lblPrevIcon.size()) - 1;
    }
    [[nodiscard]] int VisibleMarkers() const {
        return static_cast<int>(std::count_if(form->patterns.lblPrevIcon.begin() + 1,
                                              form->patterns.lblPrevIcon.end(),
                                              [](const forms::Label* m) { return m->Visible(); }));
    }
    [[nodiscard]] bool AtWorkPositions() const {
        return desktop.icons[0].x == 500 && desktop.icons[1].x == 600 &&
               desktop.icons[2].x == 700 + 15360;  // the hidden one stays off the screen
    }
    void Select(const std::string& name) {
        const auto& items = form->patterns.List1.Items();
        const auto found = std::find(items.begin(), items.end(), name);
        ASSERT_NE(found, items.end()) << name;
        form->patterns.List1.UserSelect(static_cast<int>(found - items.begin()));
    }
};

TEST_F(MainWindowTest, OneCopyAndTheNtWarningOnce) {
    system.anotherCopyRunning = true;
    EXPECT_FALSE(Start("SAVE Home"));
    EXPECT_EQ(dialogs.Said(), std::vector<std::string>{"Information Pellmark is already running."});
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home.ips"), 0u);

    // Windows 10, 98 and 2000 reach the desktop: a first start asks nothing.
    system.anotherCopyRunning = false;
    for (const VersionInfo& version : {system.version, VersionInfo{148, 4, 10, 2222, 1, "A"},
                                       VersionInfo{148, 5, 0, 2195, 2, ""}}) {
        system.version = version;
        dialogs.shown.clear();
        EXPECT_TRUE(Start());
        EXPECT_TRUE(dialogs.shown.empty()) << version.majorVersion;
        EXPECT_EQ(store.Get(kWarnSection, "GaveNT", "absent"), "absent");
    }

    // NT 3.51 has no way to Explorer's icons: the warning, once.
    system.version = {148, 3, 51, 1057, 2, ""};
    dialogs.shown.clear();
    dialogs.answers = {MessageAnswer::No};
    EXPECT_FALSE(Start());
    EXPECT_EQ(dialogs.Said(),
              std::vector<std::string>{"Exclamation YesNo " + std::string(kNtWarning)});
    EXPECT_EQ(store.Get(kWarnSection, "GaveNT", "absent"), "absent");
    EXPECT_FALSE(form->Loaded());

    dialogs.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(Start());
    EXPECT_EQ(store.Get(kWarnSection, "GaveNT", ""), "True");
    EXPECT_TRUE(form->Visible());
    dialogs.shown.clear();
    EXPECT_TRUE(Start());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowTest, LoadRunsItsStepsInOrderAndAFailureNamesItsStep) {
    ASSERT_TRUE(Start());
    const std::vector<std::string> expected = {"Main Loading procedures",
                                               "Shaping form",
                                               "Positioning controls",
                                               "Retrieving Desktop Colours",
                                               "Running general sub routines",
                                               "Load current desktop icons into preview",
                                               "Load up the Special Desktop icons",
                                               "Load settings for misc tab",
                                               "Get settings",
                                               "Get Desktop Text Background Colour",
                                               "Perform auto save functions",
                                               "Load the language file",
                                               "implement settings",
                                               "Handling command arguments"};
    // With no command line and nothing at start-up that needs the icons, the desktop's
    // colours and icons (and the captions' background, kept to be put back) are read at the
    // first tick after the window has shown and painted.
    std::vector<std::string> later = expected;
    later.insert(later.end(), {expected[3], expected[4], expected[5], expected[9]});
    EXPECT_EQ(steps, later);
    EXPECT_EQ(Markers(), 3);
    EXPECT_EQ(form->showHideIcons.ListView1.ItemCount(), 3);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(form->Settings().LanguageFile, "C:\\Pellmark\\Languages\\English.txt");

    // A run-time error in the language step: one message, and the steps after it run.
    steps.clear();
    Setting("OnLoadHide", "True");
    services.commandLine = "SAVE Home";
    form = std::make_unique<Form1>(services, menus, about);
    form->StepStarted = [this](std::string_view step) {
        steps.emplace_back(step);
        if (step == "Load the language file") {
            throw RunTimeError(53, "File not found");
        }
    };
    ASSERT_TRUE(Main(services, *form));
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(Markers(), 3);  // a command line keeps the read before the window shows
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              "Error: 53\nFile not found\n\n"
              "Pellmark encoutered a problem while trying to Load the language file");
    EXPECT_EQ(dialogs.shown[0].caption, "Loading main Form");
    EXPECT_EQ(dialogs.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home.ips"), 1u);
    // Not hidden by step 13: a window nobody could reach is shown instead.
    EXPECT_TRUE(form->Visible());

    // A folder where the special icons' list should be: the load does not read it, and
    // the page says what is wrong when it shows.
    dialogs.shown.clear();
    files.folders.insert("C:\\Pellmark\\SpecialDesktopIcons.cfg\\");
    ASSERT_TRUE(Start("SAVE Other"));
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Other.ips"), 1u);
    form->Navigation().SideButtonClick(1);
    form->Navigation().TabClick(2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error: 5\nAccess is denied.\n\n"
                                                   "Problem Loading Special Icons into List"});
    EXPECT_EQ(form->removeIcons.lstvwSpecDeskIco.ItemCount(), 0);
}

TEST_F(MainWindowTest, ClosedWhileItLoadsTheLoadStopsAndTheClosingStepsRunOnce) {
    Setting("SavePatternOnClose", "True");
    Setting("PatternToAutoSave", "OnClose");
    forms.pendingEvents = [this] { form->UserClose(); };
    ASSERT_TRUE(Start("SAVE Home"));
    EXPECT_EQ(steps.back(), "Running general sub routines");
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(forms.programEnded);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(files.files.count(std::string(kFolder) + "OnClose.ips"), 1u);
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home.ips"), 0u);
}

TEST_F(MainWindowTest, AFolderThatCannotBeMadeIsReportedAndTheLoadGoesOn) {
    files.files.clear();
    testcases::PutShippedLanguage(files, testcases::kProgramFolder, "English");
    Setting("LoadInSysTray", "True");
    files.folderFailure = {5, "Access is denied."};
    ASSERT_TRUE(Start("SAVE Home"));
    EXPECT_EQ(steps.size(), 14u);
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages()[0],
              "Error: 76\nPath not found\n\nPellmark encoutered a problem while "
              "trying to Main Loading procedures");
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(forms.trayLog.empty());  // the settings were applied: the tray icon shows
    EXPECT_EQ(form->patterns.List1.ListCount(), 0);
}

TEST_F(MainWindowTest, CommandLines) {
    AddPattern("", PatternText(1024, 768, {{"Notes", " 1 ", " 1 "}}));
    AddPattern(" Work", PatternText(1024, 768, {{"Notes", " 2 ", " 2 "}}));
    struct Case {
        std::string line;
        int notesX;  // where Notes ends up
        std::vector<std::string> messages;
    };
    const std::string badName = MessageText("0931") + "\n\\ / : *  ? \" < >  |";
    const std::string tooShort =
        "Error: 5\nInvalid procedure call or argument\n\n"
        "Pellmark encoutered a problem while trying to Handling command arguments";
    const std::vector<Case> cases = {
        {"LOAD Work", 600, {}},
        {"LOAD  Work", 2, {}},
        {"LOAD ", 1, {}},
        {"LOAD", 100, {tooShort}},
        {"LOAD \"Work\"", 100, {badName}},
        {"HELP Work", 100, {}},
        {"LOAD Gone",
         100,
         {"File: C:\\Pellmark\\SavedPositions\\Gone.ips not found. Unable to "
          "restore pattern."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        desktop.icons[1].x = 100;
        dialogs.shown.clear();
        ASSERT_TRUE(Start(c.line));
        EXPECT_EQ(desktop.icons[1].x, c.notesX);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_TRUE(form->Loaded());
    }

    ASSERT_TRUE(Start("SAVE Home"));
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home.ips"), 1u);
    EXPECT_EQ(form->patterns.List1.Items(),
              (std::vector<std::string>{" Work", "", "Home", "Work"}));

    // A new pattern's name may not end in a dot or a space; nothing is written.
    dialogs.shown.clear();
    ASSERT_TRUE(Start("SAVE Home."));
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"A pattern name may not end with a dot or a space."});
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home..ips"), 0u);
}

TEST_F(MainWindowTest, CloseWhenRestoredEndsAnyCommandLineRunAfterTheClosingSteps) {
    Setting("CloseWhenRestored", "True");
    Setting("SavePatternOnClose", "True");
    Setting("PatternToAutoSave", "OnClose");
    files.files[system.tempFolder + "TEMP~~1.tmp"] = "x";
    files.files[system.tempFolder + "TEMP~~2.tmp"] = "x";

    ASSERT_TRUE(Start());  // no command line: the setting has no effect
    EXPECT_TRUE(form->Loaded());
    EXPECT_FALSE(forms.programEnded);

    for (const std::string line : {"LOAD Work", "HELP me"}) {
        SCOPED_TRACE(line);
        forms.programEnded = false;
        files.files.erase(std::string(kFolder) + "OnClose.ips");
        ASSERT_TRUE(Start(line));
        EXPECT_FALSE(form->Loaded());
        EXPECT_FALSE(menus.Loaded());
        EXPECT_TRUE(forms.programEnded);
        EXPECT_EQ(files.files.count(std::string(kFolder) + "OnClose.ips"), 1u);
        EXPECT_EQ(files.files.count(system.tempFolder + "TEMP~~1.tmp"), 0u);
        EXPECT_EQ(files.files.count(system.tempFolder + "TEMP~~2.tmp"), 0u);
    }
    EXPECT_TRUE(AtWorkPositions());
}

TEST_F(MainWindowTest, ACommandLineRunEndsWithAnExitCodeQuietlyOrAfterItsMessage) {
    Setting("CloseWhenRestored", "True");
    Setting("QuietCommandLine", "1");
    AddPattern("Old",
               PatternText(1024, 768, {{"Notes", " 1 ", " 1 "}}, "Pellmark | version | 1.9.0"));
    const std::string tooLong(229, 'n');  // 228 fit in "C:\Pellmark\SavedPositions\"
    struct Case {
        std::string line;
        void (*arrange)(testcases::ProgramHarness&);
        int exitCode;
        bool says = true;  // a message, to the console alone
    };
    const auto asIs = [](testcases::ProgramHarness&) {};
    const auto noDesktop = [](testcases::ProgramHarness& h) { h.desktop.present = false; };
    const std::vector<Case> cases = {
        {"LOAD Work", asIs, 0, false},
        {"SAVE Home", asIs, 0, false},
        {"SAVE " + std::string(228, 'n'), asIs, 0, false},
        {"LOAD", asIs, 1},
        {"LOAD Work", [](testcases::ProgramHarness& h) { h.desktop.autoArrange = true; }, 1},
        {"SAVE CON", asIs, 2},
        {"HELP a*b", asIs, 2},
        {"SAVE " + tooLong, asIs, 2},
        {"LOAD Gone", asIs, 3},
        {"LOAD Old", asIs, 4, false},  // silent, as every command-line LOAD
        {"SAVE Fresh", noDesktop, 5},
        {"SAVE Work", noDesktop, 5},
        {"SAVE Work",
         [](testcases::ProgramHarness& h) {
             h.files.flushFailure = {1117, "I/O device error."};
         },
         6},
    };
    const std::string work = files.files.at(std::string(kFolder) + "Work.ips");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 12));
        desktop.present = true;
        desktop.autoArrange = false;
        files.flushFailure = {};
        forms.programEnded = false;
        system.console.clear();
        c.arrange(*this);
        ASSERT_TRUE(Start(c.line));
        EXPECT_EQ(form->ExitCode(), c.exitCode);
        EXPECT_TRUE(forms.programEnded);
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(!system.console.empty(), c.says);
    }
    EXPECT_EQ(files.files.at(std::string(kFolder) + "Work.ips"), work);
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Fresh.ips"), 0u);
    EXPECT_EQ(files.files.count(std::string(kFolder) + tooLong + ".ips"), 0u);
    EXPECT_EQ(system.console, std::vector<std::string>{"Error: 1117\nI/O device error."});

    // Without QuietCommandLine the same code follows the answered message, which names the
    // limit of a name too long.
    Setting("QuietCommandLine", "0");
    system.console.clear();
    ASSERT_TRUE(Start("SAVE " + tooLong));
    EXPECT_EQ(form->ExitCode(), 2);
    EXPECT_EQ(Messages(), std::vector<std::string>{"This pattern name is too long. Here a name "
                                                   "may have at most this many characters: 228"});
    EXPECT_EQ(system.console, Messages());
}

TEST_F(MainWindowTest, PatternListAndPreview) {
    files.files.clear();
    testcases::PutShippedLanguage(files, testcases::kProgramFolder, "English");
    AddPattern(
        "Work",
        PatternText(1024, 768,
                    {{"A", " 1 ", " 1 "}, {"B", " 2 ", " 2 ", "True"}, {"C", " 3 ", " 3 "}}));
    AddPattern("home", PatternText(800, 600, {}));
    std::vector<testcases::Record> twenty;
    for (int i = 0; i < 20; ++i) {
        twenty.push_back({"Icon " + std::to_string(i), " 10 ", " 20 "});
    }
    AddPattern("Demo", PatternText(1024, 768, twenty));
    files.files[std::string(kFolder) + "notes.txt"] = "";
    files.files[std::string(kFolder) + "old.ipsx"] = "";
    // As at a real start: no messages until the language is read, after the preview.
    ProgramMessages() = {};
    ASSERT_TRUE(Start());
    EXPECT_EQ(form->patterns.List1.Items(), (std::vector<std::string>{"Demo", "home", "Work"}));
    // The desktop's own icons are previewed at start, counted in the language's words.
    EXPECT_EQ(Markers(), 3);
    EXPECT_EQ(form->patterns.lblNoIcons.Caption(), "3 icons");
    EXPECT_EQ(form->patterns.picPreview.ScaleWidth(), 1024);

    Select("Demo");
    EXPECT_EQ(Markers(), 20);
    Select("Work");
    EXPECT_EQ(form->patterns.txtFile.Text(), "Work");
    EXPECT_EQ(Markers(), 3);
    EXPECT_EQ(VisibleMarkers(), 2);
    EXPECT_EQ(form->patterns.lblPrevIcon[1]->ToolTip(), "A");
    EXPECT_EQ(form->patterns.lblPrevIcon[1]->GetBounds(), (forms::Bounds{1, 1, 60, 60}));
    EXPECT_EQ(form->patterns.lblNoIcons.Caption(), "3 icons");

    // Another version's file, and a coordinate beyond 16 bits (it keeps the previous one).
    AddPattern("Old", PatternText(1024, 768, {{"A", " 1 ", " 1 "}}, "Pellmark | version | 1.9.0"));
    AddPattern("Wide", PatternText(1024, 768, {{"A", " 5 ", " 6 "}, {"B", " 40000 ", " 7 "}}));
    form->UserKeyUp(kKeyF5);
    EXPECT_EQ(form->patterns.List1.ListCount(), 5);
    Select("Wide");
    ASSERT_EQ(Markers(), 2);
    EXPECT_EQ(form->patterns.lblPrevIcon[2]->GetBounds().left, 5);
    EXPECT_EQ(form->patterns.lblPrevIcon[2]->GetBounds().top, 7);
    dialogs.shown.clear();
    Select("Old");
    EXPECT_EQ(dialogs.Said(), std::vector<std::string>{"Question " + MessageText("0934")});
    EXPECT_EQ(form->patterns.lblNoIcons.Caption(), "Bad file");
    EXPECT_EQ(Markers(), 0);
    EXPECT_EQ(files.openReaders, 0);
}

TEST_F(MainWindowTest, DeletingAPattern) {
    AddPattern("Home", PatternText(1024, 768, {}));
    files.files[std::string(kFolder) + "Home.names"] = "Pellmark | parsing names | 1\r\n";
    ASSERT_TRUE(Start());
    form->patterns.List1.UserKeyDown(kKeyDelete);  // nothing selected
    EXPECT_TRUE(dialogs.shown.empty());

    Select("Work");
    dialogs.answers = {MessageAnswer::No};
    form->patterns.List1.UserKeyDown(kKeyDelete);
    EXPECT_EQ(dialogs.Said(),
              std::vector<std::string>{"Question YesNo " + MessageText("0935") + " \"Work\""});
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Work.ips"), 1u);

    // A right-click lands on Home; the menu's Delete asks about it.
    forms.menuChoices = {"mnuSaveList_Delete"};
    dialogs.answers = {MessageAnswer::Yes};
    form->patterns.List1.UserMouseUp({.button = forms::MouseButton::Right, .x = 4, .y = 4});
    ASSERT_EQ(forms.menuLog.size(), 1u);
    EXPECT_EQ(forms.menuLog[0].menu, "mnuSaveList");
    EXPECT_EQ(forms.menuLog[0].owner, "frmMenus");
    EXPECT_EQ(forms.menuLog[0].asker, "Form1");
    EXPECT_EQ(dialogs.shown.back().text, MessageText("0935") + " \"Home\"");
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home.ips"), 0u);
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home.names"), 0u) << "its names go too";
    EXPECT_EQ(form->patterns.List1.Items(), std::vector<std::string>{"Work"});

    // A file that will not go: the message names it and the list is read again.
    files.undeletable.insert(std::string(kFolder) + "Work.ips");
    AddPattern("Later", "");
    Select("Work");
    dialogs.answers = {MessageAnswer::Yes};
    form->patterns.List1.UserKeyDown(kKeyDelete);
    EXPECT_EQ(dialogs.shown.back().text,
              "Error: 32\nThe process cannot access the file because it is being used by "
              "another process.\n\nProblem deleting: C:\\Pellmark\\SavedPositions\\Work.ips");
    EXPECT_EQ(dialogs.shown.back().icon, MessageIcon::Critical);
    EXPECT_EQ(form->patterns.List1.Items(), (std::vector<std::string>{"Later", "Work"}));

    // A right-click with nothing selected does nothing.
    forms.menusShown.clear();
    form->patterns.List1.UserMouseUp({.button = forms::MouseButton::Right, .x = 4, .y = 4});
    EXPECT_TRUE(forms.menusShown.empty());
}

TEST_F(MainWindowTest, SaveAndLoadButtons) {
    // A pattern picked before the load's late desktop read: the read comes first, and the
    // preview keeps the pattern (its hidden icon unshown).
    ASSERT_TRUE(Start("", false));
    EXPECT_EQ(Markers(), 0);
    Select("Work");
    forms.AdvanceClock(1);
    EXPECT_EQ(form->showHideIcons.ListView1.ItemCount(), 3);
    EXPECT_EQ(VisibleMarkers(), 2);
    ASSERT_TRUE(Start());
    form->patterns.cmdLoad.UserClick();  // nothing selected
    EXPECT_EQ(desktop.icons[1].x, 100);

    form->patterns.txtFile.UserType("Home");
    form->patterns.cmdSave.UserClick();
    EXPECT_EQ(files.files.count(std::string(kFolder) + "Home.ips"), 1u);
    EXPECT_EQ(form->patterns.List1.Items(), (std::vector<std::string>{"Home", "Work"}));
    EXPECT_EQ(form->patterns.txtFile.Text(), "Home");

    form->patterns.txtFile.UserType("a<b");
    form->patterns.cmdSave.UserClick();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(form->patterns.List1.ListCount(), 2);

    files.writeFailure = {5, "Access is denied."};
    form->patterns.txtFile.UserType("Locked");
    form->patterns.cmdSave.UserClick();
    EXPECT_EQ(dialogs.shown.back().caption, "Saving pattern");
    EXPECT_EQ(form->patterns.txtFile.Text(), "");
    files.writeFailure = {};

    Select("Work");
    form->patterns.cmdLoad.UserClick();
    EXPECT_TRUE(AtWorkPositions());
    // Not silent: an auto-arranged desktop says why nothing moved.
    desktop.autoArrange = true;
    dialogs.shown.clear();
    form->patterns.cmdLoad.UserClick();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find(MessageText("0937")), std::string::npos);

    // NT 3.51, where no way to the desktop exists, refuses both buttons.
    dialogs.shown.clear();
    system.version = {148, 3, 51, 1057, 2, ""};
    form->patterns.txtFile.UserType("NT351");
    form->patterns.cmdSave.UserClick();
    form->patterns.cmdLoad.UserClick();
    EXPECT_EQ(Messages(), (std::vector<std::string>(
                              2, "This function is disbaled in WindowsNT and Widows2000")));
    EXPECT_EQ(files.files.count(std::string(kFolder) + "NT351.ips"), 0u);
}

TEST_F(MainWindowTest, AutomaticRestoreAndSave) {
    Setting("RestoreOnStartup", "True");
    Setting("PatternToRestore", "WORK");  // found without regard to case
    ASSERT_TRUE(Start());
    EXPECT_TRUE(AtWorkPositions());
    EXPECT_TRUE(dialogs.shown.empty());

    Setting("PatternToRestore", "Gone");
    ASSERT_TRUE(Start());
    EXPECT_EQ(dialogs.Said(),
              std::vector<std::string>{"Exclamation \"Gone\" " + MessageText("0932")});
    EXPECT_EQ(store.Get(kSettingsSection, "PatternToRestore", "absent"), "");
    dialogs.shown.clear();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(dialogs.shown.empty());

    Setting("RestoreOnStartup", "False");

    // An empty name saves the file ".ips"; OnLoadHide keeps the window hidden, with the tray
    // icon to bring it back.
    Setting("SavePatternOnStart", "True");
    Setting("PatternToAutoSave", "");
    Setting("OnLoadHide", "True");
    Setting("LoadInSysTray", "True");
    ASSERT_TRUE(Start());
    EXPECT_EQ(files.files.count(std::string(kFolder) + ".ips"), 1u);
    EXPECT_EQ(form->patterns.List1.List(0), "");
    EXPECT_TRUE(form->Loaded());
    EXPECT_FALSE(form->Visible());

    // A forbidden name at closing is refused and nothing is saved. The options turn the
    // saving on while the program runs: the closing goes by the settings as they are then.
    Setting("SavePatternOnStart", "False");
    Setting("SavePatternOnClose", "False");
    Setting("PatternToAutoSave", "a*b");
    ASSERT_TRUE(Start());
    Setting("SavePatternOnClose", "True");
    dialogs.shown.clear();
    form->UserClose();
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text.rfind(MessageText("0931"), 0), 0u);
    EXPECT_TRUE(forms.programEnded);
    EXPECT_FALSE(form->Loaded());
}

TEST_F(MainWindowTest, TheWatcherRestoresWhenTheResolutionChanges) {
    Setting("RestoreOnResChange", "True");
    Setting("PatternToRestore", "Work");
    ASSERT_TRUE(Start());
    EXPECT_EQ(form->LastResolution(), "1024x768");
    desktop.screen = {800, 600};
    forms.AdvanceClock(1999);
    EXPECT_EQ(desktop.icons[1].x, 100);
    forms.AdvanceClock(1);
    EXPECT_EQ(desktop.icons[1].x, 469);  // 600 scaled from 1024 to 800 wide
    EXPECT_EQ(form->LastResolution(), "800x600");

    // Without the setting the timer never runs.
    Setting("RestoreOnResChange", "False");
    desktop.icons[1].x = 100;
    ASSERT_TRUE(Start());
    desktop.screen = {1024, 768};
    forms.AdvanceClock(10000);
    EXPECT_EQ(desktop.icons[1].x, 100);
}

}  // namespace
}  // namespace pellmark

namespace pellmark {
namespace {

using chrome::Page;

class MainWindowChromeTest : public MainWindowTest {
  protected:
    // The pages that show, by their boxes' names.
    [[nodiscard]] std::vector<std::string> Shown() const {
        std::vector<std::string> names;
        for (int page = 0; page < chrome::kPageCount; ++page) {
            const forms::Picture& box = form->PageBox(static_cast<Page>(page));
            if (box.Visible()) {
                names.push_back(box.Name());
            }
        }
        return names;
    }
    void ClickTitle() {
        form->UserMouseDown({.x = 120, .y = 20});
        form->UserMouseUp({.x = 120, .y = 20});
    }
    void ClickTab(int tab) { form->imgTabs.UserMouseUp({.x = tab * 377 / 3 + 20, .y = 10}); }
    [[nodiscard]] const forms::Bitmap& Picture(int id) {
        return forms.resourcePictures[chrome::PictureName(id)];
    }
};

TEST_F(MainWindowChromeTest, TheSkinShapesTheWindowAndTheMarkersTakeTheCaptionColour) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(form->forms::Form::Settings().border, forms::BorderStyle::None);
    EXPECT_TRUE(form->forms::Form::Settings().showInTaskbar);
    EXPECT_EQ(form->ClientWidth(), 8);
    EXPECT_EQ(form->ClientHeight(), 4);
    // The red corners are cut away, row by row.
    ASSERT_TRUE(form->Region().has_value());
    EXPECT_EQ(*form->Region(),
              (std::vector<forms::Bounds>{{1, 0, 7, 1}, {0, 1, 8, 1}, {0, 2, 8, 1}, {1, 3, 7, 1}}));
    EXPECT_EQ(form->patterns.lblPrevIcon[0]->BackColour(), desktop.textColour);
    ASSERT_GT(Markers(), 0);
    EXPECT_EQ(form->patterns.lblPrevIcon[1]->BackColour(), desktop.textColour);
    // The skin and the title are what the window paints.
    const auto painted = forms.PaintOf(*form);
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[1].find("text 52 9 360 26 #ffffff"), 0u) << painted[1];
    EXPECT_NE(painted[1].find(MessageText("0910")), std::string::npos) << painted[1];
}

TEST_F(MainWindowChromeTest, NavigationBetweenThePages) {
    ASSERT_TRUE(Start());
    EXPECT_EQ(Shown(), (std::vector<std::string>{"picContSavePos"}));
    EXPECT_EQ(form->Title(), MessageText("0910"));
    EXPECT_EQ(form->imgTabs.GetPicture(), Picture(chrome::TabStripPicture(1, 0)));

    // The introduction has no tabs: a tab click there changes nothing.
    form->imgSideButton[0]->UserClick();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"picIntroduction"}));
    EXPECT_EQ(form->Title(), "Introduction");
    EXPECT_TRUE(form->imgTabs.GetPicture().Empty());
    ClickTab(2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"picIntroduction"}));
    EXPECT_EQ(form->Title(), "Introduction");

    struct Case {
        int side;
        int tab;
        const char* box;
        const char* title;
        const char* help;
    };
    const Case cases[] = {
        {1, 0, "picContSavePos", "Icon Positions", "0920"},
        {1, 1, "picContShowHideIcons", "Show and Hide Icons", "0921"},
        {1, 2, "picContRemoveIcons", "Special Desktop Icons", "0922"},
        {2, 0, "picContIconSize", "Icon Size and Cache", "0923"},
        {2, 1, "picContMisc", "Explorer and Wallpaper", "0924"},
        {2, 2, "picContIconUtils", "Captions and Auto-Hide", "0925"},
    };
    std::set<std::string> helps;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        form->imgSideButton[static_cast<std::size_t>(c.side)]->UserClick();
        ClickTab(c.tab);
        EXPECT_EQ(Shown(), (std::vector<std::string>{c.box}));
        EXPECT_EQ(form->Title(), c.title);
        EXPECT_EQ(form->imgTabs.GetPicture(), Picture(chrome::TabStripPicture(c.side, c.tab)));
        EXPECT_EQ(form->PageBox(static_cast<Page>(c.side * 3 - 2 + c.tab)).GetBounds(),
                  chrome::kPageArea);
        // The title opens the page's own help over it, and stays.
        ClickTitle();
        EXPECT_EQ(Shown(), (std::vector<std::string>{c.box, "picContInfo"}));
        EXPECT_EQ(form->help.lblInfo.Caption(), MessageText(c.help));
        EXPECT_TRUE(helps.insert(form->help.lblInfo.Caption()).second);
        EXPECT_EQ(form->Title(), c.title);
        EXPECT_EQ(form->help.Box().GetBounds(), chrome::kPageArea);
    }
    EXPECT_EQ(MessageText("0920"),
              "Type a name and click Save to remember where the desktop icons stand now. "
              "Select a saved pattern to see it on the small screen, and click Load to put the "
              "icons back there. Delete removes the selected pattern; F5 reads the list again.");

    // Any navigation takes the help panel away, as Done does, also a click on the same tab.
    form->help.cmdDone.UserClick();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"picContIconUtils"}));
    ClickTitle();
    ClickTab(2);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"picContIconUtils"}));
    ClickTitle();
    form->imgSideButton[0]->UserClick();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"picIntroduction"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MainWindowChromeTest, TheIntroductionsTitleOpensTheAboutBoxModal) {
    ASSERT_TRUE(Start());
    form->imgSideButton[0]->UserClick();
    bool modal = false;
    forms.modalSteps.push_back([&](forms::Form& shown) {
        modal = shown.Name() == "frmAbout" && shown.Modal() && forms.Disabled(*form);
        about.cmdOK.UserClick();
    });
    ClickTitle();
    EXPECT_TRUE(modal);
    EXPECT_FALSE(forms.Disabled(*form));
    // Pressed on the title but let go elsewhere: no about box.
    form->UserMouseDown({.x = 120, .y = 20});
    form->UserMouseUp({.x = 120, .y = 200});
    EXPECT_EQ(forms.stuckModals, 0);
    EXPECT_FALSE(about.Visible());
}

TEST_F(MainWindowChromeTest, TheBodyDragsTheWindowAndTheButtonsLookPressed) {
    std::vector<forms::MouseButton> drags;
    services.dragWindow = [&](forms::Form& dragged) {
        EXPECT_EQ(&dragged, form.get());
        drags.push_back(forms::MouseButton::Left);
    };
    ASSERT_TRUE(Start());
    form->UserMouseDown({.button = forms::MouseButton::Left, .x = 200, .y = 320});
    form->UserMouseDown({.button = forms::MouseButton::Right, .x = 30, .y = 300});
    form->UserMouseDown({.x = 60, .y = 12});  // the title
    EXPECT_EQ(drags.size(), 2u);

    for (std::size_t i = 0; i < form->imgSideButton.size(); ++i) {
        forms::Image& button = *form->imgSideButton[i];
        button.UserMouseDown({});
        EXPECT_EQ(button.GetPicture(), Picture(PELLMARK_PICTURE_SIDE_BUTTON_DOWN)) << i;
        button.UserMouseUp({});
        EXPECT_EQ(button.GetPicture(), Picture(PELLMARK_PICTURE_SIDE_BUTTON_UP)) << i;
    }
    // The menu button's picture goes while pressed and is back when its menu opens.
    form->imgMenu.UserMouseDown({});
    EXPECT_TRUE(form->imgMenu.GetPicture().Empty());
    form->imgMenu.UserMouseUp({});
    form->imgMenu.UserClick();
    EXPECT_EQ(form->imgMenu.GetPicture(), Picture(PELLMARK_PICTURE_MENU_BUTTON));
    EXPECT_EQ(forms.menusShown, std::vector<std::string>{"mnuMain"});
}

TEST_F(MainWindowChromeTest, ThePatternPagesLabelsLieOverItAndShowOnlyWithIt) {
    // The icon count shows once the desktop read after the first paint has given it a text.
    ASSERT_TRUE(Start("", false));
    EXPECT_TRUE(form->patterns.lblName.Visible());
    EXPECT_FALSE(form->patterns.lblNoIcons.Visible());
    form->tmrReadDesktop.Elapse();
    for (const forms::Label* label :
         {&form->patterns.lblPatterns, &form->patterns.lblName, &form->patterns.lblNoIcons}) {
        const forms::Bounds& b = label->GetBounds();
        const forms::Bounds& area = chrome::kPageArea;
        EXPECT_TRUE(b.left >= area.left && b.top >= area.top &&
                    b.left + b.width <= area.left + area.width &&
                    b.top + b.height <= area.top + area.height)
            << label->Name();
        EXPECT_TRUE(label->Visible()) << label->Name();
    }
    form->Navigation().TitleClick();  // the help panel covers them
    EXPECT_FALSE(form->patterns.lblNoIcons.Visible());
    form->help.cmdDone.UserClick();
    EXPECT_TRUE(form->patterns.lblNoIcons.Visible());
    form->imgSideButton[2]->UserClick();
    EXPECT_FALSE(form->patterns.lblName.Visible());
}

TEST_F(MainWindowChromeTest, NoDesktopMakesTheMarkersBlackCaptionsInNoColourWhite) {
    desktop.present = false;
    ASSERT_TRUE(Start());
    EXPECT_EQ(form->patterns.lblPrevIcon[0]->BackColour(), 0u);
    form->patterns.SetMarkerColour(0xFFFFFFFFu);
    EXPECT_EQ(form->patterns.lblPrevIcon[0]->BackColour(), 0xFFFFFFu);
}

}  // namespace
}  // namespace pellmark
