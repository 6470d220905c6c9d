// The Misc page: Explorer switches, the icon cache and the wallpaper.
// Its feature comes later; until then it shows its help text.
#pragma once

#include "chrome/PageBox.h"

namespace pellmark {

class MiscPage final : public chrome::PageBox {
  public:
    explicit MiscPage(forms::Form& form)
        : PageBox(form, "picContMisc", chrome::Page::Miscellaneous) {}
};

}  // namespace pellmark
