#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/ListViewRecords.h"
#include "platform/ListViewText.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ListViewTransfers.h"
#include "platform/win32/Win32Services.h"

namespace pellmark::win32 {

namespace {
// A desktop with more items than this is not a desktop; refuse rather than allocate.
constexpr std::size_t kMaxTransferBytes = 64u << 20;
// Captions travel as UTF-16, so every character of every caption arrives as it is.
constexpr std::size_t kCaptionSlotBytes = kCaptionBufferSize * sizeof(char16_t);

using IsWow64ProcessFunction = BOOL(WINAPI*)(HANDLE, PBOOL);

// IsWow64Process, where the system has it (XP SP2 and later).
bool RunsUnderWow64(HANDLE process) {
    static const auto isWow64 = reinterpret_cast<IsWow64ProcessFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 != nullptr && isWow64(process, &wow64) != FALSE && wow64 != FALSE;
}

// Whether `process` has 64-bit pointers: on 64-bit Windows, every process that does not
// run under WOW64.
bool Is64BitProcess(HANDLE process) {
#if defined(_WIN64)
    return !RunsUnderWow64(process);
#else
    return RunsUnderWow64(::GetCurrentProcess()) && !RunsUnderWow64(process);
#endif
}

UniqueKernelHandle OpenListViewOwner(HWND listView) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(listView, &processId);
    if (processId == 0) {
        return {};
    }
    constexpr DWORD kMemoryAccess = PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE;
    UniqueKernelHandle process(
        ::OpenProcess(kMemoryAccess | PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) {
        // Vista and later grant the limited query right more readily.
        constexpr DWORD kQueryLimitedInformation = 0x1000;
        process.reset(::OpenProcess(kMemoryAccess | kQueryLimitedInformation, FALSE, processId));
    }
    return process;
}

platform::DesktopRead Failed(platform::DesktopRead read, OsStatus error) {
    read.status = platform::DesktopReadStatus::Failed;
    read.error = std::move(error);
    read.icons.clear();
    return read;
}
}  // namespace

platform::DesktopRead ReadIconsThroughRemoteMemory(HWND listView) {
    platform::DesktopRead read;
    read.listView = reinterpret_cast<WindowHandle>(listView);
    if (listView == nullptr) {
        return read;
    }
    const UniqueKernelHandle process = OpenListViewOwner(listView);
    if (!process) {
        return read;
    }
    const platform::ItemRecordLayout& layout =
        platform::ItemLayoutFor(Is64BitProcess(process.get()));

    const LRESULT count = ::SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0);
    read.status = platform::DesktopReadStatus::Ok;
    if (count <= 0) {
        return read;
    }
    const auto plan = platform::PlanTransferBlock(static_cast<std::size_t>(count), layout,
                                                  kCaptionSlotBytes, kMaxTransferBytes);
    if (!plan) {
        return Failed(std::move(read),
                      {ERROR_NOT_ENOUGH_MEMORY, ErrorDescription(ERROR_NOT_ENOUGH_MEMORY)});
    }
    const RemoteMemory block(process.get(), plan->totalSize);
    if (!block) {
        return Failed(std::move(read), LastErrorStatus());
    }
    const auto base = reinterpret_cast<std::uintptr_t>(block.address());
    if (layout.pointerBytes == 4 && base + plan->totalSize > 0xFFFFFFFFu) {
        // A 32-bit list view could not use these addresses.
        return Failed(std::move(read),
                      {ERROR_INVALID_ADDRESS, ErrorDescription(ERROR_INVALID_ADDRESS)});
    }

    std::vector<std::byte> local(plan->totalSize);
    for (std::size_t i = 0; i < plan->count; ++i) {
        platform::WriteItemRequest(std::span(local).subspan(plan->RecordAt(i), layout.size), layout,
                                   static_cast<std::int32_t>(i), base + plan->TextAt(i),
                                   static_cast<std::int32_t>(kCaptionBufferSize));
    }
    SIZE_T moved = 0;
    if (::WriteProcessMemory(process.get(), block.address(), local.data(), plan->textsOffset,
                             &moved) == FALSE) {
        return Failed(std::move(read), LastErrorStatus());
    }
    for (std::size_t i = 0; i < plan->count; ++i) {
        ::SendMessageA(listView, LVM_GETITEMPOSITION, i,
                       static_cast<LPARAM>(base + plan->PointAt(i)));
        ::SendMessageW(listView, LVM_GETITEMW, 0, static_cast<LPARAM>(base + plan->RecordAt(i)));
    }
    if (::ReadProcessMemory(process.get(), block.address(), local.data(), plan->totalSize,
                            &moved) == FALSE) {
        return Failed(std::move(read), LastErrorStatus());
    }

    read.icons.reserve(plan->count);
    const std::span<const std::byte> bytes(local);
    for (std::size_t i = 0; i < plan->count; ++i) {
        const auto record = bytes.subspan(plan->RecordAt(i), layout.size);
        platform::RawDesktopIcon icon;
        icon.x = platform::ReadInt32(bytes, plan->PointAt(i));
        icon.y = platform::ReadInt32(bytes, plan->PointAt(i) + 4);
        icon.imageIndex = platform::ReadItemImage(record, layout);
        const std::uint64_t textAddress = platform::ReadItemTextAddress(record, layout);
        if (textAddress == base + plan->TextAt(i)) {
            char16_t text[kCaptionBufferSize] = {};
            std::memcpy(text, local.data() + plan->TextAt(i), sizeof text);
            icon.caption =
                CutCaption(CaptionFromBuffer(text, kCaptionBufferSize, kCaptionBufferSize));
        } else if (textAddress != 0 && textAddress <= UINTPTR_MAX) {
            // The list view may point at text of its own instead of copying it.
            char16_t own[kCaptionBufferSize] = {};
            const auto ownAddress = static_cast<std::uintptr_t>(textAddress);
            if (::ReadProcessMemory(process.get(), reinterpret_cast<const void*>(ownAddress), own,
                                    sizeof own, &moved) != FALSE) {
                icon.caption =
                    CutCaption(CaptionFromBuffer(own, kCaptionBufferSize, kCaptionBufferSize));
            }
        }
        read.icons.push_back(std::move(icon));
    }
    return read;
}

bool MoveIconThroughRemoteMemory(HWND listView, int index, std::int32_t x, std::int32_t y) {
    const UniqueKernelHandle process = OpenListViewOwner(listView);
    if (!process) {
        return false;
    }
    const RemoteMemory block(process.get(), sizeof(POINT));  // two LONGs in every process
    const POINT position{x, y};
    SIZE_T moved = 0;
    if (!block || ::WriteProcessMemory(process.get(), block.address(), &position, sizeof position,
                                       &moved) == FALSE) {
        return false;
    }
    ::SendMessageA(listView, LVM_SETITEMPOSITION32, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(block.address()));
    return true;
}

}  // namespace pellmark::win32
