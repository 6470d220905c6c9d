// The outline of a skinned window, for Form::SetRegion: one rectangle per opaque run of its
// skin picture.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/forms/Canvas.h"

namespace pellmark::chrome {

// The transparent colour of the main window's skin.
inline constexpr std::int32_t kSkinTransparent = 0x0000FF;  // RGB(255, 0, 0)

// Every run of pixels whose colour (opacity left out) is not the transparent colour, as
// one-pixel-high rectangles in the picture's pixels. A colour below 1 takes the top-left
// pixel's colour and writes it back, as the wallpaper picker's skin wants.
[[nodiscard]] std::vector<forms::Bounds> SkinOutline(const forms::Bitmap& skin,
                                                     std::int32_t& transparentColour);

}  // namespace pellmark::chrome
