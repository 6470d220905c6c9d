// A skin picture's outline as the rectangles a form's region is made of.
#include <gtest/gtest.h>

#include <vector>

#include "chrome/SkinOutline.h"

namespace pellmark::chrome {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000;

TEST(SkinOutlineTest, OpaqueRunsBecomeOnePixelHighRectanglesWhateverTheOpacityByte) {
    // Red with full opacity is still the transparent colour; a half-transparent grey pixel
    // is part of the window.
    const std::uint32_t red = kOpaque | 0x0000FF;
    const std::uint32_t grey = kOpaque | 0x808080;
    const std::uint32_t faint = 0x80000000 | 0x808080;
    const forms::Bitmap skin(4, 3,
                             {red, grey, grey, red,    //
                              grey, red, faint, grey,  //
                              red, red, red, red});
    std::int32_t transparent = kSkinTransparent;
    EXPECT_EQ(SkinOutline(skin, transparent),
              (std::vector<forms::Bounds>{{1, 0, 2, 1}, {0, 1, 1, 1}, {2, 1, 2, 1}}));
    EXPECT_EQ(transparent, 0x0000FF);

    // No colour chosen: the top-left pixel's colour, without its opacity, is written back.
    transparent = 0;
    EXPECT_EQ(SkinOutline(skin, transparent),
              (std::vector<forms::Bounds>{{1, 0, 2, 1}, {0, 1, 1, 1}, {2, 1, 2, 1}}));
    EXPECT_EQ(transparent, 0x0000FF);

    const forms::Bitmap none;
    transparent = kSkinTransparent;
    EXPECT_TRUE(SkinOutline(none, transparent).empty());
}

}  // namespace
}  // namespace pellmark::chrome
