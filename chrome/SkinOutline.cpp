#include "chrome/SkinOutline.h"

#include "platform/OpaqueRuns.h"

namespace pellmark::chrome {

std::vector<forms::Bounds> SkinOutline(const forms::Bitmap& skin, std::int32_t& transparentColour) {
    // A skin's pixels carry their opacity in the top byte; the outline goes by colour alone.
    const auto runs = platform::FindOpaqueRuns(
        {skin.Width(), skin.Height(), skin.Pixels(), 0xFFFFFF}, transparentColour);
    std::vector<forms::Bounds> outline;
    outline.reserve(runs.size());
    for (const platform::PixelRun& run : runs) {
        outline.push_back({run.left, run.top, run.right - run.left, 1});
    }
    return outline;
}

}  // namespace pellmark::chrome
