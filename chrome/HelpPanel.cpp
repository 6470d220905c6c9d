#include "chrome/HelpPanel.h"

namespace pellmark::chrome {

namespace {
constexpr std::uint32_t kInfoBack = 0xF4FAFF;  // a warm paper white, apart from the pages
constexpr int kDoneWidth = 80;
constexpr int kDoneHeight = 26;
}  // namespace

HelpPanel::HelpPanel(forms::Form& form)
    : PageBox(form, "picContInfo"),
      lblInfo(form.Add<forms::Label>("lblInfo", &Box())),
      cmdDone(form.Add<forms::Button>("cmdDone", &Box())) {
    Box().SetBackColour(kInfoBack);
    lblInfo.SetBackColour(kInfoBack);
    lblInfo.SetForeColour(kPageText);
    lblInfo.Move({kPageTextArea.left, kPageTextArea.top, kPageTextArea.width,
                  kPageArea.height - kPageTextArea.top - kDoneHeight - 20});
    cmdDone.Tag = "0010";
    cmdDone.SetCaption("Done");
    cmdDone.Move({kPageArea.width - kDoneWidth - 12, kPageArea.height - kDoneHeight - 10,
                  kDoneWidth, kDoneHeight});
}

}  // namespace pellmark::chrome
