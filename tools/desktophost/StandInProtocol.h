// Messages the stand-in desktop host answers on its Progman window, so tests can look at it
// without going through the program's own reading code.
#pragma once

#include <cstdint>

namespace pellmark::standin {

// WM_COPYDATA, payload an ANSI file path: the host writes its current layout there.
inline constexpr std::uintptr_t kCopyDataDump = 0x504D4450;  // 'PMDP'
// WM_COPYDATA, payload "1" or "0": sets or clears the list view's auto-arrange style.
inline constexpr std::uintptr_t kCopyDataAutoArrange = 0x504D4153;  // 'PMAS'

}  // namespace pellmark::standin
