#include "platform/win32/Win32Shell.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {

constexpr DWORD kUserNameCapacity = 128;

int FolderId(platform::ShellFolder folder) {
    return folder == platform::ShellFolder::Desktop ? CSIDL_DESKTOPDIRECTORY : CSIDL_PROGRAMS;
}

std::string WithoutTrailingBackslash(std::string folder) {
    while (!folder.empty() && folder.back() == '\\') {
        folder.pop_back();
    }
    return folder;
}

// SHGetFolderPath came with Windows 2000 (and with Internet Explorer 5 on older systems);
// SHGetSpecialFolderPath with the shell of Internet Explorer 4.
std::optional<std::string> WideUserFolder(int id) {
    using FolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    using SpecialFolderPath = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
    wchar_t path[MAX_PATH] = {};
    if (const auto folderPath =
            SystemFunction<FolderPath>(SystemLibrary::Shell, "SHGetFolderPathW")) {
        if (FAILED(folderPath(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) {
            return std::nullopt;
        }
    } else if (const auto special = SystemFunction<SpecialFolderPath>(SystemLibrary::Shell,
                                                                      "SHGetSpecialFolderPathW")) {
        if (special(nullptr, path, id, FALSE) == FALSE) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return NarrowBuffer(path, MAX_PATH);
}

std::optional<std::string> AnsiUserFolder(int id) {
    using FolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    using SpecialFolderPath = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
    char path[MAX_PATH] = {};
    if (const auto folderPath =
            SystemFunction<FolderPath>(SystemLibrary::Shell, "SHGetFolderPathA")) {
        if (FAILED(folderPath(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path))) {
            return std::nullopt;
        }
    } else if (const auto special = SystemFunction<SpecialFolderPath>(SystemLibrary::Shell,
                                                                      "SHGetSpecialFolderPathA")) {
        if (special(nullptr, path, id, FALSE) == FALSE) {
            return std::nullopt;
        }
    } else {
        return std::nullopt;
    }
    return FromAnsi(std::string_view(path, ::lstrlenA(path)));
}

OsStatus StatusOf(HRESULT result) {
    if (SUCCEEDED(result)) {
        return {};
    }
    // A Win32 error wrapped in an HRESULT gives its own code; any other failure its HRESULT.
    const auto code = HRESULT_FACILITY(result) == FACILITY_WIN32
                          ? static_cast<std::uint32_t>(HRESULT_CODE(result))
                          : static_cast<std::uint32_t>(result);
    return {code, ErrorDescription(code)};
}

OsStatus NotInCodePage() {
    return {ERROR_NO_UNICODE_TRANSLATION, ErrorDescription(ERROR_NO_UNICODE_TRANSLATION)};
}

// The link's own file is always named in UTF-16, on every system.
OsStatus SaveLink(IUnknown& link, const std::string& linkPath) {
    ComPtr<IPersistFile> file;
    HRESULT result = link.QueryInterface(IID_IPersistFile, file.put_void());
    if (SUCCEEDED(result)) {
        result = file->Save(Widen(linkPath).c_str(), TRUE);
    }
    return StatusOf(result);
}

OsStatus LoadLink(IUnknown& link, const std::string& linkPath) {
    ComPtr<IPersistFile> file;
    HRESULT result = link.QueryInterface(IID_IPersistFile, file.put_void());
    if (SUCCEEDED(result)) {
        result = file->Load(Widen(linkPath).c_str(), STGM_READ);
    }
    return StatusOf(result);
}

}  // namespace

Win32Shell::Win32Shell() : wideCalls_(UsesWideApi()) {}

std::string Win32Shell::LogonUserName() {
    DWORD size = kUserNameCapacity;
    if (wideCalls_) {
        wchar_t name[kUserNameCapacity] = {};
        if (::GetUserNameW(name, &size) == FALSE || size == 0) {
            return {};
        }
        // The count includes the terminating NUL.
        return Narrow(std::wstring_view(name, size - 1));
    }
    char name[kUserNameCapacity] = {};
    if (::GetUserNameA(name, &size) == FALSE || size == 0) {
        return {};
    }
    return FromAnsi(std::string_view(name, size - 1));
}

std::string Win32Shell::WindowsFolder() {
    if (wideCalls_) {
        wchar_t folder[MAX_PATH] = {};
        const UINT length = ::GetWindowsDirectoryW(folder, MAX_PATH);
        return length == 0 || length >= MAX_PATH
                   ? std::string()
                   : WithoutTrailingBackslash(Narrow(std::wstring_view(folder, length)));
    }
    char folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
    return length == 0 || length >= MAX_PATH
               ? std::string()
               : WithoutTrailingBackslash(FromAnsi(std::string_view(folder, length)));
}

std::optional<std::string> Win32Shell::UserFolder(platform::ShellFolder folder) {
    const int id = FolderId(folder);
    std::optional<std::string> path = wideCalls_ ? WideUserFolder(id) : AnsiUserFolder(id);
    if (!path || path->empty()) {
        return std::nullopt;
    }
    return WithoutTrailingBackslash(std::move(*path));
}

OsStatus Win32Shell::CreateShortcut(const std::string& linkPath, const std::string& target,
                                    const std::string& workingFolder) {
    const ComScope com;
    if (wideCalls_) {
        ComPtr<IShellLinkW> link;
        HRESULT result = ComCreateInstance(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           link.put_void());
        if (SUCCEEDED(result)) {
            result = link->SetPath(Widen(target).c_str());
        }
        if (SUCCEEDED(result)) {
            result = link->SetWorkingDirectory(Widen(workingFolder).c_str());
        }
        return SUCCEEDED(result) ? SaveLink(*link.get(), linkPath) : StatusOf(result);
    }
    // The ANSI link holds only what the code page can: a path it cannot hold is refused,
    // never written as another path.
    const auto ansiTarget = ToAnsi(target);
    const auto ansiFolder = ToAnsi(workingFolder);
    if (!ansiTarget || !ansiFolder) {
        return NotInCodePage();
    }
    ComPtr<IShellLinkA> link;
    HRESULT result =
        ComCreateInstance(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.put_void());
    if (SUCCEEDED(result)) {
        result = link->SetPath(ansiTarget->c_str());
    }
    if (SUCCEEDED(result)) {
        result = link->SetWorkingDirectory(ansiFolder->c_str());
    }
    return SUCCEEDED(result) ? SaveLink(*link.get(), linkPath) : StatusOf(result);
}

std::optional<platform::ShortcutTarget> Win32Shell::ReadShortcut(const std::string& linkPath) {
    const ComScope com;
    if (wideCalls_) {
        ComPtr<IShellLinkW> link;
        if (FAILED(ComCreateInstance(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     link.put_void())) ||
            !LoadLink(*link.get(), linkPath).ok()) {
            return std::nullopt;
        }
        wchar_t target[MAX_PATH] = {};
        wchar_t folder[MAX_PATH] = {};
        if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
            FAILED(link->GetWorkingDirectory(folder, MAX_PATH))) {
            return std::nullopt;
        }
        return platform::ShortcutTarget{NarrowBuffer(target, MAX_PATH),
                                        NarrowBuffer(folder, MAX_PATH)};
    }
    ComPtr<IShellLinkA> link;
    if (FAILED(ComCreateInstance(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 link.put_void())) ||
        !LoadLink(*link.get(), linkPath).ok()) {
        return std::nullopt;
    }
    char target[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
        FAILED(link->GetWorkingDirectory(folder, MAX_PATH))) {
        return std::nullopt;
    }
    return platform::ShortcutTarget{FromAnsi(std::string_view(target, ::lstrlenA(target))),
                                    FromAnsi(std::string_view(folder, ::lstrlenA(folder)))};
}

}  // namespace pellmark::win32
