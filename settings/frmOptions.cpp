#include "settings/frmOptions.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/RunTimeError.h"
#include "platform/TextCompare.h"
#include "settings/AppInfo.h"
#include "settings/LanguageFile.h"
#include "settings/StartWithWindows.h"

namespace pellmark {

namespace {

constexpr const char* kLanguagesFolder = "\\Languages\\";
constexpr const char* kBuiltInLanguage = "English";
constexpr int kTypeMismatch = 13;
constexpr int kInvalidPropertyValue = 380;
constexpr std::uint32_t kLinkColour = 0xCC6600;  // blue, as links are drawn

// The dialog's layout at 96 DPI: two columns of frames, the buttons beneath.
constexpr int kColumnWidth = 240;
constexpr int kInnerWidth = kColumnWidth - 24;
constexpr int kRightWidth = 290;  // room for the longer restore texts of other languages
constexpr int kRightInner = kRightWidth - 24;
constexpr int kRow = 22;
constexpr int kClientWidth = kColumnWidth + kRightWidth + 24;
constexpr int kClientHeight = 398;

std::string WithoutExtension(const std::string& file) {
    return file.substr(0, file.size() < 4 ? 0 : file.size() - 4);
}

std::string CheckText(const forms::CheckBox& box) {
    return std::to_string(box.Value());
}

// A stored check-box state: "1" ticks the box. "True" and "False" are taken as the main
// window's loader takes them, so one stored value never means two things.
int CheckState(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    if (platform::EqualIgnoringCase(text, "True")) {
        return 1;
    }
    if (platform::EqualIgnoringCase(text, "False")) {
        return 0;
    }
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        throw RunTimeError(kTypeMismatch, "Type mismatch");
    }
    if (value < 0 || value > 2) {
        throw RunTimeError(kInvalidPropertyValue, "Invalid property value");
    }
    return value;
}

int IndexOf(const forms::ComboBox& list, const std::string& text) {
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.List(i) == text) {
            return i;
        }
    }
    return -1;
}

}  // namespace

frmOptions::frmOptions(forms::Backend& backend, OptionsContext context)
    : Form(backend, "frmOptions"),
      Frame3(Add<forms::Frame>("Frame3")),
      chkLoadOnWinStart(Add<forms::CheckBox>("chkLoadOnWinStart", &Frame3)),
      chkStartInSysTray(Add<forms::CheckBox>("chkStartInSysTray", &Frame3)),
      chkStartHidden(Add<forms::CheckBox>("chkStartHidden", &Frame3)),
      Frame1(Add<forms::Frame>("Frame1")),
      chkShortcutOnDesktop(Add<forms::CheckBox>("chkShortcutOnDesktop", &Frame1)),
      chkShortcutOnStartMenu(Add<forms::CheckBox>("chkShortcutOnStartMenu", &Frame1)),
      Frame5(Add<forms::Frame>("Frame5")),
      cboLanguage(Add<forms::ComboBox>("cboLanguage", &Frame5)),
      lblChkForUpdate(Add<forms::Label>("lblChkForUpdate")),
      Frame2(Add<forms::Frame>("Frame2")),
      Label1(Add<forms::Label>("Label1", &Frame2)),
      chkStartup(Add<forms::CheckBox>("chkStartup", &Frame2)),
      chkScrRes(Add<forms::CheckBox>("chkScrRes", &Frame2)),
      lblPatterns(Add<forms::Label>("lblPatterns", &Frame2)),
      cboPatterns(Add<forms::ComboBox>("cboPatterns", &Frame2)),
      chkCloseProgram(Add<forms::CheckBox>("chkCloseProgram", &Frame2)),
      chkQuietCommandLine(Add<forms::CheckBox>("chkQuietCommandLine", &Frame2)),
      Frame4(Add<forms::Frame>("Frame4")),
      chkSaveOnStart(Add<forms::CheckBox>("chkSaveOnStart", &Frame4)),
      chkSaveOnClose(Add<forms::CheckBox>("chkSaveOnClose", &Frame4)),
      lblAutoSave(Add<forms::Label>("lblAutoSave", &Frame4)),
      cboAutoSave(Add<forms::ComboBox>("cboAutoSave", &Frame4)),
      Frame6(Add<forms::Frame>("Frame6")),
      chkFollowScreens(Add<forms::CheckBox>("chkFollowScreens", &Frame6)),
      chkLockIcons(Add<forms::CheckBox>("chkLockIcons", &Frame6)),
      cmdOK(Add<forms::Button>("cmdOK")),
      cmdCancel(Add<forms::Button>("cmdCancel")),
      cmdApply(Add<forms::Button>("cmdApply")),
      context_(std::move(context)),
      store_(context_.registry) {
    SetCaption("Options");
    SetClientSize(kClientWidth, kClientHeight);
    forms::WindowSettings window;
    window.border = forms::BorderStyle::FixedDialog;
    window.showInTaskbar = false;
    SetSettings(window);

    const auto place = [](forms::Control& control, forms::Bounds bounds, const char* caption,
                          const char* tag, const char* toolTip = "") {
        control.Move(bounds);
        control.SetCaption(caption);
        control.Tag = tag;
        control.SetToolTip(toolTip);
    };
    // Left: how the program starts, its shortcuts, its language.
    place(Frame3, {8, 8, kColumnWidth, 98}, "Program startup", "1020");
    place(chkLoadOnWinStart, {12, 20, kInnerWidth, kRow}, "Load on &Windows startup", "1021",
          "This will allow you Pellmark to automatically start, when Windows starts up");
    place(chkStartInSysTray, {12, 44, kInnerWidth, kRow}, "Start in system &tray", "1022",
          "When Pellmark is run it will start in the system tray   (Next to the clock, on the "
          "taskbar)");
    place(chkStartHidden, {12, 68, kInnerWidth, kRow}, "Start &hidden", "1023",
          "When Pellmark is run, it will be automatically be hidden");
    place(Frame1, {8, 120, kColumnWidth, 80}, "Shortcuts", "1010");
    place(chkShortcutOnDesktop, {12, 20, kInnerWidth, kRow}, "&Desktop", "1012",
          "Toggle having a shortcut to Pellmark on the Desktop");
    place(chkShortcutOnStartMenu, {12, 44, kInnerWidth, kRow}, "Start &menu", "1011",
          "Toggle having a shortcut to Pellmark on the Start Menu");
    place(Frame5, {8, 210, kColumnWidth, 58}, "Language", "1050");
    place(cboLanguage, {12, 22, kInnerWidth, 24}, "", "");
    place(lblChkForUpdate, {20, 282, kInnerWidth, 18}, "Check for new version", "1061");
    lblChkForUpdate.SetForeColour(kLinkColour);
    place(Frame6, {8, 306, kColumnWidth, 72}, "Screens", "1070");
    place(chkFollowScreens, {12, 20, kInnerWidth, kRow}, "Icons &follow the screens", "1071",
          "Keep the icons' places for each screen arrangement and put them back after a display "
          "change or an Explorer restart");
    place(chkLockIcons, {12, 44, kInnerWidth, kRow}, "&Lock the icons in place", "1072",
          "An icon that moves goes back to its place");

    // Right: the automatic restore and save.
    const int right = 16 + kColumnWidth;
    place(Frame2, {right, 8, kRightWidth, 222}, "Restore", "1030");
    place(Label1, {12, 20, kRightInner, 18}, "Restore Icon pattern on:", "1031");
    place(chkStartup, {12, 38, kRightInner, kRow}, "Program &Startup", "1032");
    place(chkScrRes, {12, 60, kRightInner, kRow}, "Screen &resolution change", "1033");
    place(lblPatterns, {12, 86, kRightInner, 18}, "&Pattern to restore:", "1035");
    place(cboPatterns, {12, 104, kRightInner, 24}, "", "");
    place(chkCloseProgram, {12, 132, kRightInner, 44},
          "Close Program when pattern restored using \"Command arguments\"", "1034",
          "When using Command Arguments to restore an icon pattern, you can use this to have "
          "the program, restore a pattern and then quit");
    place(chkQuietCommandLine, {12, 178, kRightInner, 34}, "&No messages for command arguments",
          "1036",
          "A SAVE or LOAD on the command line shows no message box; its exit code tells a "
          "script how it went");
    place(Frame4, {right, 238, kRightWidth, 118}, "Automatic save", "1040");
    place(chkSaveOnStart, {12, 20, kRightInner, kRow}, "Save on program startup", "1041",
          "When checked the current Icon Pattern will be saved when this program starts up");
    place(chkSaveOnClose, {12, 42, kRightInner, kRow}, "Save on program close", "1042",
          "When checked, the current desktop icon pattern will be saved when this program "
          "closes");
    place(lblAutoSave, {12, 66, kRightInner, 18}, "Pattern to &Save to:", "1043");
    place(cboAutoSave, {12, 84, kRightInner, 24}, "", "",
          "This is the pattern that will be used to  automatically save the icon pattern.");
    cboAutoSave.SetEditable(true);

    // Beneath the right column, right-aligned.
    constexpr int kButtonWidth = 88;
    constexpr int kButtonTop = kClientHeight - 36;
    place(cmdOK, {kClientWidth - 24 - 3 * kButtonWidth, kButtonTop, kButtonWidth, 26}, "&OK",
          "1090", "Save settings, don't use them now");
    place(cmdCancel, {kClientWidth - 16 - 2 * kButtonWidth, kButtonTop, kButtonWidth, 26}, "Cancel",
          "1091");
    place(cmdApply, {kClientWidth - 8 - kButtonWidth, kButtonTop, kButtonWidth, 26}, "&Apply",
          "1092", "Save settings and use them now");
    cmdOK.SetDefault(true);
    cmdCancel.SetCancel(true);

    chkStartup.Click = [this] { UpdatePatternControls(); };
    chkScrRes.Click = [this] { UpdatePatternControls(); };
    chkSaveOnStart.Click = [this] { UpdateAutoSaveControls(); };
    chkSaveOnClose.Click = [this] { UpdateAutoSaveControls(); };
    chkStartInSysTray.Click = [this] { chkStartHidden.SetEnabled(chkStartInSysTray.Value() == 1); };
    cboPatterns.Click = [this] { ShowPatternToolTips(); };
    cmdOK.Click = [this] {
        SaveOptions();
        Unload();
    };
    cmdCancel.Click = [this] { Unload(); };
    cmdApply.Click = [this] {
        SaveOptions();
        if (context_.applyLanguage) {
            // With no language chosen, the stored one stays the one in use.
            context_.applyLanguage(store_.Get(kSettingsSection, "Language", kBuiltInLanguage));
        }
    };
    lblChkForUpdate.Click = [this] {
        if (context_.checkForNewVersion) {
            context_.checkForNewVersion(lblChkForUpdate);
        }
    };
    lblChkForUpdate.MouseMove = [this](const forms::MouseEvent&) { SetLinkUnderlined(true); };
    MouseMove = [this](const forms::MouseEvent&) { SetLinkUnderlined(false); };
}

void frmOptions::SetLinkUnderlined(bool underlined) {
    forms::Font font = lblChkForUpdate.GetFont();
    if (font.underline != underlined) {
        font.underline = underlined;
        lblChkForUpdate.SetFont(font);
    }
}

void frmOptions::OnLoad() {
    ReadControls(context_.patternFiles);
    if (context_.translate) {
        context_.translate(*this);
    }
}

void frmOptions::ReadControls(const forms::FileList& patterns) {
    try {
        // Controls keep their values when the dialog unloads: each load starts afresh.
        cboPatterns.Clear();
        cboAutoSave.Clear();
        cboLanguage.Clear();
        chkStartup.SetEnabled(true);
        chkScrRes.SetEnabled(true);
        chkStartHidden.SetEnabled(true);
        SetLinkUnderlined(false);
        FillLists(patterns);
        LoadOptions();
        UpdatePatternControls();
        UpdateAutoSaveControls();
        if (chkStartInSysTray.Value() == 0) {
            chkStartHidden.SetEnabled(false);
        }
    } catch (const RunTimeError& error) {
        std::string text("Error: ");
        text += std::to_string(error.Number());
        text += '\n';
        text += error.what();
        text += "\nFrom Options Load code";
        context_.dialogs.ShowMessage({.text = text});
    } catch (const std::bad_alloc&) {
        context_.dialogs.ShowMessage({.text = "Error: 7\nOut of memory\nFrom Options Load code"});
    }
}

void frmOptions::FillLists(const forms::FileList& patterns) {
    for (int i = 0; i < patterns.ListCount(); ++i) {
        const std::string name = WithoutExtension(patterns.List(i));
        cboPatterns.AddItem(name);
        cboAutoSave.AddItem(name);
    }
    if (cboPatterns.ListCount() == 0) {
        chkStartup.SetEnabled(false);
        chkScrRes.SetEnabled(false);
        chkStartup.SetValue(0);
        chkScrRes.SetValue(0);
    } else {
        cboPatterns.SetListIndex(0);
        cboAutoSave.SetListIndex(0);
    }
    forms::FileList files(context_.files);
    files.SetPattern("*.txt");
    try {
        files.SetPath(context_.programFolder + kLanguagesFolder);
    } catch (const RunTimeError&) {
        // No Languages folder: the program alone still speaks the English built into it.
    }
    std::vector<std::string> languages;
    for (int i = 0; i < files.ListCount(); ++i) {
        std::string name = WithoutExtension(files.List(i));
        if (IsPlainLanguageName(name)) {
            languages.push_back(std::move(name));
        }
    }
    if (std::none_of(languages.begin(), languages.end(), [](const std::string& name) {
            return platform::EqualIgnoringCase(name, kBuiltInLanguage);
        })) {
        languages.emplace_back(kBuiltInLanguage);
        std::sort(languages.begin(), languages.end(), platform::LessIgnoringCase);
    }
    for (const std::string& name : languages) {
        cboLanguage.AddItem(name);
    }
}

void frmOptions::LoadOptions() {
    const auto check = [this](forms::CheckBox& box, const char* key) {
        box.SetValue(CheckState(store_.Get(kSettingsSection, key, "0")));
    };
    check(chkScrRes, "RestoreOnResChange");
    check(chkStartup, "RestoreOnStartup");
    const int pattern = IndexOf(cboPatterns, store_.Get(kSettingsSection, "PatternToRestore", "0"));
    if (pattern >= 0) {
        cboPatterns.SetListIndex(pattern);
    }
    check(chkCloseProgram, "CloseWhenRestored");
    check(chkQuietCommandLine, "QuietCommandLine");
    check(chkStartInSysTray, "LoadInSysTray");
    check(chkLoadOnWinStart, "LoadOnStartup");
    check(chkStartHidden, "OnLoadHide");
    chkFollowScreens.SetValue(CheckState(store_.Get(kSettingsSection, "FollowScreens", "1")));
    check(chkLockIcons, "LockIcons");
    // The shortcuts' boxes are filled when the dialog opens (Open).
    if (context_.shortcuts == nullptr) {
        chkShortcutOnStartMenu.SetEnabled(false);
        chkShortcutOnDesktop.SetEnabled(false);
    }
    check(chkSaveOnStart, "SavePatternOnStart");
    check(chkSaveOnClose, "SavePatternOnClose");
    cboAutoSave.SetText(store_.Get(kSettingsSection, "PatternToAutoSave", kDefaultAutoSavePattern));
    cboLanguage.SetListIndex(
        IndexOf(cboLanguage, store_.Get(kSettingsSection, "Language", kBuiltInLanguage)));
}

void frmOptions::Open() {
    const bool wasLoaded = Loaded();
    Load();
    // A dialog that shows already keeps what the user ticked.
    if (!Loaded() || Visible()) {
        Show();
        return;
    }
    if (wasLoaded) {
        // Loaded and hidden since it was last open: the patterns saved since (from here, the
        // command line or another copy) and the settings changed since are read again.
        forms::FileList patterns = context_.patternFiles;
        try {
            patterns.Refresh();
        } catch (const RunTimeError&) {
            // The folder is gone for now: the main window's list is what there is.
        }
        ReadControls(patterns);
    }
    // Asked as the dialog opens, not at its load: the shortcuts may have come or gone since,
    // and a start-up that never opens the dialog is spared loading the shell.
    if (context_.shortcuts != nullptr) {
        chkShortcutOnStartMenu.SetValue(context_.shortcuts->StartMenuShortcutExists() ? 1 : 0);
        chkShortcutOnDesktop.SetValue(context_.shortcuts->DesktopShortcutExists() ? 1 : 0);
    }
    Show();
}

void frmOptions::UpdatePatternControls() {
    const bool either = chkStartup.Value() == 1 || chkScrRes.Value() == 1;
    cboPatterns.SetEnabled(either);
    lblPatterns.SetEnabled(either);
}

void frmOptions::UpdateAutoSaveControls() {
    const bool either = chkSaveOnStart.Value() == 1 || chkSaveOnClose.Value() == 1;
    cboAutoSave.SetEnabled(either);
    lblAutoSave.SetEnabled(either);
}

void frmOptions::ShowPatternToolTips() {
    const std::string name = cboPatterns.Text();
    std::string startup("When Pellmark is run it will restore the Icon Pattern ''");
    startup += name;
    startup += "''";
    chkStartup.SetToolTip(startup);
    std::string resolution("When the screen resolution changes, the Icon Pattern ''");
    resolution += name;
    resolution += "'' will be restored";
    chkScrRes.SetToolTip(resolution);
}

void frmOptions::SaveOptions() {
    const auto save = [this](const char* key, const std::string& text) {
        store_.Save(kSettingsSection, key, text);
    };
    save("RestoreOnResChange", CheckText(chkScrRes));
    if (chkScrRes.Value() == 1) {
        save("PatternToRestore", cboPatterns.Text());
    }
    save("RestoreOnStartup", CheckText(chkStartup));
    if (chkStartup.Value() == 1) {
        save("PatternToRestore", cboPatterns.Text());
    }
    // Empty exactly when neither restore is ticked.
    save("PatternToRestore", cboPatterns.Enabled() ? cboPatterns.Text() : std::string());
    save("CloseWhenRestored", CheckText(chkCloseProgram));
    save("QuietCommandLine", CheckText(chkQuietCommandLine));
    save("LoadInSysTray", CheckText(chkStartInSysTray));
    SetLoadOnStartup(context_.registry, chkLoadOnWinStart.Value() == 1, kCurrentUserScope,
                     context_.programPath);
    save("LoadOnStartup", CheckText(chkLoadOnWinStart));
    // Hidden only with the tray icon to bring it back.
    save("OnLoadHide", chkStartHidden.Value() == 1 && chkStartInSysTray.Value() == 1 ? "1" : "0");
    save("FollowScreens", CheckText(chkFollowScreens));
    save("LockIcons", CheckText(chkLockIcons));
    if (context_.shortcuts != nullptr) {
        Shortcuts& shortcuts = *context_.shortcuts;
        if (chkShortcutOnStartMenu.Value() == 1) {
            static_cast<void>(shortcuts.CreateStartMenuShortcut());
        } else {
            shortcuts.DeleteStartMenuShortcut();
        }
        if (chkShortcutOnDesktop.Value() == 1) {
            static_cast<void>(shortcuts.CreateDesktopShortcut());
        } else {
            shortcuts.DeleteDesktopShortcut();
        }
    }
    if (cboAutoSave.Text().empty()) {
        cboAutoSave.SetText(kDefaultAutoSavePattern);
    }
    save("SavePatternOnStart", CheckText(chkSaveOnStart));
    save("SavePatternOnClose", CheckText(chkSaveOnClose));
    save("PatternToAutoSave", cboAutoSave.Text());
    // A stored language whose file is gone leaves the list without a choice: the setting
    // keeps it (the built-in English serves meanwhile) rather than naming no language.
    if (!cboLanguage.Text().empty()) {
        save("Language", cboLanguage.Text());
    }
    if (context_.saved) {
        context_.saved();
    }
}

}  // namespace pellmark
