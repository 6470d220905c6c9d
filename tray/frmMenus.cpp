#include "tray/frmMenus.h"

#include <cstddef>

#include "platform/RunTimeError.h"

namespace pellmark {

namespace {
constexpr const char* kPatternItem = "mnuPattern";
}  // namespace

std::string PatternCaption(const std::string& name) {
    // With "|" in the caption only the text after the second one shows, unmarked; a
    // pattern name never holds "|". A doubled ampersand shows as one.
    const bool marked = !name.empty() && (name[0] == '-' || name[0] == '#' || name[0] == '*');
    const bool ampersand = name.find('&') != std::string::npos;
    if (!marked && !ampersand) {
        return name;
    }
    std::string caption = "||";
    for (const char c : name) {
        caption += c;
        if (c == '&') {
            caption += '&';
        }
    }
    return caption;
}

frmMenus::frmMenus(forms::Backend& backend)
    : Form(backend, "frmMenus"),
      mnuMain(AddMenu("mnuMain")),
      mnuMinimize(mnuMain.Add("mnuMinimize", 2101, "&Minimize")),
      mnuOptions(mnuMain.Add("mnuOptions", 2102, "&Options")),
      mnudsh1(mnuMain.Add("mnudsh1", 2103, "-")),
      mnuMain_Help(mnuMain.Add("mnuMain_Help", 2104, "&Help")),
      mnuAbout(mnuMain.Add("mnuAbout", 2105, "&About")),
      dsh2(mnuMain.Add("dsh2", 2106, "-")),
      mnuExit(mnuMain.Add("mnuExit", 2107, "E&xit")),
      mnuSysTrayIcon(AddMenu("mnuSysTrayIcon")),
      mnuRestorePattern(mnuSysTrayIcon.Add("mnuRestorePattern", 2201, "&Restore pattern")),
      dsh3(mnuSysTrayIcon.Add("dsh3", 2203, "-")),
      mnuMinAll(mnuSysTrayIcon.Add("mnuMinAll", 2204, "Minimize all windows")),
      mnuRestoreAll(mnuSysTrayIcon.Add("mnuRestoreAll", 2205, "Restore all windows")),
      mnuShowDesktop(mnuSysTrayIcon.Add("mnuShowDesktop", 2206, "#Show Desktop")),
      mnuLockIcons(mnuSysTrayIcon.Add("mnuLockIcons", 2223, "#Lock icons")),
      dsh4(mnuSysTrayIcon.Add("dsh4", 2207, "-Screen saver")),
      mnuEnableScrSave(mnuSysTrayIcon.Add("mnuEnableScrSave", 2208, "Enable Screen Saver")),
      mnuDisableScrSave(mnuSysTrayIcon.Add("mnuDisableScrSave", 2209, "Disable Screen Saver")),
      mnuShowScrSave(mnuSysTrayIcon.Add("mnuShowScrSave", 2210, "Show default screen saver")),
      dsh5(mnuSysTrayIcon.Add("dsh5", 2211, "-")),
      mnuShowForm(mnuSysTrayIcon.Add("mnuShowForm", 2212, "&Show Pellmark")),
      mnuOptoionsFromSysTray(mnuSysTrayIcon.Add("mnuOptoionsFromSysTray", 2213, "&Options")),
      dsh6(mnuSysTrayIcon.Add("dsh6", 2214, "-Internet")),
      mnuVisitHomepage(mnuSysTrayIcon.Add("mnuVisitHomepage", 2215, "Visit the Homepage")),
      mnuEmailQuillan(mnuSysTrayIcon.Add("mnuEmailQuillan", 2216, "E-mail Quillan")),
      dsh7(mnuSysTrayIcon.Add("dsh7", 2217, "-")),
      mnuHelp(mnuSysTrayIcon.Add("mnuHelp", 2218, "&Help")),
      mnuAboutFromSysTray(mnuSysTrayIcon.Add("mnuAboutFromSysTray", 2219, "&About")),
      dsh8(mnuSysTrayIcon.Add("dsh8", 2221, "-")),
      mnuExitFromSysTray(mnuSysTrayIcon.Add("mnuExitFromSysTray", 2222, "E&xit")),
      mnuSaveList(AddMenu("mnuSaveList")) {
    mnuSaveList.Add(kDelete, -1, "&Delete");
    mnuShowDesktop.checked = true;  // the desktop icons show when the program starts
    SetPatternItems({});
    images_->images.resize(PictureOwners().size());
    images_->tags.resize(PictureOwners().size());
    images_->large.resize(PictureOwners().size());
}

void frmMenus::SetPatternItems(const std::vector<std::string>& names) {
    mnuRestorePattern.RemoveFrom(0);
    if (names.empty()) {
        forms::MenuItem& none = mnuRestorePattern.Add(kPatternItem, 0, kNoPatternSaved);
        none.enabled = false;
        return;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        forms::MenuItem& item =
            mnuRestorePattern.Add(kPatternItem, static_cast<int>(i), PatternCaption(names[i]));
        item.Click = [this, name = names[i]] {
            if (PatternClick) {
                PatternClick(name);
            }
        };
    }
}

std::array<forms::MenuItem*, tray::kMenuPictureCount> frmMenus::PictureOwners() noexcept {
    return {&mnuRestorePattern, &mnuMinAll,   &mnuEnableScrSave,       &mnuDisableScrSave,
            &mnuShowScrSave,    &mnuShowForm, &mnuOptoionsFromSysTray, &mnuVisitHomepage,
            &mnuEmailQuillan,   &mnuHelp,     &mnuAboutFromSysTray,    &mnuExitFromSysTray};
}

void frmMenus::IconiseMenuFormsMenu() {
    mnuOptions.caption = mnuOptoionsFromSysTray.caption;
    mnuMain_Help.caption = mnuHelp.caption;
    mnuAbout.caption = mnuAboutFromSysTray.caption;
    mnuExit.caption = mnuExitFromSysTray.caption;
    const auto owners = PictureOwners();
    for (std::size_t i = 0; i < owners.size(); ++i) {
        images_->tags[i] = owners[i]->caption;
    }
    if (!iconised_) {
        iconised_ = true;
        if (Peer() != nullptr) {
            LoadPictures();
        }
        InstallOwnerDrawnMenus(images_);
    }
}

void frmMenus::OnMakingWindow() {
    // The pictures wait for the first menu: nothing at start-up draws them.
    if (iconised_) {
        LoadPictures();
    }
}

void frmMenus::LoadPictures() {
    if (picturesLoaded_) {
        return;
    }
    picturesLoaded_ = true;
    for (int i = 0; i < tray::kMenuPictureCount; ++i) {
        for (const bool large : {false, true}) {
            try {
                auto& pictures = large ? images_->large : images_->images;
                pictures[static_cast<std::size_t>(i)] =
                    GetBackend().LoadResourcePicture(tray::MenuPictureName(i, large));
            } catch (const RunTimeError&) {
                // The item shows without its picture, or with the small one drawn larger.
            }
        }
    }
}

void frmMenus::OnLoad() {
    Hide();
}

void frmMenus::OnUnload() {
    UninstallOwnerDrawnMenus();
    iconised_ = false;  // loaded again, it puts them on again
    picturesLoaded_ = false;
}

}  // namespace pellmark
