// The Remove page: the special desktop icons, taken off the desktop and brought back.
// Its feature comes later; until then it shows its help text.
#pragma once

#include "chrome/PageBox.h"

namespace pellmark {

class RemoveIconsPage final : public chrome::PageBox {
  public:
    explicit RemoveIconsPage(forms::Form& form)
        : PageBox(form, "picContRemoveIcons", chrome::Page::RemoveIcons) {}
};

}  // namespace pellmark
