// Finding Explorer's desktop list view: under Progman, or where Windows 8 and later
// move it, under a top-level WorkerW.
#pragma once

#include <windows.h>

namespace pellmark::win32 {

// The chain from the desktop window: Progman titled "Program Manager".
[[nodiscard]] HWND FindDesktopListView();
// The chain from the top-level Progman, with any title.
[[nodiscard]] HWND FindProgmanListView();

}  // namespace pellmark::win32
