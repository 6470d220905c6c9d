#include "chrome/PageBox.h"

namespace pellmark::chrome {

PageBox::PageBox(forms::Form& form, const std::string& name)
    : box_(form.Add<forms::Picture>(name)) {
    box_.SetVisible(false);
    box_.Move(kPageArea);
    box_.SetBackColour(kPageBack);
}

PageBox::PageBox(forms::Form& form, const std::string& name, Page helpOf) : PageBox(form, name) {
    box_.Paint = [helpOf](forms::Canvas& canvas) {
        canvas.Text(PageHelp(helpOf), kPageTextArea, {.colour = kPageText, .wrap = true});
    };
}

}  // namespace pellmark::chrome
