// The help panel: the current page's help text over the page, until Done.
#pragma once

#include <functional>
#include <string>

#include "chrome/PageBox.h"

namespace pellmark::chrome {

class HelpPanel final : public PageBox {
  public:
    explicit HelpPanel(forms::Form& form);

    void SetText(const std::string& text) { lblInfo.SetCaption(text); }

    forms::Label& lblInfo;
    forms::Button& cmdDone;
};

}  // namespace pellmark::chrome
