#include "app/Form1.h"

#include <algorithm>
#include <functional>
#include <new>
#include <utility>

#include "chrome/MakerAddresses.h"
#include "chrome/SkinOutline.h"
#include "chrome/res/ChromePictures.h"
#include "patterns/PatternFile.h"
#include "patterns/SavedFolder.h"
#include "patterns/TrayPatternRestore.h"
#include "platform/RunTimeError.h"
#include "platform/TextCompare.h"
#include "settings/AppInfo.h"
#include "settings/Language.h"
#include "settings/Messages.h"
#include "tray/TrayRouting.h"

namespace pellmark {

namespace {
// Thrown when the window was closed while it loaded (a close can arrive while step 5 lets
// pending events run): the rest of the load is dropped without a message.
struct ClosedWhileLoading {};

// The two backing files of the transfer mappings that reading the desktop leaves behind.
constexpr const char* kTransferFiles[] = {"TEMP~~1.tmp", "TEMP~~2.tmp"};

// Where the chrome sits on the skin, in its 96-DPI pixels (tools/skins/make_skins.py draws
// the skin around these).
constexpr forms::Bounds kTitleArea{52, 9, 360, 26};
constexpr std::array<forms::Bounds, chrome::kSideButtonCount> kSideButtons{
    {{8, 88, 40, 40}, {8, 156, 40, 40}, {8, 224, 40, 40}}};
constexpr forms::Bounds kTabStrip{56, 50, 377, 30};
constexpr forms::Bounds kMenuButton{428, 9, 30, 26};
constexpr forms::Bounds kWebImage{301, 310, 132, 18};
constexpr std::uint32_t kTitleColour = 0xFFFFFF;

std::optional<Shortcuts> MakeShortcuts(ProgramServices& services) {
    if (services.shell == nullptr) {
        return std::nullopt;
    }
    return std::optional<Shortcuts>(std::in_place, *services.shell, services.files,
                                    services.dialogs, services.programFolder, services.programName);
}

bool Inside(const forms::Bounds& area, int x, int y) {
    return x >= area.left && x < area.left + area.width && y >= area.top &&
           y < area.top + area.height;
}
}  // namespace

Form1::Form1(ProgramServices& services, frmMenus& menus, chrome::frmAbout& about)
    : Form(services.forms, "Form1"),
      services_(services),
      menus_(menus),
      about_(about),
      messages_(services.dialogs, services.system),
      settingsStore_(services.registry),
      desktopIcons_(services.desktop, messages_),
      restore_(desktopIcons_, services.files, messages_),
      watcher_(desktopIcons_, restore_, settingsStore_, services.dialogs),
      trayIcon_(*this),
      commands_(menus, CommandContext()),
      introduction(*this),
      patterns(*this, services.files, services.dialogs, services.system, desktopIcons_, restore_,
               menus),
      showHideIcons(*this, desktopIcons_, services.desktop),
      removeIcons(*this, services.registry, services.files, services.dialogs, services.system),
      iconSize(*this, services.registry, services.dialogs, services.repaintScreen),
      misc(*this, services.registry, services.dialogs),
      iconUtils(*this, services.desktopStyle, services.desktop, services.dialogs, settingsStore_,
                menus.mnuShowDesktop),
      help(*this),
      imgTabs(Add<forms::Image>("imgTabs")),
      imgMenu(Add<forms::Image>("imgMenu")),
      imgWebAdd(Add<forms::Image>("imgWebAdd")),
      tmrCheckForResChange(AddTimer("tmrCheckForResChange")),
      tmrFollowScreens(AddTimer("tmrFollowScreens")),
      tmrReadDesktop(AddTimer("tmrReadDesktop")),
      navigation_(*this),
      shortcuts_(MakeShortcuts(services)),
      options_(services.forms,
               OptionsContext{
                   .files = services.files,
                   .dialogs = messages_,
                   .registry = services.registry,
                   .programPath = ProgramPath(services.programFolder, services.programName),
                   .shortcuts = shortcuts_ ? &*shortcuts_ : nullptr,
                   .programFolder = services.programFolder,
                   .patternFiles = patterns.File1,
                   .applyLanguage = [this](const std::string& language) { UseLanguage(language); },
                   .checkForNewVersion =
                       [this](forms::Label& link) {
                           if (checkForNewVersion_) {
                               checkForNewVersion_(link);
                           }
                       },
                   .saved = [this] { Trapped([this] { FollowScreens(); }); },
                   .translate =
                       [this](forms::Form& dialog) {
                           if (language_) {
                               TranslateForm(dialog, *language_);
                           }
                       },
               }) {
    SetCaption(kAppTitle);
    // The skin is the whole window: no frame, no caption, but still in the taskbar and
    // with its system menu, so Alt+F4 and the taskbar close it.
    forms::WindowSettings window;
    window.border = forms::BorderStyle::None;
    SetSettings(window);
    tmrCheckForResChange.SetInterval(kResolutionCheckInterval);
    if (services.displays != nullptr) {
        // Hidden means off every monitor, not beyond the primary's edges.
        desktopIcons_.UseMonitors([this] {
            std::vector<platform::MonitorRect> rects;
            for (const platform::Monitor& monitor : services_.displays->ReadMonitors()) {
                rects.push_back(monitor.rect);
            }
            return rects;
        });
    }
    // The options stay above the main window, from their first window on.
    forms::WindowSettings optionsWindow = options_.Settings();
    optionsWindow.owner = this;
    options_.SetSettings(optionsWindow);
    // A pattern shown before the read the load left for later must not be replaced by it.
    patterns.BeforePatternShown = [this] { ReadDesktopNow(); };
    patterns.PatternRestored = [this](const DesktopIconTable& table) {
        showHideIcons.MarkHiddenIconsWhereCaptionsMatch(table);
    };
    if (services.wallpaper != nullptr) {
        wallpaperPicker_.emplace(WallpaperPickerServices{
            services.forms, services.files, services.registry, *services.wallpaper,
            services.dialogs, services.programFolder, services.dragWindow});
        // Not modal: it stays above the main window and goes with it.
        forms::WindowSettings picker = wallpaperPicker_->Settings();
        picker.owner = this;
        wallpaperPicker_->SetSettings(picker);
        misc.wallpaper.Connect([this] { ShowWallpaperPicker(); },
                               [this] { RemoveWallpaper(*services_.wallpaper); });
    }

    for (int i = 0; i < chrome::kSideButtonCount; ++i) {
        forms::Image& button = Add<forms::Image>(forms::ElementName("imgSideButton", i));
        button.MouseDown = [this, i](const forms::MouseEvent&) {
            navigation_.SideButtonMouseDown(i);
        };
        button.MouseUp = [this, i](const forms::MouseEvent&) { navigation_.SideButtonMouseUp(i); };
        button.Click = [this, i] { Trapped([this, i] { navigation_.SideButtonClick(i); }); };
        imgSideButton[static_cast<std::size_t>(i)] = &button;
    }
    imgTabs.MouseUp = [this](const forms::MouseEvent& event) {
        Trapped(
            [this, event] { navigation_.TabClick(event.x * chrome::kTabCount / kTabStrip.width); });
    };
    imgMenu.MouseDown = [this](const forms::MouseEvent&) { navigation_.MenuMouseDown(); };
    imgMenu.MouseUp = [this](const forms::MouseEvent&) { navigation_.MenuMouseUp(); };
    imgMenu.Click = [this] { Trapped([this] { navigation_.MenuClick(); }); };
    imgWebAdd.Click = [this] { commands_.VisitHomepage(); };
    trayIcon_.OnMouse(
        [this](forms::TrayMouse mouse) { Trapped([this, mouse] { TrayIcon_Mouse(mouse); }); });
    help.cmdDone.Click = [this] { navigation_.DoneClick(); };
    Paint = [this](forms::Canvas& canvas) { PaintSkin(canvas); };
    MouseDown = [this](const forms::MouseEvent& event) { Form_MouseDown(event); };
    MouseUp = [this](const forms::MouseEvent& event) { Form_MouseUp(event); };

    KeyUp = [this](int key) {
        if (key == kKeyF5) {
            Trapped([this] { patterns.RefreshPatternList(); });
        }
    };
    tmrCheckForResChange.Tick = [this] {
        Trapped([this] {
            if (!watcher_.Tick()) {
                tmrCheckForResChange.SetEnabled(false);
            }
        });
    };
    tmrReadDesktop.SetInterval(1);
    tmrReadDesktop.Tick = [this] { ReadDesktopNow(); };
    tmrFollowScreens.Tick = [this] {
        Trapped([this] {
            if (!following_) {
                return;
            }
            if (followerStartPending_ && desktopReadPending_) {
                // The preview first, painted before the follower starts from the same read.
                ReadDesktopNow();
                ScheduleScreens(1);
                return;
            }
            const std::uint32_t now = services_.displays->TickCount();
            if (followerStartPending_) {
                followerStartPending_ = false;
                int next = follower_->Start(now, std::exchange(followerTakesRead_, false));
                if (follower_->Locked() != settings_.LockIcons) {
                    next = follower_->SetLock(settings_.LockIcons, now);
                }
                if (disruptionBeforeStart_) {
                    next = std::min(next, follower_->Disrupt(*disruptionBeforeStart_, now));
                    disruptionBeforeStart_.reset();
                }
                ScheduleScreens(next);
                return;
            }
            ScheduleScreens(follower_->Tick(now));
        });
    };
}

MenuCommandContext Form1::CommandContext() {
    return {
        .system = services_.system,
        .dialogs = services_.dialogs,
        .desktop = services_.desktop,
        .files = services_.files,
        .programFolder = services_.programFolder,
        .mainWindow = *this,
        .windowOf = services_.windowOf,
        .showAboutBox = [this] { ShowAboutBox(); },
        .showOptions = [this] { ShowOptions(); },
        .restorePattern =
            [this](const std::string& name) {
                // The rows the restore marks must be there first.
                ReadDesktopNow();
                // A failure ends the tray's restore without a message of its own.
                try {
                    RestorePatternFromMenu(name, services_.programFolder, restore_,
                                           desktopIcons_.Table(),
                                           [this](const DesktopIconTable& table) {
                                               showHideIcons.MarkHiddenIcons(table);
                                           });
                } catch (const std::exception&) {
                }
            },
        .showTrayIcon =
            [this] {
                if (!trayIcon_.TrayIconShown()) {
                    trayIcon_.AddTrayIcon();
                    trayIcon_.SetTrayIconShown(true);
                }
            },
        .lockIcons = services_.displays == nullptr
                         ? std::function<void(bool)>()
                         : [this](bool locked) {
                               settingsStore_.Save(kSettingsSection, "LockIcons",
                                                   locked ? "1" : "0");
                               FollowScreens();
                           },
    };
}

void Form1::ScheduleScreens(int milliseconds) {
    tmrFollowScreens.SetInterval(std::max(milliseconds, 1));
    tmrFollowScreens.SetEnabled(true);
}

void Form1::FollowScreens(bool atStart) {
    if (services_.displays == nullptr) {
        return;
    }
    settings_.FollowScreens = StoredSwitch("FollowScreens", "1");
    settings_.LockIcons = StoredSwitch("LockIcons", "0");
    menus_.mnuLockIcons.checked = settings_.LockIcons;
    if (!settings_.FollowScreens && !settings_.LockIcons) {
        following_ = false;
        if (follower_) {
            follower_->SetLock(false, services_.displays->TickCount());
        }
        tmrFollowScreens.SetEnabled(false);
        return;
    }
    platform::Displays& displays = *services_.displays;
    if (!follower_) {
        screenLayouts_.emplace(services_.files, savedFolder_);
        follower_.emplace(desktopIcons_, displays, *screenLayouts_, services_.dialogs);
        displays.OnDisruption([this](platform::Disruption disruption) {
            if (following_ && followerStartPending_) {
                disruptionBeforeStart_ = disruption;  // told once the follower has started
            } else if (following_) {
                Trapped([this, disruption] {
                    ScheduleScreens(
                        follower_->Disrupt(disruption, services_.displays->TickCount()));
                });
            }
        });
    }
    follower_->SetFollow(settings_.FollowScreens);
    follower_->SetPatternWinsOnDisplayChange(settings_.RestoreOnResChange);
    if (!following_) {
        following_ = true;
        // A lock holds from the first moment, so it starts at once.
        if (atStart && !settings_.LockIcons) {
            // The follower's first read of the desktop waits for the timer, after the window
            // has shown: a thousand icons read from Explorer's process would hold up the start.
            followerStartPending_ = true;
            ScheduleScreens(1);
            return;
        }
        followerStartPending_ = false;
        int next = follower_->Start(displays.TickCount());
        if (follower_->Locked() != settings_.LockIcons) {
            next = follower_->SetLock(settings_.LockIcons, displays.TickCount());
        }
        ScheduleScreens(next);
        return;
    }
    if (!followerStartPending_ && follower_->Locked() != settings_.LockIcons) {
        ScheduleScreens(follower_->SetLock(settings_.LockIcons, displays.TickCount()));
    }
}

// Left button up shows or hides the window, right button down opens the tray menu.
void Form1::TrayIcon_Mouse(forms::TrayMouse mouse) {
    const TrayWindowsState windows{.mainVisible = Visible(),
                                   .aboutVisible = about_.Visible(),
                                   .optionsVisible = options_.Visible()};
    switch (RouteTrayMouse(mouse, windows)) {
        case TrayAction::ShowMainWindow:
            Show();
            break;
        case TrayAction::HideMainWindow:
            Hide();
            break;
        case TrayAction::OpenTrayMenu:
            commands_.ShowTrayMenu();
            break;
        case TrayAction::None:
            break;
    }
}

void Form1::OnLoad() {
    if (!services_.commandLine.empty()) {
        // From the first step: the load's own desktop read can already have something to say.
        messages_.BeginRun(QuietCommandLine(settingsStore_, services_.commandLine));
    }
    // A thousand icons read from Explorer's process take longer than the rest of the start:
    // unless a command line or a start-up restore or save needs them first, they are read
    // once the window has shown and painted its first page.
    desktopReadPending_ = services_.commandLine.empty() &&
                          !StoredSwitch("RestoreOnStartup", "False") &&
                          !StoredSwitch("SavePatternOnStart", "False");
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"Main Loading procedures", [this] { MainLoadingProcedures(); }},
        {"Shaping form", [this] { ShapeForm(); }},
        {"Positioning controls", [this] { PositionControls(); }},
        {"Retrieving Desktop Colours",
         [this] {
             if (!desktopReadPending_) {
                 RetrieveDesktopColours();
             }
         }},
        {"Running general sub routines", [this] { RunGeneralSubRoutines(); }},
        {"Load current desktop icons into preview",
         [this] {
             if (!desktopReadPending_) {
                 patterns.ShowDesktopPreview();
             }
         }},
        {"Load up the Special Desktop icons",
         [this] {
             removeIcons.LoadSpecialIcons(services_.programFolder, services_.expandEnvironment);
         }},
        {"Load settings for misc tab",
         [this] {
             misc.LoadSwitches();
             iconSize.LoadIconCache();
         }},
        {"Get settings",
         [this] {
             LoadSettings(settingsStore_, services_.programFolder, settings_, iconUtils, messages_);
         }},
        {"Get Desktop Text Background Colour",
         [this] {
             if (!desktopReadPending_) {
                 iconUtils.ReadSavedDesktopBackColour();
             }
         }},
        {"Perform auto save functions", [] {}},
        {"Load the language file", [this] { LoadTheLanguageFile(); }},
        {"implement settings", [this] { ImplementSettings(); }},
        {"Handling command arguments", [this] { HandleCommandArguments(); }},
    };
    // A step that fails is reported and the load goes on: the steps after it do not need
    // what it did, or check for it (the pattern folder).
    bool failed = false;
    for (const auto& [name, run] : steps) {
        failed = !RunStep(name, run) || failed;
        if (!Loaded()) {
            return;
        }
    }
    // A window that stopped loading before it was shown would leave a copy running that
    // nobody can reach: show it, so it can at least be closed.
    if (failed && !Visible()) {
        Show();
    }
    // A timer ticks only once the window's paints are done.
    tmrReadDesktop.SetEnabled(desktopReadPending_);
}

bool Form1::RunStep(const char* name, const std::function<void()>& run) {
    try {
        BeginStep(name);
        run();
        return true;
    } catch (const ClosedWhileLoading&) {
        return true;
    } catch (const RunTimeError& error) {
        ReportLoadFailure(error.Number(), error.what());
    } catch (const std::bad_alloc&) {
        ReportLoadFailure(7, "Out of memory");
    } catch (const std::exception& error) {
        ReportLoadFailure(kInvalidProcedureCall, error.what());
    }
    return false;
}

void Form1::ReadDesktopNow() {
    if (!desktopReadPending_) {
        return;
    }
    desktopReadPending_ = false;
    tmrReadDesktop.SetEnabled(false);
    followerTakesRead_ = followerStartPending_;
    // The markers' colour, asked of Explorer's process, is needed only once they show.
    static_cast<void>(RunStep("Retrieving Desktop Colours", [this] { RetrieveDesktopColours(); }));
    if (RunStep("Running general sub routines", [this] { ReadDesktopAndShowHideList(); })) {
        static_cast<void>(RunStep("Load current desktop icons into preview",
                                  [this] { patterns.ShowDesktopPreview(); }));
    }
    // The captions' background, put back when transparency is unticked on a page not yet open.
    static_cast<void>(RunStep("Get Desktop Text Background Colour",
                              [this] { iconUtils.ReadSavedDesktopBackColour(); }));
}

void Form1::ReadDesktopAndShowHideList() {
    desktopIcons_.ReadDesktopIcons();
    showHideIcons.FillShowHideList();
}

void Form1::RetrieveDesktopColours() {
    patterns.SetMarkerColour(services_.desktop.GetDesktopTextColour());
}

bool Form1::StoredSwitch(const char* key, const char* defaultText) {
    const std::string text = settingsStore_.Get(kSettingsSection, key, defaultText);
    return text != "0" && !platform::EqualIgnoringCase(text, "False");
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
    messages_.ShowMessage({.text = "Error: " + std::to_string(number) + "\n" + description +
                                   "\n\n" + kAppTitle + " encoutered a problem while trying to " +
                                   currentStep_,
                           .caption = "Loading main Form",
                           .icon = platform::MessageIcon::Critical});
}

void Form1::MainLoadingProcedures() {
    savedFolder_ = SavedFolderFor(services_.programFolder);
    static_cast<void>(services_.files.CreateFolder(savedFolder_));  // it may exist already
    static_cast<void>(desktopIcons_.GetScreenResolution());
    patterns.Open(savedFolder_);
    patternFolderReady_ = true;
}

forms::Bitmap Form1::Picture(int id) {
    return services_.forms.LoadScalablePicture(chrome::PictureName(id),
                                               chrome::PictureName(id + chrome::kLargePictures));
}

void Form1::ShapeForm() {
    skin_ = Picture(PELLMARK_PICTURE_MAIN_SKIN);
    SetClientSize(skin_.Width(), skin_.Height());
    std::int32_t transparent = chrome::kSkinTransparent;
    SetRegion(chrome::SkinOutline(skin_, transparent));
}

void Form1::PositionControls() {
    sideUp_ = Picture(PELLMARK_PICTURE_SIDE_BUTTON_UP);
    sideDown_ = Picture(PELLMARK_PICTURE_SIDE_BUTTON_DOWN);
    menuPicture_ = Picture(PELLMARK_PICTURE_MENU_BUTTON);
    for (std::size_t i = 0; i < imgSideButton.size(); ++i) {
        imgSideButton[i]->Move(kSideButtons[i]);
        imgSideButton[i]->SetPicture(sideUp_);
    }
    imgTabs.Move(kTabStrip);
    imgMenu.Move(kMenuButton);
    imgMenu.SetPicture(menuPicture_);
    imgWebAdd.Move(kWebImage);
    imgWebAdd.SetPicture(Picture(PELLMARK_PICTURE_WEB_IMAGE));
    patterns.PositionControls();
    removeIcons.PositionControls();
    iconSize.PositionControls();
    misc.PositionControls();
    iconUtils.PositionControls();
    // It opens where most visits go: the saved patterns.
    navigation_.SideButtonClick(1);
}

void Form1::PaintSkin(forms::Canvas& canvas) {
    if (!skin_.Empty()) {
        canvas.Draw(skin_, {0, 0, skin_.Width(), skin_.Height()});
    }
    canvas.Text(title_, kTitleArea, {.font = {.points = 13, .bold = true}, .colour = kTitleColour});
}

// The title opens the about box or the help; anywhere else on the body moves the window,
// with either button.
void Form1::Form_MouseDown(const forms::MouseEvent& event) {
    titlePressed_ = Inside(kTitleArea, event.x, event.y);
    if (!titlePressed_ && services_.dragWindow) {
        services_.dragWindow(*this);
    }
}

void Form1::Form_MouseUp(const forms::MouseEvent& event) {
    const bool click = titlePressed_ && Inside(kTitleArea, event.x, event.y);
    titlePressed_ = false;
    if (click) {
        Trapped([this] { navigation_.TitleClick(); });
    }
}

forms::Picture& Form1::PageBox(chrome::Page page) const {
    switch (page) {
        case chrome::Page::Introduction:
            return introduction.Box();
        case chrome::Page::SavePositions:
            return patterns.picContSavePos;
        case chrome::Page::ShowHideIcons:
            return showHideIcons.Box();
        case chrome::Page::RemoveIcons:
            return removeIcons.Box();
        case chrome::Page::IconSize:
            return iconSize.Box();
        case chrome::Page::Miscellaneous:
            return misc.Box();
        case chrome::Page::IconUtilities:
            return iconUtils.Box();
        case chrome::Page::Info:
            break;
    }
    return help.Box();
}

void Form1::SetPageVisible(chrome::Page page, bool visible) {
    PageBox(page).SetVisible(visible);
    patterns.ShowLabels(patterns.picContSavePos.Visible() && !help.Box().Visible());
}

bool Form1::PageVisible(chrome::Page page) const {
    return PageBox(page).Visible();
}

void Form1::ShowPage(chrome::Page page, const forms::Bounds& area) {
    PageBox(page).Move(area);
    SetPageVisible(page, true);
    if (page == chrome::Page::ShowHideIcons) {
        showHideIcons.PageShown();
    } else if (page == chrome::Page::RemoveIcons) {
        removeIcons.PageShown();
    }
}

void Form1::SetTitle(const std::string& title) {
    title_ = title;
    Refresh();
}

void Form1::SetInfoText(const std::string& text) {
    help.SetText(text);
}

void Form1::SetTabStrip(int section, int tab) {
    if (section == 0) {
        imgTabs.SetPicture(forms::Bitmap());
        return;
    }
    // Each strip is loaded when it is first shown: a start-up shows one of six.
    forms::Bitmap& strip =
        tabStrips_[static_cast<std::size_t>(section - 1)][static_cast<std::size_t>(tab)];
    if (strip.Empty()) {
        strip = Picture(chrome::TabStripPicture(section, tab));
    }
    imgTabs.SetPicture(strip);
}

void Form1::SetSideButtonPressed(int index, bool pressed) {
    imgSideButton[static_cast<std::size_t>(index)]->SetPicture(pressed ? sideDown_ : sideUp_);
}

void Form1::SetMenuButtonPressed(bool pressed) {
    // Without its picture the skin's own pressed look shows through.
    imgMenu.SetPicture(pressed ? forms::Bitmap() : menuPicture_);
}

void Form1::ShowAboutBox() {
    forms::WindowSettings window = about_.Settings();
    window.owner = this;
    about_.SetSettings(window);
    about_.ShowModal();
}

// Modeless; the first opening shows what the load put in it.
void Form1::ShowOptions() {
    options_.Open();
}

void Form1::SetCheckForNewVersion(std::function<void(forms::Label& link)> check) {
    checkForNewVersion_ = std::move(check);
}

void Form1::ShowMainMenu() {
    // The button's picture comes back before the menu holds the window.
    services_.forms.DoEvents();
    commands_.ShowMainMenu({kMenuButton.left, kMenuButton.top});
}

void Form1::RunGeneralSubRoutines() {
    if (patternFolderReady_) {
        patterns.RefreshPatternList();
    }
    // Read wherever the desktop can be read, so the preview and the count show it.
    if (!desktopReadPending_) {
        ReadDesktopAndShowHideList();
    }
    services_.forms.DoEvents();
}

void Form1::LoadTheLanguageFile() {
    UseLanguage(settingsStore_.Get(kSettingsSection, "Language", "English"));
}

void Form1::UseLanguage(const std::string& language) {
    settings_.Language = language;
    settings_.LanguageFile = LanguageFilePath(services_.programFolder, language);
    language_ =
        ReadLanguage(services_.files, services_.programFolder, language, services_.builtInEnglish);
    ApplyLanguage(
        *language_,
        {.mainWindow = this,
         .messagesApplied =
             [this] {
                 navigation_.ShowTextsAgain();
                 patterns.ShowTextsAgain();
             },
         // Not loaded yet, the dialog takes the language when it first opens.
         .optionsDialog =
             [this] { return options_.Loaded() ? static_cast<forms::Form*>(&options_) : nullptr; },
         .menuForm = &menus_,
         .iconiseMenus = [this] { menus_.IconiseMenuFormsMenu(); },
         .wallpaperPicker = [this] { return LoadedWallpaperPicker(); }});
}

forms::Form* Form1::LoadedWallpaperPicker() {
    if (!wallpaperPicker_) {
        return nullptr;
    }
    wallpaperPicker_->Load();
    return &*wallpaperPicker_;
}

void Form1::ShowWallpaperPicker() {
    if (wallpaperPicker_) {
        wallpaperPicker_->Open();
    }
}

void Form1::ImplementSettings() {
    trayIcon_.SetTrayIconShown(settings_.LoadInSysTray);
    if (trayIcon_.TrayIconShown()) {
        trayIcon_.AddTrayIcon();
    }
    iconUtils.ImplementSettings(settings_, !services_.commandLine.empty());
    if (settings_.RestoreOnResChange) {
        watcher_.Start(savedFolder_, settings_.PatternToRestore);
        tmrCheckForResChange.SetEnabled(true);
    }
    // Without its folder no pattern is found, and the setting must not be cleared for that.
    if (settings_.RestoreOnStartup && !settings_.PatternToRestore.empty() && patternFolderReady_) {
        RestorePatternOnStartup();
    }
    FollowScreens(true);
    // Hidden only when the tray icon can bring it back: a program nobody can reach must not
    // keep running.
    if (settings_.OnLoadHide && Tray().Shown()) {
        Hide();
    } else {
        Show();
    }
    if (settings_.SavePatternOnStart && patternFolderReady_) {
        SaveAutomaticPattern();
    }
}

void Form1::RestorePatternOnStartup() {
    const std::string& wanted = settings_.PatternToRestore;
    int found = -1;
    for (int i = 0; i < patterns.List1.ListCount(); ++i) {
        const std::string& entry = patterns.List1.List(i);
        if (platform::EqualIgnoringCase(entry, wanted)) {
            found = i;  // the last equal entry counts
        }
    }
    if (found >= 0) {
        restore_.RestorePatternFile(savedFolder_ + patterns.File1.List(found), true);
        return;
    }
    messages_.ShowMessage({.text = "\"" + wanted + "\" " + MessageText("0932"),
                           .icon = platform::MessageIcon::Exclamation});
    settingsStore_.Save(kSettingsSection, "PatternToRestore", "");
    settings_.PatternToRestore.clear();
}

void Form1::SaveAutomaticPattern() {
    if (!ValidatePatternName(settings_.PatternToAutoSave, messages_)) {
        return;
    }
    static_cast<void>(SavePattern(PatternPath(savedFolder_, settings_.PatternToAutoSave),
                                  desktopIcons_, services_.files, messages_));
    patterns.RefreshPatternList();
}

void Form1::HandleCommandArguments() {
    const std::string& line = services_.commandLine;
    if (line.empty()) {
        return;
    }
    const auto command = ParseCommandLine(line);
    if (!command) {
        // Reported as this step's failure, and the run still ends for a waiting script.
        ReportLoadFailure(kInvalidProcedureCall, "Invalid procedure call or argument");
        EndCommandRun(RunResult::Other);
        return;
    }
    EndCommandRun(RunCommand(*command));
}

RunResult Form1::RunCommand(const Command& command) {
    if (!ValidatePatternName(command.name + ".ips", messages_)) {
        return RunResult::NameRefused;
    }
    if (command.action == CommandAction::None) {
        return RunResult::Other;
    }
    // A new pattern's name must end as Windows keeps names; an existing one loads as it is.
    if (command.action == CommandAction::Save && !ValidatePatternName(command.name, messages_)) {
        return RunResult::NameRefused;
    }
    const std::string path = PatternPath(savedFolder_, command.name);
    if (command.action == CommandAction::Load) {
        return ResultOf(restore_.RestorePattern(path, true));
    }
    const SaveResult saved = SavePattern(path, desktopIcons_, services_.files, messages_);
    if (patternFolderReady_) {
        patterns.RefreshPatternList();
    }
    return ResultOf(saved);
}

// Whatever the run came to, a script waiting for it is let go when CloseWhenRestored asks.
void Form1::EndCommandRun(RunResult result) {
    if (settings_.CloseWhenRestored) {
        exitCode_ = static_cast<int>(result);
        Unload();  // the closing steps' messages are still the run's
    }
    messages_.EndRun();
}

void Form1::OnUnload() {
    tmrCheckForResChange.SetEnabled(false);
    desktopReadPending_ = false;
    tmrReadDesktop.SetEnabled(false);
    // Before any step that may fail: hidden icons must not outlive the program.
    iconUtils.ShowIconsAtEnd();
    tmrFollowScreens.SetEnabled(false);
    following_ = false;
    if (services_.displays != nullptr) {
        services_.displays->OnDisruption(nullptr);
    }
    try {
        // The notification-area icon goes first; the settings are read again because the
        // options may have changed them since the load.
        trayIcon_.RemoveTrayIcon();
        LoadSettings(settingsStore_, services_.programFolder, settings_, iconUtils, messages_);
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

}  // namespace pellmark
