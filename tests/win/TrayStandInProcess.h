// The stand-in notification area (traystandin.exe) running in its own process for one test,
// and its own channel for looking at it: what it was told, a click on an icon, a restart.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace pellmark::traystandin {

// One line of the stand-in's log: the verb ("add", "delete", "click", "restart" ...), its
// fields ("hwnd", "id", "flags", "callback", "icon", "answer"), and the tip.
struct TrayRequest {
    std::string verb;
    std::map<std::string, std::string> fields;
    std::string tip;
};

// A window handle as the stand-in's log writes it: eight hexadecimal digits.
[[nodiscard]] std::string HandleText(std::uintptr_t value);
[[nodiscard]] inline std::string HandleText(HWND window) {
    return HandleText(reinterpret_cast<std::uintptr_t>(window));
}

class TrayStandInProcess {
  public:
    // Starts traystandin.exe from beside the test program and waits for its Shell_TrayWnd.
    // Null (and a test failure) when it does not come up.
    [[nodiscard]] static std::unique_ptr<TrayStandInProcess> Start();

    TrayStandInProcess(const TrayStandInProcess&) = delete;
    TrayStandInProcess& operator=(const TrayStandInProcess&) = delete;
    ~TrayStandInProcess();  // closes it, killing it after a while

    // Every request the stand-in was handed so far, and its own events, oldest first.
    [[nodiscard]] std::vector<TrayRequest> Log() const;
    // The ones with this verb.
    [[nodiscard]] std::vector<TrayRequest> Log(const std::string& verb) const;
    // The user does `mouseMessage` (WM_LBUTTONUP ...) on icon `id` of `owner`: false when
    // the stand-in holds no such icon.
    [[nodiscard]] bool Click(HWND owner, UINT mouseMessage, UINT id = 1) const;
    // Explorer starts again: no icons, and "TaskbarCreated" to every top-level window.
    void Restart() const;

  private:
    explicit TrayStandInProcess(win32::UniqueKernelHandle process) : process_(std::move(process)) {}
    [[nodiscard]] bool Send(std::uintptr_t kind, const std::string& payload) const;

    win32::UniqueKernelHandle process_;
    HWND window_ = nullptr;
};

}  // namespace pellmark::traystandin
