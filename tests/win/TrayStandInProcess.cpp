#include "tests/win/TrayStandInProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/WideText.h"
#include "tests/win/ChildProcess.h"
#include "tools/traystandin/TrayStandInProtocol.h"

namespace pellmark::traystandin {

namespace {

constexpr DWORD kWaitMs = 10000;

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

}  // namespace

std::string HandleText(std::uintptr_t value) {
    char text[20];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

std::unique_ptr<TrayStandInProcess> TrayStandInProcess::Start() {
    testcases::StartedProgram program =
        testcases::StartProgram(testcases::BesideThisProgram("traystandin.exe"), "");
    if (!program.process) {
        return nullptr;
    }
    const HANDLE process = program.process.get();
    std::unique_ptr<TrayStandInProcess> started(new TrayStandInProcess(std::move(program.process)));
    const ULONGLONG deadline = ::GetTickCount64() + kWaitMs;
    while ((started->window_ = ::FindWindowW(L"Shell_TrayWnd", nullptr)) == nullptr) {
        if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || ::GetTickCount64() > deadline) {
            ADD_FAILURE() << "the stand-in notification area did not come up";
            return nullptr;
        }
        ::Sleep(20);
    }
    DWORD owner = 0;
    ::GetWindowThreadProcessId(started->window_, &owner);
    EXPECT_EQ(owner, program.processId) << "another notification area is running";
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
    const testcases::TempFile file;
    std::vector<TrayRequest> requests;
    if (file.path.empty() || !Send(kCopyDataLog, file.path)) {
        ADD_FAILURE() << "the stand-in did not write its log";
        return requests;
    }
    std::ifstream in{std::filesystem::path(win32::Widen(file.path))};
    for (std::string line; std::getline(in, line);) {
        requests.push_back(ParseRequest(line));
    }
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
    return testcases::SendCopyData(window_, kind, payload);
}

}  // namespace pellmark::traystandin
