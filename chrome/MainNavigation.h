// How the main window moves between its pages: the side buttons choose a section, the
// tabs a page within it, the title opens the about box or the page's help, and the help
// panel's Done button closes the help again. The window itself is reached through a small
// interface, so these rules hold whatever draws the pages.
#pragma once

#include <array>
#include <string>

#include "platform/forms/Control.h"

namespace pellmark::chrome {

enum class Page {
    Introduction,   // picIntroduction
    SavePositions,  // picContSavePos
    ShowHideIcons,  // picContShowHideIcons
    RemoveIcons,    // picContRemoveIcons
    IconSize,       // picContIconSize
    Miscellaneous,  // picContMisc
    IconUtilities,  // picContIconUtils
    Info,           // picContInfo: the help panel over the current page
};
inline constexpr int kPageCount = 8;

// Where every page is shown, in pixels of the skin.
inline constexpr forms::Bounds kPageArea{56, 80, 377, 225};
inline constexpr int kSideButtonCount = 3;
inline constexpr int kTabCount = 3;
inline constexpr const char* kIntroductionTitle = "Introduction";

// The page a tab shows; section 1 or 2, tab 0 to 2.
[[nodiscard]] Page PageOfTab(int section, int tab);
// The page's title and help text from the message table ("0910"-"0915", "0920"-"0925");
// the introduction's title is fixed and it has no help text.
[[nodiscard]] std::string PageTitle(Page page);
[[nodiscard]] std::string PageHelp(Page page);

// What the main window does for the navigation; Form1 implements it over its picture
// boxes and images.
class NavigationView {
  public:
    virtual ~NavigationView() = default;
    virtual void SetPageVisible(Page page, bool visible) = 0;
    [[nodiscard]] virtual bool PageVisible(Page page) const = 0;
    // Makes the page visible in the page area, in front of the others.
    virtual void ShowPage(Page page, const forms::Bounds& area) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void SetInfoText(const std::string& text) = 0;
    // The tab strip picture for `tab` selected in `section`; section 0: no strip.
    virtual void SetTabStrip(int section, int tab) = 0;
    virtual void SetSideButtonPressed(int index, bool pressed) = 0;
    // Pressed: the menu button's picture is taken away, so the skin's pressed look shows.
    virtual void SetMenuButtonPressed(bool pressed) = 0;
    virtual void ShowAboutBox() = 0;
    virtual void ShowMainMenu() = 0;
};

class MainNavigation {
  public:
    explicit MainNavigation(NavigationView& view) : view_(view) {}

    [[nodiscard]] int Section() const noexcept { return section_; }

    // imgSideButton_Click: 0 the introduction, 1 and 2 their section's first tab.
    void SideButtonClick(int index);
    // imgButtonTab_Click: nothing in section 0, nor for a tab outside 0 to 2.
    void TabClick(int index);
    // lblTitle_Click: the about box from the introduction, otherwise the page's help.
    void TitleClick();
    // cmdDone_Click: the help panel goes, the page beneath shows again.
    void DoneClick();

    void SideButtonMouseDown(int index) { view_.SetSideButtonPressed(index, true); }
    void SideButtonMouseUp(int index) { view_.SetSideButtonPressed(index, false); }
    void MenuMouseDown() { view_.SetMenuButtonPressed(true); }
    void MenuMouseUp() { view_.SetMenuButtonPressed(false); }
    void MenuClick() { view_.ShowMainMenu(); }
    // The title, and the help panel's text when it shows, again from the message table:
    // after a language is applied.
    void ShowTextsAgain();

  private:
    void HideAllPages();

    NavigationView& view_;
    int section_ = 0;
    Page page_ = Page::Introduction;  // the page the title names
};

}  // namespace pellmark::chrome
