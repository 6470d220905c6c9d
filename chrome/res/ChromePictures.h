// Resource numbers of the window pictures (made by tools/skins/make_skins.py). Each has
// a 96-DPI picture and, kLargePictures further on, the same picture drawn for 144 DPI.
// Plain #defines: the resource script reads this file too.
#pragma once

#define PELLMARK_PICTURE_MAIN_SKIN 200
#define PELLMARK_PICTURE_SIDE_BUTTON_UP 201
#define PELLMARK_PICTURE_SIDE_BUTTON_DOWN 202
#define PELLMARK_PICTURE_MENU_BUTTON 203
#define PELLMARK_PICTURE_WEB_IMAGE 204
#define PELLMARK_PICTURE_ABOUT_LOGO 205
#define PELLMARK_PICTURE_WALLPAPER_SKIN 206
#define PELLMARK_PICTURE_TABS_1 210 /* 210 to 212: tab 0 to 2 of section 1 selected */
#define PELLMARK_PICTURE_TABS_2 220 /* 220 to 222: the same for section 2 */
#define PELLMARK_PICTURE_LARGE 1000 /* added for the 144-DPI picture */

#ifndef RC_INVOKED
#include <string>

namespace pellmark::chrome {

inline constexpr int kLargePictures = PELLMARK_PICTURE_LARGE;

// The picture to load for a window at `dpi`: the 144-DPI drawing from 120 DPI (125 %) up,
// since scaling it down stays sharper than scaling the small one up.
[[nodiscard]] constexpr int PictureForDpi(int picture, int dpi) noexcept {
    return dpi >= 120 ? picture + kLargePictures : picture;
}
// The tab strip with `tab` selected in section 1 or 2.
[[nodiscard]] constexpr int TabStripPicture(int section, int tab) noexcept {
    return (section == 1 ? PELLMARK_PICTURE_TABS_1 : PELLMARK_PICTURE_TABS_2) + tab;
}

// The name a picture is loaded by: "#" and its number.
[[nodiscard]] inline std::string PictureName(int picture) {
    std::string name(1, '#');
    name += std::to_string(picture);  // not "#" + ...: GCC 12 at -O3 warns falsely about it
    return name;
}

}  // namespace pellmark::chrome
#endif
