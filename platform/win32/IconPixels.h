// Icons drawn into pixels the program keeps: the forms' pictures of icon files and the
// desktop icons' own pictures.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace pellmark::win32 {

// `size` by `size` pixels, row by row from the top, each a COLORREF with its opacity in
// the top byte. Whatever `draw` does is drawn once on black and once on white, and each
// pixel's opacity is read from the difference, so masked icons and icons with an alpha
// channel come out alike. Empty when nothing could be drawn or `draw` drew nothing.
[[nodiscard]] std::vector<std::uint32_t> DrawnPixels(int size,
                                                     const std::function<void(HDC)>& draw);

// The icon stretched to `size` (DrawIconEx).
[[nodiscard]] std::vector<std::uint32_t> IconPixels(HICON icon, int size);

// Image `index` of an image list this process can draw from, stretched to `size` when the
// list's images are of another size; 0 takes the list's own size.
[[nodiscard]] std::vector<std::uint32_t> ImageListPixels(HIMAGELIST list, int index, int size);

}  // namespace pellmark::win32
