#include "platform/SafeFileWrite.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/sim/SimFiles.h"

namespace pellmark {
namespace {

using Files = std::map<std::string, std::string>;

const std::string kFolder = "C:\\Pellmark\\SavedPositions\\";
const std::string kTarget = kFolder + "Work.ips";

TEST(SafeFileWrite, ANewFileAndAReplacedFileHoldExactlyTheBytesAndNothingElseIsLeft) {
    sim::SimFiles files;
    ASSERT_TRUE(platform::SafeFileWrite(files, kTarget, "first\r\n").ok());
    EXPECT_EQ(files.files, (Files{{kTarget, "first\r\n"}}));

    files.files[kFolder + "Home.ips"] = "home";
    ASSERT_TRUE(platform::SafeFileWrite(files, kTarget, std::string("a\0b", 3)).ok());
    ASSERT_TRUE(platform::SafeFileWrite(files, kFolder + "Empty.ips", "").ok());
    EXPECT_EQ(files.files, (Files{{kTarget, std::string("a\0b", 3)},
                                  {kFolder + "Home.ips", "home"},
                                  {kFolder + "Empty.ips", ""}}));
    EXPECT_TRUE(files.openWriters.empty());
}

TEST(SafeFileWrite, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporaryFile) {
    struct Case {
        const char* step;
        OsStatus sim::SimFiles::*failure;
        OsStatus status;
    } const cases[] = {
        {"create", &sim::SimFiles::createFailure, {5, "Access is denied."}},
        {"write", &sim::SimFiles::writeFailure, {21, "The device is not ready."}},
        {"flush",
         &sim::SimFiles::flushFailure,
         {1117, "The request could not be performed because of an I/O device error."}},
        {"replace", &sim::SimFiles::replaceFailure, {5, "Access is denied."}},
    };
    for (const Case& c : cases) {
        sim::SimFiles files;
        files.files[kTarget] = "old pattern";
        files.*c.failure = c.status;
        const OsStatus written = platform::SafeFileWrite(files, kTarget, "new pattern");
        EXPECT_EQ(written.code, c.status.code) << c.step;
        EXPECT_EQ(written.description, c.status.description) << c.step;
        EXPECT_EQ(files.files, (Files{{kTarget, "old pattern"}})) << c.step;
        EXPECT_TRUE(files.openWriters.empty()) << c.step;
    }
}

TEST(SafeFileWrite, AFullDiskKeepsTheOldFileWhateverFitted) {
    for (const std::size_t space : {std::size_t{0}, std::size_t{5}, std::size_t{10}}) {
        sim::SimFiles files;
        files.files[kTarget] = "old pattern";
        files.freeSpace = space;
        const OsStatus written = platform::SafeFileWrite(files, kTarget, "a longer new pattern");
        EXPECT_EQ(written.code, 112u) << space;
        EXPECT_EQ(written.description, "There is not enough space on the disk.");
        EXPECT_EQ(files.files, (Files{{kTarget, "old pattern"}})) << space;
    }
    // Room for exactly the new bytes is enough.
    sim::SimFiles files;
    files.freeSpace = 3;
    EXPECT_TRUE(platform::SafeFileWrite(files, kTarget, "new").ok());
    EXPECT_EQ(files.files.at(kTarget), "new");
}

TEST(SafeFileWrite, FilesThatHoldATemporaryNameAreSteppedOverAndKept) {
    // Left by a run that was killed, or the user's own: never opened, never removed.
    sim::SimFiles files;
    files.files[kFolder + "~pellmark1.tmp"] = "someone's";
    files.files[kFolder + "~pellmark2.tmp"] = "another";
    files.files[kTarget] = "old";
    ASSERT_TRUE(platform::SafeFileWrite(files, kTarget, "new").ok());
    EXPECT_EQ(files.files, (Files{{kFolder + "~pellmark1.tmp", "someone's"},
                                  {kFolder + "~pellmark2.tmp", "another"},
                                  {kTarget, "new"}}));

    // A target in the current folder gets its temporary file there too.
    sim::SimFiles bare;
    bare.files["~pellmark1.tmp"] = "x";
    ASSERT_TRUE(platform::SafeFileWrite(bare, "Work.ips", "new").ok());
    EXPECT_EQ(bare.files, (Files{{"~pellmark1.tmp", "x"}, {"Work.ips", "new"}}));
}

TEST(SafeFileWrite, WhenEveryTemporaryNameIsTakenTheFileIsNotTouched) {
    sim::SimFiles files;
    for (int i = 1; i <= 100; ++i) {
        files.files[kFolder + "~pellmark" + std::to_string(i) + ".tmp"] = "";
    }
    files.files[kTarget] = "old";
    const Files before = files.files;
    EXPECT_EQ(platform::SafeFileWrite(files, kTarget, "new").code, 80u);
    EXPECT_EQ(files.files, before);
}

// The sim's ANSI code page is the one the encoding tests lean on: Windows-1252 exactly.
TEST(SimFilesCodePage, Windows1252BothWaysAndNothingElse) {
    sim::SimFiles files;
    struct Case {
        const char* utf8;
        const char* ansi;
    } const held[] = {
        {"Recycle Bin", "Recycle Bin"},
        {"Caf\u00e9 \u00bd \u00ff\u00a0", "Caf\xe9 \xbd \xff\xa0"},
        {"\u20ac \u201a \u0192 \u201e \u2026 \u2020 \u2021 \u02c6 \u2030 \u0160 \u2039 \u0152 "
         "\u017d",
         "\x80 \x82 \x83 \x84 \x85 \x86 \x87 \x88 \x89 \x8a \x8b \x8c \x8e"},
        {"\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\u017e\u0178",
         "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9a\x9b\x9c\x9e\x9f"},
        // The five bytes the code page leaves unassigned map to the controls of the same
        // number, as Windows maps them.
        {"\u0081\u008d\u008f\u0090\u009d", "\x81\x8d\x8f\x90\x9d"},
    };
    for (const Case& c : held) {
        EXPECT_EQ(files.ToAnsiCodePage(c.utf8), std::optional<std::string>(c.ansi)) << c.utf8;
        EXPECT_EQ(files.FromAnsiCodePage(c.ansi), c.utf8) << c.utf8;
    }
    for (const char* notHeld : {"\u03a9mega", "\u0080", "\u009f", "\u0100", "\u65e5\u672c",
                                "\U0001F600", "\u2019\u0391", "bad \xff byte"}) {
        EXPECT_EQ(files.ToAnsiCodePage(notHeld), std::nullopt) << notHeld;
    }
}

}  // namespace
}  // namespace pellmark
