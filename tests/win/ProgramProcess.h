// pellmark.exe running in its own process for an end-to-end test, and the ways a user
// reaches it: its message boxes, its main window's controls, closing it. Texts are UTF-8
// here and cross to the program as UTF-16, so every character a user has arrives.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/ImagePlace.h"
#include "tests/win/FileBytes.h"

namespace pellmark::e2e {

inline constexpr const char* kMainWindowClass = "Pellmark.Form1";
inline constexpr const char* kOptionsClass = "Pellmark.frmOptions";
inline constexpr DWORD kEndTimeoutMs = 20000;

// A scratch program folder with a copy of pellmark.exe (and its Languages folder when
// there is one), emptied and removed when it goes, with the folders made for it.
class ProgramFolder {
  public:
    // A fresh folder in the temporary folder.
    ProgramFolder();
    // The folder at `path` (its parents made as needed), which must not exist yet.
    explicit ProgramFolder(std::string path);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    [[nodiscard]] const std::string& Path() const noexcept { return path_; }  // no backslash
    [[nodiscard]] std::string Exe() const { return path_ + "\\pellmark.exe"; }
    [[nodiscard]] std::string Pattern(const std::string& name) const {
        return path_ + "\\SavedPositions\\" + name + ".ips";
    }

  private:
    void Fill();

    std::string path_;
    std::vector<std::string> made_;  // the folders made, outermost first
};

class ProgramProcess {
  public:
    // Starts the program with a command line; null (and a test failure) when it cannot.
    [[nodiscard]] static std::unique_ptr<ProgramProcess> Start(const std::string& exe,
                                                               const std::string& commandLine);
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;
    ~ProgramProcess();  // a process still running is killed

    // The exit code once the process has ended within the time; nothing when it still runs.
    [[nodiscard]] std::optional<DWORD> WaitForExit(DWORD timeoutMs);

    // The message box the program shows, waited for; its text in `text`.
    [[nodiscard]] HWND WaitForMessageBox(std::string& text, DWORD timeoutMs = 15000);
    // Presses a button of a message box (IDOK, IDYES, IDNO ...).
    static void Answer(HWND box, int buttonId);

    // A visible top-level window of this process of the given class.
    [[nodiscard]] HWND WaitForWindow(const char* className, DWORD timeoutMs = 15000);

    [[nodiscard]] DWORD ProcessId() const noexcept { return processId_; }

  private:
    ProgramProcess(win32::UniqueKernelHandle process, DWORD processId);

    win32::UniqueKernelHandle process_;
    DWORD processId_;
};

// A visible top-level window of the process of the given class, looked for once; null
// when there is none.
[[nodiscard]] HWND FindShownWindow(DWORD processId, const char* className);
// A control of a form, by its name.
[[nodiscard]] HWND FormControl(HWND form, const std::string& name);
// An image of a form, by its name: the window that draws it (null when there is none) and
// its place in that window's pixels.
using FormImagePlace = win32::ImagePlace;
[[nodiscard]] inline FormImagePlace FormImage(HWND form, const std::string& name) {
    return win32::ReadImagePlace(form, name);
}
// A left click on an image, at a fraction of its width and height.
void ClickImage(const FormImagePlace& image, double x = 0.5, double y = 0.5);
// The rows of a list box in another process.
[[nodiscard]] std::vector<std::string> ListBoxRows(HWND list);
[[nodiscard]] std::string WindowText(HWND window);
// Selects a row as a click would: the selection, then the notice to its parent.
void SelectListRow(HWND list, int row);
// Waits until the condition holds, pumping nothing; false when the time ran out.
template <class Condition>
[[nodiscard]] bool WaitUntil(Condition condition, DWORD timeoutMs = 15000) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > timeoutMs) {
            return false;
        }
        ::Sleep(50);
    }
    return true;
}

// The program's settings under HKEY_CURRENT_USER\Software\Pellmark, as text.
void SetSetting(const std::string& section, const std::string& name, const std::string& text);
// "(absent)" when there is no such value.
[[nodiscard]] std::string GetSetting(const std::string& section, const std::string& name);
void DeleteAllSettings();

// An end-to-end test: no settings stored before or after it, and a program folder of its
// own.
class ProgramTest : public ::testing::Test {
  protected:
    ProgramTest() { DeleteAllSettings(); }
    ~ProgramTest() override { DeleteAllSettings(); }

    // Starts the program and waits for its main window; null when it does not come.
    HWND StartMainWindow(const std::string& commandLine = "") {
        program = ProgramProcess::Start(folder.Exe(), commandLine);
        return program ? program->WaitForWindow(kMainWindowClass) : nullptr;
    }
    // The options dialog from the main menu's button (its second item); null when it
    // does not come.
    HWND OpenOptions(HWND form) {
        ClickImage(FormImage(form, "imgMenu"), 0.1, 0.1);
        HWND menu = program->WaitForWindow("#32768");
        if (menu == nullptr) {
            return nullptr;
        }
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(menu, WM_CHAR, '\r', 0);
        return program->WaitForWindow(kOptionsClass);
    }

    ProgramFolder folder;
    std::unique_ptr<ProgramProcess> program;
};

[[nodiscard]] bool FileExists(const std::string& path);
using testcases::ReadFileBytes;
using testcases::WriteFileBytes;

}  // namespace pellmark::e2e
