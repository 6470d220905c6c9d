#include "desktop/WallpaperButtons.h"

#include <utility>

namespace pellmark {

WallpaperButtons::WallpaperButtons(forms::Form& form, forms::Control& container)
    : cmdChangeCover(form.Add<forms::Button>("cmdChangeCover", &container)),
      cmdRemoveCover(form.Add<forms::Button>("cmdRemoveCover", &container)) {
    cmdChangeCover.SetCaption("Change wallpaper");
    cmdChangeCover.Tag = "0507";
    cmdRemoveCover.SetCaption("Remove wallpaper");
    cmdRemoveCover.Tag = "0508";
    cmdChangeCover.Click = [this] {
        if (change_) {
            change_();
        }
    };
    cmdRemoveCover.Click = [this] {
        if (remove_) {
            remove_();
        }
    };
}

void WallpaperButtons::Place(const forms::Bounds& changeButton, const forms::Bounds& removeButton) {
    cmdChangeCover.Move(changeButton);
    cmdRemoveCover.Move(removeButton);
}

void WallpaperButtons::Connect(std::function<void()> changeWallpaper,
                               std::function<void()> removeWallpaper) {
    change_ = std::move(changeWallpaper);
    remove_ = std::move(removeWallpaper);
}

}  // namespace pellmark
