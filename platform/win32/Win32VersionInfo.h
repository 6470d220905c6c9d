// The program's version resource: its numbers and the texts the about box shows.
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

}  // namespace pellmark::win32
