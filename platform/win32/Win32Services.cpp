#include "platform/win32/Win32Services.h"

#include <algorithm>
#include <utility>

#include "platform/win32/Handles.h"
#include "settings/AppInfo.h"

namespace pellmark::win32 {

std::string ErrorDescription(std::uint32_t code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string description = length != 0 && text != nullptr ? std::string(text, length) : "";
    ::LocalFree(text);
    while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                    description.back() == ' ')) {
        description.pop_back();
    }
    if (description.empty()) {
        description = "System error " + std::to_string(code);
    }
    return description;
}

OsStatus LastErrorStatus() {
    DWORD code = ::GetLastError();
    if (code == ERROR_SUCCESS) {
        code = ERROR_GEN_FAILURE;
    }
    return {code, ErrorDescription(code)};
}

platform::MessageAnswer Win32Dialogs::ShowMessage(const platform::MessageRequest& request) {
    // Without an owner the box still keeps the program's windows from taking clicks
    // while it waits.
    UINT style = MB_SETFOREGROUND | (owner_ == nullptr ? MB_TASKMODAL : 0u);
    switch (request.buttons) {
        case platform::MessageButtons::Ok:
            style |= MB_OK;
            break;
        case platform::MessageButtons::OkCancel:
            style |= MB_OKCANCEL;
            break;
        case platform::MessageButtons::YesNo:
            style |= MB_YESNO;
            break;
        case platform::MessageButtons::YesNoCancel:
            style |= MB_YESNOCANCEL;
            break;
    }
    switch (request.icon) {
        case platform::MessageIcon::None:
            break;
        case platform::MessageIcon::Critical:
            style |= MB_ICONHAND;
            break;
        case platform::MessageIcon::Question:
            style |= MB_ICONQUESTION;
            break;
        case platform::MessageIcon::Exclamation:
            style |= MB_ICONEXCLAMATION;
            break;
        case platform::MessageIcon::Information:
            style |= MB_ICONASTERISK;
            break;
    }
    const std::string caption = request.caption.empty() ? kAppTitle : request.caption;
    switch (::MessageBoxA(owner_, request.text.c_str(), caption.c_str(), style)) {
        case IDCANCEL:
            return platform::MessageAnswer::Cancel;
        case IDYES:
            return platform::MessageAnswer::Yes;
        case IDNO:
            return platform::MessageAnswer::No;
        default:
            return platform::MessageAnswer::Ok;
    }
}

VersionInfo Win32System::ReadVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    VersionInfo version;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    // The manifest's supported-OS entries make this tell the truth on Windows 8.1 and later.
    if (::GetVersionExA(&info) == FALSE) {
        return version;
    }
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    version.size = info.dwOSVersionInfoSize;
    version.majorVersion = info.dwMajorVersion;
    version.minorVersion = info.dwMinorVersion;
    version.buildNumber = info.dwBuildNumber;
    version.platformId = info.dwPlatformId;
    version.servicePack = info.szCSDVersion;
    return version;
}

std::string Win32System::GetTempFolder() {
    char buffer[256] = {};
    const DWORD length = ::GetTempPathA(255, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

bool Win32System::ClaimSingleInstance() {
    // One mutex per program file: its path, lower-cased, with the backslashes that mutex
    // names may not contain replaced.
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    ::CharLowerBuffA(path, length);
    std::string name = "Pellmark:" + std::string(path, length);
    std::replace(name.begin(), name.end(), '\\', '/');
    instanceMutex_.reset(::CreateMutexA(nullptr, FALSE, name.c_str()));
    return !instanceMutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

OsStatus Win32Files::WriteWholeFile(const std::string& path, std::string_view bytes) {
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return LastErrorStatus();
    }
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (::WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) == FALSE ||
            written == 0) {
            return LastErrorStatus();
        }
        bytes.remove_prefix(written);
    }
    if (::CloseHandle(file.release()) == FALSE) {
        return LastErrorStatus();
    }
    return {};
}

namespace {
class FileByteSource final : public platform::ByteSource {
  public:
    explicit FileByteSource(UniqueFile file) noexcept : file_(std::move(file)) {}

    std::size_t Read(char* buffer, std::size_t capacity) override {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 20));
        if (::ReadFile(file_.get(), buffer, chunk, &read, nullptr) == FALSE) {
            return 0;
        }
        return read;
    }

  private:
    UniqueFile file_;
};
}  // namespace

std::unique_ptr<platform::ByteSource> Win32Files::OpenForReading(const std::string& path,
                                                                 OsStatus& status) {
    // No FILE_SHARE_DELETE: Windows 95/98 refuse it. Readers close the file at once instead.
    UniqueFile file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        status = LastErrorStatus();
        return nullptr;
    }
    status = {};
    return std::make_unique<FileByteSource>(std::move(file));
}

OsStatus Win32Files::ListFiles(const std::string& folder, const std::string& pattern,
                               std::vector<std::string>& names) {
    // FindFirstFile reports an empty folder as "file not found"; the folder itself must be
    // there for the list to be read.
    const DWORD attributes = ::GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return {ERROR_PATH_NOT_FOUND, ErrorDescription(ERROR_PATH_NOT_FOUND)};
    }
    WIN32_FIND_DATAA found{};
    UniqueFind search(::FindFirstFileA((folder + pattern).c_str(), &found));
    if (!search) {
        const DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES
                   ? OsStatus{}
                   : OsStatus{code, ErrorDescription(code)};
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.emplace_back(found.cFileName);
        }
    } while (::FindNextFileA(search.get(), &found) != FALSE);
    return {};
}

OsStatus Win32Files::RemoveFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE ? OsStatus{} : LastErrorStatus();
}

OsStatus Win32Files::CreateFolder(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE ? OsStatus{} : LastErrorStatus();
}

std::string Win32Files::ReadProfileString(const std::string& section, const std::string& key,
                                          const std::string& path) {
    char buffer[255] = {};
    const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                    sizeof buffer, path.c_str());
    return std::string(buffer, std::min<DWORD>(length, sizeof buffer - 1));
}

}  // namespace pellmark::win32
