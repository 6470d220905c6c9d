#include "platform/win32/Win32Services.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <shellapi.h>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibraries.h"

namespace pellmark::win32 {

std::string ErrorDescription(std::uint32_t code) {
    constexpr DWORD kFlags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    std::string description;
    if (UsesWideApi()) {
        wchar_t* text = nullptr;
        const DWORD length = ::FormatMessageW(kFlags, nullptr, code, 0,
                                              reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        if (length != 0 && text != nullptr) {
            description = Narrow(std::wstring_view(text, length));
        }
        ::LocalFree(text);
    } else {
        char* text = nullptr;
        const DWORD length =
            ::FormatMessageA(kFlags, nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
        if (length != 0 && text != nullptr) {
            description = FromAnsi(std::string_view(text, length));
        }
        ::LocalFree(text);
    }
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

std::string ProgramFilePath() {
    if (!UsesWideApi()) {
        char path[MAX_PATH] = {};
        const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        return FromAnsi(std::string_view(path, std::min<DWORD>(length, MAX_PATH)));
    }
    // A path longer than the buffer comes back cut and with the buffer's full length.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD capacity = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            path.resize(length);
            return Narrow(path);
        }
        if (capacity >= 0x10000) {
            return {};  // no path is that long
        }
        path.resize(path.size() * 2);
    }
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
    const std::string caption = request.caption.empty() ? defaultCaption_ : request.caption;
    // MessageBoxW works on 95/98/Me too.
    switch (::MessageBoxW(owner_, Widen(request.text).c_str(), Widen(caption).c_str(), style)) {
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
    if (!UsesWideApi()) {
        char buffer[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(MAX_PATH + 1, buffer);
        return length > 0 && length < sizeof buffer ? FromAnsi(std::string_view(buffer, length))
                                                    : std::string();
    }
    // Asked once for the size, since a temporary folder may be longer than MAX_PATH.
    const DWORD needed = ::GetTempPathW(0, nullptr);
    if (needed == 0) {
        return {};
    }
    std::wstring buffer(needed, L'\0');
    const DWORD length = ::GetTempPathW(needed, buffer.data());
    if (length == 0 || length >= needed) {
        return {};
    }
    buffer.resize(length);
    return Narrow(buffer);
}

bool Win32System::ClaimSingleInstance() {
    // One mutex per program file: its path, lower-cased, with the backslashes that mutex
    // names may not contain replaced.
    const std::string path = ProgramFilePath();
    if (UsesWideApi()) {
        std::wstring name = L"Pellmark:" + Widen(path);
        ::CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
        std::replace(name.begin(), name.end(), L'\\', L'/');
        instanceMutex_.reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    } else {
        // The path came from the ANSI call, so the code page holds it.
        std::string name = "Pellmark:" + ToAnsi(path).value_or(std::string());
        ::CharLowerBuffA(name.data(), static_cast<DWORD>(name.size()));
        std::replace(name.begin(), name.end(), '\\', '/');
        instanceMutex_.reset(::CreateMutexA(nullptr, FALSE, name.c_str()));
    }
    return !instanceMutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void Win32System::OpenAddress(const std::string& address) {
    using ExecuteW = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    using ExecuteA = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    if (UsesWideApi()) {
        if (const auto execute = SystemFunction<ExecuteW>(SystemLibrary::Shell, "ShellExecuteW")) {
            execute(nullptr, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    } else if (const auto ansi = ToAnsi(address)) {
        if (const auto execute = SystemFunction<ExecuteA>(SystemLibrary::Shell, "ShellExecuteA")) {
            execute(nullptr, "open", ansi->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        }
    }
}

void Win32System::SendKeys(std::span<const platform::KeyStroke> keys) {
    // keybd_event rather than SendInput: 95 and NT 4 before SP3 have only this one.
    for (const platform::KeyStroke& key : keys) {
        ::keybd_event(key.virtualKey, 0, key.up ? KEYEVENTF_KEYUP : 0, 0);
    }
}

bool Win32System::SetScreenSaverActive(bool active) {
    // No SPIF_UPDATEINIFILE or SPIF_SENDCHANGE: the switch lasts until the user logs off.
    return ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, 0) > 0;
}

void Win32System::StartScreenSaver(WindowHandle window) {
    ::SendMessageA(reinterpret_cast<HWND>(window), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
}

void Win32System::WriteToConsole(const std::string& text) {
    if (!outputLookedFor_) {
        outputLookedFor_ = true;
        // A script that redirected the output (to a file or a pipe) reads it there. Without
        // that a windowed program has no output of its own, but it may borrow the console
        // of whoever started it (AttachConsole, which 95/98/Me and 2000 lack).
        const HANDLE redirected = ::GetStdHandle(STD_OUTPUT_HANDLE);
        if (redirected != nullptr && redirected != INVALID_HANDLE_VALUE &&
            ::GetFileType(redirected) != FILE_TYPE_UNKNOWN) {
            output_ = redirected;
        } else {
            using AttachConsoleFunction = BOOL(WINAPI*)(DWORD);
            const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
            const auto attach =
                reinterpret_cast<AttachConsoleFunction>(reinterpret_cast<void (*)()>(
                    kernel == nullptr ? nullptr : ::GetProcAddress(kernel, "AttachConsole")));
            if (attach != nullptr && attach(ATTACH_PARENT_PROCESS) != FALSE) {
                console_.reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr));
                output_ = console_.get();
            }
        }
    }
    if (output_ == nullptr) {
        return;
    }
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            line += '\r';
        }
        line += c;
    }
    line += "\r\n";
    // A console shows every character through the wide call; a file or pipe gets UTF-8.
    const std::wstring wide = Widen(line);
    DWORD written = 0;
    if (::WriteConsoleW(output_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) ==
        FALSE) {
        ::WriteFile(output_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

namespace {
// CreateFile for a path in the program's own text.
HANDLE OpenFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    return CallWithText(
        path, INVALID_HANDLE_VALUE,
        [&](const wchar_t* wide) {
            return ::CreateFileW(wide, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        },
        [&](const char* ansi) {
            return ::CreateFileA(ansi, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                                 nullptr);
        });
}

DWORD FileAttributes(const std::string& path) {
    return CallWithText(
        path, INVALID_FILE_ATTRIBUTES,
        [](const wchar_t* wide) { return ::GetFileAttributesW(wide); },
        [](const char* ansi) { return ::GetFileAttributesA(ansi); });
}

// The names FindFirstFile/FindNextFile give for `search`, files only.
template <typename FindData, typename First, typename Next, typename Name>
OsStatus CollectFiles(const FindData& start, First first, Next next, Name name,
                      std::vector<std::string>& names) {
    FindData found = start;
    UniqueFind search(first(&found));
    if (!search) {
        const DWORD code = ::GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_NO_MORE_FILES
                   ? OsStatus{}
                   : OsStatus{code, ErrorDescription(code)};
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(name(found));
        }
    } while (next(search.get(), &found) != FALSE);
    return {};
}
}  // namespace

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
    UniqueFile file(
        OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    if (!file) {
        status = LastErrorStatus();
        return nullptr;
    }
    // "COM1.txt" or "NUL.ips" open a device in any folder, and a serial port's read can
    // wait for ever: only a file on a disk is read.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK) {
        status = {ERROR_INVALID_NAME, ErrorDescription(ERROR_INVALID_NAME)};
        return nullptr;
    }
    status = {};
    return std::make_unique<FileByteSource>(std::move(file));
}

OsStatus Win32Files::ListFiles(const std::string& folder, const std::string& pattern,
                               std::vector<std::string>& names) {
    // FindFirstFile reports an empty folder as "file not found"; the folder itself must be
    // there for the list to be read.
    const DWORD attributes = FileAttributes(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        const DWORD code = ::GetLastError() == ERROR_NO_UNICODE_TRANSLATION
                               ? ERROR_NO_UNICODE_TRANSLATION
                               : ERROR_PATH_NOT_FOUND;
        return {code, ErrorDescription(code)};
    }
    const std::string search = folder + pattern;
    if (UsesWideApi()) {
        const std::wstring wide = Widen(search);
        return CollectFiles(
            WIN32_FIND_DATAW{},
            [&](WIN32_FIND_DATAW* found) { return ::FindFirstFileW(wide.c_str(), found); },
            [](HANDLE find, WIN32_FIND_DATAW* found) { return ::FindNextFileW(find, found); },
            [](const WIN32_FIND_DATAW& found) {
                return NarrowBuffer(found.cFileName, std::size(found.cFileName));
            },
            names);
    }
    // The folder was found through the ANSI call, so the code page holds it; the pattern is
    // the program's own.
    const std::string ansi = win32::ToAnsi(search).value_or(std::string());
    return CollectFiles(
        WIN32_FIND_DATAA{},
        [&](WIN32_FIND_DATAA* found) { return ::FindFirstFileA(ansi.c_str(), found); },
        [](HANDLE find, WIN32_FIND_DATAA* found) { return ::FindNextFileA(find, found); },
        [](const WIN32_FIND_DATAA& found) {
            const char* end =
                std::find(std::begin(found.cFileName), std::end(found.cFileName), '\0');
            return win32::FromAnsi(std::string_view(found.cFileName, end));
        },
        names);
}

OsStatus Win32Files::RemoveFile(const std::string& path) {
    const BOOL removed = CallWithText(
        path, FALSE, [](const wchar_t* wide) { return ::DeleteFileW(wide); },
        [](const char* ansi) { return ::DeleteFileA(ansi); });
    return removed != FALSE ? OsStatus{} : LastErrorStatus();
}

OsStatus Win32Files::CreateFolder(const std::string& path) {
    const BOOL made = CallWithText(
        path, FALSE, [](const wchar_t* wide) { return ::CreateDirectoryW(wide, nullptr); },
        [](const char* ansi) { return ::CreateDirectoryA(ansi, nullptr); });
    return made != FALSE ? OsStatus{} : LastErrorStatus();
}

std::string Win32Files::ReadProfileString(const std::string& section, const std::string& key,
                                          const std::string& path) {
    constexpr DWORD kCapacity = 255;
    if (UsesWideApi()) {
        wchar_t buffer[kCapacity] = {};
        const DWORD length =
            ::GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", buffer,
                                       kCapacity, Widen(path).c_str());
        return Narrow(std::wstring_view(buffer, std::min<DWORD>(length, kCapacity - 1)));
    }
    const auto ansiSection = win32::ToAnsi(section);
    const auto ansiKey = win32::ToAnsi(key);
    const auto ansiPath = win32::ToAnsi(path);
    if (!ansiSection || !ansiKey || !ansiPath) {
        return {};  // what a missing file or key gives
    }
    char buffer[kCapacity] = {};
    const DWORD length = ::GetPrivateProfileStringA(ansiSection->c_str(), ansiKey->c_str(), "",
                                                    buffer, kCapacity, ansiPath->c_str());
    return win32::FromAnsi(std::string_view(buffer, std::min<DWORD>(length, kCapacity - 1)));
}

}  // namespace pellmark::win32
