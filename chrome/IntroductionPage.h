// The main window's first page: what the program is for and where to go from here. Its
// texts are labels, so each language gives its own.
#pragma once

#include <array>

#include "chrome/PageBox.h"

namespace pellmark::chrome {

inline constexpr int kIntroItemCount = 6;

class IntroductionPage final : public PageBox {
  public:
    explicit IntroductionPage(forms::Form& form);

    forms::Label& Label2;  // the heading
    forms::Label& Label3;  // what the program does
    std::array<forms::Label*, kIntroItemCount> lblIntroItem{};
};

}  // namespace pellmark::chrome
