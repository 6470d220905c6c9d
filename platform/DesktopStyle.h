// How the desktop's icon captions look (their colours and font) and where the mouse
// pointer is, as caption styling and auto-hide need them. Every call looks the desktop
// list view up afresh; none keeps a handle between calls.
#pragma once

#include <cstdint>

#include "platform/Dialogs.h"

namespace pellmark::platform {

// As a caption background: no background at all, the captions drawn over the wallpaper.
inline constexpr std::uint32_t kNoColour = 0xFFFFFFFF;

class DesktopStyle {
  public:
    virtual ~DesktopStyle() = default;
    // The captions' text colour and background colour (kNoColour when transparent), as
    // the desktop list view reports them; 0 when there is no desktop.
    [[nodiscard]] virtual std::uint32_t TextColour() = 0;
    [[nodiscard]] virtual std::uint32_t TextBackColour() = 0;
    // Sets the colour and has the desktop repaint at once; nothing when there is no desktop.
    virtual void SetTextColour(std::uint32_t colour) = 0;
    virtual void SetTextBackColour(std::uint32_t colour) = 0;
    // Gives the captions this font from now on; nothing when there is no desktop.
    virtual void SetCaptionFont(const FontChoice& font) = 0;
    // True while the window under the mouse pointer is the desktop's: its icon view, or
    // the view's own parent window (what lies beneath while the icons are hidden).
    [[nodiscard]] virtual bool PointerOnDesktop() = 0;
    // Milliseconds since the system started, wrapping at 2^32 (GetTickCount).
    [[nodiscard]] virtual std::uint32_t TickCount() = 0;
};

}  // namespace pellmark::platform
