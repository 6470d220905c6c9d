#include "patterns/IconGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
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

    // The cut counts UTF-16 units, not bytes, and never splits a character.
    std::string cyrillic;
    for (int i = 0; i < 45; ++i) {
        cyrillic += "\u0416";  // two bytes, one unit
    }
    EXPECT_EQ(CutCaption(cyrillic), cyrillic.substr(0, 78));
    const std::string emoji = "\U0001F4C1";  // four bytes, two units
    EXPECT_EQ(CutCaption(std::string(37, 'x') + emoji + "y"), std::string(37, 'x') + emoji);
    EXPECT_EQ(CutCaption(std::string(38, 'x') + emoji), std::string(38, 'x'));
    EXPECT_EQ(CutCaption(std::string(38, 'x') + "\u65E5\u672C"), std::string(38, 'x') + "\u65E5");

    char buffer[kCaptionBufferSize] = "Report, \"final\"";
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 15), "Report, \"final\"");
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 6), "Report");  // only what was copied
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 0), "");
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, -1), "");
    EXPECT_EQ(CaptionFromBuffer(buffer, sizeof buffer, 500), "Report, \"final\"");  // stops at zero
    EXPECT_EQ(CaptionFromBuffer(static_cast<const char*>(nullptr), 0, 5), "");

    char full[kCaptionBufferSize];
    std::fill(std::begin(full), std::end(full), 'x');
    EXPECT_EQ(CaptionFromBuffer(full, sizeof full, 500).size(), kCaptionBufferSize);
}

TEST(IconGeometry, WideBuffersBecomeUtf8AndLoseNoHalfCharacter) {
    char16_t wide[kCaptionBufferSize] = u"\u041E\u0442\u0447\u0451\u0442 \U0001F4C1";
    EXPECT_EQ(CaptionFromBuffer(wide, kCaptionBufferSize, kCaptionBufferSize),
              "\u041E\u0442\u0447\u0451\u0442 \U0001F4C1");
    EXPECT_EQ(CaptionFromBuffer(wide, kCaptionBufferSize, 5), "\u041E\u0442\u0447\u0451\u0442");
    // Copied up to the first half of the emoji: that half is no character.
    EXPECT_EQ(CaptionFromBuffer(wide, kCaptionBufferSize, 7), "\u041E\u0442\u0447\u0451\u0442 ");
    EXPECT_EQ(CaptionFromBuffer(wide, kCaptionBufferSize, 0), "");
    EXPECT_EQ(CaptionFromBuffer(static_cast<const char16_t*>(nullptr), 0, 5), "");

    // A full buffer without a zero (as Wine fills it), the emoji cut in two at its end.
    char16_t full[kCaptionBufferSize];
    std::fill(std::begin(full), std::end(full), u'\u03A9');
    full[kCaptionBufferSize - 1] = 0xD83D;
    const std::string caption = CaptionFromBuffer(full, kCaptionBufferSize, kCaptionBufferSize);
    std::string omegas;
    for (std::size_t i = 0; i < kCaptionBufferSize - 1; ++i) {
        omegas += "\u03A9";
    }
    EXPECT_EQ(caption, omegas);
    EXPECT_EQ(CutCaption(caption), omegas) << "39 units already";
}

}  // namespace
}  // namespace pellmark
