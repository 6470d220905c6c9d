// The about box's rules that do not depend on windows: the version text, the comments
// that roll upward through their box, and the logo that follows the mouse while it is
// pressed with Ctrl.
#pragma once

#include <functional>
#include <string>

namespace pellmark::forms {
class Timer;
}

namespace pellmark::chrome {

// "major.minor.revision" with the minor number in two digits and the revision in four:
// 1, 2, 7 reads "1.02.0007".
[[nodiscard]] std::string VersionText(int major, int minor, int revision);

// The about box's facts about the program, from its version resource.
struct ProgramFacts {
    std::string title;
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::string comments;
    std::string legalCopyright;
};

inline constexpr int kScrollInterval = 50;  // milliseconds
inline constexpr int kScrollStep = 1;       // pixels per tick

// The comments label inside its clipping box. While the text is taller than the box it
// moves up a step on every tick, and once it has left the top entirely it comes back in
// just below the bottom; a text that fits stays where it is and the ticks stop.
class CommentsScroll {
  public:
    CommentsScroll(int boxHeight, int textHeight, int step = kScrollStep)
        : boxHeight_(boxHeight), textHeight_(textHeight), step_(step) {}
    // One tick; false when the text fits, and the timer should stop.
    [[nodiscard]] bool Tick();
    // The label's top within the box.
    [[nodiscard]] int Top() const noexcept { return top_; }

  private:
    int boxHeight_;
    int textHeight_;
    int step_;
    int top_ = 0;
};

// Runs the scroll on the form's timer every 50 ms from now on; `place` moves the label
// to the new top after each step. The timer switches itself off when the text fits.
void StartCommentsScroll(forms::Timer& timer, CommentsScroll& scroll,
                         std::function<void(int top)> place);

// Shift-key state of a mouse event, as a mask.
inline constexpr int kShiftKey = 1;
inline constexpr int kCtrlKey = 2;
inline constexpr int kAltKey = 4;

inline constexpr int kLogoFollowInterval = 50;  // milliseconds, while the logo is held
inline constexpr int kLogoRestInterval = 200;   // after it is let go

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// The logo picked up with Ctrl and the left button follows the cursor, centred on it,
// until a mouse button is released over it.
class LogoFollow {
  public:
    void MouseDown(bool leftButton, int shiftKeys);
    // The timer's new interval.
    [[nodiscard]] int MouseUp();
    [[nodiscard]] bool Following() const noexcept { return following_; }

    struct Step {
        int interval = kLogoFollowInterval;  // the timer's new interval
        bool move = false;                   // whether the logo moves to `position`
        Point position;                      // the logo's new top-left corner
    };
    // One tick of the logo timer: the cursor and the logo's size in the form's pixels.
    [[nodiscard]] Step Tick(Point cursor, int logoWidth, int logoHeight) const;

  private:
    bool following_ = false;
};

}  // namespace pellmark::chrome
