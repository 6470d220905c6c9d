// The outline of a skinned window, found in its picture: every run of pixels that are not
// the transparent colour, one pixel high each.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace pellmark::platform {

// One opaque run: columns left to right - 1 of row top.
struct PixelRun {
    int left = 0;
    int top = 0;
    int right = 0;
    friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// A picture as COLORREF values (red in the low byte), row by row from the top.
struct PixelView {
    int width = 0;
    int height = 0;
    std::span<const std::uint32_t> pixels;  // width * height values
    // The bits of a value that are its colour; the others (a skin's opacity) are left out.
    std::uint32_t colourMask = 0xFFFFFFFF;
};

// What a pixel outside the picture reads as (GetPixel's CLR_INVALID).
inline constexpr std::uint32_t kNoPixel = 0xFFFFFFFF;

// The opaque runs, row by row and left to right. A transparent colour below 1 means that
// none was chosen: the top-left pixel's colour is used and written back to the caller.
// Every opaque run of a row is its own run, so holes stay holes; a run ends at a
// transparent pixel or at the right edge.
[[nodiscard]] std::vector<PixelRun> FindOpaqueRuns(const PixelView& picture,
                                                   std::int32_t& transparentColour);

}  // namespace pellmark::platform
