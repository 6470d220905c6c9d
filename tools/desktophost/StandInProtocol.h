// Messages the stand-in desktop host answers on its Progman window, so tests can look at it
// without going through the program's own reading code.
#pragma once

#include <cstdint>

namespace pellmark::standin {

// WM_COPYDATA, payload a UTF-8 file path: the host writes its current layout there.
inline constexpr std::uintptr_t kCopyDataDump = 0x504D4450;  // 'PMDP'
// WM_COPYDATA, payload "1" or "0": sets or clears the list view's auto-arrange style.
inline constexpr std::uintptr_t kCopyDataAutoArrange = 0x504D4153;  // 'PMAS'
// WM_COPYDATA, payload a layout text: its icons go before the first item, at their
// positions, as a file saved to the desktop arrives at index 0.
inline constexpr std::uintptr_t kCopyDataInsertFirst = 0x504D4946;  // 'PMIF'

}  // namespace pellmark::standin
