// The program's case-blind name comparison against the system's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/TextCompare.h"
#include "platform/win32/Win32TextCompare.h"

namespace pellmark {
namespace {

using CompareStringOrdinalFunction = int(WINAPI*)(LPCWCH, int, LPCWCH, int, BOOL);

CompareStringOrdinalFunction SystemCompare() {
    return reinterpret_cast<CompareStringOrdinalFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CompareStringOrdinal")));
}

// The built-in table serves where the system's comparison is not handed in (the native
// tests, 95/98/Me): every letter it pairs, the system pairs too.
TEST(TextCompareTest, TheBuiltInUpperCaseAgreesWithTheSystem) {
    const auto compare = SystemCompare();
    ASSERT_NE(compare, nullptr);
    int paired = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        const auto unit = static_cast<wchar_t>(c);
        const auto upper =
            static_cast<wchar_t>(platform::BuiltInUpperCase(static_cast<char16_t>(c)));
        if (upper == unit) {
            continue;
        }
        ++paired;
        EXPECT_EQ(compare(&unit, 1, &upper, 1, TRUE), CSTR_EQUAL)
            << "U+" << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_GT(paired, 250);  // the table really pairs letters
}

TEST(TextCompareTest, ProgramNamesCompareAsTheSystemComparesThem) {
    win32::UseSystemCaseComparison();
    // Armenian is not in the built-in table: only the system's comparison pairs it.
    EXPECT_TRUE(platform::EqualIgnoringCase("\u0561\u0562", "\u0531\u0532"));
    EXPECT_TRUE(platform::EqualIgnoringCase("\u03C9mega", "\u03A9MEGA"));
    EXPECT_FALSE(platform::EqualIgnoringCase("\u03A9mega", "Omega"));
    EXPECT_TRUE(platform::MatchesWildcardIgnoringCase("\u0416.IPS", "*.ips"));
    // The order too, which sorts the pattern list.
    EXPECT_LT(platform::CompareIgnoringCase("\u0561", "\u0532"), 0);
    EXPECT_GT(platform::CompareIgnoringCase("b", "A"), 0);
    platform::UseSystemCaseComparison(nullptr);
    EXPECT_FALSE(platform::EqualIgnoringCase("\u0561\u0562", "\u0531\u0532"));
}

}  // namespace
}  // namespace pellmark
