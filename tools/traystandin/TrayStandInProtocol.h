// Messages the stand-in notification area answers on its Shell_TrayWnd window, so tests can
// look at what it was told and act as the user on its icons.
#pragma once

#include <cstdint>

namespace pellmark::traystandin {

// WM_COPYDATA, payload a UTF-8 file path: the stand-in writes there every request the
// shell passed on, one line each, oldest first:
//   add hwnd=0001003e id=1 flags=7 callback=8123 icon=32x32 answer=1 tip=Pellmark
// (verb add, modify, delete, focus or version; icon "-" when none came; the tip last, to
// the end of the line).
inline constexpr std::uintptr_t kCopyDataLog = 0x50544C47;  // 'PTLG'
// WM_COPYDATA, payload "HWND ID MESSAGE" (hexadecimal, hexadecimal, decimal): the mouse
// message happened on that icon; its callback goes to its window. Refused for an icon the
// stand-in does not hold.
inline constexpr std::uintptr_t kCopyDataClick = 0x5054434B;  // 'PTCK'
// WM_COPYDATA, no payload: the notification area starts again, empty, and tells every
// top-level window with the registered message "TaskbarCreated".
inline constexpr std::uintptr_t kCopyDataRestart = 0x50545253;  // 'PTRS'

}  // namespace pellmark::traystandin
