#include "platform/win32/Win32Desktop.h"

#include <commctrl.h>
#include <objbase.h>

#include <map>
#include <string>

#include "platform/ListViewText.h"
#include "platform/WindowsFamily.h"
#include "platform/win32/DesktopWindows.h"
#include "platform/win32/IconPixels.h"
#include "platform/win32/ListViewTransfers.h"
#include "platform/win32/ShellViewDesktop.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {
bool ListViewOfTheShell(HWND listView) {
    const HWND shell = ::GetShellWindow();
    DWORD shellProcess = 0;
    DWORD listProcess = 0;
    if (shell == nullptr || ::GetWindowThreadProcessId(shell, &shellProcess) == 0 ||
        ::GetWindowThreadProcessId(listView, &listProcess) == 0) {
        return false;
    }
    return shellProcess == listProcess;
}

constexpr bool FitsSixteenBits(std::int32_t value) {
    return value >= -32768 && value <= 32767;
}

Win32Desktop::Seams WithDefaults(Win32Desktop::Seams seams) {
    if (!seams.version) {
        seams.version = [] { return Win32System().ReadVersion(); };
    }
    if (!seams.desktopView) {
        seams.desktopView = FindDesktopFolderView;
    }
    if (!seams.tempFolder) {
        seams.tempFolder = [] { return Win32System().GetTempFolder(); };
    }
    if (!seams.ownedByShell) {
        seams.ownedByShell = ListViewOfTheShell;
    }
    if (!seams.desktopFolderIcons) {
        seams.desktopFolderIcons = ReadDesktopFolderIcons;
    }
    return seams;
}
}  // namespace

Win32Desktop::Win32Desktop() : Win32Desktop(Seams{}) {}

Win32Desktop::Win32Desktop(Seams seams) : seams_(WithDefaults(std::move(seams))) {}

Win32Desktop::~Win32Desktop() {
    shellView_.reset();
    if (comInitialised_) {
        ComUninitialize();
    }
}

platform::ScreenSize Win32Desktop::ReadScreenSize() {
    RECT rect{};
    ::GetWindowRect(::GetDesktopWindow(), &rect);
    return {rect.right, rect.bottom};
}

int Win32Desktop::LogicalDpiX() {
    const UniqueScreenDc screen(::GetDC(nullptr));
    return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSX) : 96;
}

ShellViewDesktop* Win32Desktop::ShellViewFor(HWND listView, const VersionInfo& version) {
    constexpr DWORD kNoViewHoldsFor = 10000;
    const DWORD now = ::GetTickCount();
    if (listView == shellViewAskedFor_ && ::IsWindow(listView) != FALSE &&
        (shellView_ || now - shellViewAskedAt_ < kNoViewHoldsFor)) {
        return shellView_.get();
    }
    shellView_.reset();
    shellViewAskedFor_ = listView;
    shellViewAskedAt_ = now;
    if (version.platformId != kPlatformWindowsNT || version.majorVersion < 6) {
        return nullptr;
    }
    // The Shell speaks only for a desktop in its own process; asking it about another's
    // list view (another shell, Wine's desktop) is a round of COM calls that find nothing.
    if (!seams_.ownedByShell(listView)) {
        return nullptr;
    }
    // COM only when the Shell is asked: a start-up against any other desktop is spared it.
    // The view is a COM object kept between a read and the moves that follow it, so COM
    // stays until this object goes.
    if (!comInitialised_) {
        comInitialised_ = SUCCEEDED(ComInitialize());
    }
    ComPtr<IFolderView> view = seams_.desktopView();
    if (!view) {
        return nullptr;
    }
    auto shellView = std::make_unique<ShellViewDesktop>(std::move(view));
    // Only the view that owns the list view we found speaks for that desktop.
    if (shellView->ViewWindow() != nullptr && shellView->ViewWindow() == ::GetParent(listView)) {
        shellView_ = std::move(shellView);
    }
    return shellView_.get();
}

platform::DesktopRead Win32Desktop::ReadIcons() {
    const VersionInfo version = seams_.version();
    mechanism_ = Mechanism::None;
    listView_ = DesktopReachable(version) ? FindProgmanListView() : nullptr;
    if (listView_ == nullptr) {
        return {};
    }
    if (IsWindows9x(version)) {
        mechanism_ = Mechanism::SharedMappings;
        return ReadIconsThroughSharedMappings(listView_, seams_.tempFolder());
    }
    if (ShellViewDesktop* shellView = ShellViewFor(listView_, version)) {
        mechanism_ = Mechanism::ShellView;
        return shellView->ReadIcons(listView_);
    }
    mechanism_ = Mechanism::RemoteMemory;
    return ReadIconsThroughRemoteMemory(listView_);
}

void Win32Desktop::MoveIcons(std::span<const platform::IconPlacement> placements) {
    if (mechanism_ == Mechanism::ShellView && shellView_) {
        shellView_->MoveIcons(placements);
        return;
    }
    if (listView_ == nullptr || ::IsWindow(listView_) == FALSE) {
        return;
    }
    // No pointer travels with this message, so it is safe on every system; the list view
    // has no message that moves several items at once.
    for (const platform::IconPlacement& placement : placements) {
        if (FitsSixteenBits(placement.x) && FitsSixteenBits(placement.y)) {
            ::SendMessageA(listView_, LVM_SETITEMPOSITION, static_cast<WPARAM>(placement.index),
                           static_cast<LPARAM>(PackPositionLParam(placement.x, placement.y)));
        } else if (mechanism_ == Mechanism::SharedMappings) {
            // An icon pushed off a wide screen: wrapped to 16 bits it would land on the
            // other side, so its position goes whole, or it stays where it is.
            static_cast<void>(MoveIconThroughSharedMapping(
                listView_, seams_.tempFolder(), placement.index, placement.x, placement.y));
        } else {
            static_cast<void>(
                MoveIconThroughRemoteMemory(listView_, placement.index, placement.x, placement.y));
        }
    }
}

std::vector<platform::IconPixels> Win32Desktop::ReadIconPictures(
    ImageListRef imageList, std::span<const platform::IconPictureRequest> icons, int size) {
    std::vector<platform::IconPixels> pictures(icons.size());
    if (imageList != 0) {
        const auto list = reinterpret_cast<HIMAGELIST>(imageList);
        for (std::size_t i = 0; i < icons.size(); ++i) {
            pictures[i] = ImageListPixels(list, icons[i].imageIndex, size);
        }
        return pictures;
    }
    // Explorer's own image list is of no use outside its process: the shell's items of
    // the desktop are what its icons show, found by the caption under each.
    if (!comInitialised_) {
        comInitialised_ = SUCCEEDED(ComInitialize());
    }
    struct Found {
        HIMAGELIST list = nullptr;
        int index = -1;
        bool ambiguous = false;
    };
    std::map<std::string, Found> byCaption;
    for (const DesktopFolderIcon& item : seams_.desktopFolderIcons()) {
        const auto [entry, added] = byCaption.try_emplace(item.caption);
        if (added) {
            entry->second = {item.imageList, item.imageIndex};
        } else if (entry->second.list != item.imageList || entry->second.index != item.imageIndex) {
            entry->second.ambiguous = true;  // two items, two pictures: neither is certain
        }
    }
    for (std::size_t i = 0; i < icons.size(); ++i) {
        const auto found = byCaption.find(icons[i].caption);
        if (found != byCaption.end() && !found->second.ambiguous && found->second.list != nullptr) {
            pictures[i] = ImageListPixels(found->second.list, found->second.index, size);
        }
    }
    return pictures;
}

bool Win32Desktop::IsAutoArrange() {
    const HWND listView = FindDesktopListView();
    if (listView == nullptr) {
        return false;
    }
    if (const ShellViewDesktop* shellView = ShellViewFor(listView, seams_.version())) {
        return shellView->IsAutoArrange();
    }
    return (::GetWindowLongA(listView, GWL_STYLE) & LVS_AUTOARRANGE) != 0;
}

std::uint32_t Win32Desktop::GetDesktopTextColour() {
    const HWND listView = FindDesktopListView();
    if (listView == nullptr) {
        return 0;
    }
    // The message carries no address, so it is safe across processes.
    DWORD_PTR colour = 0;
    if (::SendMessageTimeoutA(listView, LVM_GETTEXTCOLOR, 0, 0, SMTO_ABORTIFHUNG, 2000, &colour) ==
        0) {
        return 0;
    }
    return colour == CLR_NONE ? CLR_NONE : static_cast<std::uint32_t>(colour & 0xFFFFFF);
}

WindowHandle Win32Desktop::FindListView() {
    return reinterpret_cast<WindowHandle>(FindDesktopListView());
}

void Win32Desktop::ShowDesktopIcons(bool show) {
    // ShowWindow carries no address, so it is safe for a list view of any process.
    if (const HWND listView = FindProgmanListView(); listView != nullptr) {
        ::ShowWindow(listView, show ? SW_SHOWNORMAL : SW_HIDE);
    }
}

}  // namespace pellmark::win32
