#include "app/Form1.h"

#include <algorithm>
#include <cctype>
#include <new>

#include "app/CommandLine.h"
#include "patterns/PatternFile.h"
#include "patterns/SavedFolder.h"
#include "platform/RunTimeError.h"
#include "settings/AppInfo.h"
#include "settings/Messages.h"

namespace pellmark {

namespace {
// Thrown when the window was closed while it loaded (a close can arrive while step 5 lets
// pending events run): the rest of the load is dropped without a message.
struct ClosedWhileLoading {};

// The two backing files of the transfer mappings that reading the desktop leaves behind.
constexpr const char* kTransferFiles[] = {"TEMP~~1.tmp", "TEMP~~2.tmp"};
}  // namespace

Form1::Form1(ProgramServices& services, frmMenus& menus)
    : Form(services.forms, "Form1"),
      File1(services.files),
      List1(Add<forms::ListBox>("List1")),
      txtFile(Add<forms::TextBox>("txtFile")),
      cmdSave(Add<forms::Button>("cmdSave")),
      cmdLoad(Add<forms::Button>("cmdLoad")),
      picPreview(Add<forms::Picture>("picPreview")),
      lblNoIcons(Add<forms::Label>("lblNoIcons")),
      lblPatterns(Add<forms::Label>("lblPatterns")),
      lblName(Add<forms::Label>("lblName")),
      tmrCheckForResChange(AddTimer("tmrCheckForResChange")),
      services_(services),
      menus_(menus),
      settingsStore_(services.registry),
      desktopIcons_(services.desktop, services.dialogs),
      restore_(desktopIcons_, services.files, services.dialogs),
      watcher_(desktopIcons_, restore_, settingsStore_, services.dialogs) {
    SetCaption(kAppTitle);
    lblPrevIcon.push_back(&Add<forms::Label>("lblPrevIcon(0)", &picPreview));
    tmrCheckForResChange.SetInterval(kResolutionCheckInterval);

    List1.Click = [this] { Trapped([this] { ShowPatternPreview(); }); };
    List1.KeyDown = [this](int key) {
        if (key == kKeyDelete && List1.ListIndex() >= 0) {
            Trapped([this] { RemoveCurrentSaveItem(); });
        }
    };
    List1.MouseUp = [this](const forms::MouseEvent& event) {
        Trapped([this, event] { List1_MouseUp(event); });
    };
    cmdSave.Click = [this] { Trapped([this] { cmdSave_Click(); }); };
    cmdLoad.Click = [this] { Trapped([this] { cmdLoad_Click(); }); };
    KeyUp = [this](int key) {
        if (key == kKeyF5) {
            Trapped([this] { RefreshPatternList(); });
        }
    };
    tmrCheckForResChange.Tick = [this] {
        Trapped([this] {
            if (!watcher_.Tick()) {
                tmrCheckForResChange.SetEnabled(false);
            }
        });
    };
    menus_.mnuSaveList_Delete().Click = [this] { Trapped([this] { RemoveCurrentSaveItem(); }); };
    desktopIcons_.OnIconCountText([this](const std::string& text) { lblNoIcons.SetCaption(text); });
}

void Form1::OnLoad() {
    try {
        BeginStep("Main Loading procedures");
        MainLoadingProcedures();
        BeginStep("Shaping form");
        BeginStep("Positioning controls");
        PositionControls();
        // The markers take the desktop's caption colour once the caption style is read.
        BeginStep("Retrieving Desktop Colours");
        BeginStep("Running general sub routines");
        RunGeneralSubRoutines();
        BeginStep("Load current desktop icons into preview");
        ShowDesktopPreview();
        BeginStep("Load up the Special Desktop icons");
        BeginStep("Load settings for misc tab");
        BeginStep("Get settings");
        LoadSettings(settingsStore_, services_.programFolder, settings_, iconStyle_,
                     services_.dialogs);
        BeginStep("Get Desktop Text Background Colour");
        BeginStep("Perform auto save functions");
        BeginStep("Load the language file");
        LoadTheLanguageFile();
        BeginStep("implement settings");
        ImplementSettings();
        BeginStep("Handling command arguments");
        HandleCommandArguments();
    } catch (const ClosedWhileLoading&) {
    } catch (const RunTimeError& error) {
        ReportLoadFailure(error.Number(), error.what());
    } catch (const std::bad_alloc&) {
        ReportLoadFailure(7, "Out of memory");
    } catch (const std::exception& error) {
        ReportLoadFailure(kInvalidProcedureCall, error.what());
    }
}

void Form1::BeginStep(std::string_view name) {
    if (!Loaded()) {
        throw ClosedWhileLoading{};
    }
    currentStep_ = name;
    if (StepStarted) {
        StepStarted(name);
    }
}

void Form1::ReportLoadFailure(int number, const std::string& description) {
    services_.dialogs.ShowMessage({.text = "Error: " + std::to_string(number) + "\n" + description +
                                           "\n\n" + kAppTitle +
                                           " encoutered a problem while trying to " + currentStep_,
                                   .caption = "Loading main Form",
                                   .icon = platform::MessageIcon::Critical});
    // A window that stopped loading before it was shown would leave a copy running that
    // nobody can reach: show it, so it can at least be closed.
    if (Loaded() && !Visible()) {
        Show();
    }
}

void Form1::MainLoadingProcedures() {
    savedFolder_ = SavedFolderFor(services_.programFolder);
    static_cast<void>(services_.files.CreateFolder(savedFolder_));  // it may exist already
    File1.SetPattern("*.ips");
    File1.SetPath(savedFolder_);
    static_cast<void>(desktopIcons_.GetScreenResolution());
    picPreview.SetScale(desktopIcons_.Table().ScreenWidth, desktopIcons_.Table().ScreenHeight);
    forms::Label& marker = *lblPrevIcon[0];
    marker.SetVisible(false);
    marker.Move({0, 0, 60, 60});
}

void Form1::RunGeneralSubRoutines() {
    RefreshPatternList();
    // Read wherever the desktop can be read, so the preview and the count show it.
    desktopIcons_.ReadDesktopIcons();
    services_.forms.DoEvents();
}

void Form1::LoadTheLanguageFile() {
    std::string language = settingsStore_.Get(kSettingsSection, "Language", "English");
    settings_.Language = language;
    settings_.LanguageFile = services_.programFolder + "\\Languages\\" + language + ".txt";
    menus_.Load();
}

void Form1::ImplementSettings() {
    if (settings_.RestoreOnResChange) {
        watcher_.Start(savedFolder_, settings_.PatternToRestore);
        tmrCheckForResChange.SetEnabled(true);
    }
    if (settings_.RestoreOnStartup && !settings_.PatternToRestore.empty()) {
        RestorePatternOnStartup();
    }
    if (settings_.OnLoadHide) {
        Hide();
    } else {
        Show();
    }
    if (settings_.SavePatternOnStart) {
        SaveAutomaticPattern();
    }
}

void Form1::RestorePatternOnStartup() {
    const std::string& wanted = settings_.PatternToRestore;
    int found = -1;
    for (int i = 0; i < List1.ListCount(); ++i) {
        const std::string& entry = List1.List(i);
        const bool same =
            entry.size() == wanted.size() &&
            std::equal(entry.begin(), entry.end(), wanted.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            });
        if (same) {
            found = i;  // the last equal entry counts
        }
    }
    if (found >= 0) {
        restore_.RestorePatternFile(savedFolder_ + File1.List(found), true);
        return;
    }
    services_.dialogs.ShowMessage({.text = "\"" + wanted + "\" " + MessageText("0932"),
                                   .icon = platform::MessageIcon::Exclamation});
    settingsStore_.Save(kSettingsSection, "PatternToRestore", "");
    settings_.PatternToRestore.clear();
}

void Form1::SaveAutomaticPattern() {
    if (!ValidatePatternName(settings_.PatternToAutoSave, services_.dialogs)) {
        return;
    }
    static_cast<void>(SavePattern(PatternPath(savedFolder_, settings_.PatternToAutoSave),
                                  desktopIcons_, services_.files, services_.dialogs));
    RefreshPatternList();
}

void Form1::HandleCommandArguments() {
    const std::string& line = services_.commandLine;
    if (line.empty()) {
        return;
    }
    const auto command = ParseCommandLine(line);
    if (!command) {
        throw RunTimeError(kInvalidProcedureCall, "Invalid procedure call or argument");
    }
    if (!ValidatePatternName(command->name + ".ips", services_.dialogs)) {
        return;
    }
    const std::string path = PatternPath(savedFolder_, command->name);
    if (command->action == CommandAction::Load) {
        restore_.RestorePatternFile(path, true);
    } else if (command->action == CommandAction::Save) {
        static_cast<void>(SavePattern(path, desktopIcons_, services_.files, services_.dialogs));
        RefreshPatternList();
    }
    if (settings_.CloseWhenRestored) {
        Unload();
    }
}

void Form1::OnUnload() {
    tmrCheckForResChange.SetEnabled(false);
    try {
        // The notification-area icon goes first; the settings are read again because the
        // options may have changed them since the load.
        LoadSettings(settingsStore_, services_.programFolder, settings_, iconStyle_,
                     services_.dialogs);
        if (settings_.SavePatternOnClose) {
            SaveAutomaticPattern();
        }
        DeleteTransferFiles();
    } catch (const std::exception&) {
        // A failing closing step ends the closing steps, without a message.
    }
    menus_.Unload();
    services_.forms.EndProgram();
}

void Form1::DeleteTransferFiles() {
    const std::string folder = services_.system.GetTempFolder();
    for (const char* name : kTransferFiles) {
        static_cast<void>(services_.files.RemoveFile(folder + name));
    }
}

void Form1::Trapped(const std::function<void()>& handling) {
    try {
        handling();
    } catch (const RunTimeError& error) {
        services_.dialogs.ShowMessage(
            {.text = "Error: " + std::to_string(error.Number()) + "\n" + error.what(),
             .icon = platform::MessageIcon::Critical});
    } catch (const std::exception& error) {
        services_.dialogs.ShowMessage(
            {.text = "Error: " + std::to_string(kInvalidProcedureCall) + "\n" + error.what(),
             .icon = platform::MessageIcon::Critical});
    }
}

}  // namespace pellmark
