#include "platform/win32/Win32VersionInfo.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32/WideText.h"

namespace pellmark::win32 {

namespace {

// One string of the block, by its name, in the language `translation` ("040904b0").
std::string StringValue(std::vector<BYTE>& block, const std::string& translation,
                        const char* name) {
    const std::string path = "\\StringFileInfo\\" + translation + "\\" + name;
    UINT length = 0;
    if (UsesWideApi()) {
        wchar_t* text = nullptr;
        if (::VerQueryValueW(block.data(), Widen(path).c_str(), reinterpret_cast<void**>(&text),
                             &length) == 0 ||
            text == nullptr) {
            return {};
        }
        return NarrowBuffer(text, length);
    }
    char* text = nullptr;
    if (::VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ==
            0 ||
        text == nullptr) {
        return {};
    }
    return FromAnsi(std::string(text, ::strnlen(text, length)));
}

}  // namespace

std::optional<VersionResource> ReadVersionResource(HMODULE module) {
    // Resource numbers carry no text, so the ANSI calls serve every Windows.
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO),
                                  MAKEINTRESOURCEA(16));  // RT_VERSION
    if (found == nullptr) {
        return std::nullopt;
    }
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    const DWORD size = ::SizeofResource(module, found);
    if (data == nullptr || size == 0) {
        return std::nullopt;
    }
    // A writable copy, with room behind it where the ANSI query puts converted texts.
    std::vector<BYTE> block(static_cast<std::size_t>(size) * 2);
    std::memcpy(block.data(), data, size);

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) == 0 ||
        fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    VersionResource version;
    version.major = HIWORD(fixed->dwFileVersionMS);
    version.minor = LOWORD(fixed->dwFileVersionMS);
    version.revision = HIWORD(fixed->dwFileVersionLS);

    WORD* languages = nullptr;
    if (::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                         reinterpret_cast<void**>(&languages), &length) != 0 &&
        languages != nullptr && length >= 2 * sizeof(WORD)) {
        char translation[9];
        std::snprintf(translation, sizeof translation, "%04x%04x", languages[0], languages[1]);
        version.comments = StringValue(block, translation, "Comments");
        version.legalCopyright = StringValue(block, translation, "LegalCopyright");
    }
    return version;
}

std::string ReadDataResource(const char* name) {
    // The program's own resource names are plain ASCII: the ANSI call serves every Windows.
    HRSRC found = ::FindResourceA(nullptr, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? ::LoadResource(nullptr, found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return {};
    }
    return {static_cast<const char*>(data), ::SizeofResource(nullptr, found)};
}

}  // namespace pellmark::win32
