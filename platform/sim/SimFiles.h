// An in-memory file system: whole files by path, and failures on demand. Its ANSI code
// page is Windows-1252.
#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace pellmark::sim {

class SimFiles final : public platform::Files {
  public:
    std::map<std::string, std::string> files;
    // Each step of writing a file fails with its status when that has a non-zero code:
    // creating a new file, writing to it (nothing is written), flushing it, moving it over
    // another.
    OsStatus createFailure;
    OsStatus writeFailure;
    OsStatus flushFailure;
    OsStatus replaceFailure;
    // The bytes the disk can still take; a write beyond them puts what fits and fails
    // with "There is not enough space on the disk." Removing files gives nothing back.
    std::optional<std::size_t> freeSpace;
    int openReaders = 0;  // readers not yet destroyed, so tests can see files closed
    int opensForReading = 0;
    // Files being written, by path; a file cannot be moved or removed while it is open.
    std::multiset<std::string> openWriters;
    std::set<std::string> folders;      // with their trailing backslash
    std::set<std::string> undeletable;  // files that refuse to go (open elsewhere)
    OsStatus folderFailure;             // non-zero code: folders cannot be created
    // Paths that open a device, not a file (as "COM1.txt" does in any folder on Windows).
    std::set<std::string> devices;

    std::unique_ptr<platform::ByteSource> OpenForReading(const std::string& path,
                                                         OsStatus& status) override {
        if (devices.contains(path)) {
            status = {123, "The filename, directory name, or volume label syntax is incorrect."};
            return nullptr;
        }
        const auto found = files.find(path);
        if (found == files.end()) {
            status = folders.count(path + "\\") != 0
                         ? OsStatus{5, "Access is denied."}  // a folder, as Windows answers
                         : OsStatus{2, "The system cannot find the file specified."};
            return nullptr;
        }
        status = {};
        ++opensForReading;
        return std::make_unique<Reader>(found->second, openReaders);
    }

    // Every file directly in the folder; the caller filters by the pattern.
    OsStatus ListFiles(const std::string& folder, const std::string& pattern,
                       std::vector<std::string>& names) override;
    OsStatus RemoveFile(const std::string& path) override;
    std::unique_ptr<platform::ByteSink> CreateNewFile(const std::string& path,
                                                      OsStatus& status) override;
    OsStatus MoveReplacing(const std::string& from, const std::string& to) override;
    OsStatus CreateFolder(const std::string& path) override;

    // Reads the in-memory file the way Windows reads INI files (see SimFiles.cpp).
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& path) override;

    // Windows-1252 both ways; its five unassigned bytes stand for U+0081, U+008D, U+008F,
    // U+0090 and U+009D, as Windows maps them.
    std::optional<std::string> ToAnsiCodePage(std::string_view utf8) override;
    std::string FromAnsiCodePage(std::string_view bytes) override;

  private:
    class Writer;

    class Reader final : public platform::ByteSource {
      public:
        Reader(std::string bytes, int& openCount) : bytes_(std::move(bytes)), open_(openCount) {
            ++open_;
        }
        ~Reader() override { --open_; }
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;

        std::size_t Read(char* buffer, std::size_t capacity) override {
            const std::size_t n = std::min(capacity, bytes_.size() - position_);
            std::copy_n(bytes_.data() + position_, n, buffer);
            position_ += n;
            return n;
        }

      private:
        std::string bytes_;
        std::size_t position_ = 0;
        int& open_;
    };
};

}  // namespace pellmark::sim
