// A stand-in desktop host (desktophost.exe) running in its own process for one test, and
// the host's own channel for looking at it.
#pragma once

#include <windows.h>

#include <iosfwd>
#include <memory>
#include <string>

#include "platform/win32/Handles.h"
#include "tests/win/ChildProcess.h"
#include "tools/desktophost/Layout.h"

namespace pellmark::standin {

// Sixty icons with captions and positions that break naive readers: long, quoted, with
// commas and blanks, pushed far off the screen to the right, or left and above it.
[[nodiscard]] Layout AwkwardLayout();

class StandInProcess {
  public:
    // Starts desktophost.exe from beside the test program and waits until its list view
    // holds every icon. Null (and a test failure) when it does not come up. `restarted`
    // plays a new Explorer, which broadcasts "TaskbarCreated" once it is up.
    [[nodiscard]] static std::unique_ptr<StandInProcess> Start(const Layout& layout,
                                                               bool restarted = false);

    // desktophost.exe beside the running test program.
    [[nodiscard]] static std::string HostPath();

    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;
    ~StandInProcess();  // Stop(), then the layout file goes

    [[nodiscard]] HWND progman() const noexcept { return progman_; }
    [[nodiscard]] HWND listView() const noexcept { return listView_; }
    [[nodiscard]] DWORD processId() const noexcept { return processId_; }

    // The host's current layout as it reports it itself. A test failure (and an empty
    // layout) when it does not answer.
    [[nodiscard]] Layout Dump() const;
    // Sets or clears the list view's auto-arrange style; a test failure when refused.
    void SetAutoArrange(bool on) const;
    // Moves every icon somewhere else, as a user dragging them would, from this process.
    void Scramble() const;
    // Puts the layout's icons before the first item, as new files arrive on a desktop; a
    // test failure when refused.
    void InsertFirst(const Layout& arriving) const;

    // Closes Progman and waits for the host to end, killing it after a while. True when it
    // ended by itself with exit code 0.
    [[nodiscard]] bool Stop();

  private:
    StandInProcess() = default;
    [[nodiscard]] bool FindWindows(std::size_t iconCount);

    win32::UniqueKernelHandle process_;
    DWORD processId_ = 0;
    testcases::TempFile layoutFile_;  // read by the host as it starts
    HWND progman_ = nullptr;
    HWND listView_ = nullptr;
};

// Changes the screen resolution until ChangeDisplaySettings(nullptr, 0) or the end of the
// session, as a user does in the display settings; false when the driver refuses it. The
// stand-in piles its icons up 0.7 s later, as Explorer does.
[[nodiscard]] bool SetScreenSize(DWORD width, DWORD height);

// Readable test failures: a layout is shown as its file text.
void PrintTo(const Layout& layout, std::ostream* out);
void PrintTo(const LayoutIcon& icon, std::ostream* out);

}  // namespace pellmark::standin
