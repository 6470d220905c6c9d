// The Icon Size page: the size of the shell's icons and a sample.
// Its feature comes later; until then it shows its help text.
#pragma once

#include "chrome/PageBox.h"

namespace pellmark {

class IconSizePage final : public chrome::PageBox {
  public:
    explicit IconSizePage(forms::Form& form)
        : PageBox(form, "picContIconSize", chrome::Page::IconSize) {}
};

}  // namespace pellmark
