// The monitors as Windows reports them, and the messages that announce a disruption, caught
// by a hidden top-level window of its own (broadcasts reach only top-level windows).
#pragma once

#include <windows.h>

#include "platform/Displays.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

class Win32Displays final : public platform::Displays {
  public:
    Win32Displays() = default;
    ~Win32Displays() override;
    Win32Displays(const Win32Displays&) = delete;
    Win32Displays& operator=(const Win32Displays&) = delete;

    std::vector<platform::Monitor> ReadMonitors() override;
    void OnDisruption(std::function<void(platform::Disruption)> listener) override;
    std::uint32_t TickCount() override;

    // The disruption a message of a top-level window announces, if any.
    [[nodiscard]] static bool Classify(UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT taskbarCreated, platform::Disruption& disruption);

  private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void MakeWindow();
    void RegisterSessions();
    void DestroyWindow();

    std::function<void(platform::Disruption)> listener_;
    UniqueWindow window_;
    UINT taskbarCreated_ = 0;
    bool sessionsRegistered_ = false;
};

}  // namespace pellmark::win32
