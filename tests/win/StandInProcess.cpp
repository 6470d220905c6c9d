#include "tests/win/StandInProcess.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <ostream>
#include <vector>

#include "platform/win32/WideText.h"
#include "tests/win/FileBytes.h"
#include "tools/desktophost/StandInProtocol.h"

namespace pellmark::standin {

namespace {

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kStopTimeoutMs = 10000;
constexpr UINT kAnswerTimeoutMs = 5000;

// A fresh empty file in the temporary folder; null path when none could be made.
[[nodiscard]] std::string MakeTempFile() {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    if (::GetTempPathW(MAX_PATH, folder) == 0 || ::GetTempFileNameW(folder, L"pmk", 0, path) == 0) {
        return {};
    }
    return win32::Narrow(path);
}

void DeleteFileAt(const std::string& path) {
    ::DeleteFileW(win32::Widen(path).c_str());
}

// Deletes its file when it goes.
struct TempFile {
    std::string path = MakeTempFile();
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (!path.empty()) {
            DeleteFileAt(path);
        }
    }
};

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    wchar_t name[64];
    if (owner == search.processId && ::GetClassNameW(hwnd, name, std::size(name)) > 0 &&
        std::wstring_view(name) == search.className) {
        search.found.push_back(hwnd);
    }
    return TRUE;
}

[[nodiscard]] std::vector<HWND> TopLevelWindowsOf(DWORD processId, const wchar_t* className) {
    WindowSearch search{processId, className, {}};
    ::EnumWindows(&CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

[[nodiscard]] HWND ListViewUnder(HWND top) {
    HWND defView = ::FindWindowExW(top, nullptr, L"SHELLDLL_DefView", nullptr);
    return defView == nullptr ? nullptr : ::FindWindowExW(defView, nullptr, WC_LISTVIEWW, nullptr);
}

[[nodiscard]] bool SendCopyData(HWND target, ULONG_PTR kind, const std::string& payload) {
    COPYDATASTRUCT data{};
    data.dwData = kind;
    data.cbData = static_cast<DWORD>(payload.size() + 1);  // with its NUL
    data.lpData = const_cast<char*>(payload.c_str());
    DWORD_PTR answer = FALSE;
    return ::SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) != 0 &&
           answer == TRUE;
}

}  // namespace

StandInProcess::StandInProcess(win32::UniqueKernelHandle process, DWORD processId,
                               std::string layoutPath)
    : process_(std::move(process)), processId_(processId), layoutPath_(std::move(layoutPath)) {}

std::string StandInProcess::HostPath() {
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string path = win32::Narrow(std::wstring_view(self, length));
    path.erase(path.find_last_of("\\/") + 1);
    return path + "desktophost.exe";
}

StandInProcess::~StandInProcess() {
    static_cast<void>(Stop());
    if (!layoutPath_.empty()) {
        DeleteFileAt(layoutPath_);
    }
}

std::unique_ptr<StandInProcess> StandInProcess::Start(const Layout& layout, bool restarted) {
    std::string layoutPath = MakeTempFile();
    if (layoutPath.empty() || !testcases::WriteFileBytes(layoutPath, FormatLayout(layout))) {
        ADD_FAILURE() << "cannot write the layout file " << layoutPath;
        DeleteFileAt(layoutPath);
        return nullptr;
    }
    const std::string host = HostPath();
    std::wstring commandLine =
        win32::Widen("\"" + host + "\" \"" + layoutPath + "\"" + (restarted ? " restarted" : ""));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(win32::Widen(host).c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start " << host << " (error " << ::GetLastError() << ")";
        DeleteFileAt(layoutPath);
        return nullptr;
    }
    const win32::UniqueKernelHandle thread(info.hThread);
    std::unique_ptr<StandInProcess> started(new StandInProcess(
        win32::UniqueKernelHandle(info.hProcess), info.dwProcessId, std::move(layoutPath)));
    ::WaitForInputIdle(info.hProcess, kStartTimeoutMs);
    const ULONGLONG deadline = ::GetTickCount64() + kStartTimeoutMs;
    while (!started->FindWindows(layout.icons.size())) {
        if (::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(info.hProcess, &code);
            ADD_FAILURE() << "the desktop host ended early with exit code " << code;
            return nullptr;
        }
        if (::GetTickCount64() > deadline) {
            ADD_FAILURE() << "the desktop host did not show its icons in time";
            return nullptr;
        }
        ::Sleep(20);
    }
    return started;
}

bool StandInProcess::FindWindows(std::size_t iconCount) {
    const std::vector<HWND> progmans = TopLevelWindowsOf(processId_, L"Progman");
    if (progmans.size() != 1) {
        return false;
    }
    HWND list = ListViewUnder(progmans.front());
    for (HWND workerW : TopLevelWindowsOf(processId_, L"WorkerW")) {
        if (list == nullptr) {
            list = ListViewUnder(workerW);
        }
    }
    DWORD_PTR count = 0;
    if (list == nullptr ||
        ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                              &count) == 0 ||
        count != iconCount) {
        return false;
    }
    progman_ = progmans.front();
    listView_ = list;
    return true;
}

Layout StandInProcess::Dump() const {
    const TempFile file;
    if (file.path.empty() || !SendCopyData(progman_, kCopyDataDump, file.path)) {
        ADD_FAILURE() << "the desktop host did not write its layout";
        return {};
    }
    const std::optional<std::string> text = testcases::ReadFileBytes(file.path);
    std::string error;
    std::optional<Layout> layout = text ? ParseLayout(*text, error) : std::nullopt;
    if (!layout) {
        ADD_FAILURE() << "unreadable layout from the desktop host: " << error;
        return {};
    }
    return std::move(*layout);
}

void StandInProcess::SetAutoArrange(bool on) const {
    if (!SendCopyData(progman_, kCopyDataAutoArrange, on ? "1" : "0")) {
        ADD_FAILURE() << "the desktop host refused to change auto-arrange";
    }
}

void StandInProcess::InsertFirst(const Layout& arriving) const {
    if (!SendCopyData(progman_, kCopyDataInsertFirst, FormatLayout(arriving))) {
        ADD_FAILURE() << "the desktop host refused the new icons";
    }
}

void StandInProcess::Scramble() const {
    // No address travels with LVM_SETITEMPOSITION, so it can go straight to the other process.
    const auto count = static_cast<int>(::SendMessageW(listView_, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        ::SendMessageW(listView_, LVM_SETITEMPOSITION, static_cast<WPARAM>(i),
                       MAKELPARAM(40 + (i * 37) % 700, 60 + (i * 13) % 500));
    }
}

bool StandInProcess::Stop() {
    if (!process_) {
        return false;
    }
    bool clean = false;
    if (::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        // Without its window (it never came up) there is nothing to ask: it is killed.
        if (progman_ != nullptr && ::PostMessageW(progman_, WM_CLOSE, 0, 0) &&
            ::WaitForSingleObject(process_.get(), kStopTimeoutMs) == WAIT_OBJECT_0) {
            DWORD code = 1;
            clean = ::GetExitCodeProcess(process_.get(), &code) && code == 0;
        } else {
            ::TerminateProcess(process_.get(), 1);
            ::WaitForSingleObject(process_.get(), kStopTimeoutMs);
        }
    }
    process_.reset();
    return clean;
}

bool SetScreenSize(DWORD width, DWORD height) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ::ChangeDisplaySettingsW(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void PrintTo(const Layout& layout, std::ostream* out) {
    *out << "\n" << FormatLayout(layout);
}

void PrintTo(const LayoutIcon& icon, std::ostream* out) {
    *out << FormatLayout(Layout{.icons = {icon}});
}

Layout AwkwardLayout() {
    const std::string captions[] = {
        "Recycle Bin",
        "A caption that is forty-five characters long.",
        "Smith, John - letter, final, really final.doc",
        "\"Quoted\" shortcut",
        "It's got 'single' quotes",
        "   three leading spaces",
        "trailing spaces   ",
        "x",
        "Caf\u00E9 \u00A9 na\u00EFve \u00C4rger",  // the Western ANSI code page holds these
        "semi;colon & ampersand %PATH%",
    };
    const POINT positions[] = {{0, 0},       {17000, 2},  {16999, 700}, {-75, 10}, {10, -40},
                               {-500, -500}, {1023, 767}, {75, 0},      {3, 4000}, {8000, 300}};
    Layout layout;
    for (int i = 0; i < 60; ++i) {
        std::string caption = captions[i % std::size(captions)];
        if (i >= static_cast<int>(std::size(captions))) {
            caption += " (" + std::to_string(i) + ")";
        }
        const POINT base = positions[i % std::size(positions)];
        layout.icons.push_back({.caption = caption,
                                .x = base.x + (i / 10) * 75,
                                .y = base.y + (i / 10) * 75,
                                .image = i % 8});
    }
    return layout;
}

}  // namespace pellmark::standin
