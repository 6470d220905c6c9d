// The process-wide table of the current desktop icons, refilled by every read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace pellmark {

struct IconPosition {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const IconPosition&, const IconPosition&) = default;
};

struct DesktopIcon {
    std::string Caption;  // at most 39 characters
    IconPosition Position;
    std::int32_t ImageIndex = 0;
    bool OffScreen = false;   // beyond the right or bottom edge: pushed away to hide it
    std::string ParsingName;  // the shell's own name for it, unique; empty when unknown
    friend bool operator==(const DesktopIcon&, const DesktopIcon&) = default;
};

struct DesktopIconTable {
    WindowHandle ListViewWindow = 0;
    std::int32_t IconCount = 0;
    std::int32_t ScreenWidth = 0;
    std::int32_t ScreenHeight = 0;
    ImageListRef ImageListHandle = 0;
    std::vector<DesktopIcon> Icons;  // IconCount entries, in the list view's item order
};

}  // namespace pellmark
