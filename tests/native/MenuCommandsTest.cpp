// The menu form's three menus and every command behind them, on the in-memory backend:
// the program is started as Windows starts it, and the menus are opened from the menu
// button, the notification-area icon and the pattern list as a user opens them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chrome/MakerAddresses.h"
#include "platform/sim/SimDisplays.h"
#include "tests/common/PatternText.h"
#include "tests/native/ProgramHarness.h"
#include "tray/MenuCommands.h"
#include "tray/res/MenuPictures.h"

namespace pellmark {
namespace {

using forms::TrayMouse;
using platform::KeyStroke;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using testcases::PatternText;

constexpr const char* kQuitQuestion = "Are you sure you want to quit Pellmark?";
constexpr const char* kHelpMissing =
    "The help file cannot be found. It belongs in the Help folder beside Pellmark; unpacking "
    "Pellmark again puts it back.";
constexpr const char* kHelpFile = "C:\\Pellmark\\Help\\Help.html";

// A menu's items as "key caption", depth first, two spaces deeper per submenu.
void Describe(const forms::MenuItem& menu, const std::string& indent,
              std::vector<std::string>& lines) {
    for (const auto& item : menu.Items()) {
        lines.push_back(indent + item->ElementKey() + " " + item->caption);
        Describe(*item, indent + "  ", lines);
    }
}
std::vector<std::string> Tree(const forms::MenuItem& menu) {
    std::vector<std::string> lines;
    Describe(menu, "", lines);
    return lines;
}

const std::vector<std::string> kMainMenu = {
    "mnuMinimize(2101) &Minimize", "mnuOptions(2102) &Options", "mnudsh1(2103) -",
    "mnuMain_Help(2104) &Help",    "mnuAbout(2105) &About",     "dsh2(2106) -",
    "mnuExit(2107) E&xit"};
const std::vector<std::string> kTrayMenu = {"mnuRestorePattern(2201) &Restore pattern",
                                            "  mnuPattern(0) (No icons pattern saved)",
                                            "dsh3(2203) -",
                                            "mnuMinAll(2204) Minimize all windows",
                                            "mnuRestoreAll(2205) Restore all windows",
                                            "mnuShowDesktop(2206) #Show Desktop",
                                            "mnuLockIcons(2223) #Lock icons",
                                            "dsh4(2207) -Screen saver",
                                            "mnuEnableScrSave(2208) Enable Screen Saver",
                                            "mnuDisableScrSave(2209) Disable Screen Saver",
                                            "mnuShowScrSave(2210) Show default screen saver",
                                            "dsh5(2211) -",
                                            "mnuShowForm(2212) &Show Pellmark",
                                            "mnuOptoionsFromSysTray(2213) &Options",
                                            "dsh6(2214) -Internet",
                                            "mnuVisitHomepage(2215) Visit the Homepage",
                                            "mnuEmailQuillan(2216) E-mail Quillan",
                                            "dsh7(2217) -",
                                            "mnuHelp(2218) &Help",
                                            "mnuAboutFromSysTray(2219) &About",
                                            "dsh8(2221) -",
                                            "mnuExitFromSysTray(2222) E&xit"};

class MenuCommandsTest : public ::testing::Test, public testcases::ProgramHarness {
  protected:
    MenuCommandsTest() {
        desktop.icons = {{"Recycle Bin", 18, 2, 0}, {"Notes", 100, 100, 1}};
        // The tray menu is reached through the icon.
        Setting("LoadInSysTray", "True");
    }
    // Chooses the item from the tray menu, opened by a right click on the icon.
    void FromTray(const std::string& key) {
        forms.menuChoices = {key};
        form->Tray().UserMouse(TrayMouse::RightDown);
    }
    // Chooses the item from the main window's menu button.
    void FromMenuButton(const std::string& key) {
        forms.menuChoices = {key};
        form->imgMenu.UserMouseDown({});
        form->imgMenu.UserMouseUp({});
        form->imgMenu.UserClick();
    }
    // The main menu's items (21xx) from the menu button, the others from the tray.
    void Choose(const std::string& key) {
        key.find("(21") != std::string::npos ? FromMenuButton(key) : FromTray(key);
    }
    [[nodiscard]] sim::SimFormsBackend::MenuShow LastShow() const {
        if (forms.menuLog.empty()) {
            ADD_FAILURE() << "no menu was shown";
            return {};
        }
        return forms.menuLog.back();
    }
};

TEST_F(MenuCommandsTest, TheMenusHoldTheirItemsInOrderWithTheirIndexesAndCaptions) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(menus.Visible());
    EXPECT_TRUE(menus.Loaded());
    EXPECT_EQ(Tree(menus.mnuSaveList), std::vector<std::string>{"mnuSaveList_Delete &Delete"});

    // What a user sees: the check mark, the greyed items, the submenu.
    FromTray("");
    EXPECT_EQ(LastShow().menu, "mnuSysTrayIcon");
    EXPECT_EQ(LastShow().owner, "frmMenus");
    EXPECT_FALSE(LastShow().at.has_value()) << "at the cursor";
    std::vector<std::string> seen = kTrayMenu;
    seen[0] += " >";
    seen[1] += " disabled";
    seen[5] += " checked";
    seen[6] += " disabled";  // a system with no monitors to follow
    EXPECT_EQ(LastShow().lines, seen);

    // The menu button opens the main menu at its top left, for the main window, once the
    // pending events have run.
    int eventsBefore = 0;
    forms.pendingEvents = [&] { eventsBefore = static_cast<int>(forms.menuLog.size()); };
    FromMenuButton("");
    EXPECT_EQ(eventsBefore, 1);
    EXPECT_EQ(LastShow().menu, "mnuMain");
    EXPECT_EQ(LastShow().asker, "Form1");
    ASSERT_TRUE(LastShow().at.has_value());
    EXPECT_EQ(LastShow().at->x, 428);
    EXPECT_EQ(LastShow().at->y, 9);
    EXPECT_EQ(LastShow().lines, kMainMenu);
}

TEST_F(MenuCommandsTest, ExitAnsweredNoChangesNothingAndYesClosesEverything) {
    Setting("SavePatternOnClose", "True");
    Setting("PatternToAutoSave", "OnClose");
    for (const char* item : {"mnuExit(2107)", "mnuExitFromSysTray(2222)"}) {
        SCOPED_TRACE(item);
        ASSERT_TRUE(Start());
        dialogs.shown.clear();
        dialogs.answers = {MessageAnswer::No};
        Choose(item);
        EXPECT_EQ(dialogs.Said(), (std::vector<std::string>{"Question YesNo [Quit] " +
                                                            std::string(kQuitQuestion)}));
        EXPECT_TRUE(form->Loaded());
        EXPECT_TRUE(form->Visible());
        EXPECT_TRUE(menus.Loaded());
        EXPECT_FALSE(forms.programEnded);
        EXPECT_EQ(files.files.count(std::string(testcases::kPatternFolder) + "OnClose.ips"), 0u);
    }

    dialogs.answers = {MessageAnswer::Yes};
    FromTray("mnuExitFromSysTray(2222)");
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(menus.Loaded());
    EXPECT_TRUE(forms.programEnded);
    // The main window's closing steps ran: the automatic pattern was saved.
    EXPECT_EQ(files.files.count(std::string(testcases::kPatternFolder) + "OnClose.ips"), 1u);
    EXPECT_EQ(forms.ownerDrawnLog.back(), "uninstall frmMenus");
    EXPECT_FALSE(form->Tray().Shown());
}

TEST_F(MenuCommandsTest, LockIconsAndShowDesktopFromTheTrayMenu) {
    sim::SimDisplays displays;
    displays.ticks = [this] { return static_cast<std::uint32_t>(forms.Now()); };
    services.displays = &displays;
    Setting("FollowScreens", "0");  // nothing to follow at the start: the lock alone
    ASSERT_TRUE(Start());
    FromTray("mnuLockIcons(2223)");
    EXPECT_TRUE(menus.mnuLockIcons.checked);
    EXPECT_EQ(store.Get(kSettingsSection, "LockIcons", ""), "1");
    desktop.icons[1].x = 500;
    forms.AdvanceClock(3000);
    EXPECT_EQ(desktop.icons[1].x, 100);
    EXPECT_TRUE(displays.Listening());

    FromTray("mnuLockIcons(2223)");
    EXPECT_EQ(store.Get(kSettingsSection, "LockIcons", ""), "0");
    desktop.icons[1].x = 500;
    forms.AdvanceClock(10000);
    EXPECT_EQ(desktop.icons[1].x, 500);

    // Show Desktop twice hides, then shows the icons, and the mark ends as it began.
    ASSERT_TRUE(menus.mnuShowDesktop.checked);
    FromTray("mnuShowDesktop(2206)");
    EXPECT_FALSE(menus.mnuShowDesktop.checked);
    EXPECT_FALSE(desktop.listViewShown);
    FromTray("");
    EXPECT_EQ(LastShow().lines[5], "mnuShowDesktop(2206) #Show Desktop");
    FromTray("mnuShowDesktop(2206)");
    EXPECT_TRUE(menus.mnuShowDesktop.checked);
    EXPECT_TRUE(desktop.listViewShown);
    EXPECT_TRUE(dialogs.shown.empty());
    form->Unload();
    EXPECT_FALSE(displays.Listening());
}

TEST_F(MenuCommandsTest, ThePatternSubmenuListsTheSavedPatternsEachTimeTheMenuOpens) {
    ASSERT_TRUE(Start());
    FromTray("");
    EXPECT_EQ(Tree(menus.mnuRestorePattern),
              std::vector<std::string>{"mnuPattern(0) (No icons pattern saved)"});
    // Choosing the note restores nothing and says nothing.
    FromTray("mnuPattern(0)");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(desktop.moveBatches.empty());

    // Saved after the start, found all the same, in the pattern list's order.
    AddPattern("c", PatternText(1024, 768, {{"Notes", " 3 ", " 3 "}}));
    AddPattern("A", PatternText(1024, 768, {{"Notes", " 1 ", " 1 "}}));
    AddPattern("b", PatternText(2048, 768, {{"Notes", " 500 ", " 2 "}}));
    FromTray("");
    EXPECT_EQ(Tree(menus.mnuRestorePattern),
              (std::vector<std::string>{"mnuPattern(0) A", "mnuPattern(1) b", "mnuPattern(2) c"}));
    EXPECT_EQ(LastShow().lines[1], "  mnuPattern(0) A");

    // A pattern item restores silently, scaled to this screen.
    FromTray("mnuPattern(1)");
    EXPECT_EQ(desktop.icons[1].x, 250);
    EXPECT_EQ(desktop.icons[1].y, 2);
    // A missing file still says so, as every restore does.
    forms.menuChoices = {"mnuPattern(0)"};
    form->Tray().UserMouse(TrayMouse::RightDown);  // reads the folder: A is there
    files.files.erase(std::string(testcases::kPatternFolder) + "A.ips");
    menus.mnuRestorePattern.Items()[0]->Click();
    EXPECT_EQ(dialogs.shown.back().text,
              "File: C:\\Pellmark\\SavedPositions\\A.ips not found. Unable to restore pattern.");

    // Names that look like the menus' markup show as they are and restore by their name.
    AddPattern("-dash & co", PatternText(1024, 768, {{"Notes", " 9 ", " 9 "}}));
    AddPattern("#7", PatternText(1024, 768, {{"Notes", " 7 ", " 7 "}}));
    FromTray("mnuPattern(0)");
    EXPECT_EQ(Tree(menus.mnuRestorePattern),
              (std::vector<std::string>{"mnuPattern(0) ||#7", "mnuPattern(1) ||-dash && co",
                                        "mnuPattern(2) b", "mnuPattern(3) c"}));
    EXPECT_EQ(desktop.icons[1].x, 7);
    FromTray("mnuPattern(1)");
    EXPECT_EQ(desktop.icons[1].x, 9);
}

TEST_F(MenuCommandsTest, HelpOpensTheHelpPageOrSaysItIsMissing) {
    // The program alone in its folder says so in the English built into it.
    files.files.erase("C:\\Pellmark\\Languages\\English.txt");
    ASSERT_TRUE(Start());
    for (const char* item : {"mnuHelp(2218)", "mnuMain_Help(2104)"}) {
        SCOPED_TRACE(item);
        dialogs.shown.clear();
        Choose(item);
        EXPECT_EQ(dialogs.Said(),
                  (std::vector<std::string>{"Exclamation " + std::string(kHelpMissing)}));
        EXPECT_TRUE(system.opened.empty());
    }
    files.files[kHelpFile] = "<html></html>";
    dialogs.shown.clear();
    FromTray("mnuHelp(2218)");
    FromMenuButton("mnuMain_Help(2104)");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(system.opened, (std::vector<std::string>{kHelpFile, kHelpFile}));
    EXPECT_EQ(files.openReaders, 0) << "the check closes the file again";
}

TEST_F(MenuCommandsTest, WindowsKeysScreenSaverAndAddressesReachTheSystem) {
    ASSERT_TRUE(Start());
    FromTray("mnuMinAll(2204)");
    FromTray("mnuRestoreAll(2205)");
    const std::vector<KeyStroke> keys = {{0x5B, false}, {0x4D, false}, {0x5B, true},
                                         {0x5B, false}, {0x44, false}, {0x5B, true}};
    EXPECT_EQ(system.keys, keys);

    FromTray("mnuDisableScrSave(2209)");
    EXPECT_FALSE(system.screenSaverActive);
    FromTray("mnuEnableScrSave(2208)");
    EXPECT_TRUE(system.screenSaverActive);
    EXPECT_EQ(system.screenSaverSwitches, 2);
    WindowHandle menuWindow = 0x4242;
    services.windowOf = [&](forms::Form& of) {
        EXPECT_EQ(&of, static_cast<forms::Form*>(&menus));
        return menuWindow;
    };
    ASSERT_TRUE(Start());
    FromTray("mnuShowScrSave(2210)");
    EXPECT_EQ(system.screenSaverStartedBy, std::vector<WindowHandle>{menuWindow});

    FromTray("mnuVisitHomepage(2215)");
    FromTray("mnuEmailQuillan(2216)");
    form->imgWebAdd.UserClick();
    EXPECT_EQ(system.opened, (std::vector<std::string>{"https://www.pellmark.example/",
                                                       "mailto:mail@pellmark.example",
                                                       "https://www.pellmark.example/"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(MenuCommandsTest, TheTrayIconMinimizeAndWhatTheIconsClicksDo) {
    // No icon unless the setting asks for one, or until the window is minimized; then it
    // stays for the rest of the run.
    Setting("LoadInSysTray", "False");
    ASSERT_TRUE(Start());
    EXPECT_FALSE(form->Tray().Shown());
    FromMenuButton("mnuMinimize(2101)");
    EXPECT_TRUE(form->Tray().Shown());
    EXPECT_EQ(form->Tray().Tip(), "Pellmark");
    EXPECT_FALSE(form->Visible());
    FromTray("mnuShowForm(2212)");
    EXPECT_TRUE(form->Visible());
    FromMenuButton("mnuMinimize(2101)");
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(form->Tray().Shown());
    form->Unload();
    EXPECT_FALSE(form->Tray().Shown());

    Setting("LoadInSysTray", "True");
    ASSERT_TRUE(Start());
    EXPECT_TRUE(form->Tray().Shown());
    EXPECT_TRUE(form->Visible());
    // Left button up toggles the main window (which buttons do what is the routing's own
    // rule, checked on its own); right button down opens the menu while hidden too.
    form->Tray().UserMouse(TrayMouse::LeftUp);
    EXPECT_FALSE(form->Visible());
    forms.menuLog.clear();
    form->Tray().UserMouse(TrayMouse::RightDown);
    ASSERT_EQ(forms.menuLog.size(), 1u);
    EXPECT_EQ(LastShow().menu, "mnuSysTrayIcon");
    form->Tray().UserMouse(TrayMouse::LeftUp);
    EXPECT_TRUE(form->Visible());

    // Both about items show the about box modal over the main window; while it shows, a
    // left click leaves the main window as it is.
    for (const char* item : {"mnuAbout(2105)", "mnuAboutFromSysTray(2219)"}) {
        SCOPED_TRACE(item);
        bool modal = false;
        bool stayed = false;
        forms.modalSteps.push_back([&](forms::Form& shown) {
            modal = shown.Name() == "frmAbout" && shown.Modal() && forms.Disabled(*form);
            form->Tray().UserMouse(TrayMouse::LeftUp);
            stayed = form->Visible();
            about.cmdOK.UserClick();
        });
        Choose(item);
        EXPECT_TRUE(modal);
        EXPECT_TRUE(stayed);
        EXPECT_FALSE(about.Visible());
    }
    EXPECT_EQ(forms.stuckModals, 0);
    form->Tray().UserMouse(TrayMouse::LeftUp);
    EXPECT_FALSE(form->Visible());
}

TEST_F(MenuCommandsTest, IconiseCopiesTheTrayCaptionsTagsThePicturesAndInstallsOnce) {
    testcases::PutShippedLanguage(files, testcases::kProgramFolder, "German");
    Setting("Language", "German");
    const forms::Bitmap restorePicture(2, 2, std::vector<std::uint32_t>(4, 0xFF102030));
    forms.resourcePictures[tray::MenuPictureName(0, false)] = restorePicture;
    ASSERT_TRUE(Start());
    EXPECT_EQ(menus.mnuOptions.caption, "&Optionen");
    EXPECT_EQ(menus.mnuMain_Help.caption, "&Hilfe");
    EXPECT_EQ(menus.mnuAbout.caption, "&Info");
    EXPECT_EQ(menus.mnuExit.caption, "&Beenden");
    const std::vector<std::string> tags = {"Muster &wiederherstellen",
                                           "Alle Fenster minimieren",
                                           "Bildschirmschoner einschalten",
                                           "Bildschirmschoner ausschalten",
                                           "Bildschirmschoner jetzt starten",
                                           "Pellmark &anzeigen",
                                           "&Optionen",
                                           "Homepage besuchen",
                                           "E-Mail an Quillan",
                                           "&Hilfe",
                                           "&Info",
                                           "&Beenden"};
    EXPECT_EQ(menus.Images()->tags, tags);
    EXPECT_EQ(menus.Images()->images.size(), tags.size());
    // Loaded hidden, the menu form has no window yet: its menus are drawn by it once made.
    EXPECT_TRUE(forms.ownerDrawnLog.empty());
    EXPECT_TRUE(menus.Images()->images[0].Empty()) << "the pictures wait for the first menu";
    menus.MakeWindow();
    EXPECT_EQ(forms.ownerDrawnLog, std::vector<std::string>{"install frmMenus 12 images"});
    EXPECT_EQ(menus.Images()->images[0], restorePicture);

    // Again, with a main-menu caption changed since: copied again, installed only once.
    menus.mnuExitFromSysTray.caption = "Schl&ie\u00DFen";
    menus.IconiseMenuFormsMenu();
    EXPECT_EQ(menus.mnuExit.caption, "Schl&ie\u00DFen");
    EXPECT_EQ(menus.Images()->tags.back(), "Schl&ie\u00DFen");
    EXPECT_EQ(forms.ownerDrawnLog.size(), 1u);
    // The menu form's unload takes the owner-drawn menus off.
    menus.Unload();
    EXPECT_EQ(forms.ownerDrawnLog.back(), "uninstall frmMenus");
}

TEST_F(MenuCommandsTest, TheCommandsLetGoOfTheMenusWhenTheMainWindowGoes) {
    ASSERT_TRUE(Start());
    EXPECT_TRUE(static_cast<bool>(menus.mnuExit.Click));
    EXPECT_TRUE(static_cast<bool>(menus.PatternClick));
    EXPECT_TRUE(static_cast<bool>(menus.mnuSaveList_Delete().Click));  // the pattern page's
    form.reset();
    for (const forms::MenuItem* menu :
         {&menus.mnuMain, &menus.mnuSysTrayIcon, &menus.mnuSaveList}) {
        for (const auto& item : menu->Items()) {
            EXPECT_FALSE(static_cast<bool>(item->Click)) << item->ElementKey();
        }
    }
    EXPECT_FALSE(static_cast<bool>(menus.PatternClick));
}

}  // namespace
}  // namespace pellmark
