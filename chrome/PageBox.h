// One page of the main window: a picture box in the page area that holds the page's
// controls. The pages whose features are still to come show their help text.
#pragma once

#include <cstdint>
#include <string>

#include "chrome/MainNavigation.h"
#include "platform/forms/Form.h"

namespace pellmark::chrome {

inline constexpr std::uint32_t kPageBack = 0xFFFFFF;  // the skin's white panel
inline constexpr std::uint32_t kPageText = 0x5A4A3C;  // a soft slate, COLORREF
// The page's inside, less a margin, in the page box's pixels.
inline constexpr forms::Bounds kPageTextArea{16, 14, kPageArea.width - 32, kPageArea.height - 28};

class PageBox {
  public:
    // Adds the page's picture box to the form, hidden.
    PageBox(forms::Form& form, const std::string& name);
    // The same, painting the page's help text in the current language (read as it paints,
    // so a language applied later shows).
    PageBox(forms::Form& form, const std::string& name, Page helpOf);
    PageBox(const PageBox&) = delete;
    PageBox& operator=(const PageBox&) = delete;

    [[nodiscard]] forms::Picture& Box() const noexcept { return box_; }

  private:
    forms::Picture& box_;
};

}  // namespace pellmark::chrome
