// The hidden form that owns the program's pop-up menus: the main window's menu, the tray
// menu with its pattern submenu, and the pattern list's menu. Its window is never shown;
// it owns the menus and draws them.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Form.h"
#include "tray/res/MenuPictures.h"

namespace pellmark {

inline constexpr const char* kNoPatternSaved = "(No icons pattern saved)";

class frmMenus final : public forms::Form {
  public:
    explicit frmMenus(forms::Backend& backend);

    // In the menus' order. Every item but the pattern items and Delete is an element of a
    // control array whose index is also the language key of its caption.
    forms::MenuItem& mnuMain;
    forms::MenuItem& mnuMinimize;
    forms::MenuItem& mnuOptions;
    forms::MenuItem& mnudsh1;
    forms::MenuItem& mnuMain_Help;
    forms::MenuItem& mnuAbout;
    forms::MenuItem& dsh2;
    forms::MenuItem& mnuExit;

    forms::MenuItem& mnuSysTrayIcon;
    forms::MenuItem& mnuRestorePattern;
    forms::MenuItem& dsh3;
    forms::MenuItem& mnuMinAll;
    forms::MenuItem& mnuRestoreAll;
    forms::MenuItem& mnuShowDesktop;
    forms::MenuItem& mnuLockIcons;
    forms::MenuItem& dsh4;
    forms::MenuItem& mnuEnableScrSave;
    forms::MenuItem& mnuDisableScrSave;
    forms::MenuItem& mnuShowScrSave;
    forms::MenuItem& dsh5;
    forms::MenuItem& mnuShowForm;
    forms::MenuItem& mnuOptoionsFromSysTray;
    forms::MenuItem& dsh6;
    forms::MenuItem& mnuVisitHomepage;
    forms::MenuItem& mnuEmailQuillan;
    forms::MenuItem& dsh7;
    forms::MenuItem& mnuHelp;
    forms::MenuItem& mnuAboutFromSysTray;
    forms::MenuItem& dsh8;
    forms::MenuItem& mnuExitFromSysTray;

    // The pattern list's menu; its Delete item is wired by the main window's pattern page.
    forms::MenuItem& mnuSaveList;
    [[nodiscard]] forms::MenuItem& mnuSaveList_Delete() { return *mnuSaveList.Find(kDelete); }

    // The pattern submenu: one item per name, in the order given; with none, element 0 says
    // so (greyed: there is nothing to restore).
    void SetPatternItems(const std::vector<std::string>& names);
    // A pattern item was chosen: the name of its pattern.
    std::function<void(const std::string& name)> PatternClick;

    // After a language has been put on this form: the main menu's items take the captions
    // of their twins in the tray menu, and each picture the caption of the item it belongs
    // to, so the owner-drawn menus find the pictures in every language. The first time it
    // also turns the owner-drawn menus on.
    void IconiseMenuFormsMenu();
    // The items the menu pictures belong to, in the pictures' order.
    [[nodiscard]] std::array<forms::MenuItem*, tray::kMenuPictureCount> PictureOwners() noexcept;
    [[nodiscard]] const std::shared_ptr<forms::MenuImages>& Images() const noexcept {
        return images_;
    }

  protected:
    void OnLoad() override;
    void OnUnload() override;
    void OnMakingWindow() override;

  private:
    static constexpr const char* kDelete = "mnuSaveList_Delete";
    void LoadPictures();

    std::shared_ptr<forms::MenuImages> images_ = std::make_shared<forms::MenuImages>();
    bool iconised_ = false;
    bool picturesLoaded_ = false;
};

// How a pattern's name shows as a menu caption: exactly as it is, whatever marker it
// starts with ("-", "#", "*") and whatever ampersands it holds.
[[nodiscard]] std::string PatternCaption(const std::string& name);

}  // namespace pellmark
