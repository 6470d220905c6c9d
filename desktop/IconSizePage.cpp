#include "desktop/IconSizePage.h"

#include <string>

#include "chrome/res/ChromePictures.h"
#include "desktop/ExplorerSwitches.h"
#include "patterns/PatternPage.h"

namespace pellmark {

namespace {

// The square the sample grows in, in the page's pixels: room for the largest size.
constexpr forms::Bounds kSampleArea{262, 52, kIconSizeMax, kIconSizeMax};

std::string SizeText(int size) {
    std::string text = std::to_string(size);
    text += " x ";
    text += std::to_string(size);
    return text;
}

}  // namespace

IconSizePage::IconSizePage(forms::Form& form, platform::Registry& registry,
                           platform::Dialogs& dialogs, std::function<void()> repaintScreen)
    : PageBox(form, "picContIconSize"),
      lblIconSizeInfo(form.Add<forms::Label>("lblIconSizeInfo", &Box())),
      sldIconSize(form.Add<forms::Slider>("sldIconSize", &Box())),
      lblIconSize(form.Add<forms::Label>("lblIconSize", &Box())),
      lblRecommended(form.Add<forms::Label>("lblRecommended", &Box())),
      imgIconPreview(form.Add<forms::Image>("imgIconPreview", &Box())),
      lblIconCache(form.Add<forms::Label>("lblIconCache", &Box())),
      txtIconCache(form.Add<forms::TextBox>("txtIconCache", &Box())),
      lblKb(form.Add<forms::Label>("lblKb", &Box())),
      registry_(registry),
      dialogs_(dialogs),
      repaintScreen_(std::move(repaintScreen)) {
    lblIconSizeInfo.Tag = "0401";
    lblIconSizeInfo.SetCaption(
        "This will change the icon size throughout explorer i.e. The desktop, My Computer, "
        "even the start menu.");
    lblRecommended.Tag = "0402";
    lblRecommended.SetCaption("Recommended: 32 x 32  pixels");
    lblIconCache.Tag = "0506";
    lblIconCache.SetCaption("Icon &Cache size:");
    lblKb.SetCaption("kb");
    txtIconCache.SetToolTip("Needs restart to take effect");
    txtIconCache.SetText("20");
    // The stored size is not read back: the slider starts at the usual size every time.
    sldIconSize.SetRange(kIconSizeMin, kIconSizeMax);
    sldIconSize.SetSteps(0, 1, 5);
    sldIconSize.SetValue(kIconSizeStart);
    lblIconSize.SetCaption(SizeText(kIconSizeStart) + "  pixels");
    imgIconPreview.SetStretch(true);
    // Hooked up after the first value, so that making the page writes nothing.
    sldIconSize.Change = [this] { RunTrapped(dialogs_, [this] { sldIconSize_Scroll(); }); };
    sldIconSize.MouseUp = [this](const forms::MouseEvent&) {
        // Explorer draws its icons again when it next paints.
        if (repaintScreen_) {
            repaintScreen_();
        }
    };
    txtIconCache.Change = [this] { RunTrapped(dialogs_, [this] { txtIconCache_Change(); }); };
}

void IconSizePage::PositionControls() {
    for (forms::Label* label :
         {&lblIconSizeInfo, &lblIconSize, &lblRecommended, &lblIconCache, &lblKb}) {
        label->SetBackColour(chrome::kPageBack);
        label->SetForeColour(chrome::kPageText);
    }
    sldIconSize.SetBackColour(chrome::kPageBack);
    lblIconSizeInfo.Move({12, 8, 353, 34});
    sldIconSize.Move({8, 64, 240, 30});
    lblIconSize.Move({14, 100, 230, 18});
    lblRecommended.Move({14, 122, 230, 18});
    // Room for the longest translation ("Größe des Symbolcaches:").
    lblIconCache.Move({14, 190, 150, 18});
    txtIconCache.Move({166, 186, 64, 22});
    lblKb.Move({236, 190, 40, 18});
    // The sample is the program's own mark, which is drawn to be seen large; at high DPI
    // from its larger drawing, so that it grows sharp.
    imgIconPreview.SetPicture(imgIconPreview.Owner().GetBackend().LoadScalablePicture(
        chrome::PictureName(PELLMARK_PICTURE_ABOUT_LOGO),
        chrome::PictureName(PELLMARK_PICTURE_ABOUT_LOGO + chrome::kLargePictures)));
    PlaceSample(sldIconSize.Value());
}

void IconSizePage::PlaceSample(int size) {
    imgIconPreview.Move({kSampleArea.left + (kSampleArea.width - size) / 2,
                         kSampleArea.top + (kSampleArea.height - size) / 2, size, size});
}

void IconSizePage::sldIconSize_Scroll() {
    const int size = sldIconSize.Value();
    static_cast<void>(SetDesktopIconSize(registry_, dialogs_, size));
    lblIconSize.SetCaption(SizeText(size));
    PlaceSample(size);
}

void IconSizePage::txtIconCache_Change() {
    if (loading_) {
        return;
    }
    // Every keystroke that leaves a number stores it; anything else stores nothing.
    if (const std::optional<std::int32_t> count = RoundedNumber(txtIconCache.Text())) {
        SetMaxCachedIcons(registry_, *count);
    }
}

void IconSizePage::LoadIconCache() {
    loading_ = true;
    txtIconCache.SetText(std::to_string(GetMaxCachedIcons(registry_)));
    loading_ = false;
}

}  // namespace pellmark
