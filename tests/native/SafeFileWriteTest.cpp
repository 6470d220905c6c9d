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

}  // namespace
}  // namespace pellmark
