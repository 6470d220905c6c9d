// Resource numbers of the menu pictures (made by tools/skins/make_menu_icons.py): 32-bit
// bitmaps with alpha, 16 x 16 for 96 DPI and, PELLMARK_MENU_PICTURE_LARGE further on, the
// same drawn at 24 x 24 for 144 DPI. Plain #defines: the resource script reads this too.
#pragma once

// 300 to 311, in the order of the menu form's image list: restore pattern, minimize all
// windows, enable, disable and show the screen saver, show the main window, options,
// homepage, e-mail, help, about, exit.
#define PELLMARK_MENU_PICTURE_FIRST 300
#define PELLMARK_MENU_PICTURE_COUNT 12
#define PELLMARK_MENU_PICTURE_LARGE 1000

#ifndef RC_INVOKED
#include <string>

namespace pellmark::tray {

inline constexpr int kMenuPictureCount = PELLMARK_MENU_PICTURE_COUNT;

// The name the picture at `index` (0 to 11) loads by, the 24-pixel drawing when `large`.
[[nodiscard]] inline std::string MenuPictureName(int index, bool large) {
    std::string name(1, '#');
    name += std::to_string(PELLMARK_MENU_PICTURE_FIRST + index +
                           (large ? PELLMARK_MENU_PICTURE_LARGE : 0));
    return name;
}

}  // namespace pellmark::tray
#endif
