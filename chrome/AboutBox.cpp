#include "chrome/AboutBox.h"

#include <cstdio>

#include "platform/forms/Timer.h"

namespace pellmark::chrome {

std::string VersionText(int major, int minor, int revision) {
    char text[40];
    std::snprintf(text, sizeof text, "%d.%02d.%04d", major, minor, revision);
    return text;
}

bool CommentsScroll::Tick() {
    if (textHeight_ <= boxHeight_) {
        return false;
    }
    top_ -= step_;
    if (top_ + textHeight_ <= 0) {
        top_ = boxHeight_;
    }
    return true;
}

void StartCommentsScroll(forms::Timer& timer, CommentsScroll& scroll,
                         std::function<void(int top)> place) {
    timer.Tick = [&timer, &scroll, place = std::move(place)] {
        if (!scroll.Tick()) {
            timer.SetEnabled(false);
            return;
        }
        place(scroll.Top());
    };
    timer.SetInterval(kScrollInterval);
    timer.SetEnabled(true);
}

void LogoFollow::MouseDown(bool leftButton, int shiftKeys) {
    if (leftButton && shiftKeys == kCtrlKey) {
        following_ = true;
    }
}

int LogoFollow::MouseUp() {
    following_ = false;
    return kLogoRestInterval;
}

LogoFollow::Step LogoFollow::Tick(Point cursor, int logoWidth, int logoHeight) const {
    Step step;
    if (following_) {
        step.move = true;
        step.position = {cursor.x - logoWidth / 2, cursor.y - logoHeight / 2};
    }
    return step;
}

}  // namespace pellmark::chrome
