// Window outlines cut out of skin pictures, and moving a window by its body.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/OpaqueRuns.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

// The region of every pixel of the bitmap that is not the transparent colour (a colour
// below 1: the top-left pixel's, written back). The pixels are read once and the region
// is made in one go from all the runs. The bitmap must not be selected into a DC.
[[nodiscard]] UniqueGdiObject RegionFromPicture(HBITMAP picture, std::int32_t& transparentColour);

// The same region built one pixel and one run at a time (GetPixel on a DC that holds the
// picture, one CombineRgn per run): kept to prove RegionFromPicture equal and to time it.
[[nodiscard]] UniqueGdiObject RegionFromPictureByPixel(HDC picture, int width, int height,
                                                       std::int32_t& transparentColour);

// The bitmap's pixels as COLORREF values, row by row from the top; empty when it cannot
// be read.
[[nodiscard]] std::vector<std::uint32_t> ReadBitmapPixels(HBITMAP picture, int& width, int& height);

// One region holding every run (empty when there are none).
[[nodiscard]] UniqueGdiObject RegionFromRuns(std::span<const platform::PixelRun> runs);

// Starts the system's own move loop as if the window's caption had been pressed; for a
// mouse-down on a window's background, whichever button.
void DragWindow(HWND window);

}  // namespace pellmark::win32
