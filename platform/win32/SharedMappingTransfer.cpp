#include <windows.h>

#include <commctrl.h>

#include <array>
#include <cstring>

#include "platform/ListViewText.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ListViewTransfers.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {
// The classic LVITEMA, without the group fields newer headers add: 40 bytes in the
// 32-bit build, the one that runs on Windows 95/98/Me.
struct ClassicItemRecord {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
};
#if !defined(_WIN64)
static_assert(sizeof(ClassicItemRecord) == 40);
#endif
constexpr DWORD kMappingSize = sizeof(ClassicItemRecord);
static_assert(kMappingSize >= kCaptionBufferSize);

// One backing file, its named mapping and a view of it.
struct SharedTransfer {
    UniqueFile file;
    UniqueKernelHandle mapping;
    UniqueMappedView view;

    [[nodiscard]] OsStatus Open(const std::string& path, const char* name) {
        file.reset(CallWithText(
            path, INVALID_HANDLE_VALUE,
            [](const wchar_t* wide) {
                return ::CreateFileW(wide, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
            },
            [](const char* ansi) {
                return ::CreateFileA(ansi, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
            }));
        if (!file) {
            return LastErrorStatus();
        }
        mapping.reset(
            ::CreateFileMappingA(file.get(), nullptr, PAGE_READWRITE, 0, kMappingSize, name));
        if (!mapping) {
            return LastErrorStatus();
        }
        view.reset(::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
        if (!view) {
            return LastErrorStatus();
        }
        return {};
    }
    // Flush and unmap the view, then close the mapping and the file, in that order.
    void Release() noexcept {
        view.reset();
        mapping.reset();
        file.reset();
    }
};

bool RunningOnNtFamily() {
    return Win32System().ReadVersion().platformId == VER_PLATFORM_WIN32_NT;
}

bool InOwnProcess(HWND window) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    return owner == ::GetCurrentProcessId();
}
}  // namespace

platform::DesktopRead ReadIconsThroughSharedMappings(HWND listView, const std::string& tempFolder) {
    platform::DesktopRead read;
    read.listView = reinterpret_cast<WindowHandle>(listView);
    if (listView == nullptr || (RunningOnNtFamily() && !InOwnProcess(listView))) {
        return read;
    }
    const LRESULT count = ::SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0);

    std::array<SharedTransfer, 2> transfers;
    const OsStatus first = transfers[0].Open(tempFolder + "TEMP~~1.tmp", "MyMapping");
    const OsStatus opened =
        first.ok() ? transfers[1].Open(tempFolder + "TEMP~~2.tmp", "MyMapping2") : first;
    if (!opened.ok()) {
        read.status = platform::DesktopReadStatus::Failed;
        read.error = opened;
        return read;
    }
    auto* record = static_cast<ClassicItemRecord*>(transfers[0].view.get());
    auto* text = static_cast<char*>(transfers[1].view.get());
    const auto recordAddress = reinterpret_cast<LPARAM>(record);

    read.status = platform::DesktopReadStatus::Ok;
    for (int i = 0; i < count; ++i) {
        platform::RawDesktopIcon icon;
        ::SendMessageA(listView, LVM_GETITEMPOSITION, static_cast<WPARAM>(i), recordAddress);
        POINT position;
        std::memcpy(&position, record, sizeof position);
        icon.x = position.x;
        icon.y = position.y;

        *record = ClassicItemRecord{};
        record->mask = LVIF_TEXT;
        record->pszText = text;
        record->cchTextMax = static_cast<int>(kCaptionBufferSize);
        const LRESULT copied =
            ::SendMessageA(listView, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), recordAddress);
        // Windows copies 39 characters and a zero; Wine fills all 40 without one.
        icon.caption = CutCaption(FromAnsi(CaptionFromBuffer(text, kCaptionBufferSize, copied)));

        *record = ClassicItemRecord{};
        record->mask = LVIF_TEXT | LVIF_IMAGE;
        record->iItem = i;
        record->pszText = text;
        record->cchTextMax = static_cast<int>(kCaptionBufferSize);
        ::SendMessageA(listView, LVM_GETITEMA, static_cast<WPARAM>(i), recordAddress);
        icon.imageIndex = record->iImage;
        read.icons.push_back(std::move(icon));
    }
    transfers[0].Release();
    transfers[1].Release();
    // Explorer's image list is shared there, so this process can draw from it.
    read.imageList =
        static_cast<ImageListRef>(::SendMessageA(listView, LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
    return read;
}

bool MoveIconThroughSharedMapping(HWND listView, const std::string& tempFolder, int index,
                                  std::int32_t x, std::int32_t y) {
    if (listView == nullptr || (RunningOnNtFamily() && !InOwnProcess(listView))) {
        return false;
    }
    SharedTransfer transfer;
    if (!transfer.Open(tempFolder + "TEMP~~1.tmp", "MyMapping").ok()) {
        return false;
    }
    const POINT position{x, y};
    std::memcpy(transfer.view.get(), &position, sizeof position);
    ::SendMessageA(listView, LVM_SETITEMPOSITION32, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(transfer.view.get()));
    transfer.Release();
    return true;
}

}  // namespace pellmark::win32
