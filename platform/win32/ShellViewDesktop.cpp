#include "platform/win32/ShellViewDesktop.h"

#include <exdisp.h>
#include <shellapi.h>
#include <shlguid.h>
#include <shlwapi.h>

#include <string>
#include <utility>

#include "platform/ListViewText.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"

namespace pellmark::win32 {
namespace {

// Owns a string that the shell allocated with CoTaskMemAlloc.
struct CoTaskStringDeleter {
    void operator()(wchar_t* text) const noexcept { ComTaskMemFree(text); }
};
using UniqueCoTaskString = std::unique_ptr<wchar_t, CoTaskStringDeleter>;

// One of the item's names; empty when the shell tells none.
[[nodiscard]] std::string ReadDisplayName(IShellFolder& folder, PCUITEMID_CHILD item, SHGDNF kind) {
    STRRET name{};
    name.uType = STRRET_CSTR;
    if (FAILED(folder.GetDisplayNameOf(item, kind, &name))) {
        return {};
    }
    // StrRetToStrW frees the STRRET's own string, whatever it returns.
    using StrRetToStr = HRESULT(WINAPI*)(STRRET*, PCUITEMID_CHILD, LPWSTR*);
    static const auto strRetToStr =
        SystemFunction<StrRetToStr>(SystemLibrary::ShellLight, "StrRetToStrW");
    if (strRetToStr == nullptr) {
        return {};
    }
    wchar_t* raw = nullptr;
    const HRESULT converted = strRetToStr(&name, item, &raw);
    const UniqueCoTaskString text(raw);
    if (FAILED(converted)) {
        return {};
    }
    return text ? Narrow(text.get()) : std::string();
}

// The item's name as the desktop shows it under the icon, cut as the list view's text
// buffer would cut it, so every mechanism hands out the same captions.
[[nodiscard]] std::string ReadCaption(IShellFolder& folder, PCUITEMID_CHILD item) {
    return CutCaption(ReadDisplayName(folder, item, SHGDN_NORMAL));
}

// The item's picture in the system image list (the desktop's children are absolute ids);
// null when the shell tells none.
HIMAGELIST SystemIconIndex(PCUITEMID_CHILD item, int& index) {
    using GetFileInfo = DWORD_PTR(WINAPI*)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
    static const auto getFileInfo =
        SystemFunction<GetFileInfo>(SystemLibrary::Shell, "SHGetFileInfoA");
    SHFILEINFOA info{};
    const DWORD_PTR systemList = getFileInfo == nullptr
                                     ? 0
                                     : getFileInfo(reinterpret_cast<LPCSTR>(item), 0, &info,
                                                   sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX);
    index = info.iIcon;
    return reinterpret_cast<HIMAGELIST>(systemList);
}

struct ChildIdDeleter {
    void operator()(ITEMIDLIST* pidl) const noexcept { ComTaskMemFree(pidl); }
};

}  // namespace

std::vector<DesktopFolderIcon> ReadDesktopFolderIcons() {
    using GetDesktopFolder = HRESULT(WINAPI*)(IShellFolder**);
    static const auto getDesktopFolder =
        SystemFunction<GetDesktopFolder>(SystemLibrary::Shell, "SHGetDesktopFolder");
    ComPtr<IShellFolder> desktop;
    ComPtr<IEnumIDList> items;
    if (getDesktopFolder == nullptr || FAILED(getDesktopFolder(desktop.put())) || !desktop ||
        desktop->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.put()) != S_OK ||
        !items) {
        return {};
    }
    std::vector<DesktopFolderIcon> icons;
    for (;;) {
        PITEMID_CHILD raw = nullptr;
        ULONG fetched = 0;
        const HRESULT next = items->Next(1, &raw, &fetched);
        const std::unique_ptr<ITEMIDLIST, ChildIdDeleter> item(raw);
        if (next != S_OK || fetched != 1 || !item) {
            break;
        }
        DesktopFolderIcon icon;
        icon.caption = ReadCaption(*desktop.get(), item.get());
        icon.imageList = SystemIconIndex(item.get(), icon.imageIndex);
        icons.push_back(std::move(icon));
    }
    return icons;
}

ComPtr<IFolderView> FindDesktopFolderView() {
    ComPtr<IShellWindows> windows;
    if (FAILED(ComCreateInstance(CLSID_ShellWindows, CLSCTX_ALL, IID_IShellWindows,
                                 windows.put_void())) ||
        !windows) {
        return {};
    }

    // Zeroed, a VARIANT is empty (VT_EMPTY): what VariantInit makes, without its library.
    VARIANT location{};
    location.vt = VT_I4;
    location.lVal = CSIDL_DESKTOP;
    VARIANT root{};
    long window = 0;
    ComPtr<IDispatch> dispatch;
    // S_FALSE means no such window: only S_OK comes with a dispatch pointer.
    if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                              dispatch.put()) != S_OK ||
        !dispatch) {
        return {};
    }

    const auto provider = dispatch.As<IServiceProvider>();
    if (!provider) {
        return {};
    }
    ComPtr<IShellBrowser> browser;
    if (FAILED(
            provider->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.put_void())) ||
        !browser) {
        return {};
    }
    ComPtr<IShellView> shellView;
    if (FAILED(browser->QueryActiveShellView(shellView.put())) || !shellView) {
        return {};
    }
    return shellView.As<IFolderView>();
}

ShellViewDesktop::ShellViewDesktop(ComPtr<IFolderView> view) : view_(std::move(view)) {}

ShellViewDesktop::~ShellViewDesktop() = default;

HWND ShellViewDesktop::ViewWindow() const {
    if (!view_) {
        return nullptr;
    }
    HWND handle = nullptr;
    if (const auto shellView = view_.As<IShellView>()) {
        if (SUCCEEDED(shellView->GetWindow(&handle))) {
            return handle;
        }
        return nullptr;
    }
    const auto window = view_.As<IOleWindow>();
    if (!window || FAILED(window->GetWindow(&handle))) {
        return nullptr;
    }
    return handle;
}

platform::DesktopRead ShellViewDesktop::ReadIcons(HWND listView) {
    platform::DesktopRead read;
    read.listView = reinterpret_cast<WindowHandle>(listView);
    // Whatever happens below, the previous read's items are gone: a move must never
    // reach an item that this read did not report.
    items_.clear();
    if (!view_) {
        return read;
    }

    ComPtr<IShellFolder> folder;
    if (FAILED(view_->GetFolder(IID_IShellFolder, folder.put_void())) || !folder) {
        return read;
    }
    ComPtr<IEnumIDList> enumerator;
    if (FAILED(view_->Items(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER, IID_IEnumIDList,
                            enumerator.put_void())) ||
        !enumerator) {
        return read;
    }

    std::vector<UniqueItemIdList> items;
    std::vector<platform::RawDesktopIcon> icons;
    ImageListRef imageList = 0;
    for (;;) {
        PITEMID_CHILD raw = nullptr;
        ULONG fetched = 0;
        const HRESULT next = enumerator->Next(1, &raw, &fetched);
        UniqueItemIdList item(raw);
        if (FAILED(next)) {
            return read;  // a view that breaks off half-way has told nothing reliable
        }
        if (next != S_OK || fetched != 1 || !item) {
            break;
        }

        platform::RawDesktopIcon icon;
        POINT position{};
        if (SUCCEEDED(view_->GetItemPosition(item.get(), &position))) {
            icon.x = position.x;
            icon.y = position.y;
        }
        icon.caption = ReadCaption(*folder.get(), item.get());
        // The full path (or the shell's "::{class}" name): the desktop shows the user's
        // folder and the common one together, and only the full name tells their items
        // apart.
        icon.parsingName = ReadDisplayName(*folder.get(), item.get(), SHGDN_FORPARSING);
        int index = 0;
        if (HIMAGELIST systemList = SystemIconIndex(item.get(), index); systemList != nullptr) {
            imageList = reinterpret_cast<ImageListRef>(systemList);
            icon.imageIndex = index;
        }
        icons.push_back(std::move(icon));
        items.push_back(std::move(item));
    }

    read.status = platform::DesktopReadStatus::Ok;
    read.imageList = imageList;
    read.icons = std::move(icons);
    items_ = std::move(items);
    return read;
}

void ShellViewDesktop::MoveIcons(std::span<const platform::IconPlacement> placements) {
    if (!view_) {
        return;
    }
    std::vector<PCUITEMID_CHILD> items;
    std::vector<POINT> positions;
    items.reserve(placements.size());
    positions.reserve(placements.size());
    for (const platform::IconPlacement& placement : placements) {
        if (placement.index >= 0 && static_cast<std::size_t>(placement.index) < items_.size()) {
            items.push_back(items_[static_cast<std::size_t>(placement.index)].get());
            positions.push_back({placement.x, placement.y});
        }
    }
    if (items.empty()) {
        return;
    }
    // One call for the whole restore: each call is a round trip into Explorer, and the
    // view lays the icons out once. A refused position leaves that icon where it is.
    static_cast<void>(view_->SelectAndPositionItems(static_cast<UINT>(items.size()), items.data(),
                                                    positions.data(), SVSI_POSITIONITEM));
}

bool ShellViewDesktop::IsAutoArrange() const {
    return view_ && view_->GetAutoArrange() == S_OK;
}

}  // namespace pellmark::win32
