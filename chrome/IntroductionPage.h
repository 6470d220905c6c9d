// The main window's first page: what the program is for and where to go from here.
#pragma once

#include "chrome/PageBox.h"

namespace pellmark::chrome {

inline constexpr const char* kIntroductionText =
    "Pellmark remembers where the icons on your desktop stand and puts them back.\n\n"
    "Choose Patterns on the left to save and restore icon positions, or Desktop to tune how "
    "the desktop shows its icons. Click the title above to learn about Pellmark.";

class IntroductionPage final : public PageBox {
  public:
    explicit IntroductionPage(forms::Form& form)
        : PageBox(form, "picIntroduction", kIntroductionText) {}
};

}  // namespace pellmark::chrome
