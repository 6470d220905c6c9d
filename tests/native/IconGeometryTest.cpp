#include "patterns/IconGeometry.h"

#include <gtest/gtest.h>

#include <string>

namespace pellmark {
namespace {

TEST(IconGeometry, OffScreenOnlyStrictlyBeyondTheRightOrBottomEdge) {
    struct Case {
        std::int32_t x, y;
        bool offScreen;
    } const cases[] = {
        {1024, 100, false}, {1025, 100, true}, {100, 768, false},     {100, 769, true},
        {-50, 900, true},   {0, 0, false},     {-3000, -3000, false}, {16384, 2, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOffScreen(c.x, c.y, 1024, 768), c.offScreen) << c.x << "," << c.y;
    }
}

TEST(IconGeometry, PositionTravelsAsTwoSixteenBitHalves) {
    struct Case {
        std::int32_t x, y;
        std::uint32_t low, high;
    } const cases[] = {
        {100, 200, 100, 200},     {-5, 200, 65531, 200}, {200, -5, 200, 65531},
        {-1, -1, 0xFFFF, 0xFFFF}, {32767, 0, 32767, 0},  {-32768, 0, 0x8000, 0},
        {16460, 300, 16460, 300},
    };
    for (const Case& c : cases) {
        const std::uint32_t lParam = PackPositionLParam(c.x, c.y);
        EXPECT_EQ(lParam & 0xFFFF, c.low) << c.x;
        EXPECT_EQ(lParam >> 16, c.high) << c.y;
    }
}

TEST(IconGeometry, ScreenTwipsFollowTheLogicalDpi) {
    EXPECT_EQ(ScreenTwips(1024, 96), 15360);
    EXPECT_EQ(ScreenTwips(1280, 120), 15360);  // 125 %: 12 twips a pixel
    EXPECT_EQ(ScreenTwips(1920, 144), 19200);  // 150 %
    EXPECT_EQ(ScreenTwips(3840, 192), 28800);  // 200 %
    EXPECT_EQ(ScreenTwips(800, 0), 12000);     // no DPI known: 96
}

TEST(IconGeometry, CaptionsAreCutLikeTheListViewBuffer) {
    const std::string longCaption(45, 'A');
    EXPECT_EQ(CutCaption(longCaption), std::string(39, 'A'));
    EXPECT_EQ(CutCaption("Recycle Bin"), "Recycle Bin");
    EXPECT_EQ(CutCaption(std::string_view("ab\0cd", 5)), "ab");

    char buffer[kCaptionBufferSize] = "Report, \"final\"";
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 15), "Report, \"final\"");
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 6), "Report");  // only what was copied
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 0), "");
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, -1), "");
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 500), "Report, \"final\"");  // stops at zero
    EXPECT_EQ(CaptionFromBuffer(nullptr, 0, 5), "");

    char full[kCaptionBufferSize];
    std::fill(std::begin(full), std::end(full), 'x');
    EXPECT_EQ(CaptionFromBuffer(full, sizeof full, 500).size(), kCaptionBufferSize);
}

}  // namespace
}  // namespace pellmark
