// The about box on the in-memory forms: what it shows, its links, the rolling comments and
// the logo that follows the mouse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "chrome/frmAbout.h"
#include "chrome/res/ChromePictures.h"
#include "platform/sim/SimForms.h"

namespace pellmark::chrome {
namespace {

const std::string kLongComments(400, 'x');

class AboutFormTest : public ::testing::Test {
  protected:
    void Open(std::string comments) {
        about = std::make_unique<frmAbout>(
            backend,
            ProgramFacts{"Pellmark", 1, 5, 12, std::move(comments),
                         "Copyright (C) 2026 the Pellmark developers."},
            [this](const std::string& address) { opened.push_back(address); });
        about->Show();
    }
    forms::MouseEvent Mouse(int x, int y, bool ctrl = false, bool shift = false) {
        forms::MouseEvent event;
        event.x = x;
        event.y = y;
        event.ctrl = ctrl;
        event.shift = shift;
        return event;
    }
    sim::SimFormsBackend backend;
    std::unique_ptr<frmAbout> about;
    std::vector<std::string> opened;
};

TEST_F(AboutFormTest, ShowsTheProgramsFactsAndOpensItsLinks) {
    const forms::Bitmap logo(2, 2, {0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000});
    backend.resourcePictures["#205"] = logo;
    Open("Short.");
    EXPECT_EQ(about->lblTit.Caption(), "Pellmark");
    EXPECT_EQ(about->lblVersion.Caption(), "1.05.0012");
    EXPECT_EQ(about->lblVersion.ForeColour(), 0xFF0000u);  // pure blue
    EXPECT_EQ(about->lblComments.Caption(), "Short.");
    EXPECT_EQ(about->lblCopyright.Caption(), "Copyright (C) 2026 the Pellmark developers.");
    EXPECT_EQ(about->lblCopyright.ForeColour(), 0xFF5050u);  // RGB(80, 80, 255)
    EXPECT_EQ(about->lblWeb.Caption(), "https://www.pellmark.example/");
    EXPECT_EQ(about->lblEmail.Caption(), "mail@pellmark.example");
    EXPECT_TRUE(about->imgLogo.GetPicture() == logo);
    // The title is centred on the form, as wide as its text measures.
    const forms::Bounds title = about->lblTit.GetBounds();
    EXPECT_LE(std::abs(title.left * 2 + title.width - about->ClientWidth()), 1);
    EXPECT_GE(title.width, backend.MeasureText("Pellmark", about->lblTit.GetFont(), 0).width);

    about->lblWeb.UserClick();
    about->lblEmail.UserClick();
    EXPECT_EQ(opened, (std::vector<std::string>{"https://www.pellmark.example/",
                                                "mailto:mail@pellmark.example"}));
    EXPECT_TRUE(about->UserDialogKey(27));  // Esc closes it
    EXPECT_FALSE(about->Visible());
}

TEST_F(AboutFormTest, LongCommentsRollAndShortOnesStay) {
    Open("Short.");  // no logo among the resources: the box shows without one
    EXPECT_TRUE(about->imgLogo.GetPicture().Empty());
    backend.AdvanceClock(500);
    EXPECT_EQ(about->lblComments.GetBounds().top, 0);
    EXPECT_FALSE(about->tmrScroll.Enabled());

    Open(kLongComments);
    EXPECT_GT(about->lblComments.GetBounds().height, about->picCont.GetBounds().height);
    backend.AdvanceClock(500);
    EXPECT_EQ(about->lblComments.GetBounds().top, -10);
    EXPECT_TRUE(about->tmrScroll.Enabled());

    // Esc hides the box: both timers stop, so a hidden box never wakes the program. Shown
    // again, the comments roll on from where they were.
    ASSERT_TRUE(about->UserDialogKey(27));
    EXPECT_FALSE(about->tmrScroll.Enabled());
    EXPECT_FALSE(about->Timer1.Enabled());
    backend.AdvanceClock(500);
    EXPECT_EQ(about->lblComments.GetBounds().top, -10);
    about->Show();
    EXPECT_TRUE(about->Timer1.Enabled());
    backend.AdvanceClock(500);
    EXPECT_EQ(about->lblComments.GetBounds().top, -20);
}

TEST_F(AboutFormTest, LogoHeldWithCtrlFollowsTheMouseUntilLetGo) {
    Open("Short.");
    // Ctrl with Shift is not Ctrl alone: the logo stays.
    const forms::Bounds start = about->imgLogo.GetBounds();
    about->imgLogo.UserMouseDown(Mouse(5, 5, true, true));
    about->UserMouseMove(Mouse(200, 150));
    backend.AdvanceClock(400);
    EXPECT_EQ(about->imgLogo.GetBounds(), start);
    about->imgLogo.UserMouseDown(Mouse(5, 5, true));
    about->UserMouseMove(Mouse(200, 150));
    backend.AdvanceClock(200);
    EXPECT_EQ(about->imgLogo.GetBounds(), (forms::Bounds{168, 118, 64, 64}));
    EXPECT_EQ(about->Timer1.Interval(), 50);
    // Moves over the logo itself count from the logo's corner.
    about->imgLogo.UserMouseMove(Mouse(32, 32));
    backend.AdvanceClock(50);
    EXPECT_EQ(about->imgLogo.GetBounds(), (forms::Bounds{168, 118, 64, 64}));

    about->imgLogo.UserMouseUp(Mouse(32, 32));
    EXPECT_EQ(about->Timer1.Interval(), 200);
    about->UserMouseMove(Mouse(300, 200));
    backend.AdvanceClock(400);
    EXPECT_EQ(about->imgLogo.GetBounds(), (forms::Bounds{168, 118, 64, 64}));
}

}  // namespace
}  // namespace pellmark::chrome
