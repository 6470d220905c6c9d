// The about box: the program's title, version, comments and legal notice, and its links.
// The comments roll upward through their box; the logo, picked up with Ctrl and the left
// button, follows the mouse.
#pragma once

#include <functional>
#include <string>

#include "chrome/AboutBox.h"
#include "platform/forms/Form.h"

namespace pellmark::chrome {

inline constexpr std::uint32_t kVersionColour = 0xFF0000;    // RGB(0, 0, 255)
inline constexpr std::uint32_t kCopyrightColour = 0xFF5050;  // RGB(80, 80, 255)

class frmAbout final : public forms::Form {
  public:
    // `open` hands an address to the shell (the web site, or "mailto:" and the e-mail
    // address); its outcome is not examined.
    frmAbout(forms::Backend& backend, ProgramFacts facts,
             std::function<void(const std::string& address)> open);

    forms::Image& imgLogo;
    forms::Label& lblTit;
    forms::Label& lblVersion;
    forms::Picture& picCont;
    forms::Label& lblComments;  // inside picCont, which clips it
    forms::Label& lblCopyright;
    forms::Label& lblWeb;
    forms::Label& lblEmail;
    forms::Button& cmdOK;
    forms::Timer& tmrScroll;
    forms::Timer& Timer1;

  protected:
    void OnLoad() override;
    // Both timers run only while the box is seen: a hidden box costs no wake-ups.
    void OnShown() override;
    void OnHidden() override;
    void OnUnload() override;

  private:
    // The mouse as the form last saw it, in the form's pixels: Timer1 moves the logo there.
    void TrackMouse(const forms::MouseEvent& event, int offsetX, int offsetY);
    void Timer1_Timer();

    ProgramFacts facts_;
    std::function<void(const std::string&)> open_;
    CommentsScroll scroll_{0, 0};
    LogoFollow logo_;
    Point mouse_;
};

}  // namespace pellmark::chrome
