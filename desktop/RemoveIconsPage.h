// The Remove page: the special desktop icons with their pictures, names and descriptions.
// A ticked row is an icon taken off the desktop; clearing the box brings it back.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chrome/PageBox.h"
#include "desktop/SpecialIcons.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace pellmark {

// What the page needs besides the registry: a text with %variables% expanded as the
// system does (icon locations carry %SystemRoot%); none leaves texts as they are.
using ExpandEnvironment = std::function<std::string(const std::string&)>;

class RemoveIconsPage final : public chrome::PageBox {
  public:
    RemoveIconsPage(forms::Form& form, platform::Registry& registry, platform::Files& files,
                    platform::Dialogs& dialogs, platform::System& system);

    // "Load up the Special Desktop icons": where the list is kept. The identifiers (from
    // SpecialDesktopIcons.cfg in the program's folder, or from the registry, then written
    // there) and the rows come when the page first shows, or at once when it has shown.
    void LoadSpecialIcons(const std::string& programFolder, ExpandEnvironment expand);
    void PositionControls();
    // The page shows: the list is read when it has not been, and the rows without a
    // picture get theirs. From then on, rows listed again get their pictures as they come.
    void PageShown();

    forms::ListView& lstvwSpecDeskIco;
    forms::ListBox& lstSpecialDesktopIcons;  // never shown: entry i belongs to row i
    forms::Label& lblRemoveHint;

  private:
    // False, after saying why, when the list could not be read: the page stays empty and
    // the next showing tries again.
    bool ReadSpecialIcons();
    void FillSpecialIconList();
    void ReportListFailure(const std::exception& error);
    void DrawMissingPictures();
    void lstvwSpecDeskIco_ItemCheck(int row);
    // Each returns false, after saying why, when the icon stays as it was.
    [[nodiscard]] bool TakeOffDesktop(const std::string& id);
    [[nodiscard]] bool BringBack(const std::string& id);
    [[nodiscard]] bool KeepListOnDisk();
    [[nodiscard]] bool PerUserWayExists();
    void Refused(const std::string& key, std::uint32_t status);

    forms::Form& form_;
    platform::Registry& registry_;
    platform::Files& files_;
    platform::Dialogs& dialogs_;
    platform::System& system_;
    ExpandEnvironment expand_;
    std::string listPath_;
    bool listOnDisk_ = false;  // the file holds every identifier of the list
    bool listRead_ = false;
    // Where each row's picture comes from, and the pictures drawn so far (a prefix of the
    // rows): drawing loads the shell's libraries, which the start must not wait for.
    std::vector<IconLocation> rowIcons_;
    std::vector<forms::Bitmap> pictures_;
    bool pageShown_ = false;
};

}  // namespace pellmark
