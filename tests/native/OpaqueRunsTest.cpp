// The outline of a skin: which pixels are opaque, as one-pixel-high runs.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/OpaqueRuns.h"

namespace pellmark::platform {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlack = 0x000000;

// Rows of a picture drawn with '.' red, '#' green and 'k' black.
std::vector<std::uint32_t> Pixels(const std::vector<std::string>& rows) {
    std::vector<std::uint32_t> pixels;
    for (const std::string& row : rows) {
        for (char c : row) {
            pixels.push_back(c == '.' ? kRed : c == 'k' ? kBlack : kGreen);
        }
    }
    return pixels;
}

TEST(OpaqueRunsTest, RunsOfCraftedPictures) {
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        std::int32_t transparent;
        std::vector<PixelRun> runs;
        std::int32_t transparentAfter;
    };
    const std::vector<Case> cases = {
        // The runs' shapes are the random pictures' below; here, the transparent colour.
        {"holes", {"#.#", "...", ".#."}, kRed, {{0, 0, 1}, {2, 0, 3}, {1, 2, 2}}, kRed},
        {"0 takes the top-left colour",
         {"#.#", "kk."},
         0,
         {{1, 0, 2}, {0, 1, 3}},
         static_cast<std::int32_t>(kGreen)},
        {"below 0 takes the top-left colour too",
         {"k#"},
         -5,
         {{1, 0, 2}},
         static_cast<std::int32_t>(kBlack)},
        {"single pixel, no colour chosen", {"#"}, 0, {}, static_cast<std::int32_t>(kGreen)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<std::uint32_t> pixels = Pixels(c.rows);
        std::int32_t transparent = c.transparent;
        const PixelView view{static_cast<int>(c.rows[0].size()), static_cast<int>(c.rows.size()),
                             pixels};
        EXPECT_EQ(FindOpaqueRuns(view, transparent), c.runs);
        EXPECT_EQ(transparent, c.transparentAfter);
    }
}

TEST(OpaqueRunsTest, NoPictureGivesNoRuns) {
    std::int32_t transparent = 0;
    EXPECT_TRUE(FindOpaqueRuns({0, 0, {}}, transparent).empty());
    EXPECT_EQ(transparent, static_cast<std::int32_t>(kNoPixel));  // as GetPixel outside
    // Fewer pixels than the size says: nothing is read past them.
    const std::vector<std::uint32_t> pixels(5, kGreen);
    transparent = kRed;
    EXPECT_TRUE(FindOpaqueRuns({3, 2, pixels}, transparent).empty());
}

// On random pictures the runs cover exactly the opaque pixels, each once, and each run is
// as long as it can be.
TEST(OpaqueRunsTest, RunsCoverExactlyTheOpaquePixels) {
    std::mt19937 random(12345);
    for (int round = 0; round < 50; ++round) {
        const int width = 1 + static_cast<int>(random() % 40);
        const int height = 1 + static_cast<int>(random() % 20);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
        for (auto& pixel : pixels) {
            pixel = (random() % 3 == 0) ? kRed : static_cast<std::uint32_t>(random() % 4);
        }
        std::int32_t transparent = kRed;
        const auto runs = FindOpaqueRuns({width, height, pixels}, transparent);
        std::vector<int> covered(pixels.size(), 0);
        for (const PixelRun& run : runs) {
            ASSERT_LT(run.left, run.right);
            ASSERT_LE(run.right, width);
            for (int x = run.left; x < run.right; ++x) {
                ++covered[static_cast<std::size_t>(run.top * width + x)];
            }
            const auto at = [&](int x) {
                return pixels[static_cast<std::size_t>(run.top * width + x)];
            };
            EXPECT_TRUE(run.left == 0 || at(run.left - 1) == kRed);
            EXPECT_TRUE(run.right == width || at(run.right) == kRed);
        }
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            EXPECT_EQ(covered[i], pixels[i] == kRed ? 0 : 1) << "pixel " << i;
        }
    }
}

}  // namespace
}  // namespace pellmark::platform
