// The Misc page: five of Explorer's policy switches, and the wallpaper's two buttons.
#pragma once

#include <array>

#include "chrome/PageBox.h"
#include "desktop/WallpaperButtons.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"

namespace pellmark {

class MiscPage final : public chrome::PageBox {
  public:
    MiscPage(forms::Form& form, platform::Registry& registry, platform::Dialogs& dialogs);

    void PositionControls();
    // "Load settings for misc tab": the boxes show the stored switches. Nothing is written
    // back; only what the user changes is.
    void LoadSwitches();

    std::array<forms::CheckBox*, 5> chkMisc{};
    forms::Label& lblRestartNote;
    WallpaperButtons wallpaper;

  private:
    void chkMisc_Click(std::size_t index);

    platform::Registry& registry_;
    platform::Dialogs& dialogs_;
    bool loading_ = false;
};

}  // namespace pellmark
