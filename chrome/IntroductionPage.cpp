#include "chrome/IntroductionPage.h"

#include <string>

namespace pellmark::chrome {

namespace {
constexpr int kItemTop = 84;
constexpr int kItemStep = 21;
constexpr int kItemIndent = 30;
constexpr int kBulletSize = 5;

constexpr std::array<const char*, kIntroItemCount> kItems = {
    "Save your icon layout as a named pattern.",   "Restore it here, from the tray or a command.",
    "Restore at start-up or on a new resolution.", "Other screen sizes are scaled to fit.",
    "Patterns, on the left: your saved layouts.",  "Desktop, on the left: tune the desktop.",
};
}  // namespace

IntroductionPage::IntroductionPage(forms::Form& form)
    : PageBox(form, "picIntroduction"),
      Label2(form.Add<forms::Label>("Label2", &Box())),
      Label3(form.Add<forms::Label>("Label3", &Box())) {
    Label2.Tag = "0001";
    Label2.SetCaption("Welcome to Pellmark");
    Label2.SetFont({.points = 12, .bold = true});
    Label2.Move({kPageTextArea.left, kPageTextArea.top, kPageTextArea.width, 24});
    Label3.Tag = "0002";
    Label3.SetCaption(
        "Pellmark remembers where the icons on your desktop stand and puts them back.");
    Label3.Move({kPageTextArea.left, kPageTextArea.top + 30, kPageTextArea.width, 36});
    for (int i = 0; i < kIntroItemCount; ++i) {
        forms::Label& item = form.Add<forms::Label>(
            forms::ElementName("lblIntroItem", static_cast<std::size_t>(i)), &Box());
        item.Tag = "000" + std::to_string(3 + i);
        item.SetCaption(kItems[static_cast<std::size_t>(i)]);
        item.Move(
            {kItemIndent, kItemTop + i * kItemStep, kPageArea.width - kItemIndent - 12, kItemStep});
        lblIntroItem[static_cast<std::size_t>(i)] = &item;
    }
    for (forms::Label* label : {&Label2, &Label3}) {
        label->SetBackColour(kPageBack);
        label->SetForeColour(kPageText);
    }
    for (forms::Label* item : lblIntroItem) {
        item->SetBackColour(kPageBack);
        item->SetForeColour(kPageText);
    }
    // A small square before each item, beside its first line.
    Box().Paint = [](forms::Canvas& canvas) {
        for (int i = 0; i < kIntroItemCount; ++i) {
            const int top = kItemTop + i * kItemStep + 6;
            canvas.Fill({kItemIndent - 12, top, kBulletSize, kBulletSize}, kPageText);
        }
    };
}

}  // namespace pellmark::chrome
