#include "chrome/MainNavigation.h"

#include "settings/Messages.h"

namespace pellmark::chrome {

namespace {

struct PageTexts {
    Page page;
    const char* title;
    const char* help;
};
// In the order the title looks for the visible page's help.
constexpr std::array<PageTexts, 6> kPageTexts{{
    {Page::SavePositions, "0910", "0920"},
    {Page::RemoveIcons, "0912", "0922"},
    {Page::ShowHideIcons, "0911", "0921"},
    {Page::IconSize, "0913", "0923"},
    {Page::Miscellaneous, "0914", "0924"},
    {Page::IconUtilities, "0915", "0925"},
}};

constexpr std::array<std::array<Page, kTabCount>, 2> kTabPages{{
    {Page::SavePositions, Page::ShowHideIcons, Page::RemoveIcons},
    {Page::IconSize, Page::Miscellaneous, Page::IconUtilities},
}};

const PageTexts* TextsOf(Page page) {
    for (const PageTexts& texts : kPageTexts) {
        if (texts.page == page) {
            return &texts;
        }
    }
    return nullptr;
}

}  // namespace

Page PageOfTab(int section, int tab) {
    return kTabPages.at(static_cast<std::size_t>(section - 1)).at(static_cast<std::size_t>(tab));
}

std::string PageTitle(Page page) {
    if (page == Page::Introduction) {
        return kIntroductionTitle;
    }
    const PageTexts* texts = TextsOf(page);
    return texts != nullptr ? MessageText(texts->title) : std::string();
}

std::string PageHelp(Page page) {
    const PageTexts* texts = TextsOf(page);
    return texts != nullptr ? MessageText(texts->help) : std::string();
}

void MainNavigation::HideAllPages() {
    for (int page = 0; page < kPageCount; ++page) {
        view_.SetPageVisible(static_cast<Page>(page), false);
    }
}

void MainNavigation::SideButtonClick(int index) {
    if (index < 0 || index >= kSideButtonCount) {
        return;
    }
    HideAllPages();
    section_ = index;
    if (index == 0) {
        page_ = Page::Introduction;
        view_.SetTabStrip(0, 0);
        view_.ShowPage(Page::Introduction, kPageArea);
        view_.SetTitle(kIntroductionTitle);
        return;
    }
    TabClick(0);
}

void MainNavigation::TabClick(int index) {
    if (section_ == 0) {
        return;
    }
    HideAllPages();
    if (index < 0 || index >= kTabCount) {
        return;
    }
    const Page page = PageOfTab(section_, index);
    page_ = page;
    view_.SetTabStrip(section_, index);
    view_.ShowPage(page, kPageArea);
    view_.SetTitle(PageTitle(page));
}

void MainNavigation::TitleClick() {
    if (view_.PageVisible(Page::Introduction)) {
        view_.ShowAboutBox();
        return;
    }
    for (const PageTexts& texts : kPageTexts) {
        if (view_.PageVisible(texts.page)) {
            const std::string help = MessageText(texts.help);
            if (!help.empty()) {
                view_.SetInfoText(help);
                view_.ShowPage(Page::Info, kPageArea);
            }
            return;
        }
    }
}

void MainNavigation::ShowTextsAgain() {
    view_.SetTitle(PageTitle(page_));
    if (page_ != Page::Introduction && view_.PageVisible(Page::Info)) {
        view_.SetInfoText(PageHelp(page_));
    }
}

void MainNavigation::DoneClick() {
    view_.SetPageVisible(Page::Info, false);
}

}  // namespace pellmark::chrome
