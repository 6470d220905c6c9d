// The two ways of handing Explorer's list view memory it can write into.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/Desktop.h"

namespace pellmark::win32 {

// Windows 95/98/Me: the named 40-byte mappings "MyMapping" and "MyMapping2" over
// "TEMP~~1.tmp" and "TEMP~~2.tmp" in `tempFolder`, whose views have the same address in
// every process there. Made at the start of the read and released at its end; three
// messages per icon. On the NT family a view has no common address, so a list view of
// another process is refused there without a message.
[[nodiscard]] platform::DesktopRead ReadIconsThroughSharedMappings(HWND listView,
                                                                   const std::string& tempFolder);

// NT family: one block allocated in the list view's own process for the whole read, in
// that process's record layout, two messages per icon, freed on every path.
[[nodiscard]] platform::DesktopRead ReadIconsThroughRemoteMemory(HWND listView);

// LVM_SETITEMPOSITION32 for a position beyond the 16 bits of LVM_SETITEMPOSITION: its
// POINT goes through the same kind of memory as the reads use. False when no such memory
// could be made (nothing is sent then).
[[nodiscard]] bool MoveIconThroughSharedMapping(HWND listView, const std::string& tempFolder,
                                                int index, std::int32_t x, std::int32_t y);
[[nodiscard]] bool MoveIconThroughRemoteMemory(HWND listView, int index, std::int32_t x,
                                               std::int32_t y);

}  // namespace pellmark::win32
