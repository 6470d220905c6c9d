#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/IconPictures.h"
#include "platform/sim/SimForms.h"

namespace pellmark {
namespace {

// Every pixel different, so a picture put one pixel out of place shows.
forms::Bitmap NumberedIcon(int size) {
    std::vector<std::uint32_t> pixels;
    for (int i = 0; i < size * size; ++i) {
        pixels.push_back(0xFF000000u | static_cast<std::uint32_t>(i + 1));
    }
    return {size, size, std::move(pixels)};
}

// Where the icon's pixel (0, 0) and its last pixel landed, and how many pixels are drawn.
struct Placement {
    int firstX = -1;
    int lastX = -1;
    int lastY = -1;
    int drawn = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

Placement PlacementOf(const forms::Bitmap& picture, std::uint32_t last) {
    Placement found;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const std::uint32_t pixel =
                picture.Pixels()[static_cast<std::size_t>(y * picture.Width() + x)];
            if (pixel >> 24 != 0) {
                ++found.drawn;
            }
            if (pixel == 0xFF000001u) {
                found.firstX = x;
            }
            if (pixel == last) {
                found.lastX = x;
                found.lastY = y;
            }
        }
    }
    return found;
}

TEST(IconPictures, DrawIconFromFilePlacesTheIconOnA45By32PictureCutAtItsEdges) {
    sim::SimFormsBackend backend;
    const std::string file = "C:\\Windows\\System\\shell.dll";
    backend.fileIcons[{file, 3}] = NumberedIcon(32);
    backend.fileIcons[{file, -101}] = NumberedIcon(32);
    struct Case {
        int size;
        int index;
        int x;
        Placement expected;
    };
    const std::uint32_t last32 = 0xFF000000u | (32 * 32);
    // The 16-pixel icon is the 32-pixel one taken every other pixel: its last is (30, 30).
    const std::uint32_t last16 = 0xFF000000u | (30 * 32 + 30 + 1);
    const Case cases[] = {
        {32, 3, 10, {10, 41, 31, 32 * 32}},     // the lists' place: whole
        {32, -101, 10, {10, 41, 31, 32 * 32}},  // by resource number
        {16, 3, 10, {10, 25, 15, 16 * 16}},     // the small icon, 16 square
        {32, 3, 20, {20, -1, -1, 25 * 32}},     // its right side cut at 45
        {32, 3, -4, {-1, 27, 31, 28 * 32}},     // its left side cut at 0
        {32, 4, 10, {-1, -1, -1, 0}},           // no such icon: empty
        {32, 3, 45, {-1, -1, -1, 0}},           // wholly beside the picture
    };
    for (const Case& c : cases) {
        const forms::Bitmap picture = DrawIconFromFile(backend, c.size, file, c.index, c.x);
        ASSERT_EQ(picture.Width(), kIconPictureWidth);
        ASSERT_EQ(picture.Height(), kIconPictureHeight);
        EXPECT_EQ(PlacementOf(picture, c.size == 16 ? last16 : last32), c.expected)
            << "size " << c.size << " index " << c.index << " x " << c.x;
    }
    EXPECT_EQ(PlacementOf(DrawIconFromFile(backend, 32, "C:\\none.dll", 0), last32), Placement{})
        << "a missing file gives the empty picture too";
}

TEST(IconPictures, OnAScreenOfMoreDotsPerInchThePictureCarriesOneDrawnAtItsSize) {
    struct Case {
        int dpi;
        int x;
        int width;  // of the large drawing; 0 for none
        int height;
        Placement expected;  // the icon's first pixel and how much of it is drawn
    };
    const Case cases[] = {
        {96, 10, 0, 0, {}},                        // drawn at its own size: nothing more
        {120, 10, 56, 40, {13, -1, -1, 40 * 40}},  // 12.5 rounds up, as the screen's lengths
        {144, 10, 68, 48, {15, -1, -1, 48 * 48}},  // the lists' 45 by 32 at 144 DPI
        {192, 10, 90, 64, {20, -1, -1, 64 * 64}},
        {144, 20, 68, 48, {30, -1, -1, 38 * 48}},  // cut at the right as the small one is
    };
    for (const Case& c : cases) {
        sim::SimFormsBackend backend;
        backend.dpi = c.dpi;
        backend.fileIcons[{"C:\\Icons\\bin.ico", 0}] = NumberedIcon(96);
        const forms::Bitmap picture = DrawIconFromFile(backend, 32, "C:\\Icons\\bin.ico", 0, c.x);
        ASSERT_EQ(picture.Width(), kIconPictureWidth) << c.dpi;
        const forms::Bitmap large = picture.Large();
        EXPECT_EQ(large.Width(), c.width) << c.dpi;
        EXPECT_EQ(large.Height(), c.height) << c.dpi;
        if (c.width > 0) {
            EXPECT_EQ(PlacementOf(large, 0xFFFFFFFFu), c.expected) << c.dpi << " at " << c.x;
        }
    }
    EXPECT_TRUE(IconPicture(NumberedIcon(32)).Large().Empty())
        << "an icon without a larger drawing gives a picture without one";
    EXPECT_FALSE(IconPictureList({IconPicture(forms::Bitmap())})->images[0].Empty())
        << "an empty picture still holds its row's place in a list";
}

}  // namespace
}  // namespace pellmark
