#include "patterns/PatternFile.h"

#include <gtest/gtest.h>

#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"

namespace pellmark {
namespace {

TEST(PatternFile, HeaderAndPrintStyleNumbers) {
    EXPECT_EQ(PatternHeader(), "Pellmark | version | 2.14.2");
    struct Case {
        std::int32_t value;
        const char* text;
    } const cases[] = {
        {18, " 18 "},
        {0, " 0 "},
        {-14260, "-14260 "},
        {2, " 2 "},
        {-1, "-1 "},
        {2147483647, " 2147483647 "},
        {-2147483647 - 1, "-2147483648 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PrintStyleNumber(c.value), c.text);
    }
}

class SavePatternTest : public ::testing::Test {
  protected:
    sim::SimDesktop desktop;
    sim::SimDialogs dialogs;
    sim::SimFiles files;
    DesktopIcons icons{desktop, dialogs};
    const std::string path = "C:\\Pellmark\\SavedPositions\\Work.ips";
};

TEST_F(SavePatternTest, WritesHeaderThenOneFourLineRecordPerIconWithCrLf) {
    desktop.icons = {
        {"Recycle Bin", 18, 2, 0},
        {"Hidden report", 1100, 300, 3},        // pushed off a 1024-wide screen
        {" Leading, \"quoted\"", -20, 768, 1},  // on the bottom edge: on screen
        {std::string(45, 'L'), 500, 769, 2},    // below the bottom edge
    };
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));

    const std::string expected =
        "Pellmark | version | 2.14.2\r\n"
        "4\r\n1024\r\n768\r\n"
        "Recycle Bin\r\n 18 \r\n 2 \r\nFalse\r\n"
        "Hidden report\r\n-14260 \r\n 300 \r\nTrue\r\n"
        " Leading, \"quoted\"\r\n-20 \r\n 768 \r\nFalse\r\n" +
        std::string(39, 'L') + "\r\n-14860 \r\n 769 \r\nTrue\r\n";
    EXPECT_EQ(files.files.at(path), expected);
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SavePatternTest, OffScreenShiftFollowsTheDpiAtSaving) {
    desktop.screen = {1280, 1024};
    desktop.dpi = 120;  // 12 twips a pixel: 15360 twips
    desktop.icons = {{"Far", 15400, 10, 0}};
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));
    EXPECT_NE(files.files.at(path).find("Far\r\n 40 \r\n 10 \r\nTrue\r\n"), std::string::npos);
}

TEST_F(SavePatternTest, EmptyDesktopWritesTheHeaderAloneAfterTheNoIconsMessage) {
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));
    EXPECT_EQ(files.files.at(path), "Pellmark | version | 2.14.2\r\n0\r\n1024\r\n768\r\n");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Error occurred: No icons found");
}

TEST_F(SavePatternTest, AFailedWriteIsReportedUnderSavingPattern) {
    desktop.icons = {{"Recycle Bin", 18, 2, 0}};
    files.writeFailure = {5, "Access is denied."};
    EXPECT_FALSE(SavePattern(path, icons, files, dialogs));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].caption, "Saving pattern");
    EXPECT_EQ(dialogs.shown[0].text, "Error: 5\nAccess is denied.");
    EXPECT_EQ(dialogs.shown[0].icon, platform::MessageIcon::Critical);
}

TEST(PatternName, EachForbiddenCharacterAnywhereIsRefusedWithTheSameMessage) {
    const std::string forbidden = "?*:/\\\"<>|";
    ASSERT_EQ(forbidden.size(), 9u);
    for (const char c : forbidden) {
        for (const std::string& name : {std::string(1, c) + "Work", "Wo" + std::string(1, c) + "rk",
                                        "Work" + std::string(1, c)}) {
            sim::SimDialogs dialogs;
            EXPECT_FALSE(ValidatePatternName(name, dialogs)) << name;
            ASSERT_EQ(dialogs.shown.size(), 1u) << name;
            EXPECT_EQ(dialogs.shown[0].icon, platform::MessageIcon::Critical);
            EXPECT_EQ(dialogs.shown[0].text,
                      "A pattern name may not contain any of these characters:\n"
                      "\\ / : *  ? \" < >  |");
        }
    }
    for (const char* accepted : {"Work", "", "home, 2", " spaced ", "a.b", "'quoted'"}) {
        sim::SimDialogs dialogs;
        EXPECT_TRUE(ValidatePatternName(accepted, dialogs)) << accepted;
        EXPECT_TRUE(dialogs.shown.empty());
    }
}

}  // namespace
}  // namespace pellmark
