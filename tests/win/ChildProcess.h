// Programs the Windows tests start from beside themselves, and the ways they talk to them.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/win32/Handles.h"
#include "platform/win32/WideText.h"

namespace pellmark::testcases {

// `name` in the folder of the running test program.
[[nodiscard]] inline std::string BesideThisProgram(const std::string& name) {
    wchar_t self[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string path = win32::Narrow(std::wstring_view(self, length));
    return path.erase(path.find_last_of("\\/") + 1) + name;
}

struct StartedProgram {
    win32::UniqueKernelHandle process;
    DWORD processId = 0;
};

// Starts `program` with its quoted path and then `arguments` as the command line; no process
// (and a test failure) when it cannot.
[[nodiscard]] inline StartedProgram StartProgram(const std::string& program,
                                                 const std::string& arguments) {
    std::wstring line =
        win32::Widen("\"" + program + "\"" + (arguments.empty() ? "" : " ") + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine now and then refuses a start on a busy machine (ERROR_INTERNAL_ERROR, 1359) and
    // takes the same start a moment later; Windows has no such failure. Only that error is
    // tried again: a missing or broken program fails at once.
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            ::Sleep(250);
        }
        if (::CreateProcessW(win32::Widen(program).c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, &startup, &info) != FALSE) {
            ::CloseHandle(info.hThread);
            return {win32::UniqueKernelHandle(info.hProcess), info.dwProcessId};
        }
        error = ::GetLastError();
        if (error != ERROR_INTERNAL_ERROR) {
            break;
        }
    }
    ADD_FAILURE() << "cannot start " << program << ": error " << error;
    return {};
}

// WM_COPYDATA of `payload` with its NUL; true when answered TRUE within five seconds.
[[nodiscard]] inline bool SendCopyData(HWND target, ULONG_PTR kind, const std::string& payload) {
    COPYDATASTRUCT data{};
    data.dwData = kind;
    data.cbData = static_cast<DWORD>(payload.size() + 1);
    data.lpData = const_cast<char*>(payload.c_str());
    DWORD_PTR answer = FALSE;
    return ::SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG, 5000, &answer) != 0 &&
           answer == TRUE;
}

// A fresh empty file in the temporary folder, removed when this goes; an empty path when
// none could be made.
struct TempFile {
    TempFile() {
        wchar_t folder[MAX_PATH] = {};
        wchar_t made[MAX_PATH] = {};
        if (::GetTempPathW(MAX_PATH, folder) != 0 &&
            ::GetTempFileNameW(folder, L"pmk", 0, made) != 0) {
            path = win32::Narrow(made);
        }
    }
    ~TempFile() {
        if (!path.empty()) {
            ::DeleteFileW(win32::Widen(path).c_str());
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    std::string path;
};

}  // namespace pellmark::testcases
