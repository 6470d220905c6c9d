// desktophost LAYOUTFILE [restarted]: shows a stand-in desktop with the icons of a layout file
// (UTF-8) until its Progman window is closed. Exit code 2 when the file cannot be read or
// parsed. "restarted" plays a new Explorer: once ready, it broadcasts "TaskbarCreated".
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/win32/WideText.h"
#include "tools/desktophost/Layout.h"
#include "tools/desktophost/StandInDesktop.h"

namespace {

constexpr int kBadFile = 2;
constexpr int kNoWindows = 1;

// The file's path as typed, whatever its characters: the wide command line, not argv.
std::optional<std::wstring> LayoutPathArgument(bool& restarted) {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::optional<std::wstring> path;
    restarted = arguments != nullptr && count == 3 && std::wstring(arguments[2]) == L"restarted";
    if (arguments != nullptr && (count == 2 || restarted)) {
        path = arguments[1];
    }
    ::LocalFree(arguments);
    return path;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    std::FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? std::nullopt : std::optional<std::string>(std::move(text));
}

}  // namespace

int main() {
    using namespace pellmark::standin;
    bool restarted = false;
    const std::optional<std::wstring> path = LayoutPathArgument(restarted);
    if (!path) {
        std::fprintf(stderr, "usage: desktophost LAYOUTFILE [restarted]\n");
        return kBadFile;
    }
    const std::string shownPath = pellmark::win32::Narrow(*path);
    const std::optional<std::string> text = ReadWholeFile(*path);
    if (!text) {
        std::fprintf(stderr, "desktophost: cannot read %s\n", shownPath.c_str());
        return kBadFile;
    }
    std::string error;
    const std::optional<Layout> layout = ParseLayout(*text, error);
    if (!layout) {
        std::fprintf(stderr, "desktophost: %s: %s\n", shownPath.c_str(), error.c_str());
        return kBadFile;
    }
    std::optional<StandInDesktop> desktop = StandInDesktop::Create(*layout);
    if (!desktop) {
        std::fprintf(stderr, "desktophost: cannot create the desktop windows (error %lu)\n",
                     ::GetLastError());
        return kNoWindows;
    }
    desktop->OnClose([] { ::PostQuitMessage(0); });
    // Scripts wait for this line before they start Pellmark.
    std::printf("desktophost: ready with %zu icons\n", layout->icons.size());
    std::fflush(stdout);
    if (restarted) {
        ::SendNotifyMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
