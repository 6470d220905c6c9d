#include "update/frmProgress.h"

#include <algorithm>
#include <utility>

#include "settings/AppInfo.h"

namespace pellmark::update {

namespace {
constexpr int kFormWidth = 320;
constexpr int kFormHeight = 138;
constexpr int kMargin = 12;
constexpr int kInnerWidth = kFormWidth - 2 * kMargin;
constexpr forms::Bounds kBar{kMargin, 56, kInnerWidth, 20};
constexpr int kPercentTop = 3;  // the text's offset inside the bar, roughly centred
}  // namespace

frmProgress::frmProgress(forms::Backend& backend)
    : Form(backend, "frmProgress"),
      Label1(Add<forms::Label>("Label1")),
      Label2(Add<forms::Label>("Label2")),
      Label3(Add<forms::Label>("Label3")),
      lblP(Add<forms::Label>("lblP")),
      cmdCancel(Add<forms::Button>("cmdCancel")) {
    forms::WindowSettings settings;
    settings.border = forms::BorderStyle::FixedDialog;
    settings.showInTaskbar = false;
    SetSettings(settings);
    SetCaption(kAppTitle);
    SetClientSize(kFormWidth, kFormHeight);

    Label1.Move({kMargin, 10, kInnerWidth, 18});
    Label1.SetFont({.bold = true});
    Label2.Move({kMargin, 32, kInnerWidth, 18});
    lblP.Move(kBar);
    lblP.SetVisible(false);  // the form draws it with the bar
    Label3.Move({kMargin, 86, 180, 18});
    cmdCancel.SetCaption("&Cancel");
    cmdCancel.Move({kFormWidth - kMargin - 88, kFormHeight - 38, 88, 26});
    cmdCancel.SetCancel(true);

    cmdCancel.Click = [this] { Cancel = true; };
    // Closing the window is a cancel; the check unloads it when it stops.
    QueryUnload = [this](bool& cancel) {
        if (!Cancel) {
            Cancel = true;
            cancel = true;
        }
    };
    Paint = [this](forms::Canvas& canvas) { PaintBar(canvas); };
}

void frmProgress::OnLoad() {
    Cancel = false;
    lblP.SetCaption("0");
    Label2.SetCaption("0");
    Show();
}

void frmProgress::SetStatus(std::string caption) {
    Label2.SetCaption(std::move(caption));
    if (Max == 0) {
        Max = 1;
    }
    const int percent = Value * 100 / Max;
    std::string text = std::to_string(percent);
    text += '%';
    lblP.SetCaption(std::move(text));
    const double share = static_cast<double>(Value) / Max;
    lblP.SetForeColour(share >= kLightPercentFrom ? kLightPercentColour : kDarkPercentColour);
    Refresh();
}

void frmProgress::PaintBar(forms::Canvas& canvas) const {
    const forms::Bounds bar = lblP.GetBounds();
    canvas.Frame({bar.left - 1, bar.top - 1, bar.width + 2, bar.height + 2}, kBarFrameColour);
    canvas.Fill(bar, kBarEmptyColour);
    const int max = std::max<int>(Max, 1);
    const int filled = std::clamp(bar.width * Value / max, 0, bar.width);
    if (filled > 0) {
        canvas.Fill({bar.left, bar.top, filled, bar.height}, kBarFullColour);
    }
    canvas.Text(lblP.Caption(),
                {bar.left, bar.top + kPercentTop, bar.width, bar.height - kPercentTop},
                {.font = lblP.GetFont(),
                 .colour = lblP.ForeColour().value_or(kDarkPercentColour),
                 .align = forms::TextAlign::Centre});
}

}  // namespace pellmark::update
