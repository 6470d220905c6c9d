#include "platform/forms/Timer.h"

#include <utility>

#include "platform/forms/Form.h"

namespace pellmark::forms {

Timer::Timer(Form& form, std::string name) : form_(form), name_(std::move(name)) {}

Timer::~Timer() = default;

void Timer::SetInterval(int milliseconds) {
    if (interval_ != milliseconds) {
        interval_ = milliseconds;
        if (peer_) {
            peer_->Update();
        }
    }
}

void Timer::SetEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        if (peer_) {
            peer_->Update();
        } else if (enabled) {
            form_.MakeWindow();  // its timers run through the form's window
        }
    }
}

void Timer::Elapse() {
    if (Running() && Tick) {
        Tick();
    }
}

void Timer::AttachPeer(std::unique_ptr<TimerPeer> peer) {
    peer_ = std::move(peer);
}

}  // namespace pellmark::forms
