// The real desktop: Explorer's list view, reached by the mechanism the system allows.
#pragma once

#include <shobjidl.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/Types.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ShellViewDesktop.h"

namespace pellmark::win32 {

class Win32Desktop final : public platform::Desktop {
  public:
    // What the choice of mechanism depends on; tests replace these.
    struct Seams {
        std::function<VersionInfo()> version;              // default: GetVersionExA
        std::function<ComPtr<IFolderView>()> desktopView;  // default: the Shell's desktop view
        std::function<std::string()> tempFolder;           // default: GetTempPathA
        // Whether the list view belongs to the shell's own process (GetShellWindow's).
        std::function<bool(HWND listView)> ownedByShell;
        // The shell's items of the desktop, to find the pictures of icons read without an
        // image list this process can draw from; default: ReadDesktopFolderIcons.
        std::function<std::vector<DesktopFolderIcon>()> desktopFolderIcons;
    };

    Win32Desktop();
    explicit Win32Desktop(Seams seams);
    ~Win32Desktop() override;
    Win32Desktop(const Win32Desktop&) = delete;
    Win32Desktop& operator=(const Win32Desktop&) = delete;

    platform::ScreenSize ReadScreenSize() override;
    int LogicalDpiX() override;
    platform::DesktopRead ReadIcons() override;
    void MoveIcons(std::span<const platform::IconPlacement> placements) override;
    std::vector<platform::IconPixels> ReadIconPictures(
        ImageListRef imageList, std::span<const platform::IconPictureRequest> icons,
        int size) override;
    bool IsAutoArrange() override;
    WindowHandle FindListView() override;
    void ShowDesktopIcons(bool show) override;
    std::uint32_t GetDesktopTextColour() override;

    // Which mechanism the last read used; for tests and figures.
    enum class Mechanism { None, SharedMappings, RemoteMemory, ShellView };
    [[nodiscard]] Mechanism LastMechanism() const noexcept { return mechanism_; }

  private:
    // The Shell's view of the desktop when it is the one holding `listView`; null when
    // there is none. Asking costs several calls into Explorer, so a view found is kept for
    // as long as its list view lives, and a "none" for a few seconds (Explorer may still
    // be starting).
    ShellViewDesktop* ShellViewFor(HWND listView, const VersionInfo& version);

    Seams seams_;
    bool comInitialised_ = false;
    HWND listView_ = nullptr;  // of the last read
    HWND shellViewAskedFor_ = nullptr;
    DWORD shellViewAskedAt_ = 0;  // GetTickCount
    std::unique_ptr<ShellViewDesktop> shellView_;
    Mechanism mechanism_ = Mechanism::None;
};

}  // namespace pellmark::win32
