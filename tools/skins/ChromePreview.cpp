// Shows the window chrome on real windows as the main window will wear it, for people to
// look at and for screenshots:
//     chrome_preview.exe PAGE [SECONDS]
// PAGE is intro, 1-0, 1-1, 1-2, 2-0, 2-1, 2-2 (section and tab), help (the help panel over
// the first page) or about (the about box); the window closes itself after SECONDS (4).
// It is also the pattern for wiring the main window: a NavigationView over picture boxes
// and images, the skin's outline as the region, and dragging by the body.
#include <windows.h>

#include <array>
#include <cstdlib>
#include <string>

#include "chrome/MainNavigation.h"
#include "chrome/SkinOutline.h"
#include "chrome/frmAbout.h"
#include "chrome/res/ChromePictures.h"
#include "platform/forms/Form.h"
#include "platform/win32/Win32Forms.h"
#include "platform/win32/Win32Region.h"
#include "platform/win32/Win32VersionInfo.h"

namespace pellmark::chrome {
namespace {

constexpr forms::Bounds kTitleArea{52, 9, 360, 26};
constexpr std::array<forms::Bounds, kSideButtonCount> kSideButtons{
    {{8, 88, 40, 40}, {8, 156, 40, 40}, {8, 224, 40, 40}}};
constexpr forms::Bounds kTabStrip{56, 50, 377, 30};
constexpr forms::Bounds kMenuButton{428, 9, 30, 26};
constexpr forms::Bounds kWebImage{301, 310, 132, 18};
constexpr std::uint32_t kPageText = 0x5A4A3C;  // a soft slate, COLORREF
constexpr std::uint32_t kInfoBack = 0xF4FAFF;

class ChromePreview final : public forms::Form, public NavigationView {
  public:
    ChromePreview(forms::Backend& backend, frmAbout& about)
        : Form(backend, "Form1"), about_(about), navigation_(*this) {
        forms::WindowSettings settings;
        settings.border = forms::BorderStyle::None;
        SetSettings(settings);
        SetCaption("Pellmark");
        SetClientSize(468, 332);
        skin_ = Resource(PELLMARK_PICTURE_MAIN_SKIN);
        up_ = Resource(PELLMARK_PICTURE_SIDE_BUTTON_UP);
        down_ = Resource(PELLMARK_PICTURE_SIDE_BUTTON_DOWN);
        menu_ = Resource(PELLMARK_PICTURE_MENU_BUTTON);
        for (int section = 1; section <= 2; ++section) {
            for (int tab = 0; tab < kTabCount; ++tab) {
                tabs_[section - 1][tab] = Resource(TabStripPicture(section, tab));
            }
        }
        std::int32_t red = kSkinTransparent;
        SetRegion(SkinOutline(skin_, red));
        Paint = [this](forms::Canvas& canvas) {
            canvas.Draw(skin_, {0, 0, skin_.Width(), skin_.Height()});
            canvas.Text(title_, kTitleArea,
                        {.font = {.points = 13, .bold = true}, .colour = 0xFFFFFF});
        };
        MouseDown = [this](const forms::MouseEvent&) {
            win32::DragWindow(win32::Win32FormsBackend::WindowOf(*this));
        };

        for (int i = 0; i < kSideButtonCount; ++i) {
            forms::Image& button = Add<forms::Image>("imgSideButton(" + std::to_string(i) + ")");
            button.Move(kSideButtons[i]);
            button.SetPicture(up_);
            button.MouseDown = [this, i](const forms::MouseEvent&) {
                navigation_.SideButtonMouseDown(i);
            };
            button.MouseUp = [this, i](const forms::MouseEvent&) {
                navigation_.SideButtonMouseUp(i);
            };
            button.Click = [this, i] { navigation_.SideButtonClick(i); };
            sideButtons_[i] = &button;
        }
        imgTabs_ = &Add<forms::Image>("imgTabs");
        imgTabs_->Move(kTabStrip);
        imgTabs_->MouseUp = [this](const forms::MouseEvent& event) {
            navigation_.TabClick(event.x * kTabCount / kTabStrip.width);
        };
        imgMenu_ = &Add<forms::Image>("imgMenu");
        imgMenu_->Move(kMenuButton);
        imgMenu_->SetPicture(menu_);
        imgMenu_->MouseDown = [this](const forms::MouseEvent&) { navigation_.MenuMouseDown(); };
        imgMenu_->MouseUp = [this](const forms::MouseEvent&) { navigation_.MenuMouseUp(); };
        forms::Image& web = Add<forms::Image>("imgWebAdd");
        web.Move(kWebImage);
        web.SetPicture(Resource(PELLMARK_PICTURE_WEB_IMAGE));

        for (int i = 0; i < kPageCount; ++i) {
            const auto page = static_cast<Page>(i);
            forms::Picture& box = Add<forms::Picture>("page" + std::to_string(i));
            box.SetVisible(false);
            box.SetBackColour(page == Page::Info ? kInfoBack : 0xFFFFFF);
            box.Paint = [this, page](forms::Canvas& canvas) { PaintPage(page, canvas); };
            pages_[i] = &box;
        }
        forms::Button& done = Add<forms::Button>("cmdDone", pages_[kPageCount - 1]);
        done.SetCaption("Done");
        done.Move({kPageArea.width - 92, kPageArea.height - 36, 80, 26});
        done.Click = [this] { navigation_.DoneClick(); };
    }

    MainNavigation& Navigation() { return navigation_; }

    void SetPageVisible(Page page, bool visible) override { Box(page).SetVisible(visible); }
    bool PageVisible(Page page) const override { return pages_[Index(page)]->Visible(); }
    void ShowPage(Page page, const forms::Bounds& area) override {
        Box(page).Move(area);
        Box(page).SetVisible(true);
    }
    void SetTitle(const std::string& title) override {
        title_ = title;
        Refresh();
    }
    void SetInfoText(const std::string& text) override {
        info_ = text;
        Box(Page::Info).Refresh();
    }
    void SetTabStrip(int section, int tab) override {
        imgTabs_->SetPicture(section == 0 ? forms::Bitmap() : tabs_[section - 1][tab]);
    }
    void SetSideButtonPressed(int index, bool pressed) override {
        sideButtons_[index]->SetPicture(pressed ? down_ : up_);
    }
    void SetMenuButtonPressed(bool pressed) override {
        imgMenu_->SetPicture(pressed ? forms::Bitmap() : menu_);
    }
    void ShowAboutBox() override { about_.ShowModal(); }
    void ShowMainMenu() override {}

  private:
    static std::size_t Index(Page page) { return static_cast<std::size_t>(page); }
    forms::Picture& Box(Page page) { return *pages_[Index(page)]; }
    forms::Bitmap Resource(int id) { return GetBackend().LoadResourcePicture(PictureName(id)); }

    void PaintPage(Page page, forms::Canvas& canvas) {
        const forms::Bounds inside{16, 14, kPageArea.width - 32, kPageArea.height - 28};
        if (page == Page::Info) {
            canvas.Text(info_, {16, 14, kPageArea.width - 32, kPageArea.height - 64},
                        {.colour = kPageText, .wrap = true});
            return;
        }
        const std::string text = page == Page::Introduction
                                     ? "Pellmark remembers where the icons on your desktop "
                                       "stand and puts them back.\n\nChoose Patterns on the "
                                       "left to save and restore icon positions, or Desktop "
                                       "to tune how the desktop shows its icons. Click the "
                                       "title above to learn about Pellmark."
                                     : PageHelp(page);
        canvas.Text(text, inside, {.colour = kPageText, .wrap = true});
    }

    frmAbout& about_;
    MainNavigation navigation_;
    forms::Bitmap skin_, up_, down_, menu_;
    std::array<std::array<forms::Bitmap, kTabCount>, 2> tabs_;
    std::array<forms::Image*, kSideButtonCount> sideButtons_{};
    std::array<forms::Picture*, kPageCount> pages_{};
    forms::Image* imgTabs_ = nullptr;
    forms::Image* imgMenu_ = nullptr;
    std::string title_;
    std::string info_;
};

}  // namespace
}  // namespace pellmark::chrome

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace pellmark;
    const std::string page = __argc > 1 ? __argv[1] : "intro";
    const int seconds = __argc > 2 ? std::atoi(__argv[2]) : 4;
    win32::Win32FormsBackend forms;
    const auto version = win32::ReadVersionResource();
    chrome::ProgramFacts facts{"Pellmark"};
    if (version) {
        facts = {"Pellmark",        version->major,    version->minor,
                 version->revision, version->comments, version->legalCopyright};
    }
    chrome::frmAbout about(forms, facts, [](const std::string&) {});
    chrome::ChromePreview preview(forms, about);
    forms::Form& shown = page == "about" ? static_cast<forms::Form&>(about) : preview;
    forms::Timer& close = shown.AddTimer("tmrClose");
    close.SetInterval(seconds * 1000);
    close.Tick = [&forms] { forms.EndProgram(); };
    close.SetEnabled(true);

    preview.Show();
    auto& navigation = preview.Navigation();
    if (page == "intro" || page == "about") {
        navigation.SideButtonClick(0);
    } else if (page == "help") {
        navigation.SideButtonClick(1);
        navigation.TitleClick();
    } else if (page.size() == 3 && page[1] == '-') {
        navigation.SideButtonClick(page[0] - '0');
        navigation.TabClick(page[2] - '0');
        navigation.SideButtonMouseDown(page[0] - '0');  // shows the pressed picture
    }
    if (page == "about") {
        about.Show();
    }
    return win32::RunMessageLoop();
}
