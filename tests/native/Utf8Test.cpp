#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace pellmark::platform {
namespace {

TEST(Utf8Test, RoundTripsEveryPlaneAndCountsUtf16Units) {
    // ASCII, Latin-1, Greek, Cyrillic, CJK, and an emoji outside the basic plane.
    const std::string texts[] = {"Work",
                                 "Caf\xC3\xA9",
                                 "\xCE\xA9mega",
                                 "\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82",
                                 "\xE6\x97\xA5\xE6\x9C\xAC \xE8\xAA\x9E",
                                 "\xF0\x9F\x98\x80!"};
    const std::size_t units[] = {4, 4, 5, 5, 4, 3};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        const std::u16string wide = Utf8ToUtf16(texts[i]);
        EXPECT_EQ(wide.size(), units[i]) << texts[i];
        EXPECT_EQ(Utf16ToUtf8(wide), texts[i]);
        EXPECT_TRUE(IsValidUtf8(texts[i]));
    }
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), (std::u16string{0xD83D, 0xDE00}));
    EXPECT_TRUE(IsAscii("Work 1.ips"));
    EXPECT_FALSE(IsAscii("Caf\xC3\xA9"));
}

TEST(Utf8Test, MalformedInputBecomesReplacementCharactersNotSilence) {
    // A lone continuation byte, a cut sequence, an overlong slash, an encoded surrogate.
    EXPECT_EQ(Utf8ToUtf16("a\x80z"), (std::u16string{u'a', 0xFFFD, u'z'}));
    EXPECT_EQ(Utf8ToUtf16("\xE6\x97"), (std::u16string{0xFFFD, 0xFFFD}));
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD}));
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));
    for (const char* bad : {"a\x80z", "\xE6\x97", "\xC0\xAF", "\xED\xA0\x80", "\xF5\x80\x80\x80"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    // A lone surrogate from the wide side.
    EXPECT_EQ(Utf16ToUtf8(std::u16string{u'x', 0xDC00}), "x\xEF\xBF\xBD");
}

TEST(Utf8Test, PrefixNeverSplitsACharacter) {
    EXPECT_EQ(Utf8PrefixOfUtf16Units("abcdef", 3), "abc");
    EXPECT_EQ(Utf8PrefixOfUtf16Units("\xCE\xA9\xCE\xA9\xCE\xA9", 2), "\xCE\xA9\xCE\xA9");
    // The emoji needs two units: one unit left over is not enough for it.
    EXPECT_EQ(Utf8PrefixOfUtf16Units("a\xF0\x9F\x98\x80", 2), "a");
    EXPECT_EQ(Utf8PrefixOfUtf16Units("a\xF0\x9F\x98\x80", 3), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf8PrefixOfUtf16Units("short", 39), "short");
}

}  // namespace
}  // namespace pellmark::platform
