// The icon-utilities page: caption colours and font, transparency and auto-hide.
// Its feature comes later; until then it shows its help text.
#pragma once

#include "chrome/PageBox.h"

namespace pellmark {

class IconUtilsPage final : public chrome::PageBox {
  public:
    explicit IconUtilsPage(forms::Form& form)
        : PageBox(form, "picContIconUtils", chrome::Page::IconUtilities) {}
};

}  // namespace pellmark
