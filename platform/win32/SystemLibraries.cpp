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
        case SystemLibrary::Com:
            return "ole32.dll";
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
    static std::array<Loaded, 9> libraries;
    Loaded& loaded = libraries.at(static_cast<std::size_t>(library));
    if (!loaded.tried) {
        loaded.tried = true;
        loaded.module = LoadFromSystemFolder(FileOf(library));
    }
    return loaded.module ? ::GetProcAddress(loaded.module.get(), name) : nullptr;
}

HRESULT ComInitialize() {
    static const auto initialiseEx =
        SystemFunction<HRESULT(WINAPI*)(LPVOID, DWORD)>(SystemLibrary::Com, "CoInitializeEx");
    if (initialiseEx != nullptr) {
        return initialiseEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    // Windows 95 without DCOM has only the older call, which makes the same apartment.
    static const auto initialise =
        SystemFunction<HRESULT(WINAPI*)(LPVOID)>(SystemLibrary::Com, "CoInitialize");
    return initialise != nullptr ? initialise(nullptr) : E_FAIL;
}

void ComUninitialize() {
    static const auto uninitialise =
        SystemFunction<void(WINAPI*)()>(SystemLibrary::Com, "CoUninitialize");
    if (uninitialise != nullptr) {
        uninitialise();
    }
}

HRESULT ComCreateInstance(REFCLSID type, DWORD context, REFIID interfaceId, void** object) {
    static const auto create =
        SystemFunction<HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*)>(
            SystemLibrary::Com, "CoCreateInstance");
    if (create == nullptr) {
        *object = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    return create(type, nullptr, context, interfaceId, object);
}

void ComTaskMemFree(void* memory) {
    static const auto release =
        SystemFunction<void(WINAPI*)(LPVOID)>(SystemLibrary::Com, "CoTaskMemFree");
    if (release != nullptr) {
        release(memory);
    }
}

}  // namespace pellmark::win32
