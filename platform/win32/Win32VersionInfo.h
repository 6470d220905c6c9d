// The program's own resources read as data: the version resource (its numbers and the texts
// the about box shows) and files the build put into the program.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace pellmark::win32 {

struct VersionResource {
    int major = 0;     // FILEVERSION's first number
    int minor = 0;     // its second
    int revision = 0;  // its third
    std::string comments;
    std::string legalCopyright;
};

// The version resource of `module` (null: the program itself), its texts from the first
// language it lists; nothing when it has none.
[[nodiscard]] std::optional<VersionResource> ReadVersionResource(HMODULE module = nullptr);

// The bytes of the raw (RCDATA) resource of that name in the program; empty when it has
// none.
[[nodiscard]] std::string ReadDataResource(const char* name);

}  // namespace pellmark::win32
