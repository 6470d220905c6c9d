// The desktop icons as the program sees them, whatever mechanism reaches Explorer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace pellmark::platform {

struct ScreenSize {
    std::int32_t width = 0;   // right edge of the desktop window
    std::int32_t height = 0;  // bottom edge
};

// One item of the desktop list view, in its item order.
struct RawDesktopIcon {
    std::string caption;  // UTF-8, at most 39 UTF-16 units
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t imageIndex = 0;
    // The shell's parsing name, unique among the desktop's items (two icons may share a
    // caption, never this); empty where the mechanism cannot tell it.
    std::string parsingName;
};

// Where one item of the last read goes.
struct IconPlacement {
    int index = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const IconPlacement&, const IconPlacement&) = default;
};

enum class DesktopReadStatus {
    Ok,         // icons holds every item (possibly none)
    NoDesktop,  // no list view, or its owner could not be reached: nothing was read
    Failed,     // the transfer memory could not be made; error says why
};

// An icon whose own picture is asked for, as a read reported it.
struct IconPictureRequest {
    std::string caption;
    std::int32_t imageIndex = 0;
};

// One picture, `size` pixels square, row by row from the top, each a COLORREF with its
// opacity in the top byte; empty when the icon's picture could not be found.
using IconPixels = std::vector<std::uint32_t>;

struct DesktopRead {
    DesktopReadStatus status = DesktopReadStatus::NoDesktop;
    OsStatus error;
    WindowHandle listView = 0;
    // An image list this process can draw from (the system's, through the Shell's view), or
    // 0. The list view's own list lives in Explorer's process and is of no use here.
    ImageListRef imageList = 0;
    std::vector<RawDesktopIcon> icons;
};

class Desktop {
  public:
    virtual ~Desktop() = default;
    // GetWindowRect of the desktop window: right and bottom.
    virtual ScreenSize ReadScreenSize() = 0;
    // Horizontal logical DPI, for converting the screen width to twips.
    virtual int LogicalDpiX() = 0;
    // Reads every icon of the desktop list view.
    virtual DesktopRead ReadIcons() = 0;
    // Moves items of the last read, all in one request where the mechanism allows it.
    // A position beyond 16 bits is set whole, never wrapped to the other side of the
    // screen. An index outside the read, or a refused position, leaves that icon where it is.
    virtual void MoveIcons(std::span<const IconPlacement> placements) = 0;
    void MoveIcon(int index, std::int32_t x, std::int32_t y) {
        const IconPlacement one{index, x, y};
        MoveIcons({&one, 1});
    }
    // The icons' own pictures, `size` pixels square (0: the size the pictures are kept at,
    // larger on a screen of more dots per inch), one per request in its order: from
    // `imageList` (a read's) where this process can draw from it, otherwise from the
    // shell's items of the desktop matched by caption. A picture that cannot be told for
    // certain is left empty.
    virtual std::vector<IconPixels> ReadIconPictures(ImageListRef imageList,
                                                     std::span<const IconPictureRequest> icons,
                                                     int size) = 0;
    // True when Explorer arranges the icons itself; false when there is no desktop.
    virtual bool IsAutoArrange() = 0;
    // The desktop list view, looked up afresh; 0 when there is none.
    virtual WindowHandle FindListView() = 0;
    // Shows or hides the whole desktop list view, and with it every icon; nothing when
    // there is none.
    virtual void ShowDesktopIcons(bool show) = 0;
    // The colour of the icons' captions (COLORREF, CLR_NONE as the list view holds it); 0
    // when there is no desktop.
    virtual std::uint32_t GetDesktopTextColour() = 0;
};

}  // namespace pellmark::platform
