#include "platform/TextCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pellmark::platform {
namespace {

TEST(TextCompareTest, NamesInAnotherCaseAreTheSameNameInEveryScript) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    } const cases[] = {
        {"Work", "WORK", true},
        {"work.ips", "Work.IPS", true},
        {"Caf\u00E9", "CAF\u00C9", true},                      // Latin-1
        {"\u00FF", "\u0178", true},                            // y with diaeresis leaves Latin-1
        {"\u0142\u00F3d\u017A", "\u0141\u00D3D\u0179", true},  // Polish
        {"\u03C9mega", "\u03A9MEGA", true},                    // Greek omega
        {"\u03C3", "\u03A3", true},
        {"\u043E\u0442\u0447\u0451\u0442", "\u041E\u0422\u0427\u0401\u0422", true},  // Cyrillic
        {"\uFF37\uFF4F\uFF52\uFF4B", "\uFF37\uFF2F\uFF32\uFF2B", true},              // full-width
        {"\u65E5\u672C", "\u65E5\u672C", true},
        // Different names stay different: a look-alike is not the same letter.
        {"\u03A9mega", "Omega", false},
        {"Work", "Work ", false},
        {"Work", "Wrok", false},
        {"\u0131", "I", false},  // dotless i is its own letter in an ordinal comparison
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EqualIgnoringCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(EqualIgnoringCase(c.b, c.a), c.equal) << c.b << " / " << c.a;
    }
}

TEST(TextCompareTest, SortsByUpperCaseUnitsLikeWindows) {
    std::vector<std::string> names = {"Work", "home", "Demo", "\u03A9mega", "Omega", "_x", "a"};
    std::sort(names.begin(), names.end(), LessIgnoringCase);
    // "_" (0x5F) sorts after the capital letters, as upper-cased names do on Windows.
    const std::vector<std::string> want = {"a",    "Demo", "home",      "Omega",
                                           "Work", "_x",   "\u03A9mega"};
    EXPECT_EQ(names, want);
    EXPECT_LT(CompareIgnoringCase("abc", "ABCD"), 0);
    EXPECT_GT(CompareIgnoringCase("b", "A"), 0);
    EXPECT_EQ(CompareIgnoringCase("", ""), 0);
}

TEST(TextCompareTest, WildcardsMatchWholeNamesAndCountCharactersNotBytes) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    } const cases[] = {
        {"Work.ips", "*.ips", true},
        {"WORK.IPS", "*.ips", true},
        {"\u65E5\u672C.ips", "*.ips", true},
        {".ips", "*.ips", true},
        {"a.ipsx", "*.ips", false},  // Windows' short-name match is not the list's
        {"Work.ips.tmp", "*.ips", false},
        {"a.ips.ips", "*.ips", true},
        {"\u03A9.ips", "?.ips", true},       // one character, two bytes
        {"\U0001F600.ips", "??.ips", true},  // outside the basic plane: two units, as on Windows
        {"ab.ips", "?.ips", false},
        {"", "*", true},
        {"x", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesWildcardIgnoringCase(c.name, c.pattern), c.matches)
            << c.name << " ~ " << c.pattern;
    }
}

int ReversedOrder(std::u16string_view a, std::u16string_view b) {
    return a == b ? 0 : (a < b ? 1 : -1);
}

TEST(TextCompareTest, TheSystemsComparisonTakesOverOnceHandedIn) {
    UseSystemCaseComparison(&ReversedOrder);
    EXPECT_GT(CompareIgnoringCase("\u03B1", "\u03B2"), 0);
    EXPECT_FALSE(EqualIgnoringCase("\u03C9", "\u03A9"));
    // ASCII never needs the system.
    EXPECT_TRUE(EqualIgnoringCase("Work", "WORK"));
    UseSystemCaseComparison(nullptr);
    EXPECT_LT(CompareIgnoringCase("\u03B1", "\u03B2"), 0);
    EXPECT_TRUE(EqualIgnoringCase("\u03C9", "\u03A9"));
}

}  // namespace
}  // namespace pellmark::platform
