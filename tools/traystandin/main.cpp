// traystandin: a stand-in notification area. It shows a hidden Shell_TrayWnd window, which
// is where the system's Shell_NotifyIcon hands its requests, keeps the icons it was given
// as the taskbar would, and answers the tests' messages of TrayStandInProtocol.h until its
// window is closed.
//
// What arrives is what Wine's shell32 sends, seen by running it: WM_COPYDATA with the
// owner window in wParam, dwData the NIM_* request, and a record of Wine's own, the same
// whatever layout the program passed: hWnd as 32 bits, uID, uFlags, uCallbackMessage,
// a 128-character wide tip, the balloon fields, and from byte 944 the icon's width,
// height, planes and bit depth followed by its bits. Explorer on Windows is handed another
// record; where the two differ this follows what Windows documents for the program's side:
// an add of an icon it already holds and a change or removal of one it does not hold are
// refused, and a click reaches the owner as the callback message with the icon's id in
// wParam and the mouse message in lParam (the first-version protocol).
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/WideText.h"
#include "tools/traystandin/TrayStandInProtocol.h"

namespace {

using pellmark::win32::NarrowBuffer;
using pellmark::win32::Widen;

// Wine's record, as observed.
constexpr std::size_t kWindowAt = 0;
constexpr std::size_t kIdAt = 4;
constexpr std::size_t kFlagsAt = 8;
constexpr std::size_t kCallbackAt = 12;
constexpr std::size_t kTipAt = 16;
constexpr std::size_t kTipCharacters = 128;
constexpr std::size_t kIconWidthAt = 944;
constexpr std::size_t kIconHeightAt = 948;
constexpr std::size_t kIconBitsAt = 960;
constexpr UINT kIconFlag = 2;  // NIF_ICON

struct Icon {
    UINT flags = 0;
    UINT callback = 0;
};

std::vector<std::string> g_log;
std::map<std::pair<UINT, UINT>, Icon> g_icons;  // by window and id

UINT ReadUint(const BYTE* data, std::size_t offset) {
    UINT value = 0;
    std::memcpy(&value, data + offset, sizeof value);
    return value;
}

std::string Hex(UINT value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

HWND WindowFrom32(UINT value) {
    // Window handles are 32-bit values, sign-extended in a 64-bit process.
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(value)));
}

const char* VerbOf(ULONG_PTR request) {
    static constexpr const char* kVerbs[] = {"add", "modify", "delete", "focus", "version"};
    return request < std::size(kVerbs) ? kVerbs[request] : "unknown";
}

// One request of the system's Shell_NotifyIcon.
BOOL TakeShellRequest(ULONG_PTR request, const BYTE* data, DWORD size) {
    if (data == nullptr || size < kIconBitsAt) {
        g_log.push_back(std::string("unreadable ") + std::to_string(size));
        return FALSE;
    }
    const UINT window = ReadUint(data, kWindowAt);
    const UINT id = ReadUint(data, kIdAt);
    const UINT flags = ReadUint(data, kFlagsAt);
    const UINT callback = ReadUint(data, kCallbackAt);
    wchar_t tip[kTipCharacters];
    std::memcpy(tip, data + kTipAt, sizeof tip);
    const UINT width = ReadUint(data, kIconWidthAt);
    const UINT height = ReadUint(data, kIconHeightAt);
    const bool hasIcon = (flags & kIconFlag) != 0 && width > 0 && height > 0;

    const auto key = std::make_pair(window, id);
    const bool held = g_icons.count(key) != 0;
    BOOL answer = FALSE;
    switch (request) {
        case NIM_ADD:
            if (!held) {
                g_icons[key] = Icon{flags, callback};
                answer = TRUE;
            }
            break;
        case NIM_MODIFY:
            if (held) {
                if ((flags & NIF_MESSAGE) != 0) {
                    g_icons[key].callback = callback;
                }
                answer = TRUE;
            }
            break;
        case NIM_DELETE:
            answer = g_icons.erase(key) != 0 ? TRUE : FALSE;
            break;
        default:
            answer = held ? TRUE : FALSE;
            break;
    }
    g_log.push_back(
        std::string(VerbOf(request)) + " hwnd=" + Hex(window) + " id=" + std::to_string(id) +
        " flags=" + std::to_string(flags) + " callback=" + Hex(callback) +
        " icon=" + (hasIcon ? std::to_string(width) + "x" + std::to_string(height) : "-") +
        " answer=" + std::to_string(answer) + " tip=" + NarrowBuffer(tip, kTipCharacters));
    return answer;
}

BOOL WriteLog(const char* path, DWORD size) {
    if (path == nullptr || size == 0 || path[size - 1] != '\0') {
        return FALSE;
    }
    std::FILE* file = ::_wfopen(Widen(path).c_str(), L"wb");
    if (file == nullptr) {
        return FALSE;
    }
    for (const std::string& line : g_log) {
        std::fputs(line.c_str(), file);
        std::fputc('\n', file);
    }
    return std::fclose(file) == 0 ? TRUE : FALSE;
}

BOOL Click(const char* text, DWORD size) {
    if (text == nullptr || size == 0 || text[size - 1] != '\0') {
        return FALSE;
    }
    std::istringstream in(text);
    UINT window = 0;
    UINT id = 0;
    UINT mouse = 0;
    if (!(in >> std::hex >> window >> id >> std::dec >> mouse)) {
        return FALSE;
    }
    const auto found = g_icons.find({window, id});
    if (found == g_icons.end() || (found->second.flags & NIF_MESSAGE) == 0) {
        return FALSE;
    }
    g_log.push_back("click hwnd=" + Hex(window) + " id=" + std::to_string(id) +
                    " message=" + std::to_string(mouse));
    return ::PostMessageW(WindowFrom32(window), found->second.callback, id, mouse);
}

void Restart() {
    g_icons.clear();
    g_log.emplace_back("restart");
    static const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    ::SendNotifyMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
}

LRESULT CALLBACK TrayProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COPYDATA: {
            const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const auto* bytes = static_cast<const BYTE*>(data.lpData);
            switch (data.dwData) {
                case pellmark::traystandin::kCopyDataLog:
                    return WriteLog(reinterpret_cast<const char*>(bytes), data.cbData);
                case pellmark::traystandin::kCopyDataClick:
                    return Click(reinterpret_cast<const char*>(bytes), data.cbData);
                case pellmark::traystandin::kCopyDataRestart:
                    Restart();
                    return TRUE;
                default:
                    return TakeShellRequest(data.dwData, bytes, data.cbData);
            }
        }
        case WM_CLOSE:
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int main() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr) {
        std::fprintf(stderr, "traystandin: a notification area is running already\n");
        return 1;
    }
    WNDCLASSW type{};
    type.lpfnWndProc = &TrayProcedure;
    type.hInstance = instance;
    type.lpszClassName = L"Shell_TrayWnd";
    if (::RegisterClassW(&type) == 0 ||
        ::CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                          nullptr, instance, nullptr) == nullptr) {
        std::fprintf(stderr, "traystandin: cannot create its window (error %lu)\n",
                     ::GetLastError());
        return 1;
    }
    std::printf("traystandin: ready\n");
    std::fflush(stdout);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    return 0;
}
