// The about box's version text and its rolling comments on the test clock.
#include <gtest/gtest.h>

#include <vector>

#include "chrome/AboutBox.h"
#include "platform/forms/Form.h"
#include "platform/sim/SimForms.h"

namespace pellmark::chrome {
namespace {

TEST(AboutBoxTest, VersionTextPadsMinorAndRevision) {
    struct Case {
        int major, minor, revision;
        const char* text;
    };
    for (const Case& c : std::vector<Case>{{1, 2, 7, "1.02.0007"},
                                           {1, 5, 12, "1.05.0012"},
                                           {2, 14, 2, "2.14.0002"},
                                           {0, 0, 0, "0.00.0000"},
                                           {12, 99, 9999, "12.99.9999"},
                                           {3, 100, 12345, "3.100.12345"}}) {
        EXPECT_EQ(VersionText(c.major, c.minor, c.revision), c.text);
    }
}

class CommentsScrollTest : public ::testing::Test {
  protected:
    void SetUp() override { form.Load(); }
    // The tops the label is moved to while the clock runs for `milliseconds`.
    std::vector<int> Run(CommentsScroll& scroll, int milliseconds) {
        std::vector<int> tops;
        StartCommentsScroll(timer, scroll, [&tops](int top) { tops.push_back(top); });
        backend.AdvanceClock(milliseconds);
        return tops;
    }
    sim::SimFormsBackend backend;
    forms::Form form{backend, "frmAbout"};
    forms::Timer& timer = form.AddTimer("tmrScroll");
};

TEST_F(CommentsScrollTest, TallTextRollsUpEvery50MsAndComesBackFromBelow) {
    CommentsScroll scroll(4, 6, 2);
    EXPECT_TRUE(Run(scroll, 49).empty());
    EXPECT_EQ(timer.Interval(), 50);
    // Up two pixels a tick until the text has left the top (its bottom at 0), then in
    // just below the bottom of the 4-pixel box, and round again.
    CommentsScroll again(4, 6, 2);
    EXPECT_EQ(Run(again, 50 * 10), (std::vector<int>{-2, -4, 4, 2, 0, -2, -4, 4, 2, 0}));
    EXPECT_TRUE(timer.Enabled());
}

}  // namespace
}  // namespace pellmark::chrome
