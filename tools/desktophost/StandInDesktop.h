// A desktop made of real windows in the calling thread: Progman ("Program Manager") >
// SHELLDLL_DefView > SysListView32, or Progman beside a top-level WorkerW that holds the
// view. The list view keeps every icon exactly where it is put.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "tools/desktophost/Layout.h"

namespace pellmark::standin {

class StandInDesktop {
  public:
    // Creates the windows from `layout`; nullopt when a window could not be made.
    [[nodiscard]] static std::optional<StandInDesktop> Create(const Layout& layout);

    StandInDesktop(StandInDesktop&&) noexcept;
    StandInDesktop& operator=(StandInDesktop&&) noexcept;
    StandInDesktop(const StandInDesktop&) = delete;
    StandInDesktop& operator=(const StandInDesktop&) = delete;
    ~StandInDesktop();  // destroys whatever windows are left

    [[nodiscard]] HWND progman() const noexcept;
    [[nodiscard]] HWND workerW() const noexcept;  // null in the Progman shape
    [[nodiscard]] HWND defView() const noexcept;
    [[nodiscard]] HWND listView() const noexcept;

    // The list view's items in item order, read in this process.
    [[nodiscard]] std::vector<LayoutIcon> CurrentIcons() const;
    // The icons plus the shape, the auto-arrange bit and any caption colours that were set.
    [[nodiscard]] Layout CurrentLayout() const;

    // Called when Progman receives WM_CLOSE; without one, WM_CLOSE is ignored and the
    // windows live until the destructor.
    void OnClose(std::function<void()> handler);

    struct State;

  private:
    explicit StandInDesktop(std::unique_ptr<State> state) noexcept;
    std::unique_ptr<State> state_;  // stays put while the object moves: the windows point at it
};

}  // namespace pellmark::standin
