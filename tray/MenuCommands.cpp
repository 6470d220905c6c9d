#include "tray/MenuCommands.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "chrome/MakerAddresses.h"
#include "patterns/SavedFolder.h"
#include "platform/RunTimeError.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {
constexpr const char* kHelpFile = "Help\\Help.html";
constexpr const char* kPatternExtension = ".ips";

std::string InFolder(std::string folder, std::string_view name) {
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    folder += name;
    return folder;
}
}  // namespace

std::array<platform::KeyStroke, 3> WindowsKeyChord(std::uint8_t letter) noexcept {
    return {{{kKeyLeftWindows, false}, {letter, false}, {kKeyLeftWindows, true}}};
}

MenuCommands::MenuCommands(frmMenus& menus, MenuCommandContext context)
    : menus_(menus), context_(std::move(context)), patternFiles_(context_.files) {
    patternFiles_.SetPattern(std::string("*") + kPatternExtension);
    Wire(menus_.mnuMinimize, &MenuCommands::Minimize);
    Wire(menus_.mnuMain_Help, &MenuCommands::Help);
    Wire(menus_.mnuHelp, &MenuCommands::Help);
    Wire(menus_.mnuExit, &MenuCommands::Exit);
    Wire(menus_.mnuExitFromSysTray, &MenuCommands::Exit);
    Wire(menus_.mnuMinAll, &MenuCommands::MinimizeAllWindows);
    Wire(menus_.mnuRestoreAll, &MenuCommands::RestoreAllWindows);
    Wire(menus_.mnuShowDesktop, &MenuCommands::ShowDesktop);
    Wire(menus_.mnuLockIcons, &MenuCommands::LockIcons);
    menus_.mnuLockIcons.enabled = static_cast<bool>(context_.lockIcons);
    Wire(menus_.mnuShowScrSave, &MenuCommands::ShowScreenSaver);
    Wire(menus_.mnuVisitHomepage, &MenuCommands::VisitHomepage);
    Wire(menus_.mnuEmailQuillan, &MenuCommands::Email);
    menus_.mnuEnableScrSave.Click = [this] { SetScreenSaverActive(true); };
    menus_.mnuDisableScrSave.Click = [this] { SetScreenSaverActive(false); };
    menus_.mnuAbout.Click = context_.showAboutBox;
    menus_.mnuAboutFromSysTray.Click = context_.showAboutBox;
    menus_.mnuShowForm.Click = [this] { context_.mainWindow.Show(); };
    // Without an options dialog its items stay in the menus, greyed.
    menus_.mnuOptions.enabled = static_cast<bool>(context_.showOptions);
    menus_.mnuOptoionsFromSysTray.enabled = menus_.mnuOptions.enabled;
    menus_.mnuOptions.Click = context_.showOptions;
    menus_.mnuOptoionsFromSysTray.Click = context_.showOptions;
    menus_.PatternClick = [this](const std::string& name) {
        if (context_.restorePattern) {
            context_.restorePattern(name);
        }
    };
}

MenuCommands::~MenuCommands() {
    // The menu form outlives the main window that owns these commands.
    for (forms::MenuItem* item :
         {&menus_.mnuMinimize, &menus_.mnuMain_Help, &menus_.mnuHelp, &menus_.mnuExit,
          &menus_.mnuExitFromSysTray, &menus_.mnuMinAll, &menus_.mnuRestoreAll,
          &menus_.mnuShowDesktop, &menus_.mnuLockIcons, &menus_.mnuShowScrSave,
          &menus_.mnuVisitHomepage, &menus_.mnuEmailQuillan, &menus_.mnuEnableScrSave,
          &menus_.mnuDisableScrSave, &menus_.mnuAbout, &menus_.mnuAboutFromSysTray,
          &menus_.mnuShowForm, &menus_.mnuOptions, &menus_.mnuOptoionsFromSysTray}) {
        item->Click = nullptr;
    }
    menus_.PatternClick = nullptr;
}

void MenuCommands::Wire(forms::MenuItem& item, void (MenuCommands::*command)()) {
    item.Click = [this, command] { (this->*command)(); };
}

void MenuCommands::ShowMainMenu(forms::MenuPoint at) {
    menus_.ShowPopup(menus_.mnuMain, &context_.mainWindow, at);
}

void MenuCommands::ShowTrayMenu() {
    RefreshPatternItems();
    menus_.ShowPopup(menus_.mnuSysTrayIcon);
}

void MenuCommands::RefreshPatternItems() {
    std::vector<std::string> names;
    try {
        patternFiles_.SetPath(SavedFolderFor(context_.programFolder));
        names.reserve(static_cast<std::size_t>(patternFiles_.ListCount()));
        for (int i = 0; i < patternFiles_.ListCount(); ++i) {
            const std::string& file = patternFiles_.List(i);
            names.push_back(file.substr(0, file.size() - std::min<std::size_t>(4, file.size())));
        }
    } catch (const RunTimeError&) {
        // No folder of patterns (yet): the submenu says there is none.
    }
    menus_.SetPatternItems(names);
}

void MenuCommands::Minimize() {
    if (context_.showTrayIcon) {
        context_.showTrayIcon();
    }
    context_.mainWindow.Hide();
}

void MenuCommands::Help() {
    const std::string path = InFolder(context_.programFolder, kHelpFile);
    OsStatus status;
    if (context_.files.OpenForReading(path, status) != nullptr) {
        context_.system.OpenAddress(path);
        return;
    }
    context_.dialogs.ShowMessage(
        {.text = MessageText("0940"), .icon = platform::MessageIcon::Exclamation});
}

void MenuCommands::Exit() {
    const auto answer = context_.dialogs.ShowMessage({.text = MessageText("0939"),
                                                      .caption = "Quit",
                                                      .icon = platform::MessageIcon::Question,
                                                      .buttons = platform::MessageButtons::YesNo});
    if (answer != platform::MessageAnswer::Yes) {
        return;
    }
    // The main window's unload does the closing work; the menu form goes last, as its
    // owner-drawn menus may still be drawing the menu just closed until then.
    context_.mainWindow.Unload();
    menus_.Unload();
    menus_.GetBackend().EndProgram();
}

void MenuCommands::MinimizeAllWindows() {
    const auto keys = WindowsKeyChord(kKeyM);
    context_.system.SendKeys(keys);
}

void MenuCommands::RestoreAllWindows() {
    const auto keys = WindowsKeyChord(kKeyD);
    context_.system.SendKeys(keys);
}

void MenuCommands::LockIcons() {
    menus_.mnuLockIcons.checked = !menus_.mnuLockIcons.checked;
    if (context_.lockIcons) {
        context_.lockIcons(menus_.mnuLockIcons.checked);
    }
}

void MenuCommands::ShowDesktop() {
    menus_.mnuShowDesktop.checked = !menus_.mnuShowDesktop.checked;
    context_.desktop.ShowDesktopIcons(menus_.mnuShowDesktop.checked);
}

void MenuCommands::SetScreenSaverActive(bool active) {
    static_cast<void>(context_.system.SetScreenSaverActive(active));
}

void MenuCommands::ShowScreenSaver() {
    menus_.Load();  // its window receives the command
    context_.system.StartScreenSaver(context_.windowOf ? context_.windowOf(menus_) : 0);
}

void MenuCommands::VisitHomepage() {
    context_.system.OpenAddress(std::string(chrome::WebAddress()));
}

void MenuCommands::Email() {
    context_.system.OpenAddress(chrome::EmailLink());
}

}  // namespace pellmark
