#include "chrome/frmAbout.h"

#include <algorithm>
#include <utility>

#include "chrome/MakerAddresses.h"
#include "chrome/res/ChromePictures.h"
#include "platform/RunTimeError.h"

namespace pellmark::chrome {

namespace {
constexpr int kFormWidth = 380;
constexpr int kFormHeight = 260;
constexpr int kTextLeft = 96;
constexpr int kTextWidth = kFormWidth - kTextLeft - 16;
constexpr forms::Bounds kCommentsBox{kTextLeft, 70, kTextWidth, 80};
constexpr double kTitlePoints = 14;
constexpr int kTitleHeight = 26;
}  // namespace

frmAbout::frmAbout(forms::Backend& backend, ProgramFacts facts,
                   std::function<void(const std::string& address)> open)
    : Form(backend, "frmAbout"),
      imgLogo(Add<forms::Image>("imgLogo")),
      lblTit(Add<forms::Label>("lblTit")),
      lblVersion(Add<forms::Label>("lblVersion")),
      picCont(Add<forms::Picture>("picCont")),
      lblComments(Add<forms::Label>("lblComments", &picCont)),
      lblCopyright(Add<forms::Label>("lblCopyright")),
      lblWeb(Add<forms::Label>("lblWeb")),
      lblEmail(Add<forms::Label>("lblEmail")),
      cmdOK(Add<forms::Button>("cmdOK")),
      tmrScroll(AddTimer("tmrScroll")),
      Timer1(AddTimer("Timer1")),
      facts_(std::move(facts)),
      open_(std::move(open)) {
    forms::WindowSettings settings;
    settings.border = forms::BorderStyle::FixedDialog;
    settings.showInTaskbar = false;
    SetSettings(settings);
    SetClientSize(kFormWidth, kFormHeight);

    imgLogo.Move({16, 16, 64, 64});
    lblVersion.Move({kTextLeft, 44, kTextWidth, 18});
    picCont.Move(kCommentsBox);
    lblCopyright.Move({16, 160, kFormWidth - 32, 32});
    lblWeb.Move({16, 198, 240, 16});
    lblEmail.Move({16, 216, 240, 16});
    cmdOK.SetCaption("OK");
    cmdOK.Move({kFormWidth - 96, kFormHeight - 38, 80, 26});
    cmdOK.SetDefault(true);
    cmdOK.SetCancel(true);

    cmdOK.Click = [this] { Hide(); };
    lblWeb.Click = [this] { open_(std::string(WebAddress())); };
    lblEmail.Click = [this] { open_(EmailLink()); };
    imgLogo.MouseDown = [this](const forms::MouseEvent& event) {
        TrackMouse(event, imgLogo.GetBounds().left, imgLogo.GetBounds().top);
        logo_.MouseDown(event.button == forms::MouseButton::Left, (event.shift ? kShiftKey : 0) |
                                                                      (event.ctrl ? kCtrlKey : 0) |
                                                                      (event.alt ? kAltKey : 0));
    };
    imgLogo.MouseMove = [this](const forms::MouseEvent& event) {
        TrackMouse(event, imgLogo.GetBounds().left, imgLogo.GetBounds().top);
    };
    imgLogo.MouseUp = [this](const forms::MouseEvent&) { Timer1.SetInterval(logo_.MouseUp()); };
    MouseMove = [this](const forms::MouseEvent& event) { TrackMouse(event, 0, 0); };
    Timer1.Tick = [this] { Timer1_Timer(); };
}

void frmAbout::OnLoad() {
    try {
        imgLogo.SetPicture(GetBackend().LoadScalablePicture(
            PictureName(PELLMARK_PICTURE_ABOUT_LOGO),
            PictureName(PELLMARK_PICTURE_ABOUT_LOGO + kLargePictures)));
    } catch (const RunTimeError&) {
        // The box is whole without its logo.
    }
    lblTit.SetCaption(facts_.title);
    lblTit.SetFont({.points = kTitlePoints, .bold = true});
    // Centred over the box by its measured width; a pixel more so it never wraps.
    const int titleWidth =
        std::min(GetBackend().MeasureText(facts_.title, lblTit.GetFont(), 0).width + 1, kFormWidth);
    lblTit.Move({(kFormWidth - titleWidth) / 2, 14, titleWidth, kTitleHeight});

    lblVersion.SetCaption(VersionText(facts_.major, facts_.minor, facts_.revision));
    lblVersion.SetForeColour(kVersionColour);
    lblComments.SetCaption(facts_.comments);
    const int commentsHeight =
        GetBackend().MeasureText(facts_.comments, lblComments.GetFont(), kCommentsBox.width).height;
    lblComments.Move({0, 0, kCommentsBox.width, commentsHeight});
    lblCopyright.SetCaption(facts_.legalCopyright);
    lblCopyright.SetForeColour(kCopyrightColour);
    lblWeb.SetCaption(std::string(WebAddress()));
    lblEmail.SetCaption(std::string(EmailAddress()));

    scroll_ = CommentsScroll(kCommentsBox.height, commentsHeight);
}

void frmAbout::OnShown() {
    // The comments roll on from where they were; a text that fits stops its timer at once.
    StartCommentsScroll(tmrScroll, scroll_, [this](int top) {
        forms::Bounds bounds = lblComments.GetBounds();
        bounds.top = top;
        lblComments.Move(bounds);
    });
    Timer1.SetInterval(kLogoRestInterval);
    Timer1.SetEnabled(true);
}

void frmAbout::OnHidden() {
    tmrScroll.SetEnabled(false);
    Timer1.SetEnabled(false);
    // A logo held when the box went does not follow the mouse when it comes back.
    static_cast<void>(logo_.MouseUp());
}

void frmAbout::OnUnload() {
    OnHidden();
}

void frmAbout::TrackMouse(const forms::MouseEvent& event, int offsetX, int offsetY) {
    mouse_ = {event.x + offsetX, event.y + offsetY};
}

void frmAbout::Timer1_Timer() {
    const forms::Bounds logo = imgLogo.GetBounds();
    const LogoFollow::Step step = logo_.Tick(mouse_, logo.width, logo.height);
    Timer1.SetInterval(step.interval);
    if (step.move) {
        imgLogo.Move({step.position.x, step.position.y, logo.width, logo.height});
    }
}

}  // namespace pellmark::chrome
