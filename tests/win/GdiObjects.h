// How many GDI objects this process holds, for tests that check drawing gives back all it
// makes.
#pragma once

#include <windows.h>

namespace pellmark::win32 {

// Wine's GetGuiResources answers 0, but its GetObjectType takes a bare handle-table index
// (an upper word of 0 matches any generation), so there the table is counted.
inline int GdiObjects() {
    if (const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
        counted > 0) {
        return static_cast<int>(counted);
    }
    int count = 0;
    for (UINT_PTR i = 1; i <= 0xFFFF; ++i) {
        count += ::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0 ? 1 : 0;
    }
    return count;
}

}  // namespace pellmark::win32
