#include "platform/OpaqueRuns.h"

namespace pellmark::platform {

std::vector<PixelRun> FindOpaqueRuns(const PixelView& picture, std::int32_t& transparentColour) {
    const bool empty = picture.width <= 0 || picture.height <= 0;
    if (transparentColour < 1) {
        transparentColour =
            static_cast<std::int32_t>(empty ? kNoPixel : picture.pixels[0] & picture.colourMask);
    }
    std::vector<PixelRun> runs;
    // A short pixel buffer is a caller's fault; it gives no window rather than a crash.
    if (empty || picture.pixels.size() < static_cast<std::size_t>(picture.width) * picture.height) {
        return runs;
    }
    const auto transparent = static_cast<std::uint32_t>(transparentColour);
    const std::uint32_t mask = picture.colourMask;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* row =
            picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
        int x = 0;
        while (x < picture.width) {
            while (x < picture.width && (row[x] & mask) == transparent) {
                ++x;
            }
            if (x < picture.width) {
                const int start = x;
                while (x < picture.width && (row[x] & mask) != transparent) {
                    ++x;
                }
                runs.push_back({start, y, x});
            }
        }
    }
    return runs;
}

}  // namespace pellmark::platform
