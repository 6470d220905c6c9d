#include "tests/win/TrayStandInProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/WideText.h"
#include "tools/traystandin/TrayStandInProtocol.h"

namespace pellmark::traystandin {

namespace {

constexpr DWORD kWaitMs = 10000;
constexpr UINT kAnswerTimeoutMs = 5000;

TrayRequest ParseRequest(const std::string& line) {
    TrayRequest request;
    const std::size_t tipAt = line.find(" tip=");
    std::istringstream words(line.substr(0, tipAt));
    words >> request.verb;
    for (std::string word; words >> word;) {
        const std::size_t equals = word.find('=');
        request.fields[word.substr(0, equals)] =
            equals == std::string::npos ? "" : word.substr(equals + 1);
    }
    if (tipAt != std::string::npos) {
        request.tip = line.substr(tipAt + 5);
    }
    return request;
}

std::string FolderOfThisProgram() {
    wchar_t self[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string path = win32::Narrow(std::wstring_view(self, length));
    return path.erase(path.find_last_of("\\/") + 1);
}

}  // namespace

std::string HandleText(std::uintptr_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

std::unique_ptr<TrayStandInProcess> TrayStandInProcess::Start() {
    const std::string program = FolderOfThisProgram() + "traystandin.exe";
    std::wstring commandLine = win32::Widen("\"" + program + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(win32::Widen(program).c_str(), commandLine.data(), nullptr, nullptr,
                          FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << "cannot start " << program << " (error " << ::GetLastError() << ")";
        return nullptr;
    }
    const win32::UniqueKernelHandle thread(info.hThread);
    std::unique_ptr<TrayStandInProcess> started(
        new TrayStandInProcess(win32::UniqueKernelHandle(info.hProcess)));
    const ULONGLONG deadline = ::GetTickCount64() + kWaitMs;
    while ((started->window_ = ::FindWindowW(L"Shell_TrayWnd", nullptr)) == nullptr) {
        if (::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0 ||
            ::GetTickCount64() > deadline) {
            ADD_FAILURE() << "the stand-in notification area did not come up";
            return nullptr;
        }
        ::Sleep(20);
    }
    DWORD owner = 0;
    ::GetWindowThreadProcessId(started->window_, &owner);
    EXPECT_EQ(owner, info.dwProcessId) << "another notification area is running";
    return started;
}

TrayStandInProcess::~TrayStandInProcess() {
    if (::PostMessageW(window_, WM_CLOSE, 0, 0) == FALSE ||
        ::WaitForSingleObject(process_.get(), kWaitMs) != WAIT_OBJECT_0) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), kWaitMs);
    }
}

std::vector<TrayRequest> TrayStandInProcess::Log() const {
    wchar_t folder[MAX_PATH];
    wchar_t path[MAX_PATH];
    if (::GetTempPathW(MAX_PATH, folder) == 0 || ::GetTempFileNameW(folder, L"pmt", 0, path) == 0) {
        ADD_FAILURE() << "no temporary file";
        return {};
    }
    std::vector<TrayRequest> requests;
    if (!Send(kCopyDataLog, win32::Narrow(path))) {
        ADD_FAILURE() << "the stand-in did not write its log";
    } else {
        std::ifstream file{std::filesystem::path(path)};
        for (std::string line; std::getline(file, line);) {
            requests.push_back(ParseRequest(line));
        }
    }
    ::DeleteFileW(path);
    return requests;
}

std::vector<TrayRequest> TrayStandInProcess::Log(const std::string& verb) const {
    std::vector<TrayRequest> found;
    for (TrayRequest& request : Log()) {
        if (request.verb == verb) {
            found.push_back(std::move(request));
        }
    }
    return found;
}

bool TrayStandInProcess::Click(HWND owner, UINT mouseMessage, UINT id) const {
    return Send(kCopyDataClick,
                HandleText(owner) + " " + HandleText(id) + " " + std::to_string(mouseMessage));
}

void TrayStandInProcess::Restart() const {
    EXPECT_TRUE(Send(kCopyDataRestart, "")) << "the stand-in did not start again";
}

bool TrayStandInProcess::Send(std::uintptr_t kind, const std::string& payload) const {
    COPYDATASTRUCT data{};
    data.dwData = kind;
    data.cbData = static_cast<DWORD>(payload.size() + 1);
    data.lpData = const_cast<char*>(payload.c_str());
    DWORD_PTR answer = FALSE;
    return ::SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                 SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &answer) != 0 &&
           answer == TRUE;
}

}  // namespace pellmark::traystandin
