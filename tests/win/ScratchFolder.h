// Places in the temporary folder for tests that need real files, named in UTF-8.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "tests/win/FileBytes.h"

namespace pellmark::testcases {

// The path of `name` in the temporary folder.
inline std::string TempPath(const std::string& name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return win32::Narrow(folder) + name;
}

// Writes `bytes` as `name` in the temporary folder: its path (a test failure when it cannot).
inline std::string WriteTempFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = TempPath(name);
    EXPECT_TRUE(WriteFileBytes(path, std::string(bytes.begin(), bytes.end()))) << path;
    return path;
}

// Every name in a folder, folders included, sorted; none when it cannot be read.
inline std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found{};
    win32::UniqueFind search(::FindFirstFileW(win32::Widen(folder + "\\*").c_str(), &found));
    if (!search) {
        return names;
    }
    do {
        const std::string name = win32::NarrowBuffer(found.cFileName, MAX_PATH);
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(search.get(), &found) != FALSE);
    std::sort(names.begin(), names.end());
    return names;
}

[[nodiscard]] inline bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(win32::Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Removes a folder with everything in it, read-only files too.
inline void RemoveFolder(const std::string& path) {
    for (const std::string& name : FolderNames(path)) {
        const std::wstring entry = win32::Widen(path + "\\" + name);
        ::SetFileAttributesW(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (::DeleteFileW(entry.c_str()) == FALSE) {
            RemoveFolder(path + "\\" + name);
        }
    }
    ::RemoveDirectoryW(win32::Widen(path).c_str());
}

// A folder in the temporary folder, by default with a name no ANSI code page holds,
// removed with what it holds when it goes.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& stem = "pm \u65e5\u672c ") {
        static int made = 0;
        path_ =
            TempPath(stem + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++made));
        RemoveFolder(path_);  // left by an earlier run of the same process id
        ::CreateDirectoryW(win32::Widen(path_).c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveFolder(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::string& Path() const noexcept { return path_; }  // no backslash
    [[nodiscard]] std::string File(const std::string& name) const { return path_ + "\\" + name; }
    [[nodiscard]] std::vector<std::string> Names() const { return FolderNames(path_); }

  private:
    std::string path_;
};

}  // namespace pellmark::testcases
