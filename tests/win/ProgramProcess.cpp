#include "tests/win/ProgramProcess.h"

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/win32/WideText.h"
#include "tests/win/ChildProcess.h"
#include "tests/win/RegistryText.h"
#include "tests/win/ScratchFolder.h"

namespace pellmark::e2e {

using win32::Narrow;
using win32::Widen;

namespace {

constexpr const char* kSettingsKey = "Software\\Pellmark";

using testcases::IsFolder;

void CopyFolder(const std::string& from, const std::string& to) {
    ::CreateDirectoryW(Widen(to).c_str(), nullptr);
    for (const std::string& name : testcases::FolderNames(from)) {
        if (IsFolder(from + "\\" + name)) {
            CopyFolder(from + "\\" + name, to + "\\" + name);
        } else {
            EXPECT_NE(::CopyFileW(Widen(from + "\\" + name).c_str(),
                                  Widen(to + "\\" + name).c_str(), FALSE),
                      FALSE)
                << name;
        }
    }
}

std::string ClassName(HWND hwnd) {
    wchar_t name[64] = {};
    const int length = ::GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
    return Narrow(std::wstring_view(name, static_cast<std::size_t>(std::max(length, 0))));
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
    if (owner == search.processId && ::IsWindowVisible(hwnd) &&
        ClassName(hwnd) == search.className) {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindLongestStatic(HWND hwnd, LPARAM param) {
    auto& text = *reinterpret_cast<std::string*>(param);
    if (::lstrcmpiW(Widen(ClassName(hwnd)).c_str(), L"Static") == 0) {
        const std::string own = WindowText(hwnd);
        if (own.size() > text.size()) {
            text = own;
        }
    }
    return TRUE;
}

}  // namespace

ProgramFolder::ProgramFolder() {
    path_ = testcases::TempPath("pellmark-e2e-" + std::to_string(::GetCurrentProcessId()));
    testcases::RemoveFolder(path_);
    ::CreateDirectoryW(Widen(path_).c_str(), nullptr);
    made_.push_back(path_);
    Fill();
}

ProgramFolder::ProgramFolder(std::string path) : path_(std::move(path)) {
    EXPECT_FALSE(IsFolder(path_)) << path_ << " is there already";
    // Each missing folder along the path, outermost first.
    for (std::size_t slash = path_.find('\\', 3);; slash = path_.find('\\', slash + 1)) {
        const std::string folder = path_.substr(0, slash);
        if (!IsFolder(folder)) {
            EXPECT_NE(::CreateDirectoryW(Widen(folder).c_str(), nullptr), FALSE) << folder;
            made_.push_back(folder);
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    Fill();
}

void ProgramFolder::Fill() {
    const std::string built = testcases::BesideThisProgram("");
    EXPECT_NE(::CopyFileW(Widen(built + "pellmark.exe").c_str(), Widen(Exe()).c_str(), FALSE),
              FALSE)
        << built;
    if (IsFolder(built + "Languages")) {
        CopyFolder(built + "Languages", path_ + "\\Languages");
    }
}

ProgramFolder::~ProgramFolder() {
    if (!made_.empty()) {
        testcases::RemoveFolder(made_.front());
    }
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
    testcases::StartedProgram started = testcases::StartProgram(exe, commandLine);
    if (!started.process) {
        return nullptr;
    }
    return std::unique_ptr<ProgramProcess>(
        new ProgramProcess(std::move(started.process), started.processId));
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
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
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
    return static_cast<HWND>(::GetPropW(form, Widen("Pellmark." + name).c_str()));
}

void ClickImage(const FormImagePlace& image, double x, double y) {
    const LPARAM at =
        MAKELPARAM(image.area.left + static_cast<int>((image.area.right - image.area.left) * x),
                   image.area.top + static_cast<int>((image.area.bottom - image.area.top) * y));
    ::PostMessageA(image.window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(image.window, WM_LBUTTONUP, 0, at);
}

std::vector<std::string> ListBoxRows(HWND list) {
    std::vector<std::string> rows;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring wide(static_cast<std::size_t>(length < 0 ? 0 : length) + 1, L'\0');
        const LRESULT copied =
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        wide.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
        rows.push_back(Narrow(wide));
    }
    return rows;
}

std::string WindowText(HWND window) {
    // WM_GETTEXT rather than GetWindowText: across processes the latter does not ask an
    // edit box for the text it holds.
    wchar_t text[1024] = {};
    DWORD_PTR length = 0;
    if (::SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                              SMTO_ABORTIFHUNG, 5000, &length) == 0) {
        return {};
    }
    return Narrow(std::wstring_view(text, std::min<std::size_t>(length, std::size(text) - 1)));
}

void SelectListRow(HWND list, int row) {
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    ::PostMessageW(::GetParent(list), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
}

void SetSetting(const std::string& section, const std::string& name, const std::string& text) {
    EXPECT_TRUE(testcases::SetRegistryText(HKEY_CURRENT_USER,
                                           std::string(kSettingsKey) + "\\" + section, name, text));
}

std::string GetSetting(const std::string& section, const std::string& name) {
    return testcases::RegistryText(HKEY_CURRENT_USER, std::string(kSettingsKey) + "\\" + section,
                                   name);
}

void DeleteAllSettings() {
    ::SHDeleteKeyW(HKEY_CURRENT_USER, Widen(kSettingsKey).c_str());
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace pellmark::e2e
