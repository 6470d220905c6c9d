// The Show/Hide page: every desktop icon with its picture; single icons can be hidden.
// Its feature comes later; until then it shows its help text.
#pragma once

#include "chrome/PageBox.h"

namespace pellmark {

class ShowHideIconsPage final : public chrome::PageBox {
  public:
    explicit ShowHideIconsPage(forms::Form& form)
        : PageBox(form, "picContShowHideIcons", chrome::Page::ShowHideIcons) {}
};

}  // namespace pellmark
