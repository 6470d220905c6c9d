// The replace-in-one-step writer on a real file system: new content arrives whole, and a
// write that fails leaves the old file as it was and no temporary file behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/SafeFileWrite.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Services.h"
#include "tests/win/ScratchFolder.h"

namespace pellmark::win32 {
namespace {

using testcases::ScratchFolder;

std::string Content(Win32Files& files, const std::string& path) {
    OsStatus status;
    const auto source = files.OpenForReading(path, status);
    if (!source) {
        return "(unreadable: " + std::to_string(status.code) + ")";
    }
    std::string bytes;
    char buffer[4096];
    while (const std::size_t n = source->Read(buffer, sizeof buffer)) {
        bytes.append(buffer, n);
    }
    return bytes;
}

using Names = std::vector<std::string>;

TEST(Win32FileWriting, NewAndReplacedFilesHoldTheWholeContentUnderAnyName) {
    ScratchFolder folder;
    Win32Files files;
    const std::string omega = folder.File("\u03a9mega.ips");
    const std::string plain = folder.File("Omega.ips");
    ASSERT_TRUE(platform::SafeFileWrite(files, plain, "plain\r\n").ok());
    ASSERT_TRUE(platform::SafeFileWrite(files, omega, "first").ok());
    // Larger than one write call takes, and every byte value.
    std::string large(3 << 20, '\0');
    for (std::size_t i = 0; i < large.size(); ++i) {
        large[i] = static_cast<char>(i * 7);
    }
    ASSERT_TRUE(platform::SafeFileWrite(files, omega, large).ok());
    EXPECT_TRUE(Content(files, omega) == large);
    EXPECT_EQ(Content(files, plain), "plain\r\n");
    ASSERT_TRUE(platform::SafeFileWrite(files, plain, "").ok());
    EXPECT_EQ(Content(files, plain), "");
    EXPECT_EQ(folder.Names(), (Names{"Omega.ips", "\u03a9mega.ips"}));
    // A device's name opens the device in any folder: it is never read as a file.
    EXPECT_EQ(Content(files, folder.File("NUL.ips")), "(unreadable: 123)");
}

TEST(Win32FileWriting, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    ScratchFolder folder;
    Win32Files files;
    const std::string target = folder.File("Work.ips");
    ASSERT_TRUE(platform::SafeFileWrite(files, target, "old").ok());

    {
        // Open elsewhere without sharing: it cannot be replaced (Windows says the file is
        // in use, Wine that access is denied).
        UniqueFile held(::CreateFileW(Widen(target).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        const OsStatus written = platform::SafeFileWrite(files, target, "new");
        EXPECT_FALSE(written.ok());
        EXPECT_FALSE(written.description.empty());
    }
    EXPECT_EQ(Content(files, target), "old");
    EXPECT_EQ(folder.Names(), Names{"Work.ips"});

    // A read-only file is not replaced (Wine's MoveFileEx would replace it).
    ASSERT_TRUE(::SetFileAttributesW(Widen(target).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(platform::SafeFileWrite(files, target, "new").code,
              static_cast<DWORD>(ERROR_ACCESS_DENIED));
    ASSERT_TRUE(::SetFileAttributesW(Widen(target).c_str(), FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(Content(files, target), "old");

    // A folder where the file should be, and a folder that is not there.
    const std::string taken = folder.File("Folder.ips");
    ASSERT_TRUE(::CreateDirectoryW(Widen(taken).c_str(), nullptr));
    EXPECT_FALSE(platform::SafeFileWrite(files, taken, "new").ok());
    EXPECT_EQ(platform::SafeFileWrite(files, folder.File("Gone\\Work.ips"), "new").code,
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(folder.Names(), (Names{"Folder.ips", "Work.ips"}));
    EXPECT_EQ(Content(files, target), "old");
}

TEST(Win32FileWriting, ANewFileNeverOpensAnExistingOne) {
    ScratchFolder folder;
    Win32Files files;
    const std::string taken = folder.File("~pellmark1.tmp");
    ASSERT_TRUE(platform::SafeFileWrite(files, taken, "someone's").ok());
    OsStatus status;
    EXPECT_EQ(files.CreateNewFile(taken, status), nullptr);
    EXPECT_EQ(status.code, static_cast<DWORD>(ERROR_FILE_EXISTS));
    // The writer steps over it and leaves it alone.
    ASSERT_TRUE(platform::SafeFileWrite(files, folder.File("Work.ips"), "new").ok());
    EXPECT_EQ(Content(files, taken), "someone's");
    EXPECT_EQ(folder.Names(), (Names{"Work.ips", "~pellmark1.tmp"}));
}

// The way of 95/98/Me, run here through the ANSI calls it uses there.
TEST(Win32FileWriting, RenamingAsideReplacesOrPutsTheOldFileBack) {
    ScratchFolder folder("pm plain ");  // the ANSI calls need a name the code page holds
    Win32Files files;
    const std::string target = folder.File("Work.ips");
    const std::string finished = folder.File("Finished.new");
    auto write = [&](const std::string& path, const char* bytes) {
        ASSERT_TRUE(platform::SafeFileWrite(files, path, bytes).ok());
    };

    write(finished, "first");
    ASSERT_TRUE(MoveReplacingByRenaming(finished, target).ok());  // no old file
    write(finished, "second");
    ASSERT_TRUE(MoveReplacingByRenaming(finished, target).ok());
    EXPECT_EQ(Content(files, target), "second");

    // The finished file is missing: the old one is put back under its name.
    EXPECT_EQ(MoveReplacingByRenaming(finished, target).code,
              static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Content(files, target), "second");
    write(finished, "third");
    ASSERT_TRUE(::SetFileAttributesW(Widen(target).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(MoveReplacingByRenaming(finished, target).code,
              static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Content(files, target), "second");
    // A name the code page cannot hold is refused, never replaced by a look-alike.
    EXPECT_EQ(MoveReplacingByRenaming(finished, folder.File("\u65e5.ips")).code,
              static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));

    EXPECT_EQ(folder.Names(), (Names{"Finished.new", "Work.ips"}));
}

}  // namespace
}  // namespace pellmark::win32
