#include "patterns/PatternFile.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "patterns/PatternReader.h"
#include "patterns/PatternRestore.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "settings/Messages.h"
#include "tests/common/PatternText.h"

namespace pellmark {
namespace {

TEST(PatternFile, HeaderAndPrintStyleNumbers) {
    EXPECT_EQ(PatternHeader(), "Pellmark | version | 2.14.2");
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, " 0 "}, {-1, "-1 "}, {2147483647, " 2147483647 "}, {-2147483647 - 1, "-2147483648 "}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(PrintStyleNumber(value), text);
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

// Which step failed is the safe writer's to tell, and what the reader says when it finds
// no icons is its own; here, that the old file stays and nothing new is written.
TEST_F(SavePatternTest, AFailedWriteOrAnEmptyReadKeepsTheOldFile) {
    desktop.icons = {{"Recycle Bin", 18, 2, 0}, {"Notes", 100, 60, 1}};
    const std::string old = testcases::PatternText(800, 600, {{"Old", " 1 ", " 2 "}});
    files.files[path] = old;
    files.flushFailure = {1117,
                          "The request could not be performed because of an I/O device error."};
    EXPECT_FALSE(SavePattern(path, icons, files, dialogs));
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{path, old}}));
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"Critical [Saving pattern] Error: 1117\nThe request could "
                                        "not be performed because of an I/O device error."}));

    // No icons read: nothing replaces the saved pattern, nor makes a new one.
    files.flushFailure = {};
    dialogs.shown.clear();
    desktop.transferFailure = {8, "Not enough memory resources are available."};
    EXPECT_FALSE(SavePattern(path, icons, files, dialogs));
    const SaveResult fresh =
        SavePattern("C:\\Pellmark\\SavedPositions\\New.ips", icons, files, dialogs);
    EXPECT_EQ(fresh.outcome, SaveResult::NoIcons);
    EXPECT_EQ(files.files, (std::map<std::string, std::string>{{path, old}}));
    EXPECT_EQ(dialogs.shown.size(), 2u);  // once for each read
}

TEST_F(SavePatternTest, AnsiWheneverTheCodePageHoldsEveryCaptionElseUtf8AfterAByteOrderMark) {
    struct Case {
        const char* what;
        std::vector<std::string> captions;
        bool utf8;
        std::string firstCaptionBytes;  // as the file holds it
    } const cases[] = {
        {"pure ASCII", {"Recycle Bin", "My Documents"}, false, "Recycle Bin"},
        {"Western accents",
         {"Caf\u00e9 cr\u00e8me", "\u20ac 5 \u2122", "Stra\u00dfe"},
         false,
         "Caf\xe9 cr\xe8me"},
        {"Greek", {"\u03a9mega", "\u0391\u03b8\u03ae\u03bd\u03b1"}, true, "\u03a9mega"},
        {"Japanese", {"\u65e5\u672c\u8a9e", "\u30e1\u30e2"}, true, "\u65e5\u672c\u8a9e"},
        {"a mix",
         {"Caf\u00e9", "\u041e\u0442\u0447\u0451\u0442", "Notes", "\U0001F600 fun"},
         true,
         "Caf\u00e9"}};
    for (const Case& c : cases) {
        desktop.icons.clear();
        for (std::size_t i = 0; i < c.captions.size(); ++i) {
            desktop.icons.push_back(
                {c.captions[i], static_cast<int>(10 + 80 * i), 20, static_cast<int>(i)});
        }
        files.files.clear();
        ASSERT_TRUE(SavePattern(path, icons, files, dialogs)) << c.what;
        const std::string& bytes = files.files.at(path);
        const std::string start = (c.utf8 ? "\xEF\xBB\xBF" : "") +
                                  std::string("Pellmark | version | 2.14.2\r\n") +
                                  std::to_string(c.captions.size()) + "\r\n1024\r\n768\r\n" +
                                  c.firstCaptionBytes + "\r\n 10 \r\n 20 \r\nFalse\r\n";
        EXPECT_EQ(bytes.substr(0, start.size()), start) << c.what;

        // Both readers give every caption back exactly.
        for (const PositionRange range : {kRestorePositions, kPreviewPositions}) {
            PatternBody body;
            ASSERT_EQ(ReadPatternFile(files, path, &PreviewableMajor, range, body),
                      PatternFileState::Read)
                << c.what;
            ASSERT_EQ(body.records.size(), c.captions.size()) << c.what;
            for (std::size_t i = 0; i < c.captions.size(); ++i) {
                EXPECT_EQ(body.records[i].caption, c.captions[i]) << c.what;
                EXPECT_EQ(body.records[i].x, static_cast<int>(10 + 80 * i));
            }
        }
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST(PatternName, EachForbiddenCharacterAnywhereIsRefusedWithTheSameMessage) {
    const std::string forbidden = "?*:/\\\"<>|";
    ASSERT_EQ(forbidden.size(), 9u);
    for (const char c : forbidden) {
        for (const std::string& name : {std::string(1, c) + "Work", "Wo" + std::string(1, c) + "rk",
                                        "Work" + std::string(1, c)}) {
            sim::SimDialogs dialogs;
            EXPECT_FALSE(ValidatePatternName(name, dialogs)) << name;
            EXPECT_EQ(dialogs.Said(),
                      (std::vector<std::string>{
                          "Critical A pattern name may not contain any of these characters:\n"
                          "\\ / : *  ? \" < >  |"}))
                << name;
        }
    }
}

TEST(PatternName, DeviceNamesAndATrailingDotOrSpaceAreRefusedOthersAccepted) {
    const std::string reserved =
        "A pattern name may not be CON, PRN, AUX, NUL, COM1 to COM9 or LPT1 to LPT9, alone or "
        "before a dot: Windows keeps these names for devices.";
    const std::string trailing = "A pattern name may not end with a dot or a space.";
    std::vector<std::string> devices = {"CON", "PRN", "AUX", "NUL"};
    for (char digit = '1'; digit <= '9'; ++digit) {
        devices.push_back(std::string("COM") + digit);
        devices.push_back(std::string("LPT") + digit);
    }
    std::vector<std::pair<std::string, std::string>> cases;
    for (const std::string& device : devices) {
        std::string lower = device;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        std::string mixed = lower;
        mixed[0] = device[0];
        for (const std::string& name :
             {device, lower, mixed, device + ".ips", lower + ".txt", mixed + " .x", device + "  ",
              device + ".", lower + ".tar.gz", device + "  .ips"}) {
            cases.emplace_back(name, reserved);
        }
    }
    // Superscript digits count as digits for the ports too.
    for (const char* name : {"COM\u00b9", "lpt\u00b2.ips", "Com\u00b3"}) {
        cases.emplace_back(name, reserved);
    }
    for (const char* name :
         {"Work.", "Work ", "Work. ", "Work .", ".", " ", "My desk...", "a.b "}) {
        cases.emplace_back(name, trailing);
    }
    // A forbidden character is named first, whatever else is wrong.
    cases.emplace_back("NUL?", MessageText("0931") + "\n\\ / : *  ? \" < >  |");
    cases.emplace_back("Work: ", MessageText("0931") + "\n\\ / : *  ? \" < >  |");
    for (const auto& [name, message] : cases) {
        sim::SimDialogs dialogs;
        EXPECT_FALSE(ValidatePatternName(name, dialogs)) << name;
        EXPECT_EQ(dialogs.Said(), (std::vector<std::string>{"Critical " + message})) << name;
    }

    for (const char* accepted :
         {"Work",      "",          "home, 2",  " spaced",    "a.b",
          "'quoted'",  "CONSOLE",   "CO",       "NULL.ips",   "Aux1",
          "COM0",      "COM10",     "LPT",      "xCON",       " NUL",
          "My CON",    "con-1.ips", "Work.ips", "\u03a9mega", "\u65e5\u672c\u8a9e",
          "COM\u2074", ".ips"}) {
        sim::SimDialogs dialogs;
        EXPECT_TRUE(ValidatePatternName(accepted, dialogs)) << accepted;
        EXPECT_TRUE(dialogs.shown.empty()) << accepted;
    }
}

TEST(ReadPatternFile, EitherEncodingEachCallersVersionRuleAndTheFileClosedAfter) {
    using testcases::PatternText;
    const std::string path = "C:\\Pellmark\\SavedPositions\\P.ips";
    const std::string bom = "\xEF\xBB\xBF";
    struct Case {
        const char* what;
        std::string bytes;
        PatternFileState restore;  // the restore's rule: major 2 or later
        PatternFileState preview;  // the preview's rule: major 2 only
        std::vector<std::string> captions;
    } const cases[] = {
        {"ANSI",
         PatternText(800, 600, {{"Caf\xe9", " 1 ", " 2 "}, {"\x80 \x81", " 3 ", " 4 "}}),
         PatternFileState::Read,
         PatternFileState::Read,
         {"Caf\u00e9", "\u20ac \u0081"}},
        {"UTF-8",
         bom + PatternText(800, 600, {{"\u03a9mega", " 1 ", " 2 "}, {"Caf\u00e9", " 3 ", " 4 "}}),
         PatternFileState::Read,
         PatternFileState::Read,
         {"\u03a9mega", "Caf\u00e9"}},
        // Without the mark the bytes are ANSI, whatever they look like.
        {"UTF-8 without the mark",
         PatternText(800, 600, {{"\u03a9", " 1 ", " 2 "}}),
         PatternFileState::Read,
         PatternFileState::Read,
         {"\u00ce\u00a9"}},
        // Not well-formed after the mark: kept as it is, for the caption compare to miss.
        {"broken UTF-8",
         bom + PatternText(800, 600, {{"a\xff", " 1 ", " 2 "}}),
         PatternFileState::Read,
         PatternFileState::Read,
         {"a\xff"}},
        {"a later version",
         bom + PatternText(800, 600, {{"A", " 1 ", " 2 "}}, "Pellmark | version | 3.0.0"),
         PatternFileState::Read,
         PatternFileState::Refused,
         {"A"}},
        {"an older version",
         bom + PatternText(800, 600, {{"A", " 1 ", " 2 "}}, "Pellmark | version | 1.9.0"),
         PatternFileState::Refused,
         PatternFileState::Refused,
         {}},
        // Only the third piece of the header is the version's, so a second mark is harmless.
        {"a mark twice",
         bom + bom + PatternText(800, 600, {}),
         PatternFileState::Read,
         PatternFileState::Read,
         {}},
        {"the mark alone", bom, PatternFileState::Refused, PatternFileState::Refused, {}},
        {"empty", "", PatternFileState::Refused, PatternFileState::Refused, {}},
    };
    for (const Case& c : cases) {
        sim::SimFiles files;
        files.files[path] = c.bytes;
        for (const auto& [rule, expected] :
             {std::pair{&RestorableMajor, c.restore}, std::pair{&PreviewableMajor, c.preview}}) {
            PatternBody body;
            EXPECT_EQ(ReadPatternFile(files, path, rule, kRestorePositions, body), expected)
                << c.what;
            EXPECT_EQ(files.openReaders, 0) << c.what;
            if (expected == PatternFileState::Read) {
                std::vector<std::string> captions;
                for (const PatternRecord& record : body.records) {
                    captions.push_back(record.caption);
                }
                EXPECT_EQ(captions, c.captions) << c.what;
            }
        }
    }
    sim::SimFiles none;
    PatternBody body;
    EXPECT_EQ(ReadPatternFile(
                  none, path, [](int) { return true; }, kRestorePositions, body),
              PatternFileState::Unreadable);
}

}  // namespace
}  // namespace pellmark
