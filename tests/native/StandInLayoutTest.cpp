#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "tools/desktophost/Layout.h"

namespace pellmark::standin {
namespace {

Layout Parsed(std::string_view text) {
    std::string error;
    std::optional<Layout> layout = ParseLayout(text, error);
    EXPECT_TRUE(layout) << error << "\nin: " << text;
    return layout.value_or(Layout{});
}

TEST(StandInLayout, FormatThenParseGivesBackEveryLayout) {
    const std::string long45 = "A caption that is forty-five characters long.";
    ASSERT_EQ(long45.size(), 45u);
    const Layout layouts[] = {
        {},
        {.icons = {{"Recycle Bin", 0, 0, 0}}},
        {.icons = {{long45, 17000, 5, 7},
                   {"Smith, John - letter.doc", -75, -10, 1},
                   {"\"quoted\" and 'single'", INT32_MIN, INT32_MAX, -2},
                   {"   leading and trailing spaces   ", 1023, 767, 3},
                   {"", 10, 20, 0},
                   {"#not a comment", 5, 5, 0},
                   {"@not an option", 6, 6, 0},
                   {"tab\tinside", 7, 7, 0}},
         .autoArrange = true},
        {.icons = {{"x", 1, 2, 3}}, .workerW = true, .textColor = 0x00FFFFFF},
        {.icons = {{"\u041E\u0442\u0447\u0451\u0442", 1, 2, 0},
                   {"\u03A9mega \u65E5\u672C\u8A9E \U0001F4C1", 3, 4, 1}}},
        {.autoArrange = true, .workerW = true, .textColor = 0, .textBackColor = kNoColor},
    };
    for (const Layout& layout : layouts) {
        const std::string text = FormatLayout(layout);
        EXPECT_EQ(Parsed(text), layout) << text;
    }
}

TEST(StandInLayout, ReadsHandWrittenFiles) {
    const Layout read = Parsed(
        "# my desktop\r\n"
        "\r\n"
        "@textbackcolor 0xffffffff\r\n"
        "@textcolor 0xFF\n"
        "@workerw\n"
        "-12\t0\t4\tMy Documents, old\r\n"
        "100\t-3\t0\t\tstarts with a tab\n"
        "7\t8\t9\tno line end");
    const Layout expected{.icons = {{"My Documents, old", -12, 0, 4},
                                    {"\tstarts with a tab", 100, -3, 0},
                                    {"no line end", 7, 8, 9}},
                          .workerW = true,
                          .textColor = 0xFF,
                          .textBackColor = 0xFFFFFFFF};
    EXPECT_EQ(read, expected);

    // Saved by an editor that marks its UTF-8 files.
    EXPECT_EQ(Parsed("\xEF\xBB\xBF"
                     "5\t6\t0\tCaf\u00E9\n"),
              (Layout{.icons = {{"Caf\u00E9", 5, 6, 0}}}));
}

TEST(StandInLayout, RefusesMalformedLinesNamingTheLine) {
    const struct {
        const char* text;
        const char* line;
    } cases[] = {
        {"1\t2\t3", "line 1:"},               // no caption field
        {"1 2 3 caption", "line 1:"},         // spaces are not separators
        {"# ok\n\n1\tx\t0\tcap", "line 3:"},  // y not a number
        {"1\t2\t0\tok\r\n+1\t2\t0\tcap", "line 2:"},
        {" 1\t2\t0\tcap", "line 1:"},  // no leading blanks in numbers
        {"1\t2\t1.5\tcap", "line 1:"},
        {"2147483648\t0\t0\tcap", "line 1:"},  // beyond 32 bits
        {"\t0\t0\tcap", "line 1:"},
        {"@autoarrange yes", "line 1:"},
        {"@grid", "line 1:"},
        {"\n@textcolor 255", "line 2:"},  // colours are written in hex
        {"@textcolor 0x", "line 1:"},
        {"@textcolor 0x1FFFFFFFF", "line 1:"},
        {"@textbackcolor", "line 1:"},
        {"@textcolor  0xFF", "line 1:"},
        {"1\t2\t0\tok\n3\t4\t0\tCaf\xE9", "line 2:"},  // an ANSI byte, not UTF-8
        {"# Caf\xE9", "line 1:"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseLayout(c.text, error)) << c.text;
        EXPECT_EQ(error.rfind(c.line, 0), 0u) << c.text << " -> " << error;
    }
}

}  // namespace
}  // namespace pellmark::standin
