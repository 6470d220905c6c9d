#include "patterns/PatternRestore.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "patterns/IconGeometry.h"
#include "patterns/PatternFile.h"
#include "patterns/ResolutionWatcher.h"
#include "patterns/TrayPatternRestore.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimRegistry.h"
#include "settings/Messages.h"
#include "tests/common/PatternText.h"

namespace pellmark {
namespace {

using testcases::PatternText;
using testcases::Record;

class PatternRestoreTest : public ::testing::Test {
  protected:
    void Restore(const std::string& content, bool silent = true) {
        files.files[path] = content;
        icons.ReadDesktopIcons();
        restored = restore.RestorePatternFile(path, silent);
    }
    sim::SimIcon IconAt(std::size_t i) const { return desktop.icons.at(i); }
    std::pair<int, int> Position(std::size_t i) const {
        return {desktop.icons.at(i).x, desktop.icons.at(i).y};
    }

    sim::SimDesktop desktop;
    sim::SimDialogs dialogs;
    sim::SimFiles files;
    DesktopIcons icons{desktop, dialogs};
    PatternRestore restore{icons, files, dialogs};
    const std::string path = "C:\\Pellmark\\SavedPositions\\Work.ips";
    bool restored = false;
};

TEST_F(PatternRestoreTest, ScalesFromTheSavedScreenAndReadsTheDesktopAgain) {
    // Saved on an 800-wide screen; a hidden record (x 100 before it was pushed away) is
    // pushed off this 1024-wide screen at 96 DPI again: 100 + 15360 twips, scaled.
    desktop.icons = {{"Recycle Bin", 5, 5, 0}, {"Notes", 6, 6, 1}, {"Secret", 5, 5, 2}};
    Restore(PatternText(800, 600,
                        {{"Notes", " 100 ", " 60 ", "true"},
                         {"Recycle Bin", " 0 ", " 599 "},
                         {"Secret", " 100 ", " 60 ", "True"}}));

    EXPECT_TRUE(restored);
    EXPECT_EQ(Position(1), std::make_pair(128, 77));    // 60 / 0.78125 = 76.8; only "True" hides
    EXPECT_EQ(Position(0), std::make_pair(0, 767));     // 599 / 0.78125 = 766.72
    EXPECT_EQ(Position(2), std::make_pair(19789, 77));  // 15460 / 0.78125 = 19788.8
    // The closing read leaves the current screen, not the saved one, in the table.
    EXPECT_EQ(icons.Table().ScreenWidth, 1024);
    EXPECT_EQ(icons.Table().Icons[1].Position, (IconPosition{128, 77}));
    EXPECT_TRUE(icons.Table().Icons[2].OffScreen);
    EXPECT_EQ(desktop.readCount, 3);  // the caller's, the restore's own, the closing one
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(files.openReaders, 0);
}

TEST_F(PatternRestoreTest, SavedAndRestoredAtTheSameSizeGivesEveryIconBackHiddenOnesHidden) {
    desktop.icons = {{"A", 18, 2, 0}, {"Hidden", 1100, 300, 1}, {"Edge", 1024, 768, 2}};
    icons.ReadDesktopIcons();
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));
    const std::vector<sim::SimIcon> saved = desktop.icons;
    for (sim::SimIcon& icon : desktop.icons) {
        icon.x = 400;
        icon.y = 400;
    }
    icons.ReadDesktopIcons();
    ASSERT_TRUE(restore.RestorePatternFile(path, false));
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(Position(i), std::make_pair(saved[i].x, saved[i].y)) << saved[i].caption;
    }
    EXPECT_TRUE(icons.Table().Icons[1].OffScreen);
    EXPECT_TRUE(dialogs.shown.empty());
}

// A file saved to the desktop lands at index 0 of the list view after the last read; every
// way into a restore must match against the desktop as it is, not that stale table.
TEST_F(PatternRestoreTest, EveryRestoreMatchesTheDesktopAsItIsNow) {
    sim::SimRegistry registry;
    SettingsStore settings{registry};
    ResolutionWatcher watcher{icons, restore, settings, dialogs};
    const std::string folder = "C:\\Pellmark\\SavedPositions\\";
    struct Way {
        const char* name;
        std::function<void()> restore;
    } const ways[] = {
        {"restore", [&] { ASSERT_TRUE(restore.RestorePatternFile(folder + "P.ips", false)); }},
        {"tray menu",
         [&] { RestorePatternFromMenu("P", "C:\\Pellmark", restore, icons.Table(), nullptr); }},
        {"resolution watcher",
         [&] {
             desktop.screen = {1024, 768};
             watcher.Start("C:\\Pellmark\\SavedPositions\\", "P");
             desktop.screen = {1024, 769};  // a change the watcher notices
             ASSERT_TRUE(watcher.Tick());
             desktop.screen = {1024, 768};
         }},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        desktop.screen = {1024, 768};
        desktop.icons = {{"Alpha", 100, 100, 0}, {"Beta", 300, 100, 1}, {"Gamma", 500, 100, 2}};
        icons.ReadDesktopIcons();
        ASSERT_TRUE(SavePattern(folder + "P.ips", icons, files, dialogs));
        // A new icon arrives first in item order and the three are moved; no read since.
        desktop.icons.insert(desktop.icons.begin(), {"New", 700, 300, 3});
        for (std::size_t i = 1; i < 4; ++i) {
            desktop.icons[i].y = 400;
        }
        desktop.moveBatches.clear();
        dialogs.shown.clear();
        way.restore();

        EXPECT_EQ(Position(0), std::make_pair(700, 300)) << "New is not in the pattern";
        EXPECT_EQ(Position(1), std::make_pair(100, 100));
        EXPECT_EQ(Position(2), std::make_pair(300, 100));
        EXPECT_EQ(Position(3), std::make_pair(500, 100));
        ASSERT_EQ(desktop.moveBatches.size(), 1u) << "one request for the whole restore";
        EXPECT_EQ(desktop.moveBatches[0],
                  (std::vector<IconMove>{{1, 100, 100}, {2, 300, 100}, {3, 500, 100}}));
        EXPECT_TRUE(dialogs.shown.empty());
        EXPECT_EQ(icons.Table().IconCount, 4);
    }
}

TEST_F(PatternRestoreTest, MovesOnlyTheIconsThatAreNotAtTheirPlace) {
    desktop.icons = {{"A", 10, 10, 0}, {"B", 20, 20, 0}, {"C", 30, 30, 0}, {"D", 40, 40, 0}};
    const std::string pattern = PatternText(1024, 768,
                                            {{"A", " 10 ", " 10 "},
                                             {"B", " 25 ", " 20 "},
                                             {"C", " 30 ", " 30 "},
                                             {"D", " 40 ", " 45 "}});
    Restore(pattern);
    ASSERT_EQ(desktop.moveBatches.size(), 1u);
    EXPECT_EQ(desktop.moveBatches[0], (std::vector<IconMove>{{1, 25, 20}, {3, 40, 45}}));

    // Everything in place: no request at all, yet the closing read still happens.
    desktop.moveBatches.clear();
    const int reads = desktop.readCount;
    Restore(pattern);
    EXPECT_TRUE(desktop.moveBatches.empty());
    EXPECT_EQ(desktop.readCount, reads + 3);

    // A hidden record compares with the pushed-away position it gives.
    desktop.icons = {{"H", 15460, 60, 0}};
    Restore(PatternText(1024, 768, {{"H", " 100 ", " 60 ", "True"}}));
    EXPECT_TRUE(desktop.moveBatches.empty());
}

TEST_F(PatternRestoreTest, IconsThatShareACaptionEachGoBackToTheirOwnSpotAndNeverStack) {
    using Spots = std::vector<std::pair<int, int>>;
    struct Case {
        const char* name;
        std::vector<sim::SimIcon> icons;
        std::vector<Record> records;
        Spots expected;
    } const cases[] = {
        {"each to the nearest",
         {{"Mail", 200, 12}, {"Mail", 10, 12}},
         {{"Mail", " 10 ", " 10 "}, {"Mail", " 200 ", " 10 "}},
         {{200, 10}, {10, 10}}},
        {"one already in place keeps it",
         {{"Mail", 500, 500}, {"Mail", 10, 10}},
         {{"Mail", " 10 ", " 10 "}, {"Mail", " 200 ", " 10 "}},
         {{200, 10}, {10, 10}}},
        {"the fewest move, though farther",
         {{"Mail", 10, 10}, {"Mail", 30, 10}},
         {{"Mail", " 30 ", " 10 "}, {"Mail", " 900 ", " 10 "}},
         {{900, 10}, {30, 10}}},
        {"an icon in no record stays",
         {{"Mail", 300, 300}, {"Mail", 12, 12}, {"New", 40, 40}},
         {{"Mail", " 10 ", " 10 "}},
         {{300, 300}, {10, 10}, {40, 40}}},
        {"two records on one spot",
         {{"A", 50, 50}, {"B", 90, 90}},
         {{"A", " 10 ", " 10 "}, {"B", " 10 ", " 10 "}},
         {{10, 10}, {90, 90}}},
        {"a spot an icon in no record holds",
         {{"A", 50, 50}, {"New", 10, 10}},
         {{"A", " 10 ", " 10 "}},
         {{50, 50}, {10, 10}}},
        {"held back, its spot is kept in turn",
         {{"A", 10, 10}, {"B", 50, 50}, {"New", 90, 90}},
         {{"A", " 50 ", " 50 "}, {"B", " 90 ", " 90 "}},
         {{10, 10}, {50, 50}, {90, 90}}},
    };
    for (const Case& c : cases) {
        desktop.icons = c.icons;
        Restore(PatternText(1024, 768, c.records));
        Spots got;
        for (std::size_t i = 0; i < desktop.icons.size(); ++i) {
            got.push_back(Position(i));
        }
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

// On the shell's view the desktop tells each icon's parsing name: a save keeps them beside
// the pattern, and a restore follows them before any caption or distance.
TEST_F(PatternRestoreTest, ParsingNamesSavedBesideThePatternTellIconsOfOneCaptionApart) {
    const std::string names = "C:\\Pellmark\\SavedPositions\\Work.names";
    desktop.icons = {{"Mail", 10, 10, 0, "C:\\Desktop\\Mail.lnk"},
                     {"Mail", 200, 10, 1, "C:\\Desktop\\Mail"}};
    icons.ReadDesktopIcons();
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));
    EXPECT_EQ(files.files[names],
              "Pellmark | parsing names | 1\r\nMail\r\nC:\\Desktop\\Mail.lnk\r\nMail\r\n"
              "C:\\Desktop\\Mail\r\n");
    const std::string pattern = files.files[path];
    EXPECT_EQ(pattern.find("Desktop"), std::string::npos) << "the pattern is as it always was";

    const auto swapAndRestore = [&] {
        desktop.icons[0].x = 190;  // each now nearer the other's spot
        desktop.icons[1].x = 20;
        icons.ReadDesktopIcons();
        EXPECT_TRUE(restore.RestorePatternFile(path, true));
        return std::make_pair(Position(0), Position(1));
    };
    EXPECT_EQ(swapAndRestore(), std::make_pair(std::make_pair(10, 10), std::make_pair(200, 10)));

    // Names that no longer fit the pattern (edited by hand since) are not followed.
    files.files[names] = "Pellmark | parsing names | 1\r\nPost\r\nC:\\Desktop\\Mail.lnk\r\n";
    EXPECT_EQ(swapAndRestore(), std::make_pair(std::make_pair(200, 10), std::make_pair(10, 10)));

    // A save where the desktop tells no names leaves none behind to mislead.
    desktop.icons[0].parsingName = desktop.icons[1].parsingName = "";
    icons.ReadDesktopIcons();
    ASSERT_TRUE(SavePattern(path, icons, files, dialogs));
    EXPECT_EQ(files.files.count(names), 0u);
}

TEST_F(PatternRestoreTest, AnUnreadableDesktopIsReportedOnceByTheClosingRead) {
    files.files[path] = PatternText(1024, 768, {{"A", " 1 ", " 1 "}});
    desktop.icons = {{"A", 5, 5, 0}};
    desktop.transferFailure = {8, "Not enough memory resources are available."};
    EXPECT_TRUE(restore.RestorePatternFile(path, false));
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"Critical Err: 8\nNot enough memory resources are "
                                        "available.\n\nProblem finding desktop icons "}));
}

TEST(PatternMoves, RoundsHalvesToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {{2.5, 2}, {3.5, 4},   {-2.5, -2}, {-3.5, -4},
                                            {0.5, 0}, {76.8, 77}, {-0.2, 0}};
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    }

    // Saved on a 2048 x 1536 screen, restored on 1024 x 768: every position halves.
    const ScaleRatios half = ComputeScaleRatios(2048, 1536, 1024, 768);
    EXPECT_EQ(half.x, 2.0f);
    const std::vector<DesktopIcon> icons = {
        {"a", {}, 0, false}, {"b", {}, 0, false}, {"c", {}, 0, false}};
    const std::vector<PatternRecord> records = {
        {"a", 5, 3, false}, {"b", 7, 1, false}, {"c", -5, -3, false}};
    EXPECT_EQ(PlanPatternMoves(icons, records, half, 0, {1024, 768}),
              (std::vector<IconMove>{{0, 2, 2}, {1, 4, 0}, {2, -2, -2}}));
}

TEST(PatternMoves, RatiosAreSinglePrecision) {
    // 1000/1366 is not exact in single precision; the product shows which was used.
    const ScaleRatios r = ComputeScaleRatios(1000, 700, 1366, 768);
    EXPECT_EQ(r.x, static_cast<float>(1000.0 / 1366.0));
    const std::vector<DesktopIcon> icons = {{"a", {}, 0, false}};
    const std::vector<PatternRecord> records = {{"a", 683, 350, false}};
    // 683 / (float)(1000/1366) = 932.9779..., with a double ratio it would be 932.978.
    EXPECT_EQ(PlanPatternMoves(icons, records, r, 0, {1366, 768}),
              (std::vector<IconMove>{{0, 933, 384}}));
}

TEST(PatternMoves, MatchesByCaptionWithTrailingSpacesIgnored) {
    const ScaleRatios same{1.0f, 1.0f};
    const std::vector<DesktopIcon> icons = {
        {"Readme.txt ", {}, 0, false},  // trailing space on the icon
        {"readme.txt", {}, 0, false},   // case differs: no match
        {"Twin", {}, 0, false},         // "Twin   " is the same caption
        {"Report 2", {}, 0, false},     // not in the pattern, "Report 1" is: not moved
        {" Lead", {}, 0, false},        // leading spaces count
        {"", {}, 0, false},             // an empty caption matches an all-space record
    };
    const std::vector<PatternRecord> records = {
        {"Readme.txt", 10, 10, false}, {"Twin   ", 20, 20, false}, {"Report 1", 30, 30, false},
        {"Gone", 40, 40, false},       {"Lead", 50, 50, false},    {"   ", 60, 60, false},
    };
    EXPECT_EQ(PlanPatternMoves(icons, records, same, 0, {1024, 768}),
              (std::vector<IconMove>{{0, 10, 10}, {2, 20, 20}, {5, 60, 60}}));
}

TEST(PatternMoves, PositionsThatCannotBeComputedMoveNothing) {
    const std::vector<DesktopIcon> icons = {{"a", {}, 0, false}};
    const std::vector<PatternRecord> records = {{"a", 100, 100, false}};
    // A file that claims a zero or negative screen size, or a current size of zero.
    const platform::ScreenSize screen{1024, 768};
    EXPECT_TRUE(
        PlanPatternMoves(icons, records, ComputeScaleRatios(0, 600, 1024, 768), 0, screen).empty());
    EXPECT_TRUE(
        PlanPatternMoves(icons, records, ComputeScaleRatios(-800, 600, 1024, 768), 0, screen)
            .empty());
    EXPECT_TRUE(
        PlanPatternMoves(icons, records, ComputeScaleRatios(800, 600, 0, 0), 0, {0, 0}).empty());
    // A result beyond 32 bits.
    const std::vector<PatternRecord> far = {{"a", INT32_MAX, 0, false}};
    EXPECT_TRUE(
        PlanPatternMoves(icons, far, ComputeScaleRatios(1, 1, 1024, 768), 0, screen).empty());
}

// A missing file and an auto-arranged desktop are said even to a silent restore; an
// unreadable file only to one that is not, and the desktop is read again either way.
TEST_F(PatternRestoreTest, WhatCannotBeRestoredIsSaid) {
    desktop.icons = {{"A", 5, 5, 0}};
    icons.ReadDesktopIcons();
    EXPECT_FALSE(restore.RestorePatternFile(path, true));
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"Exclamation File: C:\\Pellmark\\SavedPositions\\Work.ips "
                                        "not found. Unable to restore pattern."}));
    EXPECT_FALSE(restore.PatternFileExists(path));

    dialogs.shown.clear();
    restore.ApplyPattern(path, 1024, 768, true);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(desktop.readCount, 2);
    restore.ApplyPattern(path, 1024, 768, false);
    EXPECT_EQ(dialogs.Said(),
              (std::vector<std::string>{"None Icon positions not previously saved."}));
    EXPECT_EQ(desktop.readCount, 3);

    dialogs.shown.clear();
    desktop.autoArrange = true;
    const int opened = files.opensForReading;
    Restore(PatternText(1024, 768, {{"A", " 100 ", " 60 "}}), true);
    EXPECT_FALSE(restored);
    EXPECT_EQ(Position(0), std::make_pair(5, 5));
    EXPECT_EQ(dialogs.Said(), (std::vector<std::string>{"Information " + MessageText("0937") +
                                                        "\n\n" + MessageText("0938")}));
    EXPECT_EQ(files.opensForReading, opened);
}

TEST_F(PatternRestoreTest, HeadersOfAnotherVersionAreRefusedAndTheFileClosedAtOnce) {
    desktop.icons = {{"A", 5, 5, 0}};
    const std::vector<Record> records = {{"A", " 100 ", " 60 "}};
    for (const std::string& header : std::vector<std::string>{
             "Pellmark | version | 1.9.0", "Pellmark version 2.14.2", "Pellmark | version",
             "Pellmark | version |   x2", "", std::string("\xff\xfe|\x00|\x01", 6)}) {
        dialogs.shown.clear();
        Restore(PatternText(1024, 768, records, header), false);
        EXPECT_TRUE(restored) << header;  // handed over; the refusal is the reader's
        EXPECT_EQ(Position(0), std::make_pair(5, 5)) << header;
        EXPECT_EQ(dialogs.Said(), (std::vector<std::string>{"Question " + MessageText("0934")}))
            << header;
        // Closed before the message, and no second read of the desktop.
        EXPECT_EQ(files.openReaders, 0);
    }
    EXPECT_EQ(desktop.readCount, 6);  // only the reads before each restore

    dialogs.shown.clear();
    Restore(PatternText(1024, 768, records, "Pellmark | version | 1.9.0"), true);
    EXPECT_TRUE(dialogs.shown.empty());

    // A later major version, and any title, are read.
    Restore(PatternText(1024, 768, records, "Other | version |  3.0.1 | x"), false);
    EXPECT_EQ(Position(0), std::make_pair(100, 60));
}

TEST_F(PatternRestoreTest, DamagedFilesRestoreWhatTheyCanWithoutLargeAllocations) {
    desktop.icons = {{"A", 5, 5, 0}, {"B", 5, 5, 0}};
    const std::string header = "Pellmark | version | 2.14.2\r\n";
    const std::string a = "A\r\n 100 \r\n 60 \r\nFalse\r\n";
    const auto onlyA = [&](const std::string& x, const std::string& y) {
        return header + "1\r\n1024\r\n768\r\nA\r\n" + x + "\r\n" + y + "\r\nFalse\r\n";
    };
    struct Case {
        std::string name;
        std::string content;
        std::pair<int, int> a;
        std::pair<int, int> b;
    } const cases[] = {
        // The count is a claim: reading stops at the end of the file.
        {"huge count", header + "2147483647\r\n1024\r\n768\r\n" + a, {100, 60}, {5, 5}},
        {"negative count", header + "-5\r\n1024\r\n768\r\n" + a, {5, 5}, {5, 5}},
        // An icon whose position cannot be read, or lands absurdly far, stays where it is.
        {"cut after x", header + "2\r\n1024\r\n768\r\n" + a + "B\r\n 300", {100, 60}, {5, 5}},
        {"x abc", onlyA("abc", " 60 "), {5, 5}, {5, 5}},
        {"y 1e5", onlyA(" 100 ", "1e5"), {5, 5}, {5, 5}},
        {"y beyond 32 bits", onlyA(" 100 ", " 99999999999"), {5, 5}, {5, 5}},
        {"saved at 1x1", header + "1\r\n1\r\n1\r\n" + a, {5, 5}, {5, 5}},
        {"line feeds only",
         "Pellmark | version | 2.14.2\n2\n1024\n768\nA\n 1 \n 2 \nFalse\nB\n 3 "
         "\n 4 \nTrue\n",
         {1, 2},
         {15363, 4}},
        {"no screen size", header + "1\r\n\r\n\r\n" + a, {5, 5}, {5, 5}},
        // No pattern holds a line this long: the reading ends there.
        {"endless caption",
         header + "2\r\n1024\r\n768\r\n" + std::string(10000, 'A') + "\r\n 1 \r\n 1 \r\nFalse\r\n" +
             a,
         {5, 5},
         {5, 5}},
        {"garbage after the header",
         header + std::string("\x01\x00\xff\r\r\n\x7f", 7),
         {5, 5},
         {5, 5}},
    };
    for (const Case& c : cases) {
        desktop.icons[0].x = desktop.icons[0].y = desktop.icons[1].x = desktop.icons[1].y = 5;
        Restore(c.content, false);
        EXPECT_EQ(Position(0), c.a) << c.name;
        EXPECT_EQ(Position(1), c.b) << c.name;
        EXPECT_TRUE(dialogs.shown.empty()) << c.name;
        EXPECT_EQ(files.openReaders, 0) << c.name;
    }

    files.files[path] = "";  // a 0-byte file has no header
    restore.ApplyPattern(path, 1024, 768, false);
    EXPECT_EQ(dialogs.Said(), (std::vector<std::string>{"Question " + MessageText("0934")}));
}

TEST(PatternReader, ParsesNumbersLikeThePrintStatementWroteThem) {
    EXPECT_EQ(ParseWholeNumber(" 18 ", INT32_MIN, INT32_MAX), 18);
    EXPECT_EQ(ParseWholeNumber("-14260 ", INT32_MIN, INT32_MAX), -14260);
    EXPECT_EQ(ParseWholeNumber("+7", INT32_MIN, INT32_MAX), 7);
    EXPECT_EQ(ParseWholeNumber(" 2.5 ", INT32_MIN, INT32_MAX), 2);
    EXPECT_EQ(ParseWholeNumber("-2147483648", INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(ParseWholeNumber("2147483648", INT32_MIN, INT32_MAX), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("40000", INT16_MIN, INT16_MAX), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("", INT32_MIN, INT32_MAX), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("1 2", INT32_MIN, INT32_MAX), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("\t5", INT32_MIN, INT32_MAX), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("1e3", INT32_MIN, INT32_MAX), std::nullopt);
    EXPECT_EQ(ParseWholeNumber("nan", INT32_MIN, INT32_MAX), std::nullopt);

    EXPECT_EQ(PatternMajorVersion("Pellmark | version | 2.14.2"), 2);
    EXPECT_EQ(PatternMajorVersion("|| 9"), 9);
    EXPECT_EQ(PatternMajorVersion("a | b | "), std::nullopt);
    EXPECT_EQ(PatternMajorVersion("a | b"), std::nullopt);
}

}  // namespace
}  // namespace pellmark
