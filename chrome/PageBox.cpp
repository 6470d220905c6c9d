#include "chrome/PageBox.h"

#include <utility>

namespace pellmark::chrome {

PageBox::PageBox(forms::Form& form, const std::string& name, std::string text)
    : box_(form.Add<forms::Picture>(name)), text_(std::move(text)) {
    box_.SetVisible(false);
    box_.Move(kPageArea);
    box_.SetBackColour(kPageBack);
    if (!text_.empty()) {
        box_.Paint = [this](forms::Canvas& canvas) {
            canvas.Text(text_, kPageTextArea, {.colour = kPageText, .wrap = true});
        };
    }
}

}  // namespace pellmark::chrome
