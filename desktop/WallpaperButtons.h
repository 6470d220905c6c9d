// The two wallpaper buttons of the Misc page: "Change wallpaper" opens the wallpaper picker,
// "Remove wallpaper" takes the wallpaper away at once, without asking. The page that holds
// them places them; the main window says what they do.
//
//   In the page:        WallpaperButtons wallpaper{form, Box()};
//                       wallpaper.Place({x, y, w, h}, {x, y, w, h});
//   In the main window: misc.wallpaper.Connect(...);
#pragma once

#include <functional>

#include "platform/forms/Form.h"

namespace pellmark {

class WallpaperButtons {
  public:
    // The buttons go into `container` (the page's picture box), translated by the keys
    // 0507 and 0508.
    WallpaperButtons(forms::Form& form, forms::Control& container);

    void Place(const forms::Bounds& changeButton, const forms::Bounds& removeButton);
    // What the clicks do: open the picker, and remove the wallpaper.
    void Connect(std::function<void()> changeWallpaper, std::function<void()> removeWallpaper);

    forms::Button& cmdChangeCover;
    forms::Button& cmdRemoveCover;

  private:
    std::function<void()> change_;
    std::function<void()> remove_;
};

}  // namespace pellmark
