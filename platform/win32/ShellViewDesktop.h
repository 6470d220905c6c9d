// The desktop through the Shell's own view of it (Windows Vista and later). Explorer
// keeps positions set this way; since Windows 10 1809 it forgets those set straight on
// its list view.
#pragma once

#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

// The desktop's folder view from IShellWindows::FindWindowSW(SWC_DESKTOP); empty when
// the shell offers none (no Explorer, an old system, another shell). The calling thread
// must have initialised COM apartment-threaded (CoInitializeEx with
// COINIT_APARTMENTTHREADED); the view and the ShellViewDesktop over it stay on that thread.
[[nodiscard]] ComPtr<IFolderView> FindDesktopFolderView();

// An item of the shell's desktop folder with its caption as the desktop shows it and its
// picture in the system image list of this process.
struct DesktopFolderIcon {
    std::string caption;
    HIMAGELIST imageList = nullptr;
    int imageIndex = -1;
};
// Every item of the desktop folder (the user's, the common one and the shell's own
// items); empty without a shell. COM must be initialised on the calling thread.
[[nodiscard]] std::vector<DesktopFolderIcon> ReadDesktopFolderIcons();

class ShellViewDesktop {
  public:
    explicit ShellViewDesktop(ComPtr<IFolderView> view);
    ~ShellViewDesktop();
    ShellViewDesktop(const ShellViewDesktop&) = delete;
    ShellViewDesktop& operator=(const ShellViewDesktop&) = delete;

    // The window of the view (its SHELLDLL_DefView), or null when it tells none.
    [[nodiscard]] HWND ViewWindow() const;
    // Reads the items in view order; `listView` is reported as the read's window. A view
    // that fails gives NoDesktop and forgets the previous read's items.
    [[nodiscard]] platform::DesktopRead ReadIcons(HWND listView);
    // Moves items of the last read in a single call to the view; an index outside the
    // read is left out.
    void MoveIcons(std::span<const platform::IconPlacement> placements);
    [[nodiscard]] bool IsAutoArrange() const;

  private:
    struct ItemIdListDeleter {
        void operator()(ITEMIDLIST* pidl) const noexcept { ComTaskMemFree(pidl); }
    };
    using UniqueItemIdList = std::unique_ptr<ITEMIDLIST, ItemIdListDeleter>;

    ComPtr<IFolderView> view_;
    std::vector<UniqueItemIdList> items_;  // the last read's items, in view order
};

}  // namespace pellmark::win32
