// The pictures of the desktop lists: each icon on a 45 by 32 picture, 10 pixels in from
// the left, so that the icons stand clear of the row's check box.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/Form.h"

namespace pellmark {

inline constexpr int kIconPictureWidth = 45;
inline constexpr int kIconPictureHeight = 32;
inline constexpr int kIconPictureLeft = 10;

// `icon` placed at (x, 0) on a transparent 45 by 32 picture, cut at its edges. An empty
// icon gives the empty picture: a row without an icon, never someone else's. An icon that
// carries a larger drawing for high DPI gives a picture that carries one, from that drawing.
[[nodiscard]] forms::Bitmap IconPicture(const forms::Bitmap& icon, int x = kIconPictureLeft);

// Icon `index` of `file` (0 and up count the file's icons, a negative number names a
// resource number), `size` pixels square (16 takes the file's small icon), at (x, 0) of a
// 45 by 32 picture; the empty picture when the file has no such icon.
[[nodiscard]] forms::Bitmap DrawIconFromFile(forms::Backend& backend, int size,
                                             const std::string& file, int index,
                                             int x = kIconPictureLeft);

// An image list of such pictures, for a list view's rows.
[[nodiscard]] std::shared_ptr<forms::ImageList> IconPictureList(
    std::vector<forms::Bitmap> pictures);

}  // namespace pellmark
