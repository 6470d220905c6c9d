// The whole program on the in-memory backend, started as Windows starts it, for the tests
// that drive its windows and menus as a user does.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Form1.h"
#include "app/Main.h"
#include "chrome/res/ChromePictures.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopStyle.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimForms.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimShell.h"
#include "platform/sim/SimSystem.h"
#include "settings/SettingsStore.h"
#include "tests/common/ShippedLanguages.h"

namespace pellmark::testcases {

inline constexpr const char* kProgramFolder = "C:\\Pellmark";
inline constexpr const char* kPatternFolder = "C:\\Pellmark\\SavedPositions\\";

// The window pictures as plain squares of one colour each, so a test can tell which is
// shown; the skin is 8 by 4 with its two left corners cut away in red.
inline void AddChromePictures(sim::SimFormsBackend& backend) {
    constexpr std::uint32_t kOpaque = 0xFF000000;
    constexpr std::uint32_t kRed = kOpaque | 0x0000FF;
    const auto square = [](std::uint32_t colour) {
        return forms::Bitmap(2, 2, std::vector<std::uint32_t>(4, kOpaque | colour));
    };
    std::vector<std::uint32_t> skin(8 * 4, kOpaque | 0x808080);
    skin[0] = kRed;
    skin[3 * 8] = kRed;
    backend.resourcePictures[chrome::PictureName(PELLMARK_PICTURE_MAIN_SKIN)] =
        forms::Bitmap(8, 4, skin);
    const int pictures[] = {PELLMARK_PICTURE_SIDE_BUTTON_UP, PELLMARK_PICTURE_SIDE_BUTTON_DOWN,
                            PELLMARK_PICTURE_MENU_BUTTON,    PELLMARK_PICTURE_WEB_IMAGE,
                            chrome::TabStripPicture(1, 0),   chrome::TabStripPicture(1, 1),
                            chrome::TabStripPicture(1, 2),   chrome::TabStripPicture(2, 0),
                            chrome::TabStripPicture(2, 1),   chrome::TabStripPicture(2, 2),
                            PELLMARK_PICTURE_ABOUT_LOGO};
    std::uint32_t colour = 1;
    for (const int picture : pictures) {
        backend.resourcePictures[chrome::PictureName(picture)] = square(colour++);
    }
}

// The texts of the message boxes shown, in order.
inline std::vector<std::string> MessageTexts(const sim::SimDialogs& dialogs) {
    std::vector<std::string> texts;
    for (const auto& shown : dialogs.shown) {
        texts.push_back(shown.text);
    }
    return texts;
}

class ProgramHarness {
  public:
    ProgramHarness() {
        services.shell = &shell;
        services.builtInEnglish = ShippedLanguageBytes("English");
        AddChromePictures(forms);
        PutShippedLanguage(files, kProgramFolder, "English");
    }
    // The messages are the whole program's: the next test starts with English again.
    ~ProgramHarness() { LoadShippedMessages("English"); }
    ProgramHarness(const ProgramHarness&) = delete;
    ProgramHarness& operator=(const ProgramHarness&) = delete;

    void AddPattern(const std::string& name, const std::string& text) {
        files.files[kPatternFolder + name + ".ips"] = text;
    }
    void Setting(const std::string& key, const std::string& value) {
        store.Save(kSettingsSection, key, value);
    }
    // Starts the program as Windows would, with this command line; `painted`: and lets the
    // first timer tick after the window's first paint come, as it does at once.
    bool Start(const std::string& commandLine = "", bool painted = true) {
        services.commandLine = commandLine;
        // The old window lets go of the shared menu form before the new one takes it.
        form.reset();
        form = std::make_unique<Form1>(services, menus, about);
        form->StepStarted = [this](std::string_view step) { steps.emplace_back(step); };
        const bool started = Main(services, *form);
        if (painted) {
            form->tmrReadDesktop.Elapse();
        }
        return started;
    }
    [[nodiscard]] std::vector<std::string> Messages() const { return MessageTexts(dialogs); }

    sim::SimDesktop desktop;
    sim::SimDesktopStyle desktopStyle;
    sim::SimDialogs dialogs;
    sim::SimSystem system;
    sim::SimFiles files;
    sim::SimShell shell{files};
    sim::SimRegistry registry;
    sim::SimFormsBackend forms;
    ProgramServices services{desktop,  desktopStyle, dialogs,        system, files,
                             registry, forms,        kProgramFolder, ""};
    SettingsStore store{registry};
    frmMenus menus{forms};
    chrome::frmAbout about{forms, chrome::ProgramFacts{"Pellmark", 1, 2, 3},
                           [this](const std::string& address) { system.OpenAddress(address); }};
    std::unique_ptr<Form1> form;
    std::vector<std::string> steps;
};

}  // namespace pellmark::testcases
