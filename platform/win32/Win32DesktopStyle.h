// The desktop's caption colours and font, and where the pointer is, on real windows.
#pragma once

#include "platform/DesktopStyle.h"
#include "platform/win32/Handles.h"

namespace pellmark::win32 {

class Win32DesktopStyle final : public platform::DesktopStyle {
  public:
    std::uint32_t TextColour() override;
    std::uint32_t TextBackColour() override;
    void SetTextColour(std::uint32_t colour) override;
    void SetTextBackColour(std::uint32_t colour) override;
    void SetCaptionFont(const platform::FontChoice& font) override;
    bool PointerOnDesktop() override;
    std::uint32_t TickCount() override;

  private:
    // On 95/98/Me the list view draws with this process's font handle, so it lives as long
    // as the program does, or until the next font replaces it.
    UniqueGdiObject font_;
};

}  // namespace pellmark::win32
