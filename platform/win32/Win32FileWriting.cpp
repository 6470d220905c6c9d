// Writing files so that a failure never leaves one cut short: new files for writing, and
// the step that puts a finished file in the place of the old one.
#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {

OsStatus StatusOf(DWORD code) {
    return {code, ErrorDescription(code)};
}

bool IsReadOnly(DWORD attributes) noexcept {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

class FileByteSink final : public platform::ByteSink {
  public:
    explicit FileByteSink(UniqueFile file) noexcept : file_(std::move(file)) {}

    OsStatus Write(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            DWORD written = 0;
            if (::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr) == FALSE) {
                return LastErrorStatus();
            }
            if (written == 0) {
                return StatusOf(ERROR_DISK_FULL);  // a success that wrote nothing
            }
            bytes.remove_prefix(written);
        }
        return {};
    }

    OsStatus Flush() override {
        return ::FlushFileBuffers(file_.get()) != FALSE ? OsStatus{} : LastErrorStatus();
    }

  private:
    UniqueFile file_;
};

}  // namespace

OsStatus MoveReplacingByRenaming(const std::string& from, const std::string& to) {
    const std::optional<std::string> source = ToAnsi(from);
    const std::optional<std::string> target = ToAnsi(to);
    if (!source || !target) {
        return StatusOf(ERROR_NO_UNICODE_TRANSLATION);
    }
    const DWORD attributes = ::GetFileAttributesA(target->c_str());
    if (IsReadOnly(attributes)) {
        return StatusOf(ERROR_ACCESS_DENIED);
    }
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return ::MoveFileA(source->c_str(), target->c_str()) != FALSE ? OsStatus{}
                                                                      : LastErrorStatus();
    }
    // The temporary file's own name with another extension: just as unlikely to be taken,
    // and never "*.ips".
    const std::string aside = *source + ".old";
    if (::MoveFileA(target->c_str(), aside.c_str()) == FALSE) {
        return LastErrorStatus();
    }
    if (::MoveFileA(source->c_str(), target->c_str()) == FALSE) {
        const OsStatus failed = LastErrorStatus();
        ::MoveFileA(aside.c_str(), target->c_str());
        return failed;
    }
    ::DeleteFileA(aside.c_str());
    return {};
}

std::unique_ptr<platform::ByteSink> Win32Files::CreateNewFile(const std::string& path,
                                                              OsStatus& status) {
    UniqueFile file(CallWithText(
        path, INVALID_HANDLE_VALUE,
        [](const wchar_t* wide) {
            return ::CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        },
        [](const char* ansi) {
            return ::CreateFileA(ansi, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        }));
    if (!file) {
        status = LastErrorStatus();
        return nullptr;
    }
    status = {};
    return std::make_unique<FileByteSink>(std::move(file));
}

OsStatus Win32Files::MoveReplacing(const std::string& from, const std::string& to) {
    if (!UsesWideApi()) {
        return MoveReplacingByRenaming(from, to);
    }
    const std::wstring target = Widen(to);
    // A file its owner made read-only stays as it is, whatever MoveFileEx would do.
    if (IsReadOnly(::GetFileAttributesW(target.c_str()))) {
        return StatusOf(ERROR_ACCESS_DENIED);
    }
    // Write-through: the new name is on the disk, not only the data, when this returns.
    const BOOL moved = ::MoveFileExW(Widen(from).c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return moved != FALSE ? OsStatus{} : LastErrorStatus();
}

std::optional<std::string> Win32Files::ToAnsiCodePage(std::string_view utf8) {
    return win32::ToAnsi(utf8);
}

std::string Win32Files::FromAnsiCodePage(std::string_view bytes) {
    return win32::FromAnsi(bytes);
}

}  // namespace pellmark::win32
