#include "platform/win32/Win32Wallpaper.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {

constexpr UINT kUpdateAndTell = SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE;

void SetWallpaperFile(const std::string& path) {
    static_cast<void>(CallWithText(
        path, FALSE,
        [](const wchar_t* wide) {
            return ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, const_cast<wchar_t*>(wide),
                                           kUpdateAndTell);
        },
        [](const char* ansi) {
            return ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(ansi),
                                           kUpdateAndTell);
        }));
}

bool IsListedFolder(DWORD attributes, const auto& name) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (attributes & FILE_ATTRIBUTE_HIDDEN) != 0) {
        return false;
    }
    // "." and "..".
    return !(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)));
}

// The first entry matching `path` (no wildcards in it: the file itself).
template <typename FindData, typename First>
bool FindEntry(First first, FindData& found) {
    UniqueFind search(first(&found));
    return static_cast<bool>(search);
}

}  // namespace

void Win32Wallpaper::SetDesktopWallpaper(const std::string& path) {
    SetWallpaperFile(path);
}

void Win32Wallpaper::RemoveDesktopWallpaper() {
    // The NT family takes an empty name for no wallpaper; 95, 98 and Me the word "(None)".
    SetWallpaperFile(UsesWideApi() ? std::string() : std::string("(None)"));
}

std::vector<std::string> Win32Wallpaper::Drives() {
    std::vector<std::string> drives;
    const DWORD present = ::GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((present & (1u << letter)) != 0) {
            std::string root(1, static_cast<char>('a' + letter));
            root += ":\\";
            drives.push_back(root);
        }
    }
    return drives;
}

OsStatus Win32Wallpaper::ListFolders(const std::string& folder, std::vector<std::string>& names) {
    std::string search = folder;
    search += '*';
    if (UsesWideApi()) {
        const std::wstring wide = Widen(search);
        WIN32_FIND_DATAW found{};
        UniqueFind find(::FindFirstFileW(wide.c_str(), &found));
        if (!find) {
            return LastErrorStatus();
        }
        do {
            if (IsListedFolder(found.dwFileAttributes, found.cFileName)) {
                names.push_back(NarrowBuffer(found.cFileName, std::size(found.cFileName)));
            }
        } while (::FindNextFileW(find.get(), &found) != FALSE);
        return {};
    }
    const std::optional<std::string> ansi = ToAnsi(search);
    WIN32_FIND_DATAA found{};
    UniqueFind find(ansi ? ::FindFirstFileA(ansi->c_str(), &found) : INVALID_HANDLE_VALUE);
    if (!find) {
        return ansi ? LastErrorStatus()
                    : OsStatus{ERROR_NO_UNICODE_TRANSLATION,
                               ErrorDescription(ERROR_NO_UNICODE_TRANSLATION)};
    }
    do {
        if (IsListedFolder(found.dwFileAttributes, found.cFileName)) {
            const char* end =
                std::find(std::begin(found.cFileName), std::end(found.cFileName), '\0');
            names.push_back(FromAnsi(std::string_view(found.cFileName, end)));
        }
    } while (::FindNextFileA(find.get(), &found) != FALSE);
    return {};
}

std::optional<std::uint64_t> Win32Wallpaper::FileSize(const std::string& path) {
    DWORD attributes = 0;
    DWORD high = 0;
    DWORD low = 0;
    if (UsesWideApi()) {
        WIN32_FIND_DATAW found{};
        const std::wstring wide = Widen(path);
        if (!FindEntry([&](WIN32_FIND_DATAW* data) { return ::FindFirstFileW(wide.c_str(), data); },
                       found)) {
            return std::nullopt;
        }
        attributes = found.dwFileAttributes;
        high = found.nFileSizeHigh;
        low = found.nFileSizeLow;
    } else {
        const std::optional<std::string> ansi = ToAnsi(path);
        WIN32_FIND_DATAA found{};
        if (!ansi ||
            !FindEntry(
                [&](WIN32_FIND_DATAA* data) { return ::FindFirstFileA(ansi->c_str(), data); },
                found)) {
            return std::nullopt;
        }
        attributes = found.dwFileAttributes;
        high = found.nFileSizeHigh;
        low = found.nFileSizeLow;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

std::string Win32Wallpaper::GroupSeparator() {
    if (UsesWideApi()) {
        wchar_t separator[8] = {};
        if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator,
                             static_cast<int>(std::size(separator))) > 0) {
            return NarrowBuffer(separator, std::size(separator));
        }
        return ",";
    }
    char separator[8] = {};
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator,
                         static_cast<int>(std::size(separator))) > 0) {
        return FromAnsi(separator);
    }
    return ",";
}

std::pair<int, int> Win32Wallpaper::VirtualScreenSize() {
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    // Windows 95 and NT 4 know one screen only, and answer 0 here.
    if (width <= 0 || height <= 0) {
        return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    }
    return {width, height};
}

std::string Win32Wallpaper::CurrentWallpaper() {
    if (UsesWideApi()) {
        wchar_t path[MAX_PATH * 2] = {};
        ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, static_cast<UINT>(std::size(path)), path, 0);
        return NarrowBuffer(path, std::size(path));
    }
    char path[MAX_PATH] = {};
    ::SystemParametersInfoA(SPI_GETDESKWALLPAPER, static_cast<UINT>(std::size(path)), path, 0);
    return FromAnsi(path);
}

}  // namespace pellmark::win32
