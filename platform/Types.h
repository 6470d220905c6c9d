// Small value types shared by the logic and every platform backend.
#pragma once

#include <cstdint>
#include <string>

namespace pellmark {

// A window or other OS handle as the logic sees it: an opaque number.
using WindowHandle = std::uintptr_t;
using ImageListRef = std::uintptr_t;

// What GetVersionExA fills (OSVERSIONINFOA), in the program's own terms.
struct VersionInfo {
    std::uint32_t size = 148;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::uint32_t platformId = 0;  // 1: Windows 95/98/Me, 2: NT family
    std::string servicePack;
};

// The outcome of an operating-system call that can fail with a Win32 error.
struct OsStatus {
    std::uint32_t code = 0;   // 0 on success, otherwise the Win32 error code
    std::string description;  // the system's text for that code
    [[nodiscard]] bool ok() const noexcept { return code == 0; }
};

}  // namespace pellmark
