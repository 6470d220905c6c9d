// Functions of the system libraries that a start-up does not need (the shell, its light
// API, picture blending), loaded from the system folder when first called. Each library
// an exe imports is loaded before its first line runs, and under the common controls 6
// manifest the shell's libraries cost a start-up more than all of its own work.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace pellmark::win32 {

enum class SystemLibrary {
    Shell,
    ShellLight,
    Gdi,
    Blending,
    CommonDialogs,
    Sockets,
    ShellScaling,  // shcore: each monitor's DPI, from Windows 8.1
    Sessions,      // wtsapi32: session notifications
    Com,           // ole32: the shell's objects and the imaging component
};

// The function of that name, or null where this Windows has none (or the library is
// missing). Loaded libraries stay until the program ends.
[[nodiscard]] FARPROC SystemFunctionAddress(SystemLibrary library, const char* name);

template <class Function>
[[nodiscard]] Function SystemFunction(SystemLibrary library, const char* name) {
    // Through void (*)(): a function pointer's type is only a claim until it is called.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(SystemFunctionAddress(library, name)));
}

// COM through ole32 loaded on first use (with the libraries it brings), so a start that
// needs no COM object loads none of them. Where ole32 is missing, initialising and creating
// fail as COM itself fails.
[[nodiscard]] HRESULT ComInitialize();  // apartment-threaded
void ComUninitialize();
[[nodiscard]] HRESULT ComCreateInstance(REFCLSID type, DWORD context, REFIID interfaceId,
                                        void** object);
void ComTaskMemFree(void* memory);

}  // namespace pellmark::win32
