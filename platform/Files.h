// The few file operations the logic needs; paths and names are UTF-8 text.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace pellmark::platform {

// An open file being read from the start; closed when destroyed.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Fills up to `capacity` bytes and returns how many; 0 at the end of the file or on
    // a read failure.
    virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
};

// A new file being written; closed when destroyed (and kept, whatever was written).
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Appends the bytes; a failure (a full disk) may leave part of them written.
    [[nodiscard]] virtual OsStatus Write(std::string_view bytes) = 0;
    // Returns once everything written is on the disk.
    [[nodiscard]] virtual OsStatus Flush() = 0;
};

class Files {
  public:
    virtual ~Files() = default;
    // Opens the file for reading, shared with other readers and writers; null (and the
    // reason in `status`) when it cannot be opened or is no file on a disk (a device such
    // as a serial port, which Windows opens by its name in any folder, or a pipe).
    virtual std::unique_ptr<ByteSource> OpenForReading(const std::string& path,
                                                       OsStatus& status) = 0;
    // The names of the files (not folders) in `folder` (ending with a backslash) that
    // match the wildcard `pattern`, in no particular order; a folder that cannot be read
    // gives its error.
    virtual OsStatus ListFiles(const std::string& folder, const std::string& pattern,
                               std::vector<std::string>& names) = 0;
    virtual OsStatus RemoveFile(const std::string& path) = 0;
    // Creates a file that must not exist yet, for writing; null (and the reason in
    // `status`, 80 when the name is taken) when it cannot be made.
    virtual std::unique_ptr<ByteSink> CreateNewFile(const std::string& path, OsStatus& status) = 0;
    // Puts the closed file `from` in the place of `to` in one step, replacing `to` when it
    // exists; on a failure both stay as they were.
    virtual OsStatus MoveReplacing(const std::string& from, const std::string& to) = 0;
    // Creates one folder; an existing folder is reported as an error like any other.
    virtual OsStatus CreateFolder(const std::string& path) = 0;
    // GetPrivateProfileStringA with a 255-character buffer: the string of `key` in
    // `section` of an INI file, at most 254 characters; empty when the file, section or
    // key is missing.
    virtual std::string ReadProfileString(const std::string& section, const std::string& key,
                                          const std::string& path) = 0;

    // Text in the system's ANSI code page, as files written for older versions hold it:
    // nothing when the code page cannot hold every character exactly (no look-alike, no
    // "?" in place of another character).
    [[nodiscard]] virtual std::optional<std::string> ToAnsiCodePage(std::string_view utf8) = 0;
    // Bytes of that code page as UTF-8.
    [[nodiscard]] virtual std::string FromAnsiCodePage(std::string_view bytes) = 0;
};

}  // namespace pellmark::platform
