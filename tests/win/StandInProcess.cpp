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

}  // namespace

std::string StandInProcess::HostPath() {
    return testcases::BesideThisProgram("desktophost.exe");
}

StandInProcess::~StandInProcess() {
    static_cast<void>(Stop());
}

std::unique_ptr<StandInProcess> StandInProcess::Start(const Layout& layout, bool restarted) {
    std::unique_ptr<StandInProcess> started(new StandInProcess);
    const std::string& layoutPath = started->layoutFile_.path;
    if (layoutPath.empty() || !testcases::WriteFileBytes(layoutPath, FormatLayout(layout))) {
        ADD_FAILURE() << "cannot write the layout file " << layoutPath;
        return nullptr;
    }
    testcases::StartedProgram host = testcases::StartProgram(
        HostPath(), "\"" + layoutPath + "\"" + (restarted ? " restarted" : ""));
    if (!host.process) {
        return nullptr;
    }
    started->process_ = std::move(host.process);
    started->processId_ = host.processId;
    const HANDLE process = started->process_.get();
    ::WaitForInputIdle(process, kStartTimeoutMs);
    const ULONGLONG deadline = ::GetTickCount64() + kStartTimeoutMs;
    while (!started->FindWindows(layout.icons.size())) {
        if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process, &code);
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
    const testcases::TempFile file;
    if (file.path.empty() || !testcases::SendCopyData(progman_, kCopyDataDump, file.path)) {
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
    if (!testcases::SendCopyData(progman_, kCopyDataAutoArrange, on ? "1" : "0")) {
        ADD_FAILURE() << "the desktop host refused to change auto-arrange";
    }
}

void StandInProcess::InsertFirst(const Layout& arriving) const {
    if (!testcases::SendCopyData(progman_, kCopyDataInsertFirst, FormatLayout(arriving))) {
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
