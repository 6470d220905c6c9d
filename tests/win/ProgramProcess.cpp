#include "tests/win/ProgramProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace pellmark::e2e {

namespace {

std::string FolderOfThisProgram() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.resize(folder.find_last_of('\\'));
    return folder;
}

void EmptyAndRemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found{};
    win32::UniqueFind search(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (search) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                EmptyAndRemoveFolder(path);
            } else {
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search.get(), &found) != FALSE);
    }
    search.reset();
    ::RemoveDirectoryA(folder.c_str());
}

struct Search {
    DWORD processId;
    std::string_view className;
    HWND found = nullptr;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    char name[64] = {};
    if (owner == search.processId && ::IsWindowVisible(hwnd) &&
        ::GetClassNameA(hwnd, name, sizeof name) > 0 && search.className == name) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindLongestStatic(HWND hwnd, LPARAM param) {
    auto& text = *reinterpret_cast<std::string*>(param);
    char name[32] = {};
    ::GetClassNameA(hwnd, name, sizeof name);
    if (::lstrcmpiA(name, "Static") == 0) {
        const std::string own = WindowText(hwnd);
        if (own.size() > text.size()) {
            text = own;
        }
    }
    return TRUE;
}

}  // namespace

ProgramFolder::ProgramFolder() {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "pellmark-e2e-" + std::to_string(::GetCurrentProcessId());
    EmptyAndRemoveFolder(path_);
    ::CreateDirectoryA(path_.c_str(), nullptr);
    const std::string built = FolderOfThisProgram() + "\\pellmark.exe";
    EXPECT_NE(::CopyFileA(built.c_str(), Exe().c_str(), FALSE), FALSE) << built;
}

ProgramFolder::~ProgramFolder() {
    EmptyAndRemoveFolder(path_);
}

ProgramProcess::ProgramProcess(win32::UniqueKernelHandle process, DWORD processId)
    : process_(std::move(process)), processId_(processId) {}

ProgramProcess::~ProgramProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 99);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

std::unique_ptr<ProgramProcess> ProgramProcess::Start(const std::string& exe,
                                                      const std::string& commandLine) {
    std::string line = "\"" + exe + "\"";
    if (!commandLine.empty()) {
        line += " " + commandLine;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (::CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info) == FALSE) {
        ADD_FAILURE() << "cannot start " << exe << ": error " << ::GetLastError();
        return nullptr;
    }
    ::CloseHandle(info.hThread);
    return std::unique_ptr<ProgramProcess>(
        new ProgramProcess(win32::UniqueKernelHandle(info.hProcess), info.dwProcessId));
}

std::optional<DWORD> ProgramProcess::WaitForExit(DWORD timeoutMs) {
    if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

HWND ProgramProcess::WaitForMessageBox(std::string& text, DWORD timeoutMs) {
    HWND box = WaitForWindow("#32770", timeoutMs);
    text.clear();
    if (box != nullptr) {
        ::EnumChildWindows(box, &FindLongestStatic, reinterpret_cast<LPARAM>(&text));
    }
    return box;
}

void ProgramProcess::Answer(HWND box, int buttonId) {
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, buttonId)));
}

HWND ProgramProcess::WaitForWindow(const char* className, DWORD timeoutMs) {
    HWND found = nullptr;
    static_cast<void>(WaitUntil(
        [&] { return (found = FindShownWindow(processId_, className)) != nullptr; }, timeoutMs));
    return found;
}

HWND FindShownWindow(DWORD processId, const char* className) {
    Search search{processId, className};
    ::EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FormControl(HWND form, const std::string& name) {
    return static_cast<HWND>(::GetPropA(form, ("Pellmark." + name).c_str()));
}

std::vector<std::string> ListBoxRows(HWND list) {
    // Asked for in UTF-16 and converted here: Wine hands LB_GETTEXT from another process
    // back in UTF-16 even to SendMessageA, while Windows converts for either.
    std::vector<std::string> rows;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring wide(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        const LRESULT copied =
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
        std::string row(wide.size() * 2, '\0');
        const int bytes =
            ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), row.data(),
                                  static_cast<int>(row.size()), nullptr, nullptr);
        row.resize(static_cast<std::size_t>(bytes));
        rows.push_back(row);
    }
    return rows;
}

std::string WindowText(HWND window) {
    // WM_GETTEXT rather than GetWindowText: across processes the latter does not ask an
    // edit box for the text it holds.
    char text[1024] = {};
    DWORD_PTR length = 0;
    if (::SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                              SMTO_ABORTIFHUNG, 5000, &length) == 0) {
        return {};
    }
    return std::string(text, std::min<std::size_t>(length, sizeof text - 1));
}

void SelectListRow(HWND list, int row) {
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::PostMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

}  // namespace pellmark::e2e
