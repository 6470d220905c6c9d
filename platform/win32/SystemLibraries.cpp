#include "platform/win32/SystemLibraries.h"

#include <array>
#include <string>

#include "platform/win32/Handles.h"

namespace pellmark::win32 {

namespace {

const char* FileOf(SystemLibrary library) {
    switch (library) {
        case SystemLibrary::Shell:
            return "shell32.dll";
        case SystemLibrary::ShellLight:
            return "shlwapi.dll";
        case SystemLibrary::Gdi:
            return "gdi32.dll";
        case SystemLibrary::Blending:
            return "msimg32.dll";
        case SystemLibrary::CommonDialogs:
            return "comdlg32.dll";
        case SystemLibrary::Sockets:
            return "ws2_32.dll";
        case SystemLibrary::ShellScaling:
            return "shcore.dll";
        case SystemLibrary::Sessions:
            return "wtsapi32.dll";
    }
    return "";
}

// From the system folder only: a library of the same name beside the program or in the
// current folder is never the one loaded.
UniqueLibrary LoadFromSystemFolder(const char* file) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return UniqueLibrary();
    }
    std::string path(folder, length);
    path += '\\';
    path += file;
    return UniqueLibrary(::LoadLibraryA(path.c_str()));
}

}  // namespace

FARPROC SystemFunctionAddress(SystemLibrary library, const char* name) {
    // One thread (the window thread) asks; a library is tried once.
    struct Loaded {
        bool tried = false;
        UniqueLibrary module;
    };
    static std::array<Loaded, 8> libraries;
    Loaded& loaded = libraries.at(static_cast<std::size_t>(library));
    if (!loaded.tried) {
        loaded.tried = true;
        loaded.module = LoadFromSystemFolder(FileOf(library));
    }
    return loaded.module ? ::GetProcAddress(loaded.module.get(), name) : nullptr;
}

}  // namespace pellmark::win32
